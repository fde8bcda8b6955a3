// SPDX-License-Identifier: GPL-3.0-or-later
// sharing_clients_test.cpp - the rig-control clients radio amateurs run
// (Debian's libhamlib-utils: its NET rigctl client "rigctl -m 2", its flrig
// client "rigctl -m 4" and its dummy daemon "rigctld -m 1") against the
// console on the simulator. Every command must reach the simulator's radio
// and the console's display, and our answers must have the shape of the
// dummy daemon's. The programs are required: the tests fail without them
// (scripts/deps.sh installs them).
#include "daemon_process.h"
#include "sharing_fixture.h"

#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <map>
#include <sstream>

namespace {

using namespace sharing_test;
using display_test::PumpUntil;

struct ClientRun {
    bool finished = false;
    int exitCode = -1;
    std::string out;
    std::string err;
};


class SharingClients : public SharingTest {
protected:
    void SetUp() override {
        rigctl = QStandardPaths::findExecutable(QStringLiteral("rigctl"));
        rigctld = QStandardPaths::findExecutable(QStringLiteral("rigctld"));
        ASSERT_FALSE(rigctl.isEmpty()) << "rigctl is missing: scripts/deps.sh installs libhamlib-utils";
        ASSERT_FALSE(rigctld.isEmpty()) << "rigctld is missing: scripts/deps.sh installs libhamlib-utils";
        SharingTest::SetUp();
    }

    // Runs rigctl with `args` (and `input` on its standard input) while the
    // console's event loop runs; killed when it takes longer than `timeout`.
    ClientRun Client(const QStringList& args, const QByteArray& input = {}, std::chrono::milliseconds timeout = 30s) {
        ClientRun run;
        QProcess p;
        p.start(rigctl, args);
        if (!p.waitForStarted(5000))
            return run;
        if (!input.isEmpty())
            p.write(input);
        p.closeWriteChannel();
        QByteArray out, err;
        run.finished = PumpUntil(
            [&] {
                out += p.readAllStandardOutput();
                err += p.readAllStandardError();
                return p.state() == QProcess::NotRunning;
            },
            timeout);
        if (!run.finished) {
            p.kill();
            p.waitForFinished(3000);
        }
        out += p.readAllStandardOutput();
        err += p.readAllStandardError();
        run.exitCode = p.exitCode();
        run.out = out.toStdString();
        run.err = err.toStdString();
        return run;
    }
    QStringList Net(const QStringList& commands) const {
        return QStringList{QStringLiteral("-m"), QStringLiteral("2"), QStringLiteral("-r"),
                           QStringLiteral("127.0.0.1:%1").arg(rigctlPort)} +
               commands;
    }
    QStringList Flrig(const QStringList& commands) const {
        return QStringList{QStringLiteral("-m"), QStringLiteral("4"), QStringLiteral("-r"),
                           QStringLiteral("127.0.0.1:%1").arg(flrigPort)} +
               commands;
    }

    // The library's dummy daemon on a free port; killed with the test.
    std::uint16_t StartDummy() {
        return share_test::StartDaemon(dummy, rigctld, {QStringLiteral("-m"), QStringLiteral("1")}, 50,
                                       [] { display_test::PumpFor(100ms); });
    }
    void TearDown() override {
        if (dummy) {
            dummy->kill();
            dummy->waitForFinished(3000);
            dummy.reset();
        }
        SharingTest::TearDown();
    }

