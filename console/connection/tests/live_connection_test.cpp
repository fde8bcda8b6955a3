// SPDX-License-Identifier: GPL-3.0-or-later
// A lost radio said and found again, and the meters' poll: against the
// simulator on a pseudo-terminal, behind a link name that is removed and
// made again (as an adapter's lasting name when it is pulled and plugged in).
#include "harness.h"

#include "meter_poll.h"
#include "reconnect.h"

#include <cable.h>

#include <platform.h>

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>

namespace zephyra::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A clock the test moves by hand.
struct HandClock {
    Clock::time_point now = Clock::time_point() + std::chrono::hours(1);
    Reconnector::Clock source() {
        return [this] { return now; };
    }
};

// The radio's device behind a link in a stand-in by-id folder: a cable
// that can be pulled and plugged in again.
class NamedRadio {
public:
    explicit NamedRadio(Bench& bench)
        : path(dir.filePath(QStringLiteral("usb-QX_9000-if00-port0"))), m_cable(bench.radio, path.toStdString()) {
        platform::WriteProfileString(QStringLiteral("Setting"), QStringLiteral("PortName"), path);
    }
    void Relink() { m_cable.Relink(); }
    void Unplug() { m_cable.Pull(); }
    void PlugIn() { ASSERT_TRUE(m_cable.Plug()); }
    QTemporaryDir dir;
    QString path;

private:
    qxsim_test::Cable m_cable;
};

// What the link writes, from its trace: the commands after a mark.
class WireTrace {
public:
    WireTrace() : m_path(m_dir.filePath(QStringLiteral("link.trace")).toStdString()) {
        CCorvan::SetTrace(m_path.c_str());
    }
    ~WireTrace() { CCorvan::SetTrace(nullptr); }
    // From now on.
    void Mark() { m_from = Lines().size(); }
    // The commands written since the mark ("SM0;", "AI0;" ...).
    std::vector<std::string> WrittenSinceMark() const {
        std::vector<std::string> out;
        const auto lines = Lines();
        for (std::size_t i = m_from; i < lines.size(); ++i) {
            const auto at = lines[i].find(" > ");
            if (at != std::string::npos)
                out.push_back(lines[i].substr(at + 3));
        }
        return out;
    }

private:
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        std::ifstream in(m_path);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
    QTemporaryDir m_dir;
    std::string m_path;
    std::size_t m_from = 0;
};

struct Notes {
    explicit Notes(ConsoleLink& link) {
        QObject::connect(&link, &ConsoleLink::connectionNote, [this](const QString& text, bool away) {
            last = text;
            lastAway = away;
        });
    }
    QString last;
    bool lastAway = false;
};

// A named radio the reconnector looks for in its by-id folder, on a hand
// clock, with the notes the link gives.
class LostNamedRadio : public testing::Test {
protected:
    LostNamedRadio() {
        reconnect.SetClock(clock.source());
        reconnect.SetByIdDirectory(named.dir.path());
    }
    Bench bench;
    NamedRadio named{bench};
    HandClock clock;
    Reconnector reconnect{*bench.link};
    Notes notes{*bench.link};
};

TEST_F(LostNamedRadio, DeviceGoneIsSaidAndTheSameNameIsFoundAgainWithTheWholeRead) {
    ASSERT_TRUE(bench.ConnectReady()) << bench.Describe();
    ASSERT_EQ(bench.settingsReadStarts, 1);

    named.Unplug();
    ASSERT_TRUE(PumpUntil([&] { return bench.link->State().connected == 0; }, 3s));
    const QString gone = QStringLiteral("The serial device %1 has gone").arg(named.path);
    EXPECT_EQ(bench.link->ConnectionNote(), gone);
    EXPECT_EQ(notes.last, gone);
    EXPECT_TRUE(notes.lastAway);
    EXPECT_EQ(bench.link->Loss(), RadioLoss::DeviceGone);
    EXPECT_TRUE(reconnect.Trying());

    // Nothing to open yet: the try finds no device and waits its turn.
    clock.now += 1s;
    reconnect.Tick();
    EXPECT_EQ(bench.link->State().connected, 0);
    EXPECT_EQ(reconnect.Attempts(), 1);

    named.PlugIn();
    clock.now += 1999ms;
    reconnect.Tick();
    EXPECT_EQ(bench.link->State().connected, 0) << "tried before its 2 s had passed";
    clock.now += 1ms;
    reconnect.Tick();
    EXPECT_EQ(bench.link->State().connected, 1) << bench.Describe();
    EXPECT_EQ(bench.link->State().consoleReady, 1);
    EXPECT_EQ(bench.link->State().initialReadDone, 1);
    EXPECT_EQ(bench.settingsReadStarts, 2);
    EXPECT_FALSE(reconnect.Trying());
    EXPECT_EQ(bench.link->Loss(), RadioLoss::None);
    EXPECT_EQ(bench.link->ConnectionNote(), QStringLiteral("Connected again to the radio on %1").arg(named.path));
    EXPECT_FALSE(notes.lastAway);
    EXPECT_EQ(bench.link->OpenedDevice(), named.path);
}

