// SPDX-License-Identifier: GPL-3.0-or-later
// console_menu.cpp - the console's menu as data and the menu bar built from it.
#include "console_menu.h"

#include "console_dialog.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <vector>

namespace {

constexpr bool kGreyed = true;

constexpr MenuEntry kMenu[] = {
    {0, "File (&F)", 0},
    {1, "Exit (&X)", cmd::Exit},

    {0, "Control (&C)", 0},
    {1, "ON (&O)", cmd::ControlOnCmd},
    {1, "OFF (&F)", cmd::ControlOffCmd, kGreyed},
    {1, nullptr, 0},
    {1, "Setup (&S)", cmd::Setup},
    {1, "Refresh (&R)\tF5", cmd::Refresh, kGreyed},
    {1, nullptr, 0},
    {1, "Connect at Start (&A)", cmd::ConnectAtStart},
    {1, "Reconnect by Itself (&B)", cmd::ReconnectByItself},
    {1, "Meter Pace (&M)", 0},
    {2, "Off (&O)", cmd::MeterPaceOff},
    {2, "Slow (&S)", cmd::MeterPaceSlow},
    {2, "Normal (&N)", cmd::MeterPaceNormal},
    {2, "Fast (&F)", cmd::MeterPaceFast},
    {1, nullptr, 0},
    {1, "Share: rigctld (&N)", cmd::ShareRigctl},
    {1, "Share: flrig (&X)", cmd::ShareFlrig},

    {0, "Radio (&R)", 0},
    {1, "Power Switch (&P)", cmd::PowerSwitch},
    {1, "Lock (&L)", 0},
    {2, "F.Lock (&F)", cmd::LockFrequency},
    {2, "A.Lock (&A)", cmd::LockAll},
    {1, "Antenna (&A)", 0},
    {2, "ANT No. (&N)", cmd::AntennaNumber},
    {1, "Tuner (&T)", 0},
    {2, "AT IN (&I)", cmd::TunerAtIn},
    {2, "AT Tune (&T)", cmd::TunerAtTune},
    {1, "Meter (&E)", 0},
    {2, "COMP (&C)", cmd::MeterComp},
    {2, "SWR (&S)", cmd::MeterSwr},
    {2, "ALC (&A)", cmd::MeterAlc},
    {1, "GAIN (&I)", 0},
    {2, "RF GAIN (&R)", cmd::GainRf},
    {2, "AF GAIN Main (&A)", cmd::GainAfMain},
    {2, "AF GAIN Sub (&B)", cmd::GainAfSub},
    {2, "SQUELCH Main (&Q)", cmd::GainSquelchMain},
    {2, "SQUELCH Sub (&U)", cmd::GainSquelchSub},
    {1, nullptr, 0},
    {1, "Multi (&U)", cmd::RadioMulti},
    {1, "Menu (&M)", cmd::RadioMenu},
    {1, "M/S (&S)", cmd::RadioMainSub},
    {1, "Control Band (&C)", cmd::RadioControlBand},
    {1, nullptr, 0},
    {1, "NB (&N)", cmd::RadioNb},
    {1, "AGC (&G)", cmd::RadioAgc},
    {1, "VOX (&V)", cmd::RadioVox},
    {1, nullptr, 0},
    {1, "Rec (&R)", 0},
    {2, "CH 1 (&1)", cmd::Record1},
    {2, "CH 2 (&2)", cmd::Record2},
    {2, "CH 3 (&3)", cmd::Record3},
    {1, "Play (&Y)", 0},
    {2, "CH 1 (&1)", cmd::Play1},
    {2, "CH 2 (&2)", cmd::Play2},
    {2, "CH 3 (&3)", cmd::Play3},

    {0, "VFO (&V)", 0},
    {1, "Tune (&T)", 0},
    {2, "Up (&U)", cmd::TuneUpCmd},
    {2, "Down (&D)", cmd::TuneDownCmd},
    {1, "Band (&B)", 0},
    {2, "Up (&U)", cmd::BandUpCmd},
    {2, "Down (&D)", cmd::BandDownCmd},
    {1, "Click Enc. (&C)", 0},
    {2, "Up (&U)", cmd::ClickEncUp},
    {2, "Down (&D)", cmd::ClickEncDown},
    {1, "Step (&S)", cmd::StepCmd},
    {1, "Fine (&F)", cmd::FineCmd},
    {1, "Entry (&E)", cmd::EntryCmd},

    {0, "Mode (&M)", 0},
    {1, "LSB (&L)", cmd::ModeLsb},
    {1, "USB (&U)", cmd::ModeUsb},
    {1, "CW (&C)", cmd::ModeCw},
    {1, "FSK (&F)", cmd::ModeFsk},
    {1, "Reverse (&R)", cmd::ModeReverse},
    {1, "FM (&M)", cmd::ModeFm},
    {1, "AM (&A)", cmd::ModeAm},
    {1, nullptr, 0},
    {1, "Auto Mode (&O)", cmd::AutoMode},
    {1, "Auto Mode Freq. (&Q)", cmd::AutoModeFreq},

    {0, "TX RX (&T)", 0},
    {1, "Function (&F)", 0},
    {2, "SPLIT (&S)", cmd::SplitCmd},
    {2, "A/B (&B)", cmd::ABCmd},
    {2, "VFO/M (&V)", cmd::VfoMemoryCmd},
    {2, "A=B (&A)", cmd::AEqualsBCmd},
    {2, "RIT (&R)", cmd::RitCmd},
    {2, "XIT (&X)", cmd::XitCmd},
    {2, "RIT Freq. (&Q)", 0},
    {3, "Up (&U)", cmd::RitFreqUp},
    {3, "Down (&D)", cmd::RitFreqDown},
    {3, "Clear (&C)", cmd::RitFreqClear},
    {2, "TF-SET (&T)", cmd::TfSetCmd},
    {2, "ATT (&N)", cmd::AttCmd},
    {2, "PRE-AMP (&P)", cmd::PreAmpCmd},
    {2, "RX MONI (&M)", cmd::RxMonitorCmd},
    {2, "CALL (&L)", cmd::CallCmd},
    {2, "CALL IN (&I)", cmd::CallInCmd},
    {1, "CW Function (&C)", 0},
    {2, "CW Auto Tune (&A)", cmd::CwAutoTune},
    {1, "FM Function (&M)", 0},
    {2, "TONE (&T)", cmd::FmTone},
    {2, "CTCSS (&C)", cmd::FmCtcss},
    {2, "DCS (&D)", cmd::FmDcs},
    {2, "ALT (&L)", cmd::FmAlt},
    {2, "Shift (&S)", 0},
    {3, "Simplex (&S)", cmd::ShiftSimplex},
    {3, "+ (&P)", cmd::ShiftPlus},
    {3, "- (&M)", cmd::ShiftMinus},
    {3, "= (&E)", cmd::ShiftEqual},
    {2, "Filter (&F)", 0},
    {3, "Narrow (&N)", cmd::FmNarrow},
    {3, "Wide (&W)", cmd::FmWide},
    {2, "Reverse (&R)", cmd::FmReverse},
    {2, "A.S.C. (&A)", cmd::FmAsc},
    {1, "AM Function (&A)", 0},
    {2, "Filter (&F)", 0},
    {3, "Narrow (&N)", cmd::AmNarrow},
    {3, "Wide (&W)", cmd::AmWide},
    {1, nullptr, 0},
    {1, "Send (&S)", cmd::SendCmd},
    {1, "Sub Band (&U)", cmd::SubBand},
    {1, "Keying (&K)", cmd::Keying},
    {1, "Terminal (&E)", cmd::Terminal},
    {1, "P.C.T. (&P)", cmd::PctCmd},
    {1, "Satellite (&L)", 0},
    {2, "Satellite (&S)", cmd::SatSatellite},
    {2, "M/S (&M)", cmd::SatMainSub},
    {2, "Control Band (&C)", cmd::SatControlBand},
    {2, "Trace (&T)", cmd::SatTrace},
    {2, "Rev. (&R)", cmd::SatRev},
    {2, "Click Enc. Function (&F)", cmd::SatClickEncFunction},

    {0, "Memory (&E)", 0},
    {1, "M. IN (&I)", cmd::MemoryInCmd},
    {1, "M > VFO (&V)", cmd::MemoryToVfoCmd},
    {1, "Q. M. IN (&Q)", cmd::QuickMemoryInCmd},
    {1, "Q. MR (&R)", cmd::QuickMrCmd},
    {1, "M. CH (&M)", 0},
    {2, "Up (&U)", cmd::MemoryChannelUp},
    {2, "Down (&D)", cmd::MemoryChannelDown},
    {1, "M. Name (&N)", cmd::MemoryName, kGreyed},
    {1, "M. Group (&G)", cmd::MemoryGroup},
    {1, "LockOut (&L)", cmd::LockOut},
    {1, nullptr, 0},
    {1, "Clear Memory (&C)", cmd::ClearMemory},
    {1, nullptr, 0},
    {1, "Memory C&hannels", cmd::MemoryChannels},

    {0, "Scan (&S)", 0},
    {1, "Scan (&S)", cmd::ScanCmd},
    {1, "MHz Scan (&M)", cmd::MhzScan},
    {1, "Visual Scan (&V)", cmd::VisualScan},
    {1, "Tone Scan (&T)", cmd::ToneScan},
    {1, "CTCSS Scan (&C)", cmd::CtcssScan},
    {1, "DCS Scan (&D)", cmd::DcsScan},
    {1, nullptr, 0},
    {1, "Scan Group (&G)", cmd::ScanGroup},
    {1, "Slow Scan Freq. (&F)", cmd::SlowScanFreq, kGreyed},
    {1, "SCAN SPEED (&P)", 0},
    {2, "UP (&U)", cmd::ScanSpeedUp},
    {2, "Down (&D)", cmd::ScanSpeedDown},

    {0, "DSP (&D)", 0},
    {1, "RX Filter (&F)", cmd::RxFilter},
    {1, "DSP Monitor (&M)", cmd::DspMonitorCmd},
    {1, "Beat Cancel (&B)", 0},
    {2, "Auto (&A)", cmd::BeatCancelAuto},
    {2, "Manual (&M)", cmd::BeatCancelManual},
    {2, "OFF (&O)", cmd::BeatCancelOff},
    {2, "BC Point (&P)", cmd::BeatCancelPoint},
    {1, "N.R. (&N)", 0},
    {2, "N.R. 1 (&1)", cmd::NoiseReduction1},
    {2, "N.R. 2 (&2)", cmd::NoiseReduction2},
    {2, "OFF (&F)", cmd::NoiseReductionOff},
    {1, "Auto Notch (&A)", cmd::AutoNotch},
    {1, "Speech Processor (&S)", cmd::SpeechProcessor},
    {1, "Audio Editor (&E)", 0},
    {2, "Design (&D)", cmd::AudioEditorDesign},
    {2, "Samples (&S)", cmd::AudioEditorSamples},

    {0, "Help (&H)", 0},
    {1, "Index (&I)", cmd::HelpIndex},
    {1, nullptr, 0},
    {1, "About Zephyra (&A)", cmd::About},
};

} // namespace

