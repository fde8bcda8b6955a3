// SPDX-License-Identifier: GPL-3.0-or-later
// console_menu.h - the console's menu: command identifiers and the menu as
// data (text, command, initially greyed).
#pragma once

#include <span>

namespace cmd {

enum : int {
    First = 32770,
    // File
    Exit = First,
    // Control
    ControlOnCmd,
    ControlOffCmd,
    Setup,
    Refresh,
    // Radio
    PowerSwitch,
    LockFrequency,
    LockAll,
    AntennaNumber,
    TunerAtIn,
    TunerAtTune,
    MeterComp,
    MeterSwr,
    MeterAlc,
    GainRf,
    GainAfMain,
    GainAfSub,
    GainSquelchMain,
    GainSquelchSub,
    RadioMulti,
    RadioMenu,
    RadioMainSub,
    RadioControlBand,
    RadioNb,
    RadioAgc,
    RadioVox,
    Record1,
    Record2,
    Record3,
    Play1,
    Play2,
    Play3,
    // VFO
    TuneUpCmd,
    TuneDownCmd,
    BandUpCmd,
    BandDownCmd,
    ClickEncUp,
    ClickEncDown,
    StepCmd,
    FineCmd,
    EntryCmd,
    // Mode
    ModeLsb,
    ModeUsb,
    ModeCw,
    ModeFsk,
    ModeReverse,
    ModeFm,
    ModeAm,
    AutoMode,
    AutoModeFreq,
    // TX RX
    SplitCmd,
    ABCmd,
    VfoMemoryCmd,
    AEqualsBCmd,
    RitCmd,
    XitCmd,
    RitFreqUp,
    RitFreqDown,
    RitFreqClear,
    TfSetCmd,
    AttCmd,
    PreAmpCmd,
    RxMonitorCmd,
    CallCmd,
    CallInCmd,
    CwAutoTune,
    FmTone,
    FmCtcss,
    FmDcs,
    FmAlt,
    ShiftSimplex,
    ShiftPlus,
    ShiftMinus,
    ShiftEqual,
    FmNarrow,
    FmWide,
    FmReverse,
    FmAsc,
    AmNarrow,
    AmWide,
    SendCmd,
    SubBand,
    Keying,
    Terminal,
    PctCmd,
    SatSatellite,
    SatMainSub,
    SatControlBand,
    SatTrace,
    SatRev,
    SatClickEncFunction,
    // Memory
    MemoryInCmd,
    MemoryToVfoCmd,
    QuickMemoryInCmd,
    QuickMrCmd,
    MemoryChannelUp,
    MemoryChannelDown,
    MemoryName,
    MemoryGroup,
    LockOut,
    ClearMemory,
    // Scan
    ScanCmd,
    MhzScan,
    VisualScan,
    ToneScan,
    CtcssScan,
    DcsScan,
    ScanGroup,
    SlowScanFreq,
    ScanSpeedUp,
    ScanSpeedDown,
    // DSP
    RxFilter,
    DspMonitorCmd,
    BeatCancelAuto,
    BeatCancelManual,
    BeatCancelOff,
    BeatCancelPoint,
    NoiseReduction1,
    NoiseReduction2,
    NoiseReductionOff,
    AutoNotch,
    SpeechProcessor,
    AudioEditorDesign,
    AudioEditorSamples,
    // Help
    HelpIndex,
    About,
    // Control, added: Control > ON as soon as the console is up
    ConnectAtStart,
    // Control: the sharing servers
    ShareRigctl,
    ShareFlrig,
    // Memory, added: the table of every channel
    MemoryChannels,
    // Control, added: finding a lost radio again, the meters' pace
    ReconnectByItself,
    MeterPaceOff,
    MeterPaceSlow,
    MeterPaceNormal,
    MeterPaceFast,
    Last = MeterPaceFast,
};

} // namespace cmd

// One row of the menu. depth 0 is a menu of the menu bar; an entry with
// command 0 opens a submenu holding the deeper rows that follow it; a null
// text is a separator.
struct MenuEntry {
    int depth;
    const char* text;
    int command;
    bool greyed = false;
};

std::span<const MenuEntry> ConsoleMenu();
