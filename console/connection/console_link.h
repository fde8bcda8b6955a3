// SPDX-License-Identifier: GPL-3.0-or-later
// console_link.h - the console's side of the radio connection.
//
// ConsoleLink takes the console from disconnected to a console that shows
// what the radio holds, and back: Control > ON and OFF, the identification,
// the power watchdog (timer 1002), the power-state handling, the initial
// read of every setting in its fixed order, the extended-menu reader, the
// terminal (TNC) mode switch and the operation guard that every
// multi-command operation of the console runs inside.
//
// It works on the console's one state (ConsoleState, owned by the console
// window) and the console's link object, and talks to the rest of the
// program through two small interfaces:
//  - ConsoleSurface: what the console window shows (CONTROL and POWER
//    pictures, the connection lamp, menu states, the live display ...);
//  - SecondaryWindows: the exports of the secondary windows that these
//    sequences inform (terminal, menu, keyer, panels, visual scan).
//
// Notifications of the link arrive as platform::WindowMessage events on the
// QObject given as receiver (by default the ConsoleLink itself); a window
// that receives them instead forwards each one to HandleMessage().
//
// Threading: UI thread only. Every wait is a bounded polling loop on this
// thread that pumps queued window messages, so notifications are handled
// while a sequence waits; a wait ends as soon as its value is stored.
#pragma once

#include <console_state.h>
#include <corvan.h>
#include <qxsim.h>
#include <secondary_windows.h>

#include <QObject>
#include <QString>

#include <array>
#include <chrono>
#include <deque>
#include <optional>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace platform {
class QtLinkTarget;
class TimerTable;
}

namespace zephyra {

// The in-process simulator behind the port choice "Built-in simulator": a
// virtual radio on a pseudo-terminal, started on first use and kept for the
// program's life (a radio on the desk, whether connected or not).
class BuiltInSimulator {
public:
    // Applies from the next start (a running radio keeps its options).
    void SetOptions(const qxsim::Options& options) { m_options = options; }
    // Starts the radio unless it runs; false when no pseudo-terminal was had.
    bool Start();
    void Stop();
    bool Running() const;
    // The program's side of the pseudo-terminal; empty while not running.
    std::string DevicePath() const;
    // The running radio, or null.
    qxsim::Radio* Radio() { return m_radio.get(); }

private:
    qxsim::Options m_options;
    std::unique_ptr<qxsim::Radio> m_radio;
};

class ConsoleLink;

// The operation guard: while an operation of several dependent commands
// runs, the radio's knobs are locked (LK 2 1) and the console is disabled
// with the wait cursor, so neither the operator nor the radio's front panel
// can interleave with it. Every guarded operation holds one for its whole
// run. Guards nest: an operation started inside another (a reply handler
// that runs in a wait, a read inside Control > ON) holds the same lock, and
// only the end of the outermost gives the operator's lock state back and
// enables the console. A guard ends once: at End() or when it goes out of
// scope, whichever comes first.
class OperationGuard {
public:
    explicit OperationGuard(ConsoleLink& link);
    ~OperationGuard();
    OperationGuard(const OperationGuard&) = delete;
    OperationGuard& operator=(const OperationGuard&) = delete;

