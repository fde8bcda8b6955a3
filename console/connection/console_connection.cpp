// SPDX-License-Identifier: GPL-3.0-or-later
// console_connection.cpp - the console's connection to the radio: Control >
// ON, OFF and Refresh, the "CONTROL" button, and what the connection shows
// on the console (lamp, pictures, menu states, the live display).
#include "console_dialog.h"
#include "operations/console_operations.h"

#include "console_ids.h"
#include "console_menu.h"

#include "display/console_display.h"
#include "display/display_controls.h"
#include "display/reply_table.h"

#include <console_link.h>
#include <meter_poll.h>
#include <reconnect.h>

#include "console_template.h"
#include <memory_table.h>

#include <QAbstractButton>
#include <QLabel>
#include <QPalette>
#include <QTimer>
#include <QAction>
#include <QApplication>
#include <QCursor>

namespace {

const QString kSetting = QStringLiteral("Setting");
const QString kConnectAtStart = QStringLiteral("ConnectAtStart");

// What the connection shows on the console window.
class ConnectionSurface final : public zephyra::ConsoleSurface {
public:
    explicit ConnectionSurface(ConsoleDialog& console) : m_console(console) {}

    void EnableCommand(zephyra::ConnectionCommand command, bool enabled) override {
        const int id = command == zephyra::ConnectionCommand::On    ? cmd::ControlOnCmd
                       : command == zephyra::ConnectionCommand::Off ? cmd::ControlOffCmd
                                                                    : cmd::Refresh;
        if (QAction* action = m_console.menuAction(id))
            action->setEnabled(enabled);
    }
    void SetConnectionLamp(bool on) override {
        if (CStaticLEDEx* lamp = m_console.controls().lamp(idc::ConnectLamp)) {
            lamp->SetLEDON(on ? 1 : 0);
            lamp->setVisible(on);
        }
    }
    void SetControlPicture(bool connected) override {
        if (CButtonEx* button = m_console.controls().button(idc::Control)) {
            button->LoadIcon(QIcon(m_console.pictures().control[connected ? 0 : 1]));
            button->setIconSize(kControlImageSize);
        }
    }
    void SetPowerPicture(bool on) override {
        if (CButtonEx* button = m_console.controls().button(idc::Power)) {
            button->LoadIcon(QIcon(m_console.pictures().power[on ? 1 : 0]));
            button->setIconSize(kPowerImageSize);
        }
    }
    void ShowLiveDisplay(bool shown) override {
        m_console.ShowLiveDisplay(shown);
        if (shown)
            SetZulLine(QString());
    }
    void PaintDisplayDark() override { m_console.ShowLiveDisplay(false); }
    void EndTransmitDisplay() override {
        if (ConsoleDisplay* display = m_console.display())
            display->EndTransmitDisplay();
        // "PTT" stays: it marks the band that transmits (DC), which a
        // power cycle does not change and nothing asks for again.
        if (CStaticEx* label = m_console.controls().label(idc::MainBusy))
            label->setText(QString());
    }
    // The reverse-blink timers start with the display-state handling; until
    // then none runs.
    void StopBlinkTimers() override {}
    // The main status line is a text line, not a label.
    void SetStatusText(const QString& text) override {
        display_controls::SetText(m_console.controls(), idc::MainText, text);
    }
    void SetZulLine(const QString& text) override {
        if (CStaticEx* label = m_console.controls().label(idc::ZulLine))
            label->setText(text);
    }
    void SetOperationBusy(bool busy) override { m_console.SetOperationBusy(busy); }
    void LeaveOperatorMode(zephyra::OperatorMode mode) override {
        if (ConsoleOperations* operations = m_console.operations())
            operations->LeaveOperatorMode(static_cast<int>(mode));
    }

private:
    ConsoleDialog& m_console;
};

} // namespace