    QString rigctl, rigctld;
    std::unique_ptr<QProcess> dummy;
};

class Clients : public SharingClients {
public:
    using SharingTest::Shown;
    using SharingTest::state;
    using SharingTest::Text;
};

struct ClientRow {
    QStringList commands;  // one rigctl run: a new client, as programs connect
    const char* out;       // its standard output, exactly
    std::function<bool(const qxsim::State&, const qxsim::Radio&)> radio;
    std::function<bool(Clients&)> console; // null: not checked
};

// The NET rigctl client, one run per row as a program that connects for a
// command: every set reaches the radio, the console shows it, and a new
// client's connection (which selects VFO B and then A) leaves split on.
TEST_F(Clients, NetRigctlClientDoesEveryCommandOnTheRadio) {
    using S = const qxsim::State&;
    using R = const qxsim::Radio&;
    const ClientRow rows[] = {
        {{"F", "7074000"}, "", [](S s, R) { return s.vfoA == 7'074'000; },
         [](Clients& t) { return DigitsOf(t.Shown(false)) == "7074000"; }},
        // The client asks for the mode lock before every mode change.
        {{"M", "CW", "0"}, "", [](S s, R) { return s.modeA == 3; },
         [](Clients& t) { return t.Text(idc::MainMode).find("CW") != std::string::npos; }},
        {{"M", "USB", "2400"}, "", [](S s, R r) { return s.modeA == 2 && r.value("FW") == 2400; },
         [](Clients& t) { return t.Text(idc::MainMode).find("USB") != std::string::npos; }},
        // B's mode: A stays as the radio has it, in the answers and on the console.
        {{"M", "CW", "500"}, "", [](S s, R r) { return s.modeA == 3 && r.value("FW") == 500; }, nullptr},
        {{"X", "USB", "0", "m"}, "CW\n500\n", [](S s, R) { return s.modeA == 3 && s.modeB == 2 && s.rxVfo == 0; },
         [](Clients& t) { return t.Text(idc::MainMode).find("CW") != std::string::npos; }},
        {{"x"}, "USB\n500\n", nullptr, nullptr},
        // FM and AM: narrow (FW 0) or wide (FW 1), answered in Hz.
        {{"M", "FM", "0"}, "",
         [](S s, R r) {
             const auto got = r.received();
             return s.modeA == 4 && r.value("FW") == 1 &&
                    std::none_of(got.begin(), got.end(), [](const qxsim::Received& c) { return c.text == "FW6000"; });
         },
         [](Clients& t) { return t.Text(idc::MainMode) == " FM"; }},
        // (A new run: the client answers "m" from its own record of the mode it set.)
        {{"m"}, "FM\n6000\n", nullptr, nullptr},
        {{"M", "AM", "2400"}, "", [](S s, R r) { return s.modeA == 5 && r.value("FW") == 0; },
         [](Clients& t) { return t.Text(idc::MainMode) == " AM NAR"; }},
        {{"m"}, "AM\n2400\n", nullptr, nullptr},
        // Passband 0: the mode's normal width.
        {{"M", "USB", "0"}, "", [](S s, R r) { return s.modeA == 2 && r.value("FW") == 2400; },
         [](Clients& t) { return t.Text(idc::MainMode).find("USB") != std::string::npos; }},
        {{"C", "885", "U", "TONE", "1", "C", "0"}, "", [](S, R r) { return r.value("TO") == 0 && r.value("TN") == 8; },
         nullptr},
        {{"f", "m"}, "7074000\nUSB\n2400\n", nullptr, nullptr},
        {{"S", "1", "VFOB"}, "", [](S s, R) { return s.rxVfo == 0 && s.txVfo == 1; },
         [](Clients& t) { return t.state().split == 1; }},
        {{"s"}, "1\nVFOB\n", [](S s, R) { return s.rxVfo == 0 && s.txVfo == 1; },
         [](Clients& t) { return t.state().split == 1; }},
        {{"I", "7080000", "i"}, "7080000\n", [](S s, R) { return s.vfoB == 7'080'000 && s.txVfo == 1; }, nullptr},
        {{"V", "VFOB", "V", "VFOA", "s"}, "1\nVFOB\n", [](S s, R) { return s.rxVfo == 0 && s.txVfo == 1; },
         [](Clients& t) { return t.state().split == 1; }},
        {{"S", "0", "VFOA"}, "", [](S s, R) { return s.txVfo == 0; },
         [](Clients& t) { return t.state().split == 0; }},
        {{"V", "VFOB", "v"}, "VFOB\n", [](S s, R) { return s.rxVfo == 1; }, nullptr},
        {{"V", "VFOA"}, "", [](S s, R) { return s.rxVfo == 0; }, nullptr},
        // The client goes after its command: its transmitter is released.
        {{"T", "1", "t"}, "1\n", [](S s, R) { return s.transmitting == 0; },
         [](Clients& t) { return t.state().transmitting[0] == 0; }},
        {{"T", "2"}, "", [](S s, R) { return s.transmitting == 0; }, nullptr}, // on, microphone (released as it goes)
        {{"J", "500", "j"}, "500\n", [](S s, R r) { return s.ritOffset == 500 && r.value("RT") == 1; }, nullptr},
        {{"J", "0"}, "", [](S, R r) { return r.value("RT") == 0; }, nullptr},
        {{"L", "RFPOWER", "0.5", "l", "RFPOWER"}, "0.500000\n", [](S, R r) { return r.value("PC") == 50; }, nullptr},
        {{"L", "KEYSPD", "25", "l", "KEYSPD"}, "25\n", [](S, R r) { return r.value("KS") == 25; }, nullptr},
        {{"L", "PREAMP", "10", "l", "PREAMP"}, "10\n", [](S, R r) { return r.value("PA") == 1; }, nullptr},
        {{"L", "ATT", "12", "l", "ATT"}, "12\n", [](S, R r) { return r.value("RA") == 1; }, nullptr},
        {{"L", "ATT", "0"}, "", [](S, R r) { return r.value("RA") == 0; }, nullptr},
        {{"L", "MICGAIN", "0.4", "l", "MICGAIN"}, "0.400000\n", [](S, R r) { return r.value("MG") == 40; }, nullptr},
        {{"L", "COMP", "0.3", "l", "COMP"}, "0.300000\n", [](S, R r) { return r.value("PL") == 30; }, nullptr},
        {{"U", "NB", "1", "u", "NB"}, "1\n", [](S, R r) { return r.value("NB") == 1; }, nullptr},
        {{"U", "NR", "1"}, "", [](S, R r) { return r.value("NR") == 1; }, nullptr},
        {{"U", "COMP", "1"}, "", [](S, R r) { return r.value("PR") == 1; }, nullptr},
        {{"U", "TONE", "1"}, "", [](S, R r) { return r.value("TO") == 1; }, nullptr},
        {{"U", "TSQL", "1", "u", "TSQL"}, "1\n", [](S, R r) { return r.value("CT") == 1; }, nullptr},
        {{"R", "+", "r"}, "+\n", [](S, R r) { return r.value("OS") == 1; }, nullptr},
        {{"O", "5000000", "o"}, "5000000\n", [](S, R r) { return r.value("OF") == 5'000'000; }, nullptr},
        {{"C", "885", "c"}, "885\n", [](S, R r) { return r.value("TN") == 8; }, nullptr},
        // The 1750 Hz burst a client read back can be written back.
        {{"C", "17500", "c"}, "17500\n", [](S, R r) { return r.value("TN") == 39; }, nullptr},
        {{"D", "754", "d"}, "754\n", [](S, R r) { return r.value("QC") == 103; }, nullptr},
        {{"E", "105", "e"}, "105\n", [](S s, R) { return s.bank == 1 && s.channel == 5; }, nullptr},
        {{"G", "BAND_UP"}, "", [](S s, R) { return s.vfoA == 10'120'000; },
         [](Clients& t) { return DigitsOf(t.Shown(false)) == "10120000"; }},
        {{"G", "BAND_DOWN"}, "", [](S s, R) { return s.vfoA == 7'050'000; }, nullptr},
        {{"G", "UP"}, "", [](S s, R) { return s.vfoA > 7'050'000; }, nullptr},
        {{"G", "DOWN"}, "", [](S s, R) { return s.vfoA == 7'050'000; }, nullptr},
        {{"G", "CPY"}, "", [](S s, R) { return s.vfoB == 7'050'000 && s.modeB == s.modeA && s.rxVfo == 0; }, nullptr},
        {{"G", "XCHG"}, "", [](S s, R) { return s.rxVfo == 1; },
         [](Clients& t) { return t.state().mainVfo == 1; }},
        {{"G", "XCHG"}, "", [](S s, R) { return s.rxVfo == 0; }, nullptr},
        {{"b", "CQ TEST"}, "", [](S s, R) { return s.keyerText.rfind("CQ TEST", 0) == 0; }, nullptr},
    };
    for (const ClientRow& row : rows) {
        SCOPED_TRACE(row.commands.join(QLatin1Char(' ')).toStdString());
        const ClientRun run = Client(Net(row.commands));
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, row.out) << run.err;
        EXPECT_EQ(run.err.find("error"), std::string::npos) << run.err;
        if (row.radio) {
            EXPECT_TRUE(row.radio(radio().state(), radio()));
        }
        if (row.console) {
            EXPECT_TRUE(PumpUntil([&] { return row.console(*this); }, 3s));
        }
    }
}

