// SPDX-License-Identifier: GPL-3.0-or-later
// Control > ON and OFF: opening and closing the link, identifying the radio,
// the power watchdog and the terminal (TNC) mode switch.
#include "console_link.h"
#include "depth_count.h"

#include <platform.h>

#include <QEvent>
#include <QTimer>

#include <algorithm>

namespace zephyra {

namespace {

constexpr const char* kModelName = "QR-7730";

// The line rates the radio offers; anything else in the profile reads as the
// default.
int ValidBaud(int baud) {
    switch (baud) {
    case 4800:
    case 9600:
    case 19200:
    case 38400:
    case 57600:
        return baud;
    default:
        return 9600;
    }
}

} // namespace

ConsoleLink::ConsoleLink(ConsoleState& state, CCorvan& link, ConsoleSurface& surface,
                         SecondaryWindows& peers, QObject* receiver, QObject* parent)
    : QObject(parent),
      m_surface(surface),
      m_peers(peers),
      m_link(link),
      m_state(state),
      m_target(std::make_unique<platform::QtLinkTarget>(receiver ? receiver : this)),
      m_timers(std::make_unique<platform::TimerTable>([this](int id) {
          if (id == kWatchdogTimer)
              WatchdogTick();
          else if (id == kDeviceCheckTimer)
              DeviceCheckTick();
      })),
      m_simulator(std::make_unique<BuiltInSimulator>()) {
    ResetConsoleState();
}

ConsoleLink::~ConsoleLink() {
    if (m_state.connected)
        DisconnectRadio();
    m_timers->KillAll();
    if (m_registered)
        m_link.WinMsgSendReg(nullptr);
    m_target->setReceiver(nullptr);
}

int ConsoleLink::ConnectRadio(int clear) {
    const int baud = ValidBaud(platform::GetProfileInt(QStringLiteral("Setting"),
                                                       QStringLiteral("Baud"), 9600));
    m_state.baudRate = baud;
    const std::string port = PortName();
    const std::uint32_t stopBits = baud == 4800 ? 2 : 1;
    m_state.noReplyCount = 0;

    // A round trip measured on another port says nothing about this one.
    if (port != m_roundTripPort) {
        m_roundTripMs = 0;
        m_roundTripSamples.clear();
        m_roundTripPort = port;
        platform::SetReplyAllowanceMs(0);
    }
    m_powerAskedAt.reset();
    ApplyTlsProfile();
    if (OpenLineWarningDue(port)) {
        NoteOpenLineWarned(port);
        emit openLineWarning(QString::fromStdString(port), OpenLineWarningText(port));
    }
    const std::int32_t result = m_link.Conn(kModelName, port.c_str(),
                                            static_cast<std::uint32_t>(baud), "n", 8,
                                            stopBits, clear);
    if (result) {
        m_surface.EnableCommand(ConnectionCommand::On, false);
        m_surface.EnableCommand(ConnectionCommand::Off, true);
        m_surface.EnableCommand(ConnectionCommand::Refresh, true);
        m_state.connected = 1;
        NoteOpened(port);
        // A network port knows its round trip from connecting: the first
        // exchange with the radio already waits long enough for it.
        if (const int network = corvan::NetworkRoundTripMs(); network > 0)
            NoteRoundTrip(std::chrono::milliseconds(network));
        m_link.WinMsgSendReg(m_target.get());
        m_registered = true;
        m_surface.SetConnectionLamp(true);
        m_surface.SetControlPicture(true);
        emit connectionChanged(true);
    } else {
        m_surface.EnableCommand(ConnectionCommand::On, true);
        m_surface.EnableCommand(ConnectionCommand::Off, false);
        m_surface.EnableCommand(ConnectionCommand::Refresh, false);
        // Why it did not open (the refusal, the certificate, no such host),
        // while no loss is being told already.
        const std::string why = corvan::LastOpenError();
        if (!why.empty() && m_loss == RadioLoss::None)
            ShowConnectionNote(QString::fromStdString(why), false);
    }
    return result;
}

void ConsoleLink::ControlOn() {
    const DepthCount sequence(m_sequenceDepth);
    OperationGuard guard(*this);
    // The keypad's CLR begins by ending the pending mode, memory scroll first.
    if (m_state.memoryScroll)
        CancelPendingMode();
    m_state.tncMode = 0;
    m_peers.SolvikMsgTC(1);

    if (ConnectRadio(1)) {
        // End whatever half command the radio holds, leave its terminal mode.
        m_link.ConnDirect(";");
        Pause(100);
        m_link.ConnTC("W", 0, 1);
        Pause(300);

        const auto askedAt = std::chrono::steady_clock::now();
        m_link.ConnID();
        m_surface.EnableCommand(ConnectionCommand::Refresh, true);
        std::uint32_t id = 0;
        bool answered = false;
        std::optional<std::chrono::steady_clock::time_point> answeredAt;
        // The round trip ends when the answer is stored, not when the
        // console thread gets round to handling it.
        const std::function<bool()> idStored = [&] {
            const bool stored = m_link.RcvDataID(&id) == 1;
            if (stored && !answeredAt)
                answeredAt = std::chrono::steady_clock::now();
            return stored;
        };
        for (int attempt = 0; attempt < 3 && !answered; ++attempt) {
            answered = SleepUntilHandled(200, corvan::MessageOf("ID"), idStored);
            Pump();
            if (!answered)
                answered = m_link.RcvDataID(&id) == 1;
            // Over a network port the round trip is known from connecting:
            // the last try waits for it too.
            if (!answered && attempt == 2 && ReplyAllowance() > 0)
                answered = SleepUntilHandled(ReplyAllowance(), corvan::MessageOf("ID"), idStored);
        }
        if (answered) {
            m_state.radioIdentification = static_cast<int>(id);
            NoteRoundTrip(answeredAt.value_or(std::chrono::steady_clock::now()) - askedAt);
        }

        if (!answered || (id != 18 && id != 19)) {
            guard.End();
            DisconnectRadio();
        } else if (m_state.connected) {
            emit identified(static_cast<int>(id));
            // The power answer's handler starts the initial read; the wait
            // ends once it has run.
            m_link.ConnPS("R", 0);
            for (int attempt = 0; attempt < 10 && m_state.connected; ++attempt) {
                std::uint32_t power = 0;
                if (SleepUntilHandled(200, corvan::MessageOf("PS"),
                                      [&] { return m_link.RcvDataPS(&power) == 1; }))
                    break;
                Pump();
            }
            StartWatchdog();
        }
    }
}

void ConsoleLink::ControlOff() {
    const DepthCount sequence(m_sequenceDepth);
    {
        const OperationGuard guard(*this);
        CancelPendingMode();
        Pump();
    }
    if (m_state.tncMode)
        m_peers.SolvikDestroy();
    DisconnectRadio();
    m_state.tncMode = 0;
}

int ConsoleLink::DisconnectRadio() {
    if (!m_state.connected || m_disconnecting)
        return 0;
    m_disconnecting = true;
    StopWatchdog();
    m_timers->KillTimer(kDeviceCheckTimer);
    // A device known gone is written nothing more.
    const bool writable = !m_deviceLost;
    // A radio in terminal mode is taken out of it first: its auto-information
    // can only be switched off in command mode.
    if (writable && m_link.IsDirectMode()) {
        m_link.ConnTC("W", 0, 1);
        Pause(300);
    }
    // A radio left inside a running operation gets its lock state back; a
    // link opened again in the same operation locks it anew.
    if (writable && m_guardDepth > 0)
        ReleaseLock(false);

    // A visual-scan sweep stops and tunes back to its centre while the
    // line is still open, and the open window gives menu 015 back.
    m_peers.GlimraScanStop();
    m_peers.GlimraLinkClosing(writable ? 1 : 0);
    const bool transmitting = m_state.transmitting[0] || m_state.transmitting[1];
    const bool lost = m_deviceLost || m_state.noReplyCount >= 4;
    if (writable) {
        m_link.ConnAI("W", 0);
        const bool released = m_releaseTransmitter && m_releaseTransmitter(true, transmitting, lost);
        if (!released && transmitting)
            m_link.ConnRX();
        Pause(100);
    } else if (m_releaseTransmitter) {
        m_releaseTransmitter(false, transmitting, lost);
    }
    Pump();
    m_link.Close();

    m_state.connected = 0;
    m_state.initialReadDone = 0;
    m_surface.SetConnectionLamp(false);
    m_surface.SetControlPicture(false);
    StopWatchdog();

    if (!m_state.tncMode)
        PowerOffBranch();
    else
        m_state.consoleReady = 0;

    m_peers.PimbelMsgPS(0);
    m_peers.PandorMsgPS(0);
    m_state.radioIdentification = 0;

    m_surface.EnableCommand(ConnectionCommand::Off, false);
    m_surface.EnableCommand(ConnectionCommand::Refresh, false);
    m_surface.EnableCommand(ConnectionCommand::On, true);

    if (!m_state.tncMode)
        ResetConsoleState();
    m_disconnecting = false;
    emit connectionChanged(false);
    return 1;
}

void ConsoleLink::Refresh() {
    // A read asked for while another runs would nest in its waits and cut
    // its requests short: the running read already refreshes everything.
    if (SequenceRunning())
        return;
    if (m_state.consoleReady && !m_state.tncMode)
        ReadAllSettings();
}

// ------------------------------------------------------------ the watchdog

void ConsoleLink::StartWatchdog() {
    if (m_state.connected)
        m_timers->SetTimer(kWatchdogTimer, std::max(1, Scaled(1000)));
}

void ConsoleLink::StopWatchdog() {
    m_timers->KillTimer(kWatchdogTimer);
}

bool ConsoleLink::WatchdogRunning() const {
    return m_timers->IsRunning(kWatchdogTimer);
}

void ConsoleLink::WatchdogTick() {
    StopWatchdog();
    if (!m_state.connected)
        return;
    if (DisconnectIfDeviceGone())
        return;
    if (!m_state.tncMode) {
        if (m_state.consoleReady)
            m_link.ConnAI("R", 0);
        m_link.ConnPS("R", 0);
        // The poll's answer keeps the round trip current (an unanswered
        // poll is timed until it is answered).
        if (!m_powerAskedAt)
            m_powerAskedAt = std::chrono::steady_clock::now();
    }
    ++m_state.noReplyCount;
    if (m_state.noReplyCount < 4) {
        if (!m_state.tncMode)
            StartWatchdog();
        return;
    }
    const bool tnc = m_state.tncMode != 0;
    DisconnectRadio();
    // Outside TNC mode the disconnect has already darkened the console.
    if (tnc)
        PowerOffBranch();
    ReportLoss(RadioLoss::NoAnswer);
}

// ------------------------------------------------------- TNC mode switch

void ConsoleLink::RequestTncSwitch(int value) {
    const bool running = m_guardDepth > 0 || m_sequenceDepth > 0 || m_disconnecting;
    if (!running && !m_tncSwitchPending) {
        SwitchTncMode(value);
        return;
    }
    // The latest report wins.
    m_pendingTncValue = value;
    if (m_tncSwitchPending)
        return;
    m_tncSwitchPending = true;
    QTimer::singleShot(std::max(1, Scaled(100)), this, &ConsoleLink::RetryTncSwitch);
}

void ConsoleLink::RetryTncSwitch() {
    if (m_guardDepth > 0 || m_sequenceDepth > 0 || m_disconnecting) {
        QTimer::singleShot(std::max(1, Scaled(100)), this, &ConsoleLink::RetryTncSwitch);
        return;
    }
    m_tncSwitchPending = false;
    if (m_state.connected)
        SwitchTncMode(m_pendingTncValue);
}

void ConsoleLink::SwitchTncMode(int value) {
    if (value == 0) {
        m_state.tncMode = 1;
        StopWatchdog();
        // The watchdog rests in terminal mode; a pulled cable is still seen.
        m_timers->SetTimer(kDeviceCheckTimer, std::max(1, Scaled(1000)));
        m_surface.SetStatusText(QStringLiteral("TNC Mode"));
        m_peers.SolvikView();
        m_surface.EnableCommand(ConnectionCommand::Refresh, false);
    } else if (value == 1 && m_state.tncMode) {
        m_state.tncMode = 0;
        m_surface.SetStatusText(QString());
        // The terminal window goes with the mode that opened it. ControlOff
        // closes it only while the mode is still on, and whether it is
        // depends on when this reply comes in.
        m_peers.SolvikDestroy();
        ControlOff();
        Pause(500);
        ControlOn();
        Pause(500);
        StartWatchdog();
    }
    m_peers.SolvikMsgTC(value);
}

// ------------------------------------------------------------ port choice

void ConsoleLink::SetPortOverride(const QString& port) {
    m_portOverride = port;
}

std::string ConsoleLink::PortName() {
    QString port = m_portOverride.isEmpty()
                       ? platform::GetProfileString(QStringLiteral("Setting"),
                                                    QStringLiteral("PortName"), QString())
                       : m_portOverride;
    port = port.trimmed();
    if (port == QLatin1String(kBuiltInSimulatorPort)) {
        if (!Simulator().Start())
            return {};
        return m_simulator->DevicePath();
    }
    if (!port.isEmpty())
        return port.toStdString();
    int number = platform::GetProfileInt(QStringLiteral("Setting"), QStringLiteral("PortNo"), 1);
    if (number < 1)
        number = 1;
    return "/dev/ttyS" + std::to_string(number - 1);
}

BuiltInSimulator& ConsoleLink::Simulator() {
    if (!m_simulator)
        m_simulator = std::make_unique<BuiltInSimulator>();
    return *m_simulator;
}

std::unique_ptr<BuiltInSimulator> ConsoleLink::TakeSimulator() { return std::move(m_simulator); }

bool BuiltInSimulator::Start() {
    if (m_radio) {
        // A radio that hung up comes back on a new pseudo-terminal.
        return m_radio->running() || m_radio->start();
    }
    m_radio = std::make_unique<qxsim::Radio>(m_options);
    if (!m_radio->start()) {
        m_radio.reset();
        return false;
    }
    return true;
}

void BuiltInSimulator::Stop() {
    if (m_radio)
        m_radio->stop();
    m_radio.reset();
}

bool BuiltInSimulator::Running() const {
    return m_radio && m_radio->running();
}

std::string BuiltInSimulator::DevicePath() const {
    return Running() ? m_radio->devicePath() : std::string();
}

} // namespace zephyra