TEST(LostRadio, AnAdapterBackUnderAnotherTtyIsFoundByItsLastingName) {
    Bench bench;
    NamedRadio named(bench);
    // The profile names the tty itself; the by-id folder holds the link to it.
    const QString tty = named.dir.filePath(QStringLiteral("ttyUSB0"));
    std::filesystem::create_symlink(bench.radio.devicePath(), tty.toStdString());
    platform::WriteProfileString(QStringLiteral("Setting"), QStringLiteral("PortName"), tty);
    QTemporaryDir byId;
    const QString lasting = byId.filePath(QStringLiteral("usb-QX_9000-if00-port0"));
    std::filesystem::create_symlink(tty.toStdString(), lasting.toStdString());

    HandClock clock;
    Reconnector reconnect(*bench.link);
    reconnect.SetClock(clock.source());
    reconnect.SetByIdDirectory(byId.path());
    ASSERT_TRUE(bench.ConnectReady()) << bench.Describe();
    EXPECT_EQ(reconnect.ByIdName(), lasting);

    bench.radio.stop();
    std::filesystem::remove(tty.toStdString());
    std::filesystem::remove(lasting.toStdString());
    ASSERT_TRUE(PumpUntil([&] { return bench.link->State().connected == 0; }, 3s));
    EXPECT_EQ(bench.link->ConnectionNote(), QStringLiteral("The serial device %1 has gone").arg(tty));

    ASSERT_TRUE(bench.radio.start());
    std::filesystem::create_symlink(bench.radio.devicePath(), lasting.toStdString()); // now "ttyUSB1"
    clock.now += 1s;
    reconnect.Tick();
    EXPECT_EQ(bench.link->State().consoleReady, 1) << bench.Describe();
    EXPECT_EQ(bench.link->OpenedDevice(), lasting);
}

// A cable pulled while the terminal window has the line: the loss is said,
// terminal mode ends with the link (nothing more is written to the dead
// device), the display goes dark, and the radio is found again behind the
// same name with the whole read.
TEST_F(LostNamedRadio, APulledCableInTerminalModeIsSaidClosedAndFoundAgain) {
    ASSERT_TRUE(bench.ConnectReady()) << bench.Describe();
    bench.radio.setMenu(55, 0, 0, 0, "1");
    ASSERT_TRUE(PumpUntil([&] { return bench.link->State().tncMode == 1; }));
    ASSERT_EQ(bench.surface.status, QStringLiteral("TNC Mode"));
    WireTrace wire;
    PumpFor(200ms);
    wire.Mark();
    const int toldBefore = bench.peers.count("SolvikMsgTC 1");

    // The device hangs up; its name stays, leading nowhere.
    bench.radio.stop();
    ASSERT_TRUE(PumpUntil([&] { return bench.link->State().connected == 0; }, 3s)) << bench.Describe();
    const QString gone = QStringLiteral("The serial device %1 has gone").arg(named.path);
    EXPECT_EQ(bench.link->ConnectionNote(), gone);
    EXPECT_TRUE(notes.lastAway);
    EXPECT_EQ(bench.link->Loss(), RadioLoss::DeviceGone);
    EXPECT_EQ(bench.link->State().tncMode, 0);
    EXPECT_NE(bench.surface.status, QStringLiteral("TNC Mode"));
    EXPECT_EQ(bench.peers.count("SolvikDestroy"), 1);
    EXPECT_EQ(bench.peers.count("SolvikMsgTC 1"), toldBefore + 1) << "the terminal window was not told";
    EXPECT_FALSE(bench.surface.lamp);
    EXPECT_FALSE(bench.surface.live);
    EXPECT_FALSE(bench.surface.powerLit);
    EXPECT_TRUE(bench.surface.enabled(ConnectionCommand::On));
    EXPECT_FALSE(CCorvan::IsOpen());
    EXPECT_EQ(wire.WrittenSinceMark(), std::vector<std::string>{}) << "written to a device gone";
    EXPECT_TRUE(reconnect.Trying());

    named.PlugIn();
    clock.now += 1s;
    reconnect.Tick();
    EXPECT_EQ(bench.link->State().consoleReady, 1) << bench.Describe();
    EXPECT_EQ(bench.link->State().tncMode, 0);
    EXPECT_EQ(bench.settingsReadStarts, 2);
    EXPECT_FALSE(reconnect.Trying());
}