void ConsoleDialog::InstallConnection() {
    m_connectionSurface = std::make_unique<ConnectionSurface>(*this);
    m_connection = std::make_unique<zephyra::ConsoleLink>(m_state, *m_link, *m_connectionSurface,
                                                          *m_windows);
    if (m_options.simulator)
        m_connection->SetPortOverride(QString::fromLatin1(zephyra::kBuiltInSimulatorPort));
    else if (!m_options.port.isEmpty())
        m_connection->SetPortOverride(m_options.port);
    DisplayHost host;
    host.window = this;
    host.menuAction = [this](int id) { return menuAction(id); };
    host.pump = [this] { return PumpMessages(); };
    m_display = std::make_unique<ConsoleDisplay>(m_state, m_controls, *m_link, *m_windows,
                                                 *m_connection, std::move(host));
    // Every indicator starts empty: when the link closes, and before the
    // first read of a connection.
    connect(m_connection.get(), &zephyra::ConsoleLink::connectionChanged, this, [this](bool connected) {
        if (!connected && m_display)
            m_display->ClearAll();
    });
    connect(m_connection.get(), &zephyra::ConsoleLink::settingsReadStarted, this, [this] {
        if (!m_state.initialReadDone && m_display)
            m_display->ClearAll();
    });
    // Every notification the connection handled then runs the console's
    // row for it: display and exports.
    m_connection->SetForwarder([this](unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
        if (m_destroyed)
            return;
        HandleReply(*m_display, message, wParam);
        const auto it = m_messages.find(message);
        if (it != m_messages.end())
            it->second(platform::WindowMessage(message, wParam, lParam));
    });

    SetCommandHandler(cmd::ControlOnCmd, [this] {
        if (m_connection)
            m_connection->ControlOn();
    });
    SetCommandHandler(cmd::ControlOffCmd, [this] {
        if (m_connection)
            m_connection->ControlOff();
    });
    SetCommandHandler(cmd::Refresh, [this] {
        if (m_connection)
            m_connection->Refresh();
    });
    if (CButtonEx* control = m_controls.button(idc::Control)) {
        connect(control, &QAbstractButton::clicked, this, [this] {
            if (!m_connection || OperationRunning())
                return;
            if (m_state.connected)
                m_connection->ControlOff();
            else
                m_connection->ControlOn();
        });
    }
    // Closing while connected: auto-information off and back to receive
    // before the port closes.
    // Control > Connect at Start: kept in the profile.
    if (QAction* atStart = menuAction(cmd::ConnectAtStart)) {
        atStart->setCheckable(true);
        atStart->setChecked(platform::GetProfileInt(kSetting, kConnectAtStart, 0) == 1);
    }
    SetCommandHandler(cmd::ConnectAtStart, [this] {
        if (QAction* atStart = menuAction(cmd::ConnectAtStart))
            platform::WriteProfileInt(kSetting, kConnectAtStart, atStart->isChecked() ? 1 : 0);
    });
    SetDisconnectHandler([this] {
        if (m_connection)
            m_connection->DisconnectRadio();
    });
    InstallLiveConnection();
}