    // Ends this guard before its scope does (nothing when already ended).
    void End();
    // Locks the radio now if the operation could not lock it at its begin
    // (the link was not open yet, or the lock state was not known).
    void TakeLock();

private:
    ConsoleLink* m_link;
};

// The console's connection commands in the menu ("Control").
enum class ConnectionCommand { On, Off, Refresh };

// Operator modes that CancelPendingMode ends through the console window
// (their display lives there); the wire side is sent here.
enum class OperatorMode {
    MemoryScroll,
    MouseWheelSelection,
    VoiceRecallDigits,
    ReadChannel,
    WriteChannel,
    DtmfDigits,
    Entry,
    Func,
    QuickMemory,
};

// What the console window shows for the connection. ConsoleDialog implements
// it; tests record it.
class ConsoleSurface {
public:
    virtual ~ConsoleSurface() = default;
    virtual void EnableCommand(ConnectionCommand command, bool enabled) = 0;
    virtual void SetConnectionLamp(bool on) = 0;
    // The "CONTROL" button's connected or disconnected picture.
    virtual void SetControlPicture(bool connected) = 0;
    // The "POWER" button's lit or dark picture.
    virtual void SetPowerPicture(bool on) = 0;
    // Shows (power on) or hides and resets (power off) the live display
    // parts: the meter elements, the display frame in the display colour,
    // an empty ZUL line.
    virtual void ShowLiveDisplay(bool shown) = 0;
    // Paints the display area black (powered off).
    virtual void PaintDisplayDark() = 0;
    virtual void EndTransmitDisplay() = 0;
    virtual void StopBlinkTimers() = 0;
    virtual void SetStatusText(const QString& text) = 0;
    virtual void SetZulLine(const QString& text) = 0;
    // Wait cursor and a disabled console while an operation runs.
    virtual void SetOperationBusy(bool busy) = 0;
    // Leaves an operator mode on the display (captions, pictures); the
    // console state flag is already cleared.
    virtual void LeaveOperatorMode(OperatorMode mode) = 0;
};

// Puts every field of `state` back to its power-off value, keeping the open
// connection, a running operation, terminal mode and the open visual scan
// window; "DialWait" is read again from the profile.
void ResetConsoleState(ConsoleState& state);

// Timing of the sequences. The real program runs at scale 1; a test of a
// silent radio may shrink every pause, wait and watchdog tick.
struct LinkTiming {
    double scale = 1.0;
};

// The port choice that starts the in-process simulator.
inline constexpr const char* kBuiltInSimulatorPort = "Built-in simulator";

// Why the radio is away, as the status line and the window title say it.
enum class RadioLoss {
    None,
    NoAnswer,    // the watchdog heard nothing
    DeviceGone,  // the serial device vanished under the open link
    SwitchedOff, // the radio reported power off
};

// The operator's words for a loss on `device`; empty for RadioLoss::None.
QString RadioLossText(RadioLoss loss, const QString& device);
// True for a network address (rfc2217://, tcp://, their +tls kinds).
bool IsNetworkPort(const std::string& port);
// The words for a network connection that went: the link's own (the
// refusal, the certificate that did not verify) or "The connection to
// HOST:PORT has gone".
QString NetworkLossText(const std::string& port);

// The open-line warning: a network address that is not this machine's and
// goes without TLS lets anyone on the way key the radio. True when it is
// such an address and the operator has not been told about it yet (the
// addresses told are kept in the profile, "Setting"/"OpenLineWarned").
bool OpenLineWarningDue(const std::string& port);
// Remembers that the operator was told about `port`.
void NoteOpenLineWarned(const std::string& port);
// The warning's words for `port`.
QString OpenLineWarningText(const std::string& port);
// Passes the profile's TLS keys ("Setting": TlsCaFile,
// TlsPinnedCertificate, TlsClientCertificate, TlsClientKey) to the link.
void ApplyTlsProfile();

class ConsoleLink : public QObject {
    Q_OBJECT
public:
    static constexpr int kWatchdogTimer = 1002;
    // In terminal mode, where the watchdog rests: the look at the device.
    static constexpr int kDeviceCheckTimer = 1003;

    // `state`, `link`, `surface` and `peers` must outlive this object. Null
    // `receiver` means notifications are delivered to this object.
    ConsoleLink(ConsoleState& state, CCorvan& link, ConsoleSurface& surface,
                SecondaryWindows& peers, QObject* receiver = nullptr, QObject* parent = nullptr);
    ~ConsoleLink() override;

    // ---- connection
    int ConnectRadio(int clear);
    int DisconnectRadio();
    void ControlOn();
    void ControlOff();
    void ReadAllSettings();
    // F5 and Control > Refresh: only while ready and outside TNC mode.
    void Refresh();
    void ResetConsoleState();
    int CancelPendingMode();
    void SuspendRemoteModes();
    void ReadOtherBandAntenna();
    void ReadExtendedMenu();
    // The power-state operation (PS reply) and the TNC mode switch.
    void PowerState(int value);
    void SwitchTncMode(int value);
    // The TNC switch a TC or EX report asks for: at once when nothing runs,
    // otherwise once the running operation, sequence or disconnect has
    // ended (a switch nested in their waits would disconnect and reconnect
    // under them); dropped when the link has closed meanwhile.
    void RequestTncSwitch(int value);
    // The power watchdog's tick (timer 1002).
    void WatchdogTick();

