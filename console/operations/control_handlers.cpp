// SPDX-License-Identifier: GPL-3.0-or-later
// control_handlers.cpp - which front-panel control runs what: one row per
// control, the keypad's two lives (digits in entry mode, functions
// otherwise) and the double clicks that type twice. The FUNC layer's
// captions are operator_modes.cpp's.
#include "console_operations.h"
#include "read_toggle.h"

#include "console_controls.h"
#include "console_ids.h"
#include "console_menu.h"
#include "../display/console_display.h"
#include "../display/display_controls.h"

#include <console_link.h>
#include <corvan.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QScrollBar>

#include <array>
#include <functional>
#include <map>

using namespace display_controls;
using namespace operations;

namespace {

using Ops = ConsoleOperations;

// The keypad keys and the digit each types in entry mode (10 = the point).
constexpr std::array<std::pair<int, int>, 11> kKeypadDigits{{
    {idc::Ch1, 1}, {idc::Ch2, 2}, {idc::Ch3, 3}, {idc::Tone, 4}, {idc::Meter, 5},
    {idc::Ctcss, 6}, {idc::NbButton, 7}, {idc::AgcButton, 8}, {idc::FineButton, 9},
    {idc::Dcs, 10}, {idc::Shift, 0},
}};

int KeypadDigit(int id) {
    for (const auto& [key, digit] : kKeypadDigits)
        if (key == id)
            return digit;
    return -1;
}

// A check button shows what the radio reports, not the click: the click's
// own toggle is undone and the reply sets the check.
void KeepCheck(const ConsoleControls& controls, int id) {
    if (CButtonEx* button = controls.button(id))
        if (button->isCheckable())
            button->setChecked(!button->isChecked());
}

using Handler = std::function<void(Ops&)>;

// Read-toggle rows whose check follows the value read.
Handler CheckedToggle(int id, Read read, Write write) {
    return [id, read, write](Ops& o) {
        const int was = ReadToggle(o.link, read, write);
        if (was >= 0)
            SetChecked(o.controls, id, was != 0);
    };
}

// CTCSS and DCS: read-toggles in FM only.
Handler FmToggle(Read read, Write write) {
    return [read, write](Ops& o) {
        if (o.state.mode[o.state.controlBand == 1 ? 1 : 0] == 4)
            ReadToggle(o.link, read, write);
    };
}

// Keys whose word on the display shows their state: without the word the key
// turns it on, with it off.
Handler LabelToggle(int label, Write write) {
    return [label, write](Ops& o) { (o.link.*write)("", TextOf(o.controls, label).isEmpty() ? 1 : 0); };
}

const std::map<int, Handler>& Rows() {
    static const std::map<int, Handler> rows = {
        {idc::Power, &Ops::Power},
        {idc::AttButton, &Ops::Att},
        {idc::PreButton, &Ops::Pre},
        {idc::Vox, [](Ops& o) { o.link.ConnVX("", o.state.voxOn ? 0 : 1); }},
        {idc::Proc, [](Ops& o) { o.link.ConnPR("", o.state.processorOn ? 0 : 1); }},
        {idc::Send, &Ops::Send},
        {idc::AtIn,
         [](Ops& o) {
             o.link.ConnAC("W", 0, TextOf(o.controls, idc::TunerTx).isEmpty() ? 1 : 0, 0);
         }},
        {idc::AntButton,
         [](Ops& o) {
             u32 antenna = 0;
             if (ReadOrAsk(o.link, &CCorvan::RcvDataAN, &CCorvan::ConnAN, antenna))
                 o.link.ConnAN("W", antenna == 1 ? 2 : 1);
         }},
        {idc::AtTune,
         [](Ops& o) {
             u32 rx = 0, tx = 0, tuning = 0;
             bool read = false;
             for (int i = 0; i < 10 && !read; ++i)
                 read = o.link.RcvDataAC(&rx, &tx, &tuning) == 1;
             if (!read) {
                 o.link.ConnAC("R", 0, 0, 0);
                 return;
             }
             const u32 next = tuning == 0 ? 1 : 0;
             o.link.ConnAC("W", rx, next, next);
         }},
        {idc::Voice,
         [](Ops& o) {
             if (!o.state.consoleReady)
                 return;
             if (o.state.voiceRecallDigits) {
                 o.state.voiceRecallDigits = 0;
                 o.SetEntryMode(0);
             } else if (!o.state.entryMode) {
                 o.state.voiceRecallDigits = 1;
                 o.SetEntryMode(1);
             }
         }},
        {idc::LsbUsb, &Ops::LsbUsb},
        {idc::CwFsk, &Ops::CwFsk},
        {idc::FmAm, &Ops::FmAm},
        {idc::AEqualsB, &Ops::AEqualsB},
        {idc::ASlashB, &Ops::ASlashB},
        {idc::SplitButton, &Ops::Split},
        {idc::TuneUp, &Ops::TuneUp},
        {idc::TuneDown, &Ops::TuneDown},
        {idc::BandUp, &Ops::BandUp},
        {idc::BandDown, &Ops::BandDown},
        {idc::MultiUp, [](Ops& o) { o.MultiStep(+1); }},
        {idc::MultiDown, [](Ops& o) { o.MultiStep(-1); }},
        {idc::MainSub, &Ops::MainSub},
        {idc::CtrlButton, &Ops::ControlBand},
        {idc::SubButton, CheckedToggle(idc::SubButton, &CCorvan::RcvDataSB, &CCorvan::ConnSB)},
        {idc::Rit, CheckedToggle(idc::Rit, &CCorvan::RcvDataRT, &CCorvan::ConnRT)},
        {idc::Xit, CheckedToggle(idc::Xit, &CCorvan::RcvDataXT, &CCorvan::ConnXT)},
        {idc::RitClear,
         [](Ops& o) {
             if (RitOrXit(o.state))
                 o.link.ConnRC();
         }},
        {idc::RitDown, [](Ops& o) { o.RitButtons(-1); }},
        {idc::RitDownFast, [](Ops& o) { o.RitButtons(-10); }},
        {idc::RitUp, [](Ops& o) { o.RitButtons(+1); }},
        {idc::RitUpFast, [](Ops& o) { o.RitButtons(+10); }},
        {idc::Nr1, [](Ops& o) { o.NoiseReduction(1); }},
        {idc::Nr2, [](Ops& o) { o.NoiseReduction(2); }},
        {idc::ANotchButton, CheckedToggle(idc::ANotchButton, &CCorvan::RcvDataNT, &CCorvan::ConnNT)},
        {idc::BeatCancel, &Ops::BeatCancel},
        {idc::BcAuto, [](Ops& o) { o.BeatCancelMode(1); }},
        {idc::BcManual, [](Ops& o) { o.BeatCancelMode(2); }},
        {idc::Func,
         [](Ops& o) {
             if (o.state.funcMode)
                 o.SetFuncMode(false);
             else if (o.state.consoleReady)
                 o.SetFuncMode(true);
         }},
        {idc::TfSetButton, &Ops::TfSet},
        {idc::Disp, &Ops::Disp},
        {idc::Ch1, [](Ops& o) { o.VoiceMemory(1); }},
        {idc::Ch2, [](Ops& o) { o.VoiceMemory(2); }},
        {idc::Ch3, [](Ops& o) { o.VoiceMemory(3); }},
        {idc::Tone, &Ops::Tone},
        {idc::Meter, &Ops::Meter},
        {idc::Ctcss, FmToggle(&CCorvan::RcvDataCT, &CCorvan::ConnCT)},
        {idc::NbButton, LabelToggle(idc::Nb, &CCorvan::ConnNB)},
        {idc::AgcButton, &Ops::Agc},
        {idc::FineButton, LabelToggle(idc::Fine, &CCorvan::ConnFS)},
        {idc::Dcs, FmToggle(&CCorvan::RcvDataDQ, &CCorvan::ConnDQ)},
        {idc::Shift, &Ops::Shift},
        {idc::Ent, &Ops::EntryEnter},
        {idc::Clear, &Ops::KeypadClear},
        {idc::PctButton,
         [](Ops& o) {
             if (o.state.consoleReady)
                 ReadToggle(o.link, &CCorvan::RcvDataCM, &CCorvan::ConnCM);
         }},
        {idc::Scan, &Ops::ScanButton},
        {idc::VScan, &Ops::VisualScan},
        {idc::VfoMemory, &Ops::VfoMemory},
        {idc::SatVfoCh,
         [](Ops& o) {
             if (o.state.satelliteMode)
                 o.VfoMemory();
         }},
        {idc::Call, &Ops::CallChannel},
        {idc::MemoryToVfo,
         [](Ops& o) {
             const int vfo = o.state.controlBand == 1 ? o.state.subVfo : o.state.mainVfo;
             if (vfo == 2 || vfo == 3 || o.state.quickMemory)
                 o.link.ConnSV();
         }},
        {idc::MemoryIn, &Ops::MemoryIn},
        {idc::QuickMemoryIn, &Ops::QuickMemoryIn},
        {idc::QuickMr, &Ops::QuickMemoryRead},
        {idc::Pm, &Ops::ProgrammableMemory},
        {idc::PmIn, &Ops::ProgrammableMemoryIn},
        {idc::Satellite, &Ops::Satellite},
        {idc::SatMainSub,
         [](Ops& o) {
             if (o.state.satelliteMode)
                 o.ToggleSatellite(2);
         }},
        {idc::SatReverse, &Ops::SatelliteReverse},
        {idc::SatTrace,
         [](Ops& o) {
             if (o.state.satelliteMode)
                 o.ToggleSatellite(4);
         }},
        // Windows of their own: the console's commands open them.
        {idc::Multi, [](Ops& o) { o.RunCommand(cmd::RadioMulti); }},
        {idc::Filter, [](Ops& o) { o.RunCommand(cmd::RxFilter); }},
        {idc::Menu, [](Ops& o) { o.RunCommand(cmd::RadioMenu); }},
    };
    return rows;
}

} // namespace