// At the radio's line rate: each new client's connection selects VFO B and
// then A, and its own "s" must still read the split another client set (the
// receive VFO change is answered once the transmit VFO is back). The flrig
// client's VFO selection and split read likewise.
class PacedClients : public Clients {
protected:
    void SetUp() override {
        paced = true;
        Clients::SetUp();
    }
};

TEST_F(PacedClients, ANewClientReadsTheSplitAnotherSet) {
    const ClientRun set = Client(Net({"S", "1", "VFOB"}));
    ASSERT_TRUE(set.finished);
    ASSERT_EQ(set.out, "") << set.err;
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE("client " + std::to_string(i));
        const ClientRun run = Client(Net({"s"}));
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.out, "1\nVFOB\n") << run.err;
        const qxsim::State s = radio().state();
        EXPECT_EQ(s.rxVfo, 0);
        EXPECT_EQ(s.txVfo, 1);
    }
    const ClientRun flrig = Client(Flrig({"V", "VFOB", "V", "VFOA", "s"}), {}, 60s);
    ASSERT_TRUE(flrig.finished);
    EXPECT_EQ(flrig.out.rfind("1\n", 0), 0u) << flrig.out << flrig.err;
    EXPECT_TRUE(PumpUntil([&] { return state().split == 1; }, 3s));
}