    // ---- operation guard (see OperationGuard below)
    // True while an operation holds the guard.
    bool Guarded() const { return m_guardDepth > 0; }
    // True while a sequence of several commands runs (Control > ON or OFF,
    // a settings or menu read), guarded or between its guarded steps: the
    // operator's commands wait until it has ended.
    bool SequenceRunning() const { return m_sequenceDepth > 0; }

    // ---- notifications: handles the link's messages this object owns and
    // clears the no-reply count for every message that has a handler.
    // Returns true when the message is one of the link's notifications.
    bool HandleMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
    // Notifications delivered to this object (the default receiver) are
    // passed on to `forward` after their handling here, so the console's
    // own display handlers see every one of them.
    using Forwarder = std::function<void(unsigned message, std::uintptr_t wParam,
                                         std::intptr_t lParam)>;
    void SetForwarder(Forwarder forward) { m_forward = std::move(forward); }

    // ---- the transmitter when the link closes
    // Who returns the radio to receive as the link closes (Control > OFF,
    // the watchdog, the end of the program): called with whether the radio
    // can still be written to, whether the console saw it transmit, and
    // whether it was lost (the device gone, no answer); it answers true when
    // the radio confirmed the release (or none was due). Unset, or without
    // that confirmation, RX is written when the console saw it transmit.
    using TransmitterRelease = std::function<bool(bool reachable, bool transmitting, bool lost)>;
    void SetTransmitterRelease(TransmitterRelease release) { m_releaseTransmitter = std::move(release); }

    // ---- port choice
    // For one run: use this port instead of the profile's (e.g. the
    // built-in simulator). Empty restores the profile's choice.
    void SetPortOverride(const QString& port);
    QString PortOverride() const { return m_portOverride; }
    // The device path ConnectRadio opens: "Setting"/"PortName" (or the
    // override); "PortNo" n gives /dev/ttyS(n-1). The built-in simulator
    // is started on first use.
    std::string PortName();
    BuiltInSimulator& Simulator();
    // Hands the built-in radio to an owner that outlives this object (the
    // console keeps its radio on the desk after its link has gone).
    std::unique_ptr<BuiltInSimulator> TakeSimulator();

    // ---- a lost radio (radio_loss.cpp)
    // Why the radio is away now; None while it is there (or never was).
    RadioLoss Loss() const { return m_loss; }
    // The device path the link opened last; empty before the first open.
    QString OpenedDevice() const { return QString::fromStdString(m_openedPath); }
    // True when the device the open link uses is no longer at its path
    // (removed, or another device made under the same name).
    bool DeviceGone() const;
    // Closes the link when its device has gone (without writing to it),
    // leaves terminal mode and says so; true when it did. The watchdog, the
    // terminal mode's device check and the meters' poll use it.
    bool DisconnectIfDeviceGone();
    // Gives the console a note about the connection for its status line
    // (and, with `away`, its window title); also used when the radio is
    // found again.
    void ShowConnectionNote(const QString& text, bool away);
    // The note shown last; empty once cleared.
    QString ConnectionNote() const { return m_connectionNote; }
    // Forgets a loss (the operator chose Control > OFF): the note goes.
    void ForgetLoss() { ReportLoss(RadioLoss::None); }

    // ---- the line's round trip (waits.cpp)
    // The time the radio's answer takes to come back over the line: taken
    // from the connect's identification exchange and kept current from the
    // watchdog's power polls; 0 before the first answer on this port.
    int RoundTripMs() const { return m_roundTripMs; }
    // A round trip at most this long is a local line: its waits stay as
    // they are.
    static constexpr int kLocalRoundTripMs = 60;
    // What a wait for the radio's answer adds for the line: one round trip
    // on a line slower than a local one, nothing on a local line.
    int ReplyAllowance() const;

