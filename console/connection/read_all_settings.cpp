// SPDX-License-Identifier: GPL-3.0-or-later
// The initial read of every setting, in the radio's fixed order, with the
// repeater, remote and ZUL modes suspended while it runs.
#include "console_link.h"
#include "depth_count.h"

#include <initializer_list>
#include <string>

namespace zephyra {

namespace {

unsigned Message(const char* code) {
    return corvan::MessageOf(code);
}

} // namespace

void ConsoleLink::SuspendRemoteModes() {
    m_link.ConnEX("W", 61, 1, 0, 0, "0");
    m_link.ConnEX("W", 61, 5, 0, 0, "0");
    m_link.ConnEX("W", 62, 5, 0, 0, "0");
    m_link.ConnCM("W", 0);
}

void ConsoleLink::ReadAllSettings() {
    if (!m_state.consoleReady || m_state.tncMode || !m_state.connected)
        return;
    emit settingsReadStarted();
    bool completed = false;
    {
        DepthCount depth(m_settingsReadDepth);
        DepthCount sequence(m_sequenceDepth);
        // 1. Lock state, auto-information on.
        m_link.ConnLK("R", 0, 0);
        m_state.subReceiver = 0;
        m_link.ConnAI("W", 2);
        m_state.initialReadDone = 1;
        // 2. Nothing is known of the memories and VFOs yet.
        m_state.memory = {MemoryPosition{}, MemoryPosition{}};
        m_state.mainVfo = 9;
        m_state.subVfo = 9;
        m_state.mainTransmitVfo = 9;
        m_state.satelliteVfoFlag = 0;
        // 3.
        OperationGuard guard(*this);

        int s = 0, r = 0, z = 0, m = 0;
        std::uint32_t t = 0, k = 0;
        if (m_state.radioIdentification == 19)
            ReadIdentityTypeSettings(guard, s, r, z, m, t, k);
        if (!ConnectionLost()) {
            ReadSettingsBody();
        }
        if (!ConnectionLost()) {
            // 16. Back to the bands the radio had.
            m_link.ConnDC("W", t, k);
            if (m_state.radioIdentification == 19) {
                WaitForValue(Message("DC"), [&] {
                    std::uint32_t a = 0, b = 0;
                    return m_link.RcvDataDC(&a, &b) == 1 && a == t && b == k;
                });
            }
            Pump();
            // 17.
            m_link.ConnMC("R", 0, 0);
            m_link.ConnFR("R", 0);
            m_link.ConnFT("R", 0);
            m_link.ConnRT("R", 0);
            m_link.ConnXT("R", 0);
            // 18.
            m_link.ConnAI("W", 2);
            Pause(100);
            m_link.ConnAI("R", 0);
            std::uint32_t value = 0;
            WaitForValue(Message("AI"), [&] { return m_link.RcvDataAI(&value) == 1; });
            // 19.
            m_link.ConnRM("R", 0);
            m_state.satelliteMode = 0;
            m_link.ConnSA("R", 0, 0, 0, 0, 0, 0, 0, "");
            // 20.
            m_link.ConnSM(0);
            m_link.ConnSM(1);
            WaitForValue(0, [&] { return m_link.RcvDataSM(1, &value) == 1; });
            // 21.
            m_state.subReceiver = 0;
            m_link.ConnSB("R", 0);
            // 22. Give a radio that left its remote modes time to settle.
            if (s + r + z + m != 0) {
                WaitForValue(Message("SB"), [&] { return m_link.RcvDataSB(&value) == 1; });
                for (int i = 0; i < 20 && !ConnectionLost(); ++i) {
                    Pump();
                    Pause(100);
                }
            }
            // 23.
            guard.End();
            // 24.
            RestoreRemoteModes(s, r, z, m);
            completed = !ConnectionLost();
        }
    }
    if (m_menuReadPending && m_settingsReadDepth == 0 && m_menuReadDepth == 0 && completed) {
        m_menuReadPending = false;
        ReadExtendedMenu();
    }
    if (completed)
        emit settingsRead();
}

// Step 4: the type, the extended menu, the remote modes, the menu bank and
// the control band (identification 19 only).
void ConsoleLink::ReadIdentityTypeSettings(OperationGuard& guard, int& s, int& r, int& z, int& m,
                                           std::uint32_t& t, std::uint32_t& k) {
    m_link.ConnTY();
    Pause(100);
    ReadExtendedMenu();
    // The lock state asked for at the start has come by now.
    guard.TakeLock();
    if (ConnectionLost())
        return;

    s = m_state.repeaterValue;
    r = m_state.remoteValue;
    z = m_state.zulState;
    if (s == 0 && r == 0 && z == 0) {
        m_link.ConnCM("R", 0);
        std::uint32_t value = 0;
        if (WaitForValue(Message("CM"), [&] { return m_link.RcvDataCM(&value) == 1; }))
            m = static_cast<int>(value);
    }
    if (s + r + z + m != 0)
        SuspendRemoteModes();

    m_link.ConnMF("R", 0);
    {
        std::uint32_t value = 0;
        for (int attempt = 0; attempt < 20 && !ConnectionLost(); ++attempt) {
            if (m_link.RcvDataMF(&value) == 1)
                break;
            Pump();
            if (SleepUntilHandled(100, Message("MF"), [&] { return m_link.RcvDataMF(&value) == 1; }))
                break;
        }
    }

    m_link.ConnDC("R", 0, 0);
    const bool haveBands = WaitForValue(Message("DC"), [&] { return m_link.RcvDataDC(&t, &k) == 1; });
    if (!haveBands)
        t = k = 0;
    if (haveBands && k != 0 && !ConnectionLost()) {
        // Read with the control band on main.
        m_link.ConnDC("W", t, 0);
        Pause(200);
        m_link.ConnDC("R", 0, 0);
        WaitForValue(Message("DC"), [&] {
            std::uint32_t a = 0, b = 0;
            return m_link.RcvDataDC(&a, &b) == 1 && b == 0;
        });
    }
}

// Steps 5 to 15.
void ConsoleLink::ReadSettingsBody() {
    CCorvan& l = m_link;
    std::uint32_t a = 0, b = 0;
    // Most settings are asked for with a single value of 0.
    using ReadOne = std::int32_t (CCorvan::*)(const char*, std::uint32_t);
    const auto read = [&l](std::initializer_list<ReadOne> requests) {
        for (const ReadOne request : requests)
            (l.*request)("R", 0);
    };
    // Each group of reads ends by waiting for its last reply; a lost
    // connection stops the rest.
    auto settled = [this](const char* code, const std::function<bool()>& ready) {
        WaitForValue(Message(code), ready);
        return !ConnectionLost();
    };

    read({&CCorvan::ConnFW, &CCorvan::ConnSC});
    if (!settled("SC", [&] { return l.RcvDataSC(&a) == 1; })) return;

    l.ConnAC("R", 0, 0, 0);
    read({&CCorvan::ConnAN, &CCorvan::ConnRG, &CCorvan::ConnBC, &CCorvan::ConnTO});
    if (!settled("TO", [&] { return l.RcvDataTO(&a) == 1; })) return;

    read({&CCorvan::ConnDQ, &CCorvan::ConnCT, &CCorvan::ConnCA, &CCorvan::ConnFS,
          &CCorvan::ConnGT});
    if (!settled("GT", [&] { return l.RcvDataGT(&a) == 1; })) return;

    l.ConnLK("R", 0, 0);
    read({&CCorvan::ConnNB, &CCorvan::ConnNR, &CCorvan::ConnNT, &CCorvan::ConnPA,
          &CCorvan::ConnPR, &CCorvan::ConnRA, &CCorvan::ConnVX});
    if (!settled("VX", [&] { return l.RcvDataVX(&a) == 1; })) return;

    l.ConnAG("R", 0, 0);
    l.ConnSQ("R", 0, 0);
    l.ConnBP("R", 0);
    l.ConnBY();
    read({&CCorvan::ConnCN, &CCorvan::ConnGT});
    if (!settled("GT", [&] { return l.RcvDataGT(&a) == 1; })) return;

    read({&CCorvan::ConnKS, &CCorvan::ConnMG, &CCorvan::ConnPC, &CCorvan::ConnSD,
          &CCorvan::ConnTN, &CCorvan::ConnVD, &CCorvan::ConnVG});
    if (!settled("VG", [&] { return l.RcvDataVG(&a) == 1; })) return;

    l.ConnAR("R", 0, 0, 0);
    read({&CCorvan::ConnAM, &CCorvan::ConnCM});
    l.ConnAG("R", 1, 0);
    l.ConnSQ("R", 1, 0);
    read({&CCorvan::ConnST, &CCorvan::ConnRA});
    if (!settled("RA", [&] { return l.RcvDataRA(&a, &b) == 1; })) return;

    read({&CCorvan::ConnAL, &CCorvan::ConnCG, &CCorvan::ConnDQ, &CCorvan::ConnML,
          &CCorvan::ConnNL, &CCorvan::ConnOF, &CCorvan::ConnOS, &CCorvan::ConnPA});
    if (!settled("PA", [&] { return l.RcvDataPA(&a, &b) == 1; })) return;

    l.ConnPL("R", 0, 0);
    read({&CCorvan::ConnRL, &CCorvan::ConnQC, &CCorvan::ConnLT, &CCorvan::ConnLM,
          &CCorvan::ConnPM, &CCorvan::ConnPB});
    if (!settled("PB", [&] { return l.RcvDataPB(&a) == 1; })) return;

    l.ConnQR("R", 0, 0);
    l.ConnTI();
    read({&CCorvan::ConnSH, &CCorvan::ConnSL});
    if (!settled("SL", [&] { return l.RcvDataSL(&a) == 1; })) return;

    l.ConnIS("R", " ", 0);
    l.ConnTS("R", 0);
}

void ConsoleLink::RestoreRemoteModes(int s, int r, int z, int m) {
    if (s == 0 && r == 0 && z == 0) {
        if (m == 0)
            m_link.ConnEX("R", 0, 0, 0, 0, "");
        else
            m_link.ConnCM("W", static_cast<std::uint32_t>(m));
        return;
    }
    // Only the mode that owned the radio comes back, repeater first.
    if (s != 0)
        m_link.ConnEX("W", 61, 1, 0, 0, std::to_string(s).c_str());
    else if (r != 0)
        m_link.ConnEX("W", 61, 5, 0, 0, std::to_string(r).c_str());
    else
        m_link.ConnEX("W", 62, 5, 0, 0, std::to_string(z).c_str());
}

void ConsoleLink::ReadOtherBandAntenna() {
    std::uint32_t t = 0, k = 0;
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (m_link.RcvDataDC(&t, &k) == 1)
            break;
        SleepUntil(100, [&] { return m_link.RcvDataDC(&t, &k) == 1; });
    }
    const OperationGuard guard(*this);
    // Up to 100 sleeps of 100 ms for `ready`, while the link lasts.
    auto awaitReply = [this](const std::function<bool()>& ready) {
        for (int attempt = 0; attempt < 100 && !ConnectionLost(); ++attempt) {
            if (SleepUntil(100, ready))
                break;
        }
    };
    const std::uint32_t other = k == 0 ? 1 : 0;
    m_link.ConnDC("W", t, other);
    awaitReply([&] {
        std::uint32_t a = 0, b = 0;
        return m_link.RcvDataDC(&a, &b) == 1 && a == t && b == other;
    });
    Pump();
    m_link.ConnAN("R", 0);
    std::uint32_t antenna = 0;
    awaitReply([&] { return m_link.RcvDataAN(&antenna) == 1; });
    Pump();
    m_link.ConnDC("W", t, k);
}

} // namespace zephyra