// The client reads our capabilities from the dump: exactly what is
// implemented.
TEST_F(Clients, NetRigctlClientReadsExactlyTheImplementedCapabilities) {
    const ClientRun run = Client(Net({"1"})); // dump_caps
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    auto line = [&](const std::string& key) {
        const auto at = run.out.find(key);
        return at == std::string::npos ? std::string() : run.out.substr(at, run.out.find('\n', at) - at);
    };
    EXPECT_EQ(line("Get functions:"), "Get functions: NB COMP TONE TSQL NR ") << run.out;
    EXPECT_EQ(line("Set functions:"), "Set functions: NB COMP TONE TSQL NR ") << run.out;
    EXPECT_NE(line("Get level:").find("KEYSPD"), std::string::npos) << run.out;
    EXPECT_NE(line("Get level:").find("RAWSTR"), std::string::npos) << run.out;
    EXPECT_EQ(line("Set level:").find("STRENGTH"), std::string::npos) << run.out;
    EXPECT_NE(line("VFO Ops:").find("BAND_UP"), std::string::npos) << run.out;
    EXPECT_NE(line("VFO Ops:").find("XCHG"), std::string::npos) << run.out;
}

// One persistent session ("rigctl ... -" reading its commands), as
// programs keep their connection.
TEST_F(Clients, NetRigctlPersistentSessionDoesEveryCommand) {
    const QByteArray commands =
        "F 14074000\nf\nM LSB 0\nm\nS 1 VFOB\nV VFOB\nV VFOA\ns\nX USB 0\nx\nS 0 VFOA\n"
        "T 1\nt\nT 0\nt\nL AF 0.2\nl AF\nl STRENGTH\nl RAWSTR\nU NB 0\nu NB\nE 7\ne\n"
        "\\get_vfo_info VFOA\n\\get_powerstat\nq\n";
    const ClientRun run = Client(Net({"-"}), commands);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err.find("error"), std::string::npos) << run.err;
    // The session echoes each command and its answer.
    for (const char* expected : {"f 14074000", "m LSB", "s 1\nVFOB", "x USB", "t 1", "t 0", "l AF 0.2", "u NB 0",
                                 "e 7"})
        EXPECT_NE(run.out.find(expected), std::string::npos) << expected << "\n" << run.out;
    const qxsim::State s = radio().state();
    EXPECT_EQ(s.vfoA, 14'074'000);
    EXPECT_EQ(s.modeA, 1);
    EXPECT_EQ(s.modeB, 2);
    EXPECT_EQ(s.txVfo, 0);
    EXPECT_EQ(s.transmitting, 0);
    EXPECT_EQ(radio().value("NB"), 0);
    EXPECT_TRUE(PumpUntil([&] { return DigitsOf(Shown(false)) == "14074000"; }, 3s));
}