// The radio of a connected console stops answering (the watchdog's wait cut
// to a quarter second) until the console finds itself disconnected.
void FallSilent(Bench& bench) {
    ASSERT_TRUE(bench.ConnectReady()) << bench.Describe();
    bench.link->SetTiming({0.25});
    qxsim::Faults silent;
    silent.silent = true;
    bench.radio.setFaults(silent);
    ASSERT_TRUE(PumpUntil([&] { return bench.link->State().connected == 0; }, 10s));
}

// A radio that stops answering: said, then asked again after 1 s, 2 s, 5 s,
// 5 s ..., never while the console is blocked, and found when it answers.
TEST(LostRadio, SilentRadioIsAskedAgainWithABackOffAndFoundWhenItAnswers) {
    Bench bench;
    HandClock clock;
    Reconnector reconnect(*bench.link);
    reconnect.SetClock(clock.source());
    ASSERT_NO_FATAL_FAILURE(FallSilent(bench));
    EXPECT_EQ(bench.link->ConnectionNote(),
              QStringLiteral("No answer from the radio on %1").arg(QString::fromStdString(bench.radio.devicePath())));
    ASSERT_TRUE(reconnect.Trying());

    // {time since the previous step, tries expected after it}
    struct Step {
        std::chrono::milliseconds advance;
        int attempts;
    };
    const Step steps[] = {
        {999ms, 0}, {1ms, 1},       // 1 s
        {1999ms, 1}, {1ms, 2},      // 2 s
        {4999ms, 2}, {1ms, 3},      // 5 s
        {4999ms, 3}, {1ms, 4},      // then every 5 s
        {4999ms, 4}, {1ms, 5},
    };
    for (const Step& step : steps) {
        const std::size_t asked = bench.radio.countOf("ID");
        clock.now += step.advance;
        reconnect.Tick();
        reconnect.Tick(); // a second look at the same time makes no try
        EXPECT_EQ(reconnect.Attempts(), step.attempts);
        EXPECT_EQ(bench.radio.countOf("ID") > asked, reconnect.Attempts() > 0 && step.advance == 1ms)
            << "after " << step.advance.count() << " ms";
    }
    EXPECT_EQ(bench.link->State().connected, 0);

    // An operation or a modal question holds the try back, not its count.
    bool blocked = true;
    reconnect.SetBlocked([&] { return blocked; });
    bench.radio.setFaults({});
    clock.now += 10s;
    reconnect.Tick();
    EXPECT_EQ(bench.link->State().connected, 0);
    EXPECT_EQ(reconnect.Attempts(), 5);
    blocked = false;
    reconnect.Tick();
    EXPECT_EQ(bench.link->State().consoleReady, 1) << bench.Describe();
    EXPECT_EQ(bench.settingsReadStarts, 2);
    EXPECT_EQ(bench.link->ConnectionNote(),
              QStringLiteral("Connected again to the radio on %1").arg(QString::fromStdString(bench.radio.devicePath())));
}

