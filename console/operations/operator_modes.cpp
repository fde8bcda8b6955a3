// SPDX-License-Identifier: GPL-3.0-or-later
// operator_modes.cpp - the FUNC layer's captions, and how each operator mode
// ends when the connection cancels it (the keypad's modes, FUNC, the dial
// selection, memory scroll and the quick memory).
#include "console_operations.h"
#include "read_toggle.h"

#include "console_controls.h"
#include "console_ids.h"
#include "../display/console_display.h"
#include "../display/display_controls.h"

#include <console_link.h>
#include <corvan.h>

#include <array>

using namespace display_controls;
using namespace operations;

namespace {

// The thirteen buttons with a second function, and their two captions.
struct FuncCaption {
    int id;
    const char* normal;
    const char* func;
};
constexpr std::array<FuncCaption, 13> kFuncCaptions{{
    {idc::AttButton, "ATT", "F.LK"},
    {idc::PreButton, "PRE", "A.LK"},
    {idc::LsbUsb, "LSB / USB", "AUTO"},
    {idc::CwFsk, "CW / FSK", "REV"},
    {idc::FmAm, "FM / AM", "NAR"},
    {idc::Call, "CALL", "C.IN"},
    {idc::VfoMemory, "VFO / M", "MG.SEL"},
    {idc::Scan, "SCAN", "SG.SEL"},
    {idc::Disp, "DISP", "CW TN"},
    {idc::TfSetButton, "TF-SET", "ALT"},
    {idc::Ch1, "CH1", "REC 1"},
    {idc::Ch2, "CH2", "REC 2"},
    {idc::Ch3, "CH3", "REC 3"},
}};

} // namespace

void ConsoleOperations::SetFuncMode(bool on) {
    state.funcMode = on ? 1 : 0;
    for (const FuncCaption& caption : kFuncCaptions) {
        if (CCButtonEx* button = controls.cbutton(caption.id)) {
            button->setText(QString::fromLatin1(on ? caption.func : caption.normal));
            button->SetBackColor(on ? ConsoleDisplay::kDisplayColour : host.faceColour);
        }
    }
    SetEnabled(controls, idc::Ent, !on);
}

bool ConsoleOperations::TakeFunc() {
    if (!state.funcMode)
        return false;
    SetFuncMode(false);
    return true;
}

void ConsoleOperations::LeaveOperatorMode(int mode) {
    using zephyra::OperatorMode;
    switch (static_cast<OperatorMode>(mode)) {
    case OperatorMode::Entry:
    case OperatorMode::VoiceRecallDigits:
    case OperatorMode::ReadChannel:
    case OperatorMode::WriteChannel:
    case OperatorMode::DtmfDigits:
        LeaveKeypadMode(mode);
        break;
    case OperatorMode::Func:
        SetFuncMode(false);
        break;
    case OperatorMode::MouseWheelSelection:
        SetWheelSelection(0);
        break;
    case OperatorMode::MemoryScroll:
        SetMemoryScroll(0);
        break;
    case OperatorMode::QuickMemory: {
        // The radio leaves its quick memory too, on the channel it shows.
        u32 on = 0, channel = 0;
        if (!ReadQuickMemory(link, on, channel))
            channel = state.quickChannel >= 0 && state.quickChannel <= 9 ? static_cast<u32>(state.quickChannel) : 0;
        link.ConnQR("W", 0, channel);
        break;
    }
    }
}
