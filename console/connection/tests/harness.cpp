// SPDX-License-Identifier: GPL-3.0-or-later
#include "harness.h"

#include <platform.h>

#include <QCoreApplication>

#include <algorithm>

namespace zephyra::test {

void RecordingSurface::EnableCommand(ConnectionCommand command, bool enabled) {
    commands[command] = enabled;
    const char* names[] = {"ON", "OFF", "Refresh"};
    events.push_back(std::string(enabled ? "enable " : "gray ") +
                     names[static_cast<int>(command)]);
}
void RecordingSurface::Record(bool& field, bool value, const char* whenTrue, const char* whenFalse) {
    field = value;
    events.push_back(value ? whenTrue : whenFalse);
}
void RecordingSurface::SetConnectionLamp(bool on) { Record(lamp, on, "lamp on", "lamp off"); }
void RecordingSurface::SetControlPicture(bool connected) {
    Record(controlConnected, connected, "control connected", "control disconnected");
}
void RecordingSurface::SetPowerPicture(bool on) { Record(powerLit, on, "power on", "power off"); }
void RecordingSurface::ShowLiveDisplay(bool shown) { Record(live, shown, "live shown", "live hidden"); }
void RecordingSurface::PaintDisplayDark() { events.push_back("dark"); }
void RecordingSurface::EndTransmitDisplay() { events.push_back("end transmit"); }
void RecordingSurface::StopBlinkTimers() { events.push_back("stop blink"); }
void RecordingSurface::SetStatusText(const QString& text) {
    status = text;
    events.push_back("status " + text.toStdString());
}
void RecordingSurface::SetZulLine(const QString& text) {
    zulLine = text;
    events.push_back("zul " + text.toStdString());
}
void RecordingSurface::SetOperationBusy(bool isBusy) { Record(busy, isBusy, "busy", "idle"); }
void RecordingSurface::LeaveOperatorMode(OperatorMode mode) {
    leftModes.push_back(mode);
    events.push_back("leave mode " + std::to_string(static_cast<int>(mode)));
}
bool RecordingSurface::enabled(ConnectionCommand command) const {
    const auto it = commands.find(command);
    return it != commands.end() && it->second;
}
int RecordingSurface::count(const std::string& event) const {
    return static_cast<int>(std::count(events.begin(), events.end(), event));
}

int RecordingPeers::count(const std::string& call) const {
    return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}

Bench* ConnectedConsole::bench = nullptr;

std::vector<std::string> Commands(const qxsim::Radio& radio) {
    std::vector<std::string> out;
    for (const qxsim::Received& r : radio.received())
        if (!r.text.empty())
            out.push_back(r.text);
    return out;
}

std::vector<std::string> MeterPolls(const qxsim::Radio& radio) {
    std::vector<std::string> out;
    for (const std::string& c : Commands(radio))
        if (c.rfind("SM", 0) == 0 || c == "RM")
            out.push_back(c);
    return out;
}

std::string Joined(const std::vector<std::string>& commands) {
    std::string out;
    for (const std::string& c : commands) {
        if (!out.empty())
            out += ' ';
        out += c;
    }
    return out;
}

int IndexOf(const std::vector<std::string>& commands, const std::string& text, int from) {
    for (int i = std::max(0, from); i < static_cast<int>(commands.size()); ++i)
        if (commands[static_cast<std::size_t>(i)] == text)
            return i;
    return -1;
}

void ExpectSurfaceOf(const Bench& bench, bool connected) {
    EXPECT_EQ(bench.surface.enabled(ConnectionCommand::On), !connected);
    EXPECT_EQ(bench.surface.enabled(ConnectionCommand::Off), connected);
    EXPECT_EQ(bench.surface.enabled(ConnectionCommand::Refresh), connected);
    EXPECT_EQ(bench.surface.lamp, connected);
    EXPECT_EQ(bench.surface.controlConnected, connected);
    EXPECT_EQ(bench.surface.powerLit, connected);
    EXPECT_FALSE(bench.surface.busy);
    EXPECT_EQ(bench.link->WatchdogRunning(), connected);
}

Bench::Bench(qxsim::Options options) : radio(options) {
    radio.start();
    platform::WriteProfileInt(QStringLiteral("Setting"), QStringLiteral("Baud"), 9600);
    UseRadioPort();
    link = std::make_unique<ConsoleLink>(state, corvan, surface, peers);
    QObject::connect(link.get(), &ConsoleLink::settingsRead, [this] { ++settingsReads; });
    QObject::connect(link.get(), &ConsoleLink::settingsReadStarted,
                     [this] { ++settingsReadStarts; });
    link->SetForwarder([this](unsigned message, std::uintptr_t, std::intptr_t) {
        ++forwarded[message];
    });
}

Bench::~Bench() {
    link.reset();
    // Notifications still queued for the link object are dropped with it.
    platform::PumpMessages(1000);
}

void Bench::UseRadioPort() {
    platform::WriteProfileString(QStringLiteral("Setting"), QStringLiteral("PortName"),
                                 QString::fromStdString(radio.devicePath()));
}

bool Bench::ConnectReady() {
    link->ControlOn();
    return link->State().connected == 1 && link->State().consoleReady == 1;
}

std::string Bench::Describe() const {
    const ConsoleState& s = link->State();
    return "connected " + std::to_string(s.connected) + ", ready " +
           std::to_string(s.consoleReady) + ", identification " +
           std::to_string(s.radioIdentification) + ", tnc " + std::to_string(s.tncMode) +
           "; radio received: " + Joined(Commands(radio));
}

void Bench::Drain() {
    WaitForMarker();
    radio.clearReceived();
    // Let the console handle every answer up to the marker's own.
    std::uint32_t id = 0;
    PumpUntil([&] { return !CCorvan::IsOpen() || link->Link().RcvDataID(&id) == 1; },
              std::chrono::seconds(2));
    platform::PumpMessages(1000);
}

std::vector<std::string> Bench::SentBeforeMarker() {
    WaitForMarker();
    auto commands = Commands(radio);
    int marker = -1;
    for (int i = static_cast<int>(commands.size()) - 1; i >= 0 && marker < 0; --i)
        if (commands[static_cast<std::size_t>(i)] == "ID")
            marker = i;
    commands.resize(static_cast<std::size_t>(std::max(0, marker)));
    // The power watchdog's polls fall wherever its second ends.
    std::erase_if(commands, [](const std::string& c) { return c == "AI" || c == "PS"; });
    return commands;
}

void Bench::WaitForMarker() {
    const std::size_t before = radio.countOf("ID");
    link->Link().ConnID();
    radio.waitFor(
        [before](const std::vector<qxsim::Received>& received) {
            std::size_t count = 0;
            for (const qxsim::Received& r : received)
                count += r.text == "ID" ? 1 : 0;
            return count > before;
        },
        std::chrono::seconds(2));
}

} // namespace zephyra::test