TEST(LostRadio, NoTryAfterControlOffOrWithTheSettingOff) {
    for (const bool settingOff : {false, true}) {
        SCOPED_TRACE(settingOff ? "setting off" : "Control > OFF");
        Bench bench;
        HandClock clock;
        Reconnector::WriteEnabledToProfile(!settingOff);
        Reconnector reconnect(*bench.link);
        Reconnector::WriteEnabledToProfile(true);
        reconnect.SetClock(clock.source());
        ASSERT_NO_FATAL_FAILURE(FallSilent(bench));
        EXPECT_EQ(reconnect.Trying(), !settingOff);
        reconnect.Stop();
        bench.radio.setFaults({});
        const std::size_t asked = bench.radio.countOf("ID");
        for (int i = 0; i < 4; ++i) {
            clock.now += 5s;
            reconnect.Tick();
        }
        PumpFor(300ms);
        EXPECT_EQ(bench.link->State().connected, 0);
        EXPECT_EQ(bench.radio.countOf("ID"), asked);
    }
}

TEST(LostRadio, SwitchedOffIsSaidAndClearedWhenThePowerComesBack) {
    Bench bench;
    Reconnector reconnect(*bench.link);
    ASSERT_TRUE(bench.ConnectReady()) << bench.Describe();
    bench.radio.setPower(false);
    ASSERT_TRUE(PumpUntil([&] { return bench.link->State().consoleReady == 0; }));
    EXPECT_EQ(bench.link->ConnectionNote(), QStringLiteral("The radio was switched off"));
    EXPECT_EQ(bench.link->State().connected, 1);
    EXPECT_FALSE(reconnect.Trying());
    bench.radio.setPower(true);
    ASSERT_TRUE(PumpUntil([&] { return bench.link->State().consoleReady == 1; }));
    EXPECT_EQ(bench.link->ConnectionNote(), QString());
    EXPECT_EQ(bench.link->Loss(), RadioLoss::None);
}

// ------------------------------------------------------------ meters

