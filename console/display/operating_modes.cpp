// SPDX-License-Identifier: GPL-3.0-or-later
// operating_modes.cpp - power, PLL lock, terminal mode, satellite mode and the
// extended menu: the replies that switch the whole console into another
// operating state, and the ZUL line that names it.
//
// The connection (ConsoleLink) sees PS, TC and EX first: it runs the power
// state and terminal-mode switches and stores the repeater, remote-control
// and ZUL values before the operations here run. These add what the
// display does with them.
#include "console_display.h"
#include "display_controls.h"

#include "console_controls.h"
#include "console_ids.h"
#include "console_menu.h"

#include <console_link.h>
#include <corvan.h>
#include <platform.h>

#include <QAbstractButton>
#include <QAction>
#include <QScrollBar>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <initializer_list>
#include <thread>
#include <utility>

using namespace display_controls;

namespace {

using u32 = std::uint32_t;

constexpr int kSquelchFollowUpMs = 200; // SM 3 follows SM 2 by this much
constexpr int kWaitTries = 10;
constexpr auto kWaitStep = std::chrono::milliseconds(100);
constexpr auto kWaitSlice = std::chrono::milliseconds(2);

// The ZUL command state of menu 62/5: the RIT/XIT slider spans less, and
// the sub-receiver buttons read differently.
constexpr int kZulCommand = 2;
constexpr int kRitSpan = 20000;
constexpr int kZulCommandRitSpan = 9990;

constexpr int kSatelliteMenuCommands[] = {cmd::SatMainSub, cmd::SatControlBand, cmd::SatTrace,
                                          cmd::SatRev, cmd::SatClickEncFunction};
constexpr int kNoiseReductionCommands[] = {cmd::NoiseReduction1, cmd::NoiseReduction2,
                                           cmd::NoiseReductionOff};

// The value text of an extended-menu reply as a number: decimal digits,
// blanks around them allowed; -1 for anything else.
int MenuNumber(const char* text) {
    if (text == nullptr)
        return -1;
    const QByteArray trimmed = QByteArray(text).trimmed();
    if (trimmed.isEmpty() || trimmed.size() > 6)
        return -1;
    int value = 0;
    for (const char c : trimmed) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

// Up to ten times 100 ms, letting window messages run, until `ready`
// holds; ends early as soon as it does, and when the link closes.
bool WaitFor(ConsoleDisplay& d, const std::function<bool()>& ready) {
    for (int attempt = 0; attempt < kWaitTries; ++attempt) {
        const auto end = std::chrono::steady_clock::now() + kWaitStep;
        do {
            if (d.host.pump)
                d.host.pump();
            else
                platform::PumpMessages();
            if (ready())
                return true;
            if (!d.state.connected)
                return false;
            std::this_thread::sleep_for(kWaitSlice);
        } while (std::chrono::steady_clock::now() < end);
    }
    return ready();
}

struct SatelliteValues {
    u32 v[7] = {};
};

bool ReadSatellite(CCorvan& link, SatelliteValues& out) {
    char name[corvan::kShortTextSize + 8] = {};
    return link.RcvDataSA(&out.v[0], &out.v[1], &out.v[2], &out.v[3], &out.v[4], &out.v[5],
                          &out.v[6], name) == 1;
}

void SendSatellite(CCorvan& link, const SatelliteReport& r, int control) {
    link.ConnSA("W", static_cast<u32>(r.on), static_cast<u32>(r.channel), static_cast<u32>(r.swap),
                static_cast<u32>(control), static_cast<u32>(r.trace), static_cast<u32>(r.reverse),
                static_cast<u32>(r.memory), "");
}

bool ValidSatellite(const SatelliteReport& r) {
    for (const int flag : {r.on, r.swap, r.control, r.trace, r.reverse, r.memory})
        if (flag != 0 && flag != 1)
            return false;
    return r.channel >= 0 && r.channel <= 9;
}

// Entry mode ends before the displays change under it.
void CancelEntry(ConsoleDisplay& d) {
    if (d.state.entryMode)
        d.connection.CancelPendingMode();
}

// Both frequency displays blank, their separators shown as dots (the last
// separator of each display is always a blank).
void BlankFrequencies(const ConsoleControls& controls) {
    for (const bool sub : {false, true}) {
        const int digit0 = sub ? idc::SubDigit0 : idc::MainDigit0;
        const int sep0 = sub ? idc::SubSep0 : idc::MainSep0;
        for (int i = 0; i < 11; ++i)
            SetText(controls, digit0 + i, QStringLiteral(" "));
        for (int i = 0; i < 3; ++i)
            SetText(controls, sep0 + i, QStringLiteral("."));
        SetText(controls, sep0 + 3, QStringLiteral(" "));
    }
}

// The satellite set-up: the radio is made to report its satellite state by
// toggling the control band and back, then the offsets, modes and both
// VFOs are read, inside the operation guard.
void SatelliteSetup(ConsoleDisplay& d, const SatelliteReport& r) {
    zephyra::ConsoleState& s = d.state;
    const zephyra::OperationGuard guard(d.connection);
    s.satelliteSetup = 1;
    CancelEntry(d);
    for (const int id : std::initializer_list<int>{idc::Split, idc::MainChSep, idc::SubChSep, idc::MainLockOut,
                         idc::SubLockOut, idc::MainMch, idc::SubMch, idc::SubChDigit0,
                         idc::SubChDigit0 + 1, idc::SubChDigit0 + 2})
        SetText(d.controls, id, QString());
    s.satelliteMode = 1;

    const int inverted = r.control == 1 ? 0 : 1;
    auto readsBack = [&d](int control) {
        return [&d, control] {
            SatelliteValues now;
            return ReadSatellite(d.link, now) && static_cast<int>(now.v[3]) == control;
        };
    };
    SendSatellite(d.link, r, inverted);
    WaitFor(d, readsBack(inverted));
    if (s.connected) {
        d.link.ConnOS("R", 0);
        WaitFor(d, [&d] {
            u32 v = 0;
            return d.link.RcvDataOS(&v) == 1;
        });
    }
    if (s.connected) {
        d.link.ConnMD("R", 0);
        WaitFor(d, [&d] {
            u32 v = 0;
            return d.link.RcvDataMD(&v) == 1;
        });
    }
    if (s.connected) {
        SendSatellite(d.link, r, r.control);
        WaitFor(d, readsBack(r.control));
    }
    if (s.connected) {
        d.link.ConnFA("R", "");
        d.link.ConnFB("R", "");
        d.link.ConnMD("R", 0);
    }
    d.windows.GlimraScanStop();
    s.satelliteSetup = 0;
}

// Menu 62/5: the ZUL state. The connection has stored the new value
// already; the display keeps the value it applied last, so that it knows
// whether the radio entered or left the ZUL states.
void ApplyZulState(ConsoleDisplay& d, int value) {
    zephyra::ConsoleState& s = d.state;
    const ConsoleControls& c = d.controls;
    const int previous = s.zulApplied;
    s.zulApplied = value;
    s.zulState = value;
    if (value == kZulCommand)
        d.windows.DunmarDestroy();
    if (previous == 0 && value != 0) {
        SetEnabled(c, idc::StepList, false);
        if (s.split) {
            d.OnFT(s.mainTransmitVfo);
            d.link.ConnFC("R", "");
            for (const int row : {0, 1, 2})
                SetText(c, idc::VfoMark0 + row * 3 + 2, QString());
        }
    } else if (previous != 0 && value == 0) {
        SetEnabled(c, idc::StepList, true);
        SetEnabled(c, idc::Nr1, true);
        SetEnabled(c, idc::Nr2, true);
        for (const int id : kNoiseReductionCommands)
            SetCommandEnabled(d.host, id, true);
        d.link.ConnFR("R", 0);
        if (s.split)
            d.link.ConnFT("R", 0);
    }
    const bool command = value == kZulCommand;
    SetText(c, idc::MainSub, command ? QStringLiteral("HF M.") : QStringLiteral("M / S"));
    SetText(c, idc::CtrlButton, command ? QStringLiteral("SYNC") : QStringLiteral("CTRL"));
    if (QScrollBar* bar = c.scrollBar(idc::RitBar)) {
        const int span = command ? kZulCommandRitSpan : kRitSpan;
        bar->setRange(-span, span);
    }
    d.ShowZulLine();
}

// Menu 25: the transverter. Both displays are drawn again with or without
// its offset.
void ApplyTransverter(ConsoleDisplay& d, int on) {
    zephyra::ConsoleState& s = d.state;
    s.transverter = on;
    SetText(d.controls, idc::Trans, on ? QStringLiteral("TRANS") : QString());
    d.ShowMainFrequency(s.mainFrequency + (s.ritOn ? s.ritXitOffset : 0));
    const bool mainControl = s.controlBand == 0;
    if (s.controlBand == 1 || s.satelliteMode ||
        (mainControl && !s.ritOn && !s.xitOn && (s.split || s.subReceiver)))
        d.ShowSubFrequency(s.subFrequency);
}

// Menus 20 and 21: "R" and "T" light on black; "EQ" while either does.
void ApplyEqualizer(ConsoleDisplay& d, int id, const QString& mark, int value) {
    (id == idc::RxEq ? d.state.rxEqualizer : d.state.txEqualizer) = value;
    SetLit(d.controls, id, value != 0, mark);
    const bool either = d.state.rxEqualizer != 0 || d.state.txEqualizer != 0;
    SetText(d.controls, idc::Eq, either ? QStringLiteral("EQ") : QString());
}

// Menu 19/1: the squelch mark on the signal bars.
void ApplyMeterSquelch(ConsoleDisplay& d, int on) {
    d.state.meterSquelch = on;
    if (on) {
        d.link.ConnSM(2);
        auto followUp = [&d] {
            if (d.state.connected && d.state.meterSquelch)
                d.link.ConnSM(3);
        };
        if (d.host.window)
            QTimer::singleShot(kSquelchFollowUpMs, d.host.window, followUp);
        else
            followUp();
        return;
    }
    for (const int id : {idc::MainMeter, idc::MainMeterOver, idc::SubMeter, idc::SubMeterOver})
        if (CStaticMeterEx* meter = d.controls.meter(id))
            meter->ViewSMeterSql(0, 0);
}

bool Flag(int value) { return value == 0 || value == 1; }

// Menu settings the console only keeps (a flag, 0 or 1): menu, sub-item, where.
struct KeptSetting {
    int menu;
    int sub;
    int zephyra::ConsoleState::*field;
};
constexpr KeptSetting kKeptSettings[] = {
    {4, 0, &zephyra::ConsoleState::menu4},
    {5, 0, &zephyra::ConsoleState::amBroadcastStep},
    {6, 1, &zephyra::ConsoleState::memoryTransmitOption},
    {6, 2, &zephyra::ConsoleState::menu6Second},
    {44, 0, &zephyra::ConsoleState::menu44},
};

} // namespace

void ConsoleDisplay::OnPS(int value) {
    // The connection has run the power-state handling: pictures, ready
    // flag, the live display, the settings read or its refresh, the ZUL
    // texts of a power state in command state.
    if (value == 0) {
        if (state.consoleReady)
            return;
        // Switched off: the reverse blinking stops and the meters forget
        // what they showed, so the next values are drawn afresh.
        timers().KillTimer(kSubReverseBlinkTimer);
        timers().KillTimer(kMainReverseBlinkTimer);
        for (const int id : {idc::MainMeter, idc::MainMeterOver, idc::SecondMeter, idc::SubMeter,
                             idc::SubMeterOver})
            if (CStaticMeterEx* meter = controls.meter(id))
                meter->ResetMeter();
        state.secondMeterKind = 0;
        state.secondMeterLevel = 0;
        return;
    }
    if (value < 1 || value > 3 || !state.consoleReady)
        return;
    // The first power-on since the display texts were cleared: the signal
    // meters get their scales and the console is painted afresh. Later
    // reports (the watchdog asks every second) find them drawn.
    const CStaticEx* name = controls.label(idc::MainMeterName);
    if (!name || !name->text().isEmpty())
        return;
    ShowMeterScale(0, state.transmitting[0] ? 1 : 0);
    if (state.subReceiver || state.satelliteMode)
        ShowMeterScale(2, state.transmitting[1] ? 1 : 0);
    if (host.window)
        host.window->update();
}

void ConsoleDisplay::OnUL(int value) {
    if (value == 1) {
        state.pllUnlocked = 1;
        BlankFrequencies(controls);
        ShowZulLine();
        return;
    }
    if (value != 0)
        return;
    state.pllUnlocked = 0;
    u32 cm = 0;
    const int pct = link.RcvDataCM(&cm) == 1 ? static_cast<int>(cm)
                                              : (state.cmValue > 0 ? state.cmValue : 0);
    if (state.zulState == 0 && state.repeaterValue == 0 && state.remoteValue == 0 && pct == 0) {
        if (state.satelliteMode) {
            state.satelliteMode = 0;
            link.ConnSA("R", 0, 0, 0, 0, 0, 0, 0, "");
        } else {
            link.ConnFR("R", 0);
            state.subReceiver = 0;
            link.ConnSB("R", 0);
        }
        SetText(controls, idc::ZulLine, QString());
        return;
    }
    RedrawFrequencies();
    ShowZulLine();
}

void ConsoleDisplay::OnTC(int /*value*/) {
    // The terminal-mode switch (status text, terminal window, Refresh,
    // watchdog, the full reconnect on leaving) is the connection's; the
    // display has nothing of its own to change for it.
}

void ConsoleDisplay::OnEX(int menu, int sub, int third, int fourth, const char* text) {
    if (third != 0 || fourth != 0)
        return;
    const int value = MenuNumber(text);
    if (value < 0)
        return;
    const bool flag = Flag(value);
    for (const KeptSetting& kept : kKeptSettings) {
        if (kept.menu == menu && kept.sub == sub) {
            if (flag)
                state.*kept.field = value;
            return;
        }
    }
    switch (menu) {
    case 18:
        if (sub == 0 && flag) {
            state.antennaFlag = value;
            UpdateExtLabel();
        }
        break;
    case 19:
        if (sub == 1 && flag)
            ApplyMeterSquelch(*this, value);
        break;
    case 20:
        if (sub == 0)
            ApplyEqualizer(*this, idc::RxEq, QStringLiteral("R"), value);
        break;
    case 21:
        if (sub == 0)
            ApplyEqualizer(*this, idc::TxEq, QStringLiteral("T"), value);
        break;
    case 25:
        if (sub == 0 && flag)
            ApplyTransverter(*this, value);
        break;
    case 42:
        if (sub == 0 && flag && !state.toneScan)
            state.menu42 = value;
        break;
    case 46:
        if (sub == 0 && flag) {
            state.tncBand = value;
            SetText(controls, idc::MainTnc, value == 0 ? QStringLiteral("TNC") : QString());
            SetText(controls, idc::SubTnc,
                    value == 1 && state.subReceiver ? QStringLiteral("TNC") : QString());
        }
        break;
    case 50:
        if (sub == 1 && value != state.filterNumber) {
            state.filterNumber = value;
            windows.DunmarMsgPFil(static_cast<u32>(value));
        }
        break;
    case 61:
        if (sub == 1 && value <= 2) {
            state.repeaterValue = value;
            // Off only empties the line of a console that shows the radio.
            if (value != 0 || state.consoleReady)
                ShowZulLine();
        } else if (sub == 5 && flag) {
            state.remoteValue = value;
            ShowZulLine();
        }
        break;
    case 62:
        if (sub == 5 && value <= 3)
            ApplyZulState(*this, value);
        break;
    default:
        break;
    }
}

void ConsoleDisplay::OnSA(const SatelliteReport& report) {
    if (!ValidSatellite(report))
        return;
    const ConsoleControls& c = controls;
    if (report.on == 1) {
        bool setup = !state.satelliteMode;
        SetText(c, idc::MainChDigit0, QString());
        SetText(c, idc::MainChDigit0 + 1, QString());
        SetText(c, idc::MainChDigit0 + 2, QString::number(report.channel));
        if (report.channel != state.satelliteChannel) {
            state.satelliteChannel = report.channel;
            setup = true;
        } else if (report.swap != state.satelliteVfoFlag) {
            // The two VFOs changed places.
            state.satelliteVfoFlag = report.swap;
            CancelEntry(*this);
            std::swap(state.mainFrequency, state.subFrequency);
            link.ConnFA("R", "");
            link.ConnFB("R", "");
            ShowModeLabel(0);
            if (!state.ritOn && !state.xitOn)
                ShowModeLabel(1);
        }
        // In satellite mode the bands come from this report.
        state.transmitBand = report.swap;
        state.controlBand = report.control;

        const bool subTransmits = report.swap == 1;
        SetLit(c, idc::SubPtt, subTransmits, QStringLiteral("PTT"));
        SetLit(c, idc::MainPtt, !subTransmits, QStringLiteral("PTT"));
        ShowMeterScale(2, subTransmits ? 1 : 0);
        link.ConnSM(1);
        SetText(c, idc::SubCtrl, report.control == 1 ? QStringLiteral("CTRL") : QString());
        SetText(c, idc::MainCtrl, report.control == 1 ? QString() : QStringLiteral("CTRL"));
        // The VFO marks: A and B, "<" on the receive row, ">" on the
        // transmit row.
        const QString marks[9] = {subTransmits ? QStringLiteral("<") : QString(),
                                  QStringLiteral("A"),
                                  subTransmits ? QString() : QStringLiteral(">"),
                                  subTransmits ? QString() : QStringLiteral("<"),
                                  QStringLiteral("B"),
                                  subTransmits ? QStringLiteral(">") : QString(),
                                  QString(),
                                  QString(),
                                  QString()};
        for (int i = 0; i < 9; ++i)
            SetText(c, idc::VfoMark0 + i, marks[i]);
        SetText(c, idc::Trace, report.trace == 1 ? QStringLiteral("TRACE") : QString());
        SetLit(c, idc::MainReverse, report.reverse == 1, QStringLiteral("R"));
        state.satelliteMemoryFlag = report.memory;
        state.satelliteName = report.name.left(9).toStdString();

        if (setup && !state.satelliteSetup)
            SatelliteSetup(*this, report);

        SetText(c, idc::MainText, QString::fromStdString(state.satelliteName));
        for (const int id : kSatelliteMenuCommands)
            SetCommandEnabled(host, id, true);
    } else if (state.satelliteMode) {
        CancelEntry(*this);
        state.satelliteMode = 0;
        for (const int id : std::initializer_list<int>{idc::MainChDigit0, idc::MainChDigit0 + 1, idc::MainChDigit0 + 2,
                             idc::SubMode, idc::MainText})
            SetText(c, id, QString());
        ShowSubFrequency(0);
        link.ConnDC("R", 0, 0);
        link.ConnFR("R", 0);
        link.ConnFT("R", 0);
        if (!state.subReceiver) {
            SetText(c, idc::SubScale, QString());
            SetText(c, idc::SubMeterName, QString());
        }
        for (const int id : kSatelliteMenuCommands)
            SetCommandEnabled(host, id, false);
    }
    if (!state.satelliteMode) {
        SetText(c, idc::Trace, QString());
        SetLit(c, idc::MainReverse, false, QStringLiteral("R"));
    }
    UpdateMemoryLamp();
}

void ConsoleDisplay::ShowZulLine() {
    QString text;
    if (state.pllUnlocked) {
        text = QStringLiteral(" PLL UNLOCKED.");
    } else if (state.zulState == 1) {
        text = QStringLiteral(" ZUL : CLIENT ");
    } else if (state.zulState == 2) {
        text = QStringLiteral(" ZUL : COMMAND ");
    } else if (state.zulState == 3) {
        text = QStringLiteral(" ZUL : T-PORTER ");
    } else if (state.remoteValue == 1) {
        text = QStringLiteral(" REMOTE CONTROL ");
    } else if (state.repeaterValue == 1) {
        text = QStringLiteral(" REPEATER : LOCKED ");
    } else if (state.repeaterValue == 2) {
        text = QStringLiteral(" REPEATER : CROSS ");
    }
    SetText(controls, idc::ZulLine, text);
}
