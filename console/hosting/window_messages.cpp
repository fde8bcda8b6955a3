// SPDX-License-Identifier: GPL-3.0-or-later
// window_messages.cpp - what the secondary windows tell the console: the
// end of memory editing, a radio reset from the set-up panel, the set-up
// panel's OK, the end of satellite-name editing, the visual scan closed, and
// a link restart asked for by an outside window.
#include "console_dialog.h"

#include "console_ids.h"
#include "display/console_display.h"
#include "display/display_controls.h"
#include "sharing/radio_sharing.h"

#include <console_link.h>
#include <corvan.h>
#include <pandor.h>
#include <platform.h>

#include <QTimer>

#include <cstdio>
#include <thread>


// Waits `tenths` times 100 ms (the link's timing scale applied), letting
// window messages run.
void ConsoleDialog::WaitPumping(int tenths) {
    const double scale = m_connection ? m_connection->Timing().scale : 1.0;
    const auto tick = std::chrono::microseconds(static_cast<long long>(100000 * scale));
    for (int i = 0; i < tenths; ++i) {
        std::this_thread::sleep_for(tick);
        PumpMessages();
    }
}

void ConsoleDialog::InstallWindowMessages() {
    // A message that arrives while an operation runs waits for its end: a
    // reset or restart nested in the waits of a read would cut the read.
    const auto deferred = [this](const platform::WindowMessage& message) {
        if (!OperationRunning())
            return false;
        const unsigned number = message.message();
        const std::uintptr_t wParam = message.wParam();
        const std::intptr_t lParam = message.lParam();
        QTimer::singleShot(100, this, [this, number, wParam, lParam] {
            platform::PostMessage(this, number, wParam, lParam);
        });
        return true;
    };

    SetMessageHandler(platform::kUmMemoryEditEnd, [this](const platform::WindowMessage& message) {
        if (message.wParam() == 1)
            StoreEditedMemory();
        m_windows->RadioMchDestroy();
        m_state.panelOpen = 0;
    });

    SetMessageHandler(platform::kUmRadioReset, [this, deferred](const platform::WindowMessage& message) {
        if (deferred(message) || !m_connection)
            return;
        OnRadioReset(message.wParam());
    });

    // The set-up panel's OK may have switched the sharing servers.
    SetMessageHandler(pandor::kUmSetupSaved, [this, deferred](const platform::WindowMessage& message) {
        if (deferred(message) || !m_sharing)
            return;
        m_sharing->ApplyProfile();
    });

    SetMessageHandler(platform::kUmSatNameEnd, [this](const platform::WindowMessage& message) {
        if (message.wParam() == 1) {
            char name[16] = {};
            m_windows->PandorGetSmn(name);
            name[sizeof name - 1] = '\0';
            m_state.satelliteName = name;
        }
        m_windows->RadioSmnDestroy();
        m_state.panelOpen = 0;
    });

    SetMessageHandler(platform::kUmVscanClosed, [this](const platform::WindowMessage&) {
        m_windows->GlimraDestroy();
        m_state.visualScanOpen = 0;
    });

    SetMessageHandler(platform::kUmLinkRestart, [this, deferred](const platform::WindowMessage& message) {
        if (deferred(message) || !m_connection)
            return;
        OnLinkRestart();
    });
}

// The memory editor's OK: its values become the control band's record.
void ConsoleDialog::StoreEditedMemory() {
    zephyra::MemoryValues v;
    m_windows->PandorGetMemVal(v);
    const int band = m_state.controlBand == 1 ? 1 : 0;
    zephyra::MemoryRecord& record = m_state.record[band];
    const int rxMode = static_cast<int>(v.rxMode);
    const int txMode = static_cast<int>(v.txMode);
    // The sub receiver works only FM and AM: a channel edited to another
    // mode cannot be stored from it, and keeping the old mode beside the new
    // step would write neither what was shown nor what was there.
    const auto subMode = [](int mode) { return mode == 4 || mode == 5; };
    if (band == 1 && (!subMode(rxMode) || (v.txFrequency != 0 && !subMode(txMode)))) {
        platform::MessageBox(QStringLiteral("The sub band stores only FM and AM channels.\n"
                                            "The edited channel was not kept."),
                             QStringLiteral("Zephyra"), platform::MbOk | platform::MbIconWarning, this);
        return;
    }
    record.rxFrequency = ConsoleDisplay::RecordFrequencyText(v.rxFrequency);
    record.txFrequency = ConsoleDisplay::RecordFrequencyText(v.txFrequency);
    record.rxMode = rxMode;
    record.txMode = txMode;
    record.rxStep = static_cast<int>(v.rxStep);
    record.txStep = static_cast<int>(v.txStep);
    record.offset = static_cast<int>(v.offset);
    record.shift = static_cast<int>(v.shift);
    record.reverse = static_cast<int>(v.reverse);
    record.toneNumber = static_cast<int>(v.toneNumber);
    record.ctcssNumber = static_cast<int>(v.ctcssNumber);
    record.dcsCode = static_cast<int>(v.dcsCode);
    record.toneType = static_cast<int>(v.toneType);
    record.group = static_cast<int>(v.group);
    record.name = v.name;
    record.lockout = static_cast<int>(v.lockout);
}

// The set-up panel reset the radio: 1 the VFOs, 2 everything (the radio
// comes back at 9600 baud with its settings cleared).
void ConsoleDialog::OnRadioReset(std::uintptr_t kind) {
    zephyra::ConsoleLink& link = *m_connection;
    const zephyra::OperationGuard guard(link);
    m_state.panelOpen = 0;
    link.CancelPendingMode();
    DestroyAllPanels();
    activateWindow();
    if (kind == 1) {
        WaitPumping(20);
        link.ReadAllSettings();
    } else if (kind == 2) {
        const QString setting = QStringLiteral("Setting");
        const QString zero = QString::fromStdString(ConsoleDisplay::RecordFrequencyText(0));
        for (const char* key : {"TransFreqMain", "TransFreqSub", "TransFreqDown", "TransFreqUp"}) {
            const QString name = QString::fromLatin1(key);
            if (platform::GetProfileString(setting, name, QStringLiteral("0")) != zero)
                platform::WriteProfileString(setting, name, zero);
        }
        for (int i = 1; i <= 5; ++i)
            platform::WriteProfileString(QStringLiteral("KeyMem"), QStringLiteral("Mem%1").arg(i), QString());
        WaitPumping(30);
        if (m_state.baudRate == 9600) {
            WaitPumping(30);
            link.ReadAllSettings();
        } else {
            link.ControlOff();
            platform::WriteProfileInt(setting, QStringLiteral("Baud"), 9600);
            WaitPumping(20);
            link.ControlOn();
        }
    }
}

// An outside window asks for the link to start again: the radio's terminal
// is stopped (Ctrl-C, carriage return), its terminal mode switched on and
// off, and the console reconnects.
void ConsoleDialog::OnLinkRestart() {
    zephyra::ConsoleLink& link = *m_connection;
    display_controls::SetText(m_controls, idc::MainText, QString());
    m_windows->OrlintMsgTC(1);
    char stop[3] = {};
    std::snprintf(stop, sizeof stop, "%c\r", 3);
    m_link->ConnDirect(stop);
    m_link->ConnTC("W", 0, 0);
    WaitPumping(5);
    m_link->ConnTC("W", 0, 1);
    link.ControlOff();
    WaitPumping(1);
    PumpMessages();
    link.ControlOn();
}