bool ConsoleOperations::OnControl(int id) {
    const auto row = Rows().find(id);
    if (row == Rows().end())
        return false;
    if (OperationRunning())
        return true;
    // The keypad types digits in entry mode.
    if (state.entryMode) {
        const int digit = KeypadDigit(id);
        if (digit == 10) {
            EntryPoint();
            return true;
        }
        if (digit >= 0) {
            EntryDigit(digit);
            return true;
        }
    }
    row->second(*this);
    return true;
}

void ConsoleOperations::OnControlDoubleClick(int id) {
    if (state.entryMode && KeypadDigit(id) >= 0 && KeypadDigit(id) != 10)
        OnControl(id);
}

void ConsoleOperations::OnStepSelected(int index) {
    if (index < 0 || state.radioIdentification != 19)
        return;
    if (OperationRunning())
        return;
    // The step the radio already has is not sent again.
    u32 step = 0;
    if (ReadOnce(link, &CCorvan::RcvDataST, step) && step == static_cast<u32>(index))
        return;
    link.ConnST("W", static_cast<u32>(index));
}

void ConsoleOperations::Install() {
    for (const auto& [id, handler] : Rows()) {
        auto* button = qobject_cast<QAbstractButton*>(controls.widget(id));
        if (!button)
            continue;
        const int control = id;
        QObject::connect(button, &QAbstractButton::clicked, button, [this, control] {
            KeepCheck(controls, control);
            OnControl(control);
        });
    }
    if (QComboBox* list = controls.comboBox(idc::StepList))
        QObject::connect(list, qOverload<int>(&QComboBox::activated), list,
                         [this](int index) { OnStepSelected(index); });
    InstallLevelBars();
    for (const int bar : {idc::RitBar, idc::ScanSpeedBar}) {
        QScrollBar* scroll = controls.scrollBar(bar);
        if (!scroll)
            continue;
        // These two send steps, not a position: their context menu's "Scroll
        // here" and edges would move the bar away from the radio.
        scroll->setContextMenuPolicy(Qt::NoContextMenu);
        QObject::connect(scroll, &QAbstractSlider::actionTriggered, scroll, [this, bar](int action) {
            switch (action) {
            case QAbstractSlider::SliderSingleStepSub: OnScroll(bar, ScrollCode::LineLeft); break;
            case QAbstractSlider::SliderSingleStepAdd: OnScroll(bar, ScrollCode::LineRight); break;
            case QAbstractSlider::SliderPageStepSub: OnScroll(bar, ScrollCode::PageLeft); break;
            case QAbstractSlider::SliderPageStepAdd: OnScroll(bar, ScrollCode::PageRight); break;
            case QAbstractSlider::SliderMove: OnScroll(bar, ScrollCode::Thumb); break;
            default: break;
            }
        });
        // The end of a scroll (mouse or key released) comes from the pre-filter.
    }
}
