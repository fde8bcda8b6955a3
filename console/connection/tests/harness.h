// SPDX-License-Identifier: GPL-3.0-or-later
// Test harness: a console surface and peer windows that record what the
// connection did to them, and a console connected to an in-process radio.
#pragma once

#include "console_link.h"

#include <platform.h>
#include <qxsim.h>

#include <QString>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace zephyra::test {

class RecordingSurface final : public ConsoleSurface {
public:
    void EnableCommand(ConnectionCommand command, bool enabled) override;
    void SetConnectionLamp(bool on) override;
    void SetControlPicture(bool connected) override;
    void SetPowerPicture(bool on) override;
    void ShowLiveDisplay(bool shown) override;
    void PaintDisplayDark() override;
    void EndTransmitDisplay() override;
    void StopBlinkTimers() override;
    void SetStatusText(const QString& text) override;
    void SetZulLine(const QString& text) override;
    void SetOperationBusy(bool busy) override;
    void LeaveOperatorMode(OperatorMode mode) override;

    bool enabled(ConnectionCommand command) const;
    int count(const std::string& event) const;

    std::map<ConnectionCommand, bool> commands;
    bool lamp = false;
    bool controlConnected = false;
    bool powerLit = false;
    bool live = false;
    bool busy = false;
    QString status;
    QString zulLine;
    std::vector<OperatorMode> leftModes;
    std::vector<std::string> events;

private:
    // Sets `field` and records the event that says its new value.
    void Record(bool& field, bool value, const char* whenTrue, const char* whenFalse);
};

class RecordingPeers final : public SecondaryWindows {
public:
    void SolvikView(u32) override { calls.push_back("SolvikView"); }
    void SolvikDestroy() override { calls.push_back("SolvikDestroy"); }
    void SolvikMsgTC(u32 value) override { calls.push_back("SolvikMsgTC " + std::to_string(value)); }
    void PandorMsgPS(u32 value) override { calls.push_back("PandorMsgPS " + std::to_string(value)); }
    void OrlintSetScrollLock(u32 on) override {
        calls.push_back("OrlintSetScrollLock " + std::to_string(on));
    }
    void GlimraScanStop() override { calls.push_back("GlimraScanStop"); }
    int count(const std::string& call) const;
    std::vector<std::string> calls;
};

using platform::PumpFor;
using platform::PumpUntil;

// The commands a radio received, without empty ones (a lone ";").
std::vector<std::string> Commands(const qxsim::Radio& radio);
// The meters' polls among them (SM and RM).
std::vector<std::string> MeterPolls(const qxsim::Radio& radio);
// Joins commands for a readable failure message.
std::string Joined(const std::vector<std::string>& commands);
// Index of the first command equal to `text` at or after `from`; -1 if none.
int IndexOf(const std::vector<std::string>& commands, const std::string& text, int from = 0);

// A radio on a pseudo-terminal, named as the console's port in the profile,
// and a console link with recording surface and peers.
class Bench {
public:
    explicit Bench(qxsim::Options options = {});
    ~Bench();
    // Names the radio's current device path as the port (after a restart).
    void UseRadioPort();
    // Control > ON; true when the console ended connected and ready.
    bool ConnectReady();
    // The connection state and the commands the radio received, for failures.
    std::string Describe() const;
    // Waits until the radio has recorded everything sent so far (an identity
    // query sent last marks the end), then forgets what it received.
    void Drain();
    // What the console sent since the last Drain, up to such a marker,
    // without the power watchdog's polls.
    std::vector<std::string> SentBeforeMarker();

    qxsim::Radio radio;
    ConsoleState state;
    CCorvan corvan;
    RecordingSurface surface;
    RecordingPeers peers;
    std::unique_ptr<ConsoleLink> link;
    int settingsReads = 0;
    int settingsReadStarts = 0;
    std::map<unsigned, int> forwarded; // notifications passed on, by number

private:
    void WaitForMarker();
};

// The menu (ON grayed while connected, OFF and Refresh while not), the
// lamp, the pictures and the power watchdog of a console connected or not;
// no operation busy either way.
void ExpectSurfaceOf(const Bench& bench, bool connected);

// A suite's tests on one bench, connected once for them all; each test
// starts with what the radio received forgotten.
class ConnectedConsole : public testing::Test {
protected:
    static void SetUpTestSuite() {
        bench = new Bench();
        ASSERT_TRUE(bench->ConnectReady()) << bench->Describe();
    }
    static void TearDownTestSuite() {
        delete bench;
        bench = nullptr;
    }
    void SetUp() override {
        ASSERT_NE(bench, nullptr);
        bench->Drain();
    }
    static std::vector<std::string> SentBeforeMarker() { return bench->SentBeforeMarker(); }
    static Bench* bench;
};

} // namespace zephyra::test
