// SPDX-License-Identifier: GPL-3.0-or-later
// menu_commands.cpp - the menu items that act on the radio.
//
// An item with a front-panel control moves the keyboard focus to it and
// runs that control's operation, with every check of the operator state the
// click has; the other items send their command directly.
#include "menu_commands.h"

#include "console_operations.h"
#include "read_toggle.h"

#include "console_controls.h"
#include "console_ids.h"
#include "console_menu.h"
#include "../display/display_controls.h"

#include <corvan.h>
#include <platform.h>

#include <QWidget>

#include <utility>

using namespace operations;

namespace {

using Ops = ConsoleOperations;

// Items that stand for a control.
constexpr std::pair<int, int> kControlItems[] = {
    {cmd::PowerSwitch, idc::Power},
    {cmd::AntennaNumber, idc::AntButton},
    {cmd::TunerAtIn, idc::AtIn},
    {cmd::TunerAtTune, idc::AtTune},
    {cmd::RadioMainSub, idc::MainSub},
    {cmd::RadioControlBand, idc::CtrlButton},
    {cmd::RadioNb, idc::NbButton},
    {cmd::RadioAgc, idc::AgcButton},
    {cmd::RadioVox, idc::Vox},
    {cmd::TuneUpCmd, idc::TuneUp},
    {cmd::TuneDownCmd, idc::TuneDown},
    {cmd::BandUpCmd, idc::BandUp},
    {cmd::BandDownCmd, idc::BandDown},
    {cmd::ClickEncUp, idc::MultiUp},
    {cmd::ClickEncDown, idc::MultiDown},
    {cmd::FineCmd, idc::FineButton},
    {cmd::EntryCmd, idc::Ent},
    {cmd::SplitCmd, idc::SplitButton},
    {cmd::ABCmd, idc::ASlashB},
    {cmd::VfoMemoryCmd, idc::VfoMemory},
    {cmd::AEqualsBCmd, idc::AEqualsB},
    {cmd::RitCmd, idc::Rit},
    {cmd::XitCmd, idc::Xit},
    {cmd::RitFreqUp, idc::RitUp},
    {cmd::RitFreqDown, idc::RitDown},
    {cmd::RitFreqClear, idc::RitClear},
    {cmd::TfSetCmd, idc::TfSetButton},
    {cmd::FmReverse, idc::TfSetButton},
    {cmd::AttCmd, idc::AttButton},
    {cmd::PreAmpCmd, idc::PreButton},
    {cmd::CallCmd, idc::Call},
    {cmd::FmTone, idc::Tone},
    {cmd::FmCtcss, idc::Ctcss},
    {cmd::FmDcs, idc::Dcs},
    {cmd::SendCmd, idc::Send},
    {cmd::PctCmd, idc::PctButton},
    {cmd::SatSatellite, idc::Satellite},
    {cmd::SatMainSub, idc::SatMainSub},
    {cmd::SatControlBand, idc::CtrlButton},
    {cmd::SatTrace, idc::SatTrace},
    {cmd::SatRev, idc::SatReverse},
    {cmd::SatClickEncFunction, idc::SatVfoCh},
    {cmd::MemoryInCmd, idc::MemoryIn},
    {cmd::MemoryToVfoCmd, idc::MemoryToVfo},
    {cmd::QuickMemoryInCmd, idc::QuickMemoryIn},
    {cmd::QuickMrCmd, idc::QuickMr},
    {cmd::MemoryChannelUp, idc::MultiUp},
    {cmd::MemoryChannelDown, idc::MultiDown},
    {cmd::MemoryName, idc::Disp},
    {cmd::ScanCmd, idc::Scan},
    {cmd::AutoNotch, idc::ANotchButton},
    {cmd::SpeechProcessor, idc::Proc},
};

// Items that write one value.
struct Setting {
    int command;
    std::int32_t (CCorvan::*write)(const char*, u32);
    u32 value;
    int focus; // a control the item moves the focus to, or 0
};
const Setting kSettings[] = {
    {cmd::MeterComp, &CCorvan::ConnRM, 2, 0},
    {cmd::MeterSwr, &CCorvan::ConnRM, 1, 0},
    {cmd::MeterAlc, &CCorvan::ConnRM, 3, 0},
    {cmd::ModeLsb, &CCorvan::ConnMD, 1, idc::LsbUsb},
    {cmd::ModeUsb, &CCorvan::ConnMD, 2, idc::LsbUsb},
    {cmd::ModeCw, &CCorvan::ConnMD, 3, idc::CwFsk},
    {cmd::ModeFsk, &CCorvan::ConnMD, 6, idc::CwFsk},
    {cmd::ModeFm, &CCorvan::ConnMD, 4, idc::FmAm},
    {cmd::ModeAm, &CCorvan::ConnMD, 5, idc::FmAm},
    {cmd::ShiftSimplex, &CCorvan::ConnOS, 0, 0},
    {cmd::ShiftPlus, &CCorvan::ConnOS, 1, 0},
    {cmd::ShiftMinus, &CCorvan::ConnOS, 2, 0},
    {cmd::ShiftEqual, &CCorvan::ConnOS, 3, 0},
    {cmd::FmWide, &CCorvan::ConnFW, 1, 0},
    {cmd::AmWide, &CCorvan::ConnFW, 1, 0},
    {cmd::BeatCancelAuto, &CCorvan::ConnBC, 1, 0},
    {cmd::BeatCancelManual, &CCorvan::ConnBC, 2, 0},
    {cmd::BeatCancelOff, &CCorvan::ConnBC, 0, 0},
    {cmd::NoiseReduction1, &CCorvan::ConnNR, 1, 0},
    {cmd::NoiseReduction2, &CCorvan::ConnNR, 2, 0},
    {cmd::NoiseReductionOff, &CCorvan::ConnNR, 0, 0},
};

// The scans the menu starts directly, each only while the console is ready.
constexpr std::pair<int, u32> kScans[] = {
    {cmd::MhzScan, 2}, {cmd::ToneScan, 4}, {cmd::CtcssScan, 5}, {cmd::DcsScan, 6}};

void Focus(Ops& o, int control) {
    if (QWidget* target = o.controls.widget(control))
        target->setFocus(Qt::OtherFocusReason);
}

// A FUNC-layer function of a control, run as the menu item's own.
void RunFunction(Ops& o, int control) {
    Focus(o, control);
    o.SetFuncMode(true);
    o.OnControl(control);
    if (o.state.funcMode)
        o.SetFuncMode(false);
}

} // namespace