TEST(MeterPoll, PollsTheMetersOnTheWireAndTheAnswersAreHandled) {
    Bench bench;
    ASSERT_TRUE(bench.ConnectReady()) << bench.Describe();
    MeterPoll poll(*bench.link);
    poll.SetPace(MeterPace::Fast);

    struct Row {
        const char* name;
        int sub;
        int transmitting;
        std::vector<std::string> expected; // the polls seen, as a set
    };
    const Row rows[] = {
        {"main only", 0, 0, {"SM0"}},
        {"sub receiver on", 1, 0, {"SM0", "SM1"}},
        {"transmitting", 0, 1, {"RM", "SM0"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        bench.state.subReceiver = row.sub;
        bench.state.transmitting = {row.transmitting, 0};
        bench.Drain();
        PumpFor(1s);
        auto polls = MeterPolls(bench.radio);
        EXPECT_GE(polls.size(), 6U) << Joined(polls);
        EXPECT_LE(polls.size(), 11U) << Joined(polls);
        std::sort(polls.begin(), polls.end());
        polls.erase(std::unique(polls.begin(), polls.end()), polls.end());
        EXPECT_EQ(polls, row.expected) << Joined(polls);
    }
    bench.state.subReceiver = 0;
    bench.state.transmitting = {0, 0};
}

// A signal tuned in at the radio shows on the main S-meter through the
// usual reply handling, and only with the poll on.
TEST(MeterPoll, TheMainMeterFollowsTheRadio) {
    Bench bench;
    ASSERT_TRUE(bench.ConnectReady()) << bench.Describe();
    MeterPoll poll(*bench.link);
    const auto stations = bench.radio.stations();
    ASSERT_GE(stations.size(), 2U);
    auto shown = [&] {
        std::uint32_t v = 0;
        return bench.link->Link().RcvDataSM(0, &v) == 1 ? static_cast<int>(v) : -1;
    };
    for (const MeterPace pace : {MeterPace::Off, MeterPace::Normal}) {
        SCOPED_TRACE(MeterPaceName(pace).toStdString());
        poll.SetPace(pace);
        int stood = 0;
        for (const std::int64_t hz : {stations[0], stations[0] + 7'000, stations[1]}) {
            bench.radio.setFrequency(qxsim::Vfo::A, hz);
            const int level = bench.radio.sMeterAt(hz);
            const bool followed = PumpUntil([&] { return shown() == level; }, 800ms);
            stood += followed ? 0 : 1;
            if (pace != MeterPace::Off) {
                EXPECT_TRUE(followed) << "level " << level << ", shown " << shown();
            }
        }
        if (pace == MeterPace::Off) {
            EXPECT_GT(stood, 0) << "the meter moved without a poll";
        }
        const int handled = bench.forwarded[corvan::MessageOf("SM")];
        if (pace != MeterPace::Off) {
            EXPECT_GT(handled, 0) << "the answers did not reach the console's handlers";
        }
    }
}

TEST(MeterPoll, NoPollWhileTheLineIsNotTheMeters) {
    Bench bench;
    ASSERT_TRUE(bench.ConnectReady()) << bench.Describe();
    MeterPoll poll(*bench.link);
    poll.SetPace(MeterPace::Fast);
    bool outside = false;
    poll.SetPauseCheck([&] { return outside; });

    struct Row {
        const char* name;
        std::function<void()> enter;
        std::function<void()> leave;
    };
    ConsoleState& s = bench.state;
    const Row rows[] = {
        {"operation guard", [&] { s.busy = 1; }, [&] { s.busy = 0; }},
        {"sweep or memory table", [&] { outside = true; }, [&] { outside = false; }},
        {"terminal mode", [&] { s.tncMode = 1; }, [&] { s.tncMode = 0; }},
        {"radio off", [&] { s.consoleReady = 0; }, [&] { s.consoleReady = 1; }},
        {"pace off", [&] { poll.SetPace(MeterPace::Off); }, [&] { poll.SetPace(MeterPace::Fast); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        row.enter();
        bench.Drain();
        PumpFor(500ms);
        EXPECT_EQ(MeterPolls(bench.radio), std::vector<std::string>{});
        row.leave();
        bench.Drain();
        PumpFor(500ms);
        EXPECT_FALSE(MeterPolls(bench.radio).empty()) << "polls did not come back";
    }
}

// The polls end with the device: not one more meter query, nor the
// auto-information switch of a disconnect, goes to a device known gone.
TEST(MeterPoll, NothingIsWrittenOnceTheDeviceHasGone) {
    Bench bench;
    NamedRadio named(bench);
    ASSERT_TRUE(bench.ConnectReady()) << bench.Describe();
    MeterPoll poll(*bench.link);
    poll.SetPace(MeterPace::Fast);
    WireTrace wire;
    wire.Mark();
    PumpFor(400ms);
    const auto before = wire.WrittenSinceMark();
    EXPECT_NE(std::find(before.begin(), before.end(), "SM0;"), before.end()) << "no poll to stop";

    wire.Mark();
    bench.radio.stop();
    ASSERT_TRUE(PumpUntil([&] { return bench.link->State().connected == 0; }, 3s)) << bench.Describe();
    PumpFor(300ms);
    EXPECT_EQ(bench.link->Loss(), RadioLoss::DeviceGone);
    EXPECT_EQ(wire.WrittenSinceMark(), std::vector<std::string>{});
    const long long sent = poll.PollsSent();
    PumpFor(300ms);
    EXPECT_EQ(poll.PollsSent(), sent);
}

TEST(MeterPoll, PaceIsKeptInTheProfile) {
    const QString setting = QStringLiteral("Setting");
    const QString key = QStringLiteral("MeterPace");
    struct Row {
        const char* stored;
        MeterPace pace;
    };
    for (const Row& row : {Row{"off", MeterPace::Off}, Row{"Slow", MeterPace::Slow},
                           Row{"normal", MeterPace::Normal}, Row{" fast ", MeterPace::Fast},
                           Row{"quick", MeterPace::Normal}, Row{"", MeterPace::Normal}}) {
        SCOPED_TRACE(row.stored);
        platform::WriteProfileString(setting, key, QString::fromLatin1(row.stored));
        EXPECT_EQ(MeterPaceFromProfile(), row.pace);
    }
    WriteMeterPaceToProfile(MeterPace::Slow);
    EXPECT_EQ(platform::GetProfileString(setting, key, QString()), QStringLiteral("slow"));
    CCorvan corvan;
    ConsoleState state;
    RecordingSurface surface;
    RecordingPeers peers;
    ConsoleLink link(state, corvan, surface, peers);
    MeterPoll poll(link);
    EXPECT_EQ(poll.Pace(), MeterPace::Slow);
    WriteMeterPaceToProfile(MeterPace::Normal);
}

} // namespace
} // namespace zephyra::test