bool ModeMenuMarks(int command, int mode) {
    // The radio's mode numbers: 1 LSB, 2 USB, 3 CW, 4 FM, 5 AM, 6 FSK,
    // 7 CW reversed, 9 FSK reversed.
    switch (command) {
    case cmd::ModeLsb:
        return mode == 1;
    case cmd::ModeUsb:
        return mode == 2;
    case cmd::ModeCw:
        return mode == 3 || mode == 7;
    case cmd::ModeFsk:
        return mode == 6 || mode == 9;
    case cmd::ModeReverse:
        return mode == 7 || mode == 9;
    case cmd::ModeFm:
        return mode == 4;
    case cmd::ModeAm:
        return mode == 5;
    default:
        return false;
    }
}

std::span<const MenuEntry> ConsoleMenu() { return kMenu; }

void ConsoleDialog::BuildMenu() {
    m_menuBar = new QMenuBar(this);
    m_menuBar->setNativeMenuBar(false);
    // The open menus by depth: 0 is the menu of the bar being filled.
    std::vector<QMenu*> open;
    for (const MenuEntry& entry : ConsoleMenu()) {
        const auto depth = static_cast<std::size_t>(entry.depth);
        if (depth == 0) {
            open.assign(1, m_menuBar->addMenu(QString::fromLatin1(entry.text)));
            continue;
        }
        open.resize(depth);
        QMenu* parentMenu = open.back();
        if (entry.text == nullptr) {
            parentMenu->addSeparator();
        } else if (entry.command == 0) {
            open.push_back(parentMenu->addMenu(QString::fromLatin1(entry.text)));
        } else {
            QAction* action = parentMenu->addAction(QString::fromLatin1(entry.text));
            action->setData(entry.command);
            action->setEnabled(!entry.greyed);
            const int command = entry.command;
            connect(action, &QAction::triggered, this, [this, command] { OnCommand(command); });
            m_actions[command] = action;
        }
    }
    // The Mode menu marks the control band's mode as it opens.
    if (menuAction(cmd::ModeLsb)) {
        static constexpr int kModes[] = {cmd::ModeLsb, cmd::ModeUsb, cmd::ModeCw, cmd::ModeFsk,
                                         cmd::ModeReverse, cmd::ModeFm, cmd::ModeAm};
        for (const int command : kModes)
            if (QAction* action = menuAction(command))
                action->setCheckable(true);
        if (QMenu* menu = menuHolding(cmd::ModeLsb))
            connect(menu, &QMenu::aboutToShow, this, [this] {
                const int mode = m_state.mode[m_state.controlBand == 1 ? 1 : 0];
                for (const int command : kModes)
                    if (QAction* action = menuAction(command))
                        action->setChecked(ModeMenuMarks(command, mode));
            });
    }
    // Clear Memory clears the channel on the display: greyed on a VFO.
    if (QAction* clear = menuAction(cmd::ClearMemory)) {
        if (QMenu* menu = menuHolding(cmd::ClearMemory))
            connect(menu, &QMenu::aboutToShow, this, [this, clear] {
                clear->setEnabled((m_state.controlBand == 1 ? m_state.subVfo : m_state.mainVfo) == 2);
            });
    }
}

QAction* ConsoleDialog::menuAction(int commandId) const {
    const auto it = m_actions.find(commandId);
    return it == m_actions.end() ? nullptr : it->second;
}

QMenu* ConsoleDialog::menuHolding(int commandId) const {
    QAction* item = menuAction(commandId);
    if (!item)
        return nullptr;
    QMenu* holder = nullptr;
    for (QObject* object : item->associatedObjects())
        if (auto* menu = qobject_cast<QMenu*>(object))
            holder = menu;
    return holder;
}