// The flrig client's whole session: it connects, reads and sets frequency,
// mode and width, PTT and split.
TEST_F(Clients, FlrigClientOpensReadsAndSets) {
    const QByteArray commands = "F 7074000\nf\nM USB 1800\nm\nT 1\nt\nT 0\nt\nS 1 VFOB\ns\nI 7080000\ni\n"
                                "X LSB 0\nx\nS 0 VFOA\ns\nV VFOB\nv\nV VFOA\nl STRENGTH\nL RFPOWER 0.5\nq\n";
    const ClientRun run = Client(Flrig({"-"}), commands, 60s);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err.find("error"), std::string::npos) << run.err;
    for (const char* expected : {"f 7074000", "m USB\n1800", "t 1", "t 0", "s 1\nVFOB", "i 7080000", "x LSB",
                                 "s 0", "v VFOB"})
        EXPECT_NE(run.out.find(expected), std::string::npos) << expected << "\n" << run.out;
    const qxsim::State s = radio().state();
    EXPECT_EQ(s.vfoA, 7'074'000);
    EXPECT_EQ(s.vfoB, 7'080'000);
    EXPECT_EQ(s.modeA, 2);
    EXPECT_EQ(s.modeB, 1);
    EXPECT_EQ(radio().value("FW"), 1800);
    EXPECT_EQ(s.transmitting, 0);
    EXPECT_EQ(s.rxVfo, 0);
    EXPECT_EQ(s.txVfo, 0);
    EXPECT_EQ(radio().value("PC"), 50);
    EXPECT_TRUE(PumpUntil([&] { return DigitsOf(Shown(false)) == "7074000"; }, 3s));
}

// The protocol's signal strength: dB relative to S9 from the S-meter
// reading. This radio's meter reads 0..30 with S9 at 15 (S0 at 0, 6 dB an S
// unit) and S9+60 dB at full scale.
int ProtocolStrength(int meter) {
    if (meter <= 15)
        return static_cast<int>(std::lround((meter * 9.0 / 15.0 - 9.0) * 6.0));
    return static_cast<int>(std::lround((meter - 15) * 60.0 / 15.0));
}

TEST_F(Clients, StrengthIsDecibelsRelativeToS9FromTheMeter) {
    // A few receive frequencies whose meter readings differ: the noise floor,
    // a weak station and the strongest on the band.
    std::map<int, std::int64_t> byMeter;
    for (std::int64_t hz = 14'000'000; hz <= 14'350'000; hz += 500)
        byMeter.emplace(radio().sMeterAt(hz), hz);
    ASSERT_GE(byMeter.size(), 3u);
    std::vector<std::int64_t> picks = {byMeter.begin()->second, std::next(byMeter.begin())->second,
                                       byMeter.rbegin()->second};
    for (const std::int64_t hz : picks) {
        const int meter = radio().sMeterAt(hz);
        SCOPED_TRACE("meter " + std::to_string(meter));
        const ClientRun run = Client(Net({"F", QString::number(hz), "l", "RAWSTR", "l", "STRENGTH"}));
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.out, std::to_string(meter) + "\n" + std::to_string(ProtocolStrength(meter)) + "\n") << run.err;
    }
    // The definition itself on the meter's marks.
    EXPECT_EQ(ProtocolStrength(0), -54);
    EXPECT_EQ(ProtocolStrength(15), 0);
    EXPECT_EQ(ProtocolStrength(30), 60);
}

struct ShapeRow {
    const char* line;
    bool sameReport; // the same RPRT code as the dummy daemon's
};