    ConsoleState& State() { return m_state; }
    const ConsoleState& State() const { return m_state; }
    CCorvan& Link() { return m_link; }
    bool WatchdogRunning() const;
    void SetTiming(LinkTiming timing) { m_timing = timing; }
    LinkTiming Timing() const { return m_timing; }

signals:
    // The radio identified itself during Control > ON (before PS is asked).
    void identified(int identification);
    void settingsReadStarted();
    void settingsRead();
    void connectionChanged(bool connected);
    // A network port without TLS that leaves this machine is about to be
    // opened for the first time: the console shows `text` to the operator.
    void openLineWarning(const QString& address, const QString& text);
    // A note for the status line; `away` while the radio is lost (the
    // window title says it too). An empty text with `away` false clears it.
    void connectionNote(const QString& text, bool away);
    // The radio was lost (`loss` says why) or is back (RadioLoss::None).
    void radioLossChanged(zephyra::RadioLoss loss);

protected:
    bool event(QEvent* event) override;

private:
    // ---- waiting (waits.cpp)
    void Pause(int milliseconds);
    // Sleeps up to `milliseconds`, polling `ready`; true as soon as it holds.
    bool SleepUntil(int milliseconds, const std::function<bool()>& ready);
    // Like SleepUntil, pumping window messages while it sleeps: true once
    // `stored` holds and the notification `message` has been handled after
    // that (so the console's handler saw the value), or when the time ends
    // with the value stored. Message 0 waits for the value alone.
    bool SleepUntilHandled(int milliseconds, unsigned message,
                           const std::function<bool()>& stored);
    // ReadAllSettings' wait: up to 20 times pump, sleep 100 ms, ask.
    bool WaitForValue(unsigned message, const std::function<bool()>& ready);
    std::uint32_t HandledCount(unsigned message) const;
    // Takes one measured exchange into the round trip, which is the median
    // of the last few (an answer held up by a busy console thread, or one
    // lucky quick answer, does not resize every wait).
    void NoteRoundTrip(std::chrono::steady_clock::duration taken);
    void Pump();
    int Scaled(int milliseconds) const;

    // ---- the operation guard (operation_guard.cpp)
    friend class OperationGuard;
    void GuardBegin();
    void GuardEnd();
    // Locks the radio's knobs for the running operation unless they are
    // locked for it already; saves the lock state the operator had.
    void TakeLock();
    // Gives the operator's lock state back (the outermost end, or the link
    // closing under a running operation, which does not wait for the answer).
    void ReleaseLock(bool awaitReadBack);

    void RetryTncSwitch();

    // ---- pieces of the sequences
    void PowerOffBranch();
    void PowerOnBranch(int value);
    void ShowDisconnected();
    void StartWatchdog();
    void StopWatchdog();
    void ReadIdentityTypeSettings(OperationGuard& guard, int& s, int& r, int& z, int& m,
                                  std::uint32_t& t, std::uint32_t& k);
    void ReadSettingsBody();
    void RestoreRemoteModes(int s, int r, int z, int m);
    bool ConnectionLost() const;
    // ---- a lost radio (radio_loss.cpp)
    void NoteOpened(const std::string& path);
    void ReportLoss(RadioLoss loss);
    void DeviceCheckTick();

    // ---- reply handlers
    void OnId();
    void OnPs();
    void OnEx();
    void OnTy();
    void OnMf();
    void OnTc();

    ConsoleSurface& m_surface;
    SecondaryWindows& m_peers;
    CCorvan& m_link;
    ConsoleState& m_state;
    LinkTiming m_timing;
    std::unique_ptr<platform::QtLinkTarget> m_target;
    std::unique_ptr<platform::TimerTable> m_timers;
    std::unique_ptr<BuiltInSimulator> m_simulator;
    QString m_portOverride;
    Forwarder m_forward;
    TransmitterRelease m_releaseTransmitter;
    // Notifications handled, by message number (4096..4240).
    std::array<std::uint32_t, 145> m_handled{};
    int m_guardDepth = 0;
    int m_menuReadDepth = 0;
    int m_sequenceDepth = 0;
    int m_settingsReadDepth = 0;
    bool m_menuReadPending = false;
    bool m_disconnecting = false;
    // The device is known gone: the disconnect writes nothing to it.
    bool m_deviceLost = false;
    bool m_tncSwitchPending = false;
    int m_pendingTncValue = 0;
    bool m_registered = false;
    // The device opened last and its device number, to tell when it goes.
    std::string m_openedPath;
    std::uint64_t m_openedDevice = 0;
    bool m_openedKnown = false;
    RadioLoss m_loss = RadioLoss::None;
    QString m_connectionNote;
    // The line's round trip, the port it was measured on, and when the
    // watchdog's power poll still unanswered was sent.
    int m_roundTripMs = 0;
    std::deque<int> m_roundTripSamples;
    std::string m_roundTripPort;
    std::optional<std::chrono::steady_clock::time_point> m_powerAskedAt;
};

} // namespace zephyra