void ConsoleDialog::InstallLiveConnection() {
    zephyra::ConsoleLink* link = m_connection.get();
    auto* reconnector = new zephyra::Reconnector(*link, link);
    auto* meters = new zephyra::MeterPoll(*link, link);
    reconnector->SetBlocked([this] {
        return OperationRunning() || QApplication::activeModalWidget() != nullptr;
    });
    meters->SetPauseCheck([this] {
        // A sweep of the visual scan asks for the meters itself; a memory
        // table read or write owns the line.
        if (m_state.visualScanOpen)
            return true;
        const auto* table = findChild<memory_table::MemoryTableWindow*>();
        return table && table->activity() != memory_table::MemoryTableWindow::Activity::Idle;
    });

    // Where the operator looks: a status line along the foot of the display
    // (readable on the dark display too), and the title while the radio is
    // away. A note that the radio is back goes after a while.
    auto* note = new QLabel(m_client);
    note->setObjectName(QStringLiteral("connectionNote"));
    note->setAlignment(Qt::AlignCenter);
    note->setAutoFillBackground(true);
    QPalette colours = note->palette();
    colours.setColor(QPalette::Window, Qt::black);
    colours.setColor(QPalette::WindowText, QColor(0xFF, 0xC0, 0x80));
    note->setPalette(colours);
    note->hide();
    auto* noteEnd = new QTimer(note);
    noteEnd->setSingleShot(true);
    noteEnd->setInterval(6000);
    connect(noteEnd, &QTimer::timeout, note, [note] {
        note->clear();
        note->hide();
    });
    connect(link, &zephyra::ConsoleLink::connectionNote, this, [this, note, noteEnd](const QString& text, bool away) {
        const QString caption = QString::fromLatin1(kConsoleCaption);
        setWindowTitle(away && !text.isEmpty() ? caption + QStringLiteral(" - ") + text : caption);
        noteEnd->stop();
        note->setText(text);
        note->setToolTip(text);
        note->setAccessibleName(text);
        if (text.isEmpty()) {
            note->hide();
            return;
        }
        QRect area(9, 2, 737, 135);
        if (CStaticEx* back = m_controls.label(idc::DisplayBack))
            area = back->geometry();
        note->setGeometry(area.left(), area.bottom() - 21, area.width(), 22);
        note->show();
        note->raise();
        if (!away)
            noteEnd->start();
    });
    // An address that anyone on the way could key the radio through: said
    // once, after the connect has run (not inside its waits).
    connect(link, &zephyra::ConsoleLink::openLineWarning, this,
            [this](const QString&, const QString& text) {
                platform::MessageBox(text, QStringLiteral("Zephyra"), platform::MbOk | platform::MbIconWarning, this);
            },
            Qt::QueuedConnection);
    // While tries are made, Control > OFF ends them.
    connect(reconnector, &zephyra::Reconnector::tryingChanged, this, [this](bool trying) {
        if (!m_state.connected)
            if (QAction* off = menuAction(cmd::ControlOffCmd))
                off->setEnabled(trying);
    });
    SetCommandHandler(cmd::ControlOffCmd, [this, reconnector] {
        reconnector->Stop();
        if (!m_connection)
            return;
        if (m_state.connected) {
            m_connection->ControlOff();
        } else if (QAction* off = menuAction(cmd::ControlOffCmd)) {
            off->setEnabled(false);
        }
        m_connection->ForgetLoss();
    });

    if (QAction* item = menuAction(cmd::ReconnectByItself)) {
        item->setCheckable(true);
        item->setChecked(reconnector->Enabled());
    }
    SetCommandHandler(cmd::ReconnectByItself, [this, reconnector] {
        if (QAction* item = menuAction(cmd::ReconnectByItself)) {
            zephyra::Reconnector::WriteEnabledToProfile(item->isChecked());
            reconnector->SetEnabled(item->isChecked());
        }
    });

    static constexpr std::pair<int, zephyra::MeterPace> kPaces[] = {
        {cmd::MeterPaceOff, zephyra::MeterPace::Off},
        {cmd::MeterPaceSlow, zephyra::MeterPace::Slow},
        {cmd::MeterPaceNormal, zephyra::MeterPace::Normal},
        {cmd::MeterPaceFast, zephyra::MeterPace::Fast},
    };
    auto showPace = [this](zephyra::MeterPace pace) {
        for (const auto& [id, each] : kPaces)
            if (QAction* item = menuAction(id)) {
                item->setCheckable(true);
                item->setChecked(each == pace);
            }
    };
    showPace(meters->Pace());
    for (const auto& [id, pace] : kPaces) {
        SetCommandHandler(id, [meters, showPace, pace] {
            meters->SetPace(pace);
            zephyra::WriteMeterPaceToProfile(pace);
            showPace(pace);
        });
    }
}

bool ConsoleDialog::ConnectsAtStart() const {
    return m_options.connect || platform::GetProfileInt(kSetting, kConnectAtStart, 0) == 1;
}

bool ConsoleDialog::ConnectAndSynchronise() {
    if (!m_connection)
        return false;
    m_connection->ControlOn();
    return m_connection->State().connected == 1 && m_connection->State().consoleReady == 1;
}