void InstallMenuCommands(ConsoleOperations& o, const std::function<void(int, std::function<void()>)>& install) {
    Ops* ops = &o;
    for (const auto& [command, control] : kControlItems) {
        const int id = control;
        install(command, [ops, id] {
            Focus(*ops, id);
            ops->OnControl(id);
        });
    }
    for (const Setting& setting : kSettings) {
        const Setting s = setting;
        install(s.command, [ops, s] {
            if (s.focus)
                Focus(*ops, s.focus);
            (ops->link.*s.write)("W", s.value);
        });
    }
    for (const auto& [command, value] : kScans) {
        const u32 scan = value;
        install(command, [ops, scan] {
            if (ops->state.consoleReady)
                ops->link.ConnSC("W", scan);
        });
    }
    // The FUNC-layer functions of the front panel.
    install(cmd::LockFrequency, [ops] { RunFunction(*ops, idc::AttButton); });
    install(cmd::LockAll, [ops] { RunFunction(*ops, idc::PreButton); });
    install(cmd::AutoMode, [ops] { RunFunction(*ops, idc::LsbUsb); });
    install(cmd::ModeReverse, [ops] { RunFunction(*ops, idc::CwFsk); });
    install(cmd::CallInCmd, [ops] { ops->link.ConnCI(); });
    install(cmd::CwAutoTune, [ops] { RunFunction(*ops, idc::Disp); });
    install(cmd::FmAlt, [ops] { RunFunction(*ops, idc::TfSetButton); });
    for (int channel = 1; channel <= 3; ++channel) {
        const int key = idc::Ch1 + channel - 1;
        install(cmd::Record1 + channel - 1, [ops, key] { RunFunction(*ops, key); });
        install(cmd::Play1 + channel - 1, [ops, channel] { ops->link.ConnPB("W", static_cast<u32>(channel)); });
    }
    for (const int narrow : {cmd::FmNarrow, cmd::AmNarrow})
        install(narrow, [ops] {
            ops->link.ConnFW("W", 0);
            ops->link.ConnFW("R", 0);
        });
    install(cmd::FmAsc, [ops] { ops->AutoSimplexCheck(); });
    install(cmd::SubBand, [ops] {
        u32 sub = 0;
        if (ReadOnce(ops->link, &CCorvan::RcvDataSB, sub))
            ops->link.ConnSB("W", sub == 0 ? 1 : 0);
        ops->link.ConnSB("R", 0);
    });
    install(cmd::RxMonitorCmd, [ops] { ops->RxMonitor(!ops->RxMonitorOn()); });
    install(cmd::DspMonitorCmd, [ops] { ops->DspMonitor(!ops->DspMonitorOn()); });
    install(cmd::ScanGroup, [ops] {
        if (!ops->state.consoleReady)
            return;
        RunFunction(*ops, idc::Scan);
    });
    install(cmd::ScanSpeedUp, [ops] {
        ops->ScanSpeed(-1);
        Focus(*ops, idc::RitDown);
    });
    install(cmd::ScanSpeedDown, [ops] {
        ops->ScanSpeed(+1);
        Focus(*ops, idc::RitUp);
    });
    install(cmd::SlowScanFreq, [ops] {
        Focus(*ops, idc::QuickMemoryIn);
        ops->SlowScanFrequency();
    });
    install(cmd::ClearMemory, [ops] { ops->ClearMemoryAsked(); });
    install(cmd::LockOut, [ops] {
        Focus(*ops, idc::Clear);
        ops->LockOutCommand();
    });
    // The memory groups: the MG.SEL function of VFO / M.
    install(cmd::MemoryGroup, [ops] {
        if (ops->state.consoleReady)
            RunFunction(*ops, idc::VfoMemory);
    });
    install(cmd::Terminal, [ops] {
        ops->windows.GlimraDestroy();
        ops->windows.OrlintDestroy();
        ops->link.ConnTC("W", 0, 0);
    });
}