// Line for line, the extended answers have the dummy daemon's shape: the
// same number of lines, the same echo and labels, the same report (where the
// dummy rig can do the same).
TEST_F(Clients, AnswersHaveTheDummyDaemonsShape) {
    const std::uint16_t dummyPort = StartDummy();
    ASSERT_NE(dummyPort, 0) << "the dummy daemon did not start";
    LineClient ours, theirs;
    ASSERT_TRUE(ours.Connect(rigctlPort));
    ASSERT_TRUE(theirs.Connect(dummyPort));
    const ShapeRow rows[] = {
        {"+f", true}, {"+F 14074000", true}, {"+m", true}, {"+M USB 2400", true}, {"+v", true},
        {"+V VFOA", true}, {"+s", true}, {"+S 1 VFOB", true}, {"+i", true}, {"+x", true},
        {"+S 0 VFOA", true}, {"+j", true}, {"+z", true}, {"+l AF", true}, {"+L AF 0.3", true},
        {"+l KEYSPD", true}, {"+L KEYSPD 22", true}, {"+l PREAMP", true}, {"+l ATT", true},
        {"+l MICGAIN", true}, {"+L MICGAIN 0.5", true}, {"+l COMP", true}, {"+l RAWSTR", true},
        {"+l STRENGTH", true}, {"+u NB", true}, {"+U NB 1", true}, {"+u NR", true}, {"+u COMP", true},
        {"+u TONE", true}, {"+u TSQL", true}, {"+U TSQL 0", true}, {"+G UP", true}, {"+G DOWN", true},
        {"+G CPY", true}, {"+G XCHG", true}, {"+G XCHG", true}, {"+G BAND_UP", false},
        {"+b CQ", true}, {"+r", true}, {"+R -", true}, {"+o", true}, {"+O 600000", true}, {"+c", true},
        {"+C 885", true}, {"+d", true}, {"+D 23", true}, {"+e", true}, {"+E 5", true},
        {"+\\get_vfo_info VFOA", true}, {"+\\get_lock_mode", true}, {"+\\get_powerstat", true},
        {"\\get_lock_mode", true}, {"l KEYSPD", true}, {"u NB", true},
        {"\\get_vfo_info VFOA", true}, {"c", true}, {"G FOO", true},
        {";f", true}, {"|s", true}, {"+C 0", true}, {"+D 0", true},
        {"+\\chk_vfo", true}, // last: the dummy daemon stays in the extended form after it
    };
    auto reportOf = [](const std::string& answer) {
        const auto at = answer.rfind("RPRT ");
        return at == std::string::npos ? std::string() : answer.substr(at);
    };
    auto shape = [](const std::string& answer) {
        // Each line reduced to its label (the text up to ": ") or "value".
        std::vector<std::string> out;
        for (const std::string& line : Lines(answer)) {
            const auto colon = line.find(": ");
            out.push_back(line.rfind("RPRT ", 0) == 0 ? "RPRT"
                          : colon != std::string::npos ? line.substr(0, colon)
                          : line.back() == ':' ? line
                                               : "value");
        }
        return out;
    };
    for (const ShapeRow& row : rows) {
        SCOPED_TRACE(row.line);
        const bool plainGet = (row.line[0] != '+' && std::string(row.line) != "G FOO") ||
                              std::string(row.line) == "+\\chk_vfo";
        // A plain get has no report (but get_lock_mode's); read by lines then.
        auto read = [&](LineClient& c) {
            if (!plainGet)
                return c.ReadReport(5s, Pump);
            const std::string line(row.line);
            const int lines = line == "\\get_lock_mode" ? 2 : line == "\\get_vfo_info VFOA" ? 5 : 1;
            // (the extended chk_vfo is its one labelled line)
            return c.ReadLines(lines, 5s, Pump);
        };
        ASSERT_TRUE(ours.Send(std::string(row.line) + "\n"));
        const std::string a = read(ours);
        ASSERT_TRUE(theirs.Send(std::string(row.line) + "\n"));
        const std::string b = read(theirs);
        EXPECT_EQ(shape(a), shape(b)) << "ours:\n" << a << "the dummy daemon's:\n" << b;
        if (row.sameReport) {
            EXPECT_EQ(reportOf(a), reportOf(b)) << "ours:\n" << a << "the dummy daemon's:\n" << b;
        }
    }
    // "q": the report, then the connection closes; the client's close is clean.
    for (LineClient* c : {&ours, &theirs}) {
        ASSERT_TRUE(c->Send("q\n"));
        EXPECT_EQ(c->ReadLine(5s, Pump), "RPRT 0\n");
        EXPECT_TRUE(c->WaitClosed(3s, Pump));
    }
    const ClientRun run = Client(Net({"-vv", "f"}));
    ASSERT_TRUE(run.finished);
    EXPECT_NE(run.err.find("netrigctl_close: done"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("error"), std::string::npos) << run.err;
}

} // namespace
