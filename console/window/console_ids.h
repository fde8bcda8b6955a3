// SPDX-License-Identifier: GPL-3.0-or-later
// console_ids.h - the control identifiers of the console template.
//
// Every control of the console has one identifier; the template table
// (console_template.cpp) gives each its class, caption and rectangle. Arrays
// (frequency digits, separators, channel digits, VFO marks) are consecutive.
#pragma once

namespace idc {

enum : int {
    First = 1000,

    // ---- display area: the large label behind it
    DisplayBack = First,

    // ---- main frequency display: 11 digits (10 GHz first), 4 separators
    // (after the GHz, MHz, kHz and Hz digits), 3 channel digits, the channel
    // separator and the "M.CH" caption
    MainDigit0,
    MainDigit10 = MainDigit0 + 10,
    MainSep0,
    MainSep3 = MainSep0 + 3,
    MainChDigit0,
    MainChDigit2 = MainChDigit0 + 2,
    MainChSep,
    MainMch,

    // ---- sub frequency display, same shape
    SubDigit0,
    SubDigit10 = SubDigit0 + 10,
    SubSep0,
    SubSep3 = SubSep0 + 3,
    SubChDigit0,
    SubChDigit2 = SubChDigit0 + 2,
    SubChSep,
    SubMch,

    // ---- status words kept per band
    MainPtt,
    SubPtt,
    MainCtrl,
    SubCtrl,
    MainAtt,
    SubAtt,
    MainPre,
    SubPre,
    MainShift,
    SubShift,
    MainReverse,
    SubReverse,
    MainTone,
    SubTone,
    MainTnc,
    SubTnc,
    MainNr,
    SubNr,
    MainBusy, // "ONAIR"
    SubBusy,  // "BUSY"
    MainMode,
    SubMode,

    // ---- single status words
    Alt,
    Auto,
    Agc,
    Mbc,
    Nb,
    Fine,
    ANotch,
    Eq,
    TxEq, // "T"
    RxEq, // "R"
    Trace,
    Pct,
    Split,
    FLock,
    TfSet,
    Trans,
    Ant,
    AntNumber,
    TunerRx,
    TunerAt,
    TunerTx,
    Ext,
    Dcd,
    Sta,
    Con,
    Pkt,
    MainStar,
    SubStar,
    ZulLine,
    // VFO marks: rows A, B, M of "<", letter, ">"
    VfoMark0,
    VfoMark8 = VfoMark0 + 8,
    MainLockOut,
    SubLockOut,
    MainChPrefix, // unnamed labels in front of the channel numbers
    SubChPrefix,
    // meter scales, names and the second meter's picture
    MainScale,
    MainMeterName,
    SecondScale,
    SecondMeterName,
    SubScale,
    SubMeterName,
    SecondMeterIcon,

    // ---- labels outside the display
    VoxLamp,
    ProcLamp,
    RitMinus,
    RitPlus,
    AfMainCaption,
    AfMainMin,
    AfMainMax,
    SqlMainCaption,
    SqlMainMin,
    SqlMainMax,
    RfGainCaption,
    RfGainMin,
    RfGainMax,
    AfSubCaption,
    AfSubMin,
    AfSubMax,
    SqlSubCaption,
    SqlSubMin,
    SqlSubMax,
    StepUnit, // "kHz"
    StepCaption,
    DialCaption,
    BcPointCaption,
    ClickEncIcon,  // icon 131
    TuningDial,    // icon 142 + wheel selection
    BrandPlate,    // picture 136 beside the PM group

    // ---- meters
    MainMeter,
    MainMeterOver, // the part above level 15
    SecondMeter,
    SubMeter,
    SubMeterOver,

    // ---- lamps
    ConnectLamp,
    AuxLamp,
    MemoryLamp,

    // ---- text lines
    MainText,
    SubText,

    // ---- buttons
    Power,
    Control,
    Vox,
    Proc,
    Send,
    Voice,
    AntButton,
    AtIn,
    AtTune,
    Pm,
    PmIn,
    LsbUsb,
    CwFsk,
    FmAm,
    TuneUp,
    TuneDown,
    BandUp,
    BandDown,
    AEqualsB,
    ASlashB,
    SplitButton,
    Menu,
    Multi,
    PctButton,
    Filter,
    DspMonitor,
    Nr1,
    Nr2,
    RxMonitor,
    ANotchButton,
    BeatCancel,
    BcAuto,
    BcManual,
    MultiDown,
    MultiUp,
    Ch1,
    Ch2,
    Ch3,
    Func,
    Tone,
    Meter,
    Ctcss,
    TfSetButton,
    NbButton,
    AgcButton,
    FineButton,
    Disp,
    Dcs,
    Shift,
    Ent,
    Clear, // keypad "CLR"
    MemoryIn,
    MemoryToVfo,
    VfoMemory,
    Call,
    Scan,
    VScan,
    QuickMr,
    QuickMemoryIn,
    Rit,
    Xit,
    SubButton,
    RitClear,
    RitDown,     // "<"
    RitDownFast, // "<<"
    RitUp,       // ">"
    RitUpFast,   // ">>"
    MainSub,     // "M / S" of the sub-receiver group
    CtrlButton,
    AttButton,
    PreButton,
    Satellite,
    SatMainSub,
    SatReverse,
    SatTrace,
    SatVfoCh,

    // ---- group frames
    FramePower,
    FrameTx,
    FrameAntenna,
    FramePm,
    FrameMode,
    FrameTune,
    FrameBand,
    FrameVfo,
    FrameDsp,
    FrameClickEnc,
    FramePf,
    FrameMemory,
    FrameQuickMemory,
    FrameRit,
    FrameMainSubControl,
    FrameFrontEnd,
    FrameMain,
    FrameSubGain,
    FrameSatellite,

    // ---- level scroll bars
    BcPointBar,
    RitBar,
    RfGainBar,
    AfMainBar,
    SqlMainBar,
    AfSubBar,
    SqlSubBar,
    ScanSpeedBar,

    // ---- channel-step list
    StepList,

    Last = StepList,
};

} // namespace idc
