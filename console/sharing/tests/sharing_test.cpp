// SPDX-License-Identifier: GPL-3.0-or-later
// sharing_test.cpp - other programs controlling the radio through the
// console: a line-protocol client and Python's XML-RPC client over real
// sockets against the console on the simulator. Every command must change
// the simulator's radio as asked, and the console's display must follow.
#include "sharing_fixture.h"

#include "console_menu.h"

#include <pandor.h>

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QProcess>
#include <QTcpServer>

#include <algorithm>
#include <optional>
#include <sstream>

namespace {

using namespace sharing_test;
using display_test::PumpUntil;
using Server = zephyra::RadioSharing::Server;


// True when the radio received the command `text` (without its ";").
bool Received(const qxsim::Radio& r, const std::string& text) {
    const auto got = r.received();
    return std::any_of(got.begin(), got.end(), [&](const qxsim::Received& c) { return c.text == text; });
}

struct Step {
    const char* line;
    int lines;           // value lines of a get's plain answer
    const char* answer;  // exact answer; null: checked by `answerCheck`
    std::function<bool(const qxsim::Radio&)> radio;         // the radio after it
    std::function<bool(SharingTest&)> console;               // the console after it
};

class Sharing : public SharingTest {
public:
    using SharingTest::Ask;
    using SharingTest::Shown;
    using SharingTest::state;
    using SharingTest::Text;
};

bool MainModeShows(SharingTest& t, const std::string& text) {
    return static_cast<Sharing&>(t).Text(idc::MainMode) == text;
}

bool MainShows(SharingTest& t, const std::string& digits) {
    auto& s = static_cast<Sharing&>(t);
    return DigitsOf(s.Shown(false)) == digits;
}

// One scenario through every command, short, long and extended forms mixed;
// the state carries over from row to row.
TEST_F(Sharing, EveryLineCommandChangesTheRadioAndTheConsoleFollows) {
    LineClient c;
    ASSERT_TRUE(c.Connect(rigctlPort));
    using R = const qxsim::Radio&;
    const Step steps[] = {
        {"\\chk_vfo", 1, "0\n", nullptr, nullptr},
        {"F 7074000", 1, "RPRT 0\n", [](R r) { return r.state().vfoA == 7'074'000; },
         [](SharingTest& t) { return MainShows(t, "7074000"); }},
        {"f", 1, "7074000\n", nullptr, nullptr},
        {"\\set_freq 14074000", 1, "RPRT 0\n", [](R r) { return r.state().vfoA == 14'074'000; },
         [](SharingTest& t) { return MainShows(t, "14074000"); }},
        {"+f", 3, "get_freq:\nFrequency: 14074000\nRPRT 0\n", nullptr, nullptr},
        {"M CW 500", 1, "RPRT 0\n",
         [](R r) { return r.state().modeA == 3 && r.value("FW") == 500; },
         [](SharingTest& t) { return static_cast<Sharing&>(t).Text(idc::MainMode).find("CW") != std::string::npos; }},
        {"m", 2, "CW\n500\n", nullptr, nullptr},
        // Passband 0: the mode's normal width.
        {"\\set_mode USB 0", 1, "RPRT 0\n", [](R r) { return r.state().modeA == 2 && r.value("FW") == 2400; },
         [](SharingTest& t) { return static_cast<Sharing&>(t).Text(idc::MainMode).find("USB") != std::string::npos; }},
        {"+\\get_mode", 4, "get_mode:\nMode: USB\nPassband: 2400\nRPRT 0\n", nullptr, nullptr},
        // A width the radio cannot take: nothing changes, the mode neither.
        {"M CW 20000", 1, "RPRT -1\n", [](R r) { return r.state().modeA == 2 && r.value("FW") == 2400; }, nullptr},
        // FM and AM have a narrow (FW 0) and a wide (FW 1) filter, not a
        // width in Hz: a client's width picks one, and the answer is in Hz.
        {"M FM 0", 1, "RPRT 0\n",
         [](R r) { return r.state().modeA == 4 && r.value("FW") == 1 && !Received(r, "FW6000"); },
         [](SharingTest& t) { return MainModeShows(t, " FM"); }},
        {"m", 2, "FM\n6000\n", nullptr, nullptr},
        {"M FM 2400", 1, "RPRT 0\n", [](R r) { return r.state().modeA == 4 && r.value("FW") == 0; },
         [](SharingTest& t) { return MainModeShows(t, " FM NAR"); }},
        {"+\\get_mode", 4, "get_mode:\nMode: FM\nPassband: 3000\nRPRT 0\n", nullptr, nullptr},
        {"M FM 5000", 1, "RPRT 0\n", [](R r) { return r.value("FW") == 1; },
         [](SharingTest& t) { return MainModeShows(t, " FM"); }},
        {"M AM 2400", 1, "RPRT 0\n",
         [](R r) { return r.state().modeA == 5 && r.value("FW") == 0; },
         [](SharingTest& t) { return MainModeShows(t, " AM NAR"); }},
        {"m", 2, "AM\n2400\n", nullptr, nullptr},
        {"M AM 0", 1, "RPRT 0\n", [](R r) { return r.state().modeA == 5 && r.value("FW") == 1; },
         [](SharingTest& t) { return MainModeShows(t, " AM"); }},
        {"m", 2, "AM\n6000\n", nullptr, nullptr},
        {"M USB 0", 1, "RPRT 0\n", [](R r) { return r.state().modeA == 2 && r.value("FW") == 2400; }, nullptr},
        {"V VFOB", 1, "RPRT 0\n", [](R r) { return r.state().rxVfo == 1; },
         [](SharingTest& t) { return static_cast<Sharing&>(t).state().mainVfo == 1 && MainShows(t, "7050000"); }},
        {"v", 1, "VFOB\n", nullptr, nullptr},
        {"\\set_vfo VFOA", 1, "RPRT 0\n", [](R r) { return r.state().rxVfo == 0; },
         [](SharingTest& t) { return static_cast<Sharing&>(t).state().mainVfo == 0; }},
        {"S 1 VFOB", 1, "RPRT 0\n", [](R r) { return r.state().txVfo == 1 && r.state().rxVfo == 0; },
         [](SharingTest& t) { return static_cast<Sharing&>(t).state().split == 1; }},
        {"+s", 4, "get_split_vfo:\nSplit: 1\nTX VFO: VFOB\nRPRT 0\n", nullptr, nullptr},
        {"I 7080000", 1, "RPRT 0\n", [](R r) { return r.state().vfoB == 7'080'000 && r.state().vfoA == 14'074'000; },
         nullptr},
        {"\\get_split_freq", 1, "7080000\n", nullptr, nullptr},
        {"X LSB 0", 1, "RPRT 0\n",
         [](R r) {
             const auto s = r.state();
             return s.modeB == 1 && s.modeA == 2 && s.rxVfo == 0 && s.txVfo == 1;
         },
         [](SharingTest& t) { return static_cast<Sharing&>(t).state().split == 1; }},
        {"x", 2, "LSB\n2400\n", nullptr, nullptr},
        {"\\set_split_vfo 0 VFOA", 1, "RPRT 0\n", [](R r) { return r.state().txVfo == 0; },
         [](SharingTest& t) { return static_cast<Sharing&>(t).state().split == 0; }},
        {"s", 2, "0\nVFOA\n", nullptr, nullptr},
        {"T 1", 1, "RPRT 0\n", [](R r) { return r.state().transmitting == 1; },
         [](SharingTest& t) { return static_cast<Sharing&>(t).state().transmitting[0] == 1; }},
        {"+t", 3, "get_ptt:\nPTT: 1\nRPRT 0\n", nullptr, nullptr},
        {"\\set_ptt 0", 1, "RPRT 0\n", [](R r) { return r.state().transmitting == 0; },
         [](SharingTest& t) { return static_cast<Sharing&>(t).state().transmitting[0] == 0; }},
        {"J 500", 1, "RPRT 0\n", [](R r) { return r.state().ritOffset == 500 && r.value("RT") == 1; },
         [](SharingTest& t) {
             auto& s = static_cast<Sharing&>(t).state();
             return s.ritOn == 1 && s.ritXitOffset == 500;
         }},
        {"j", 1, "500\n", nullptr, nullptr},
        {"\\set_rit 0", 1, "RPRT 0\n", [](R r) { return r.state().ritOffset == 0 && r.value("RT") == 0; },
         [](SharingTest& t) { return static_cast<Sharing&>(t).state().ritOn == 0; }},
        {"Z -300", 1, "RPRT 0\n", [](R r) { return r.state().ritOffset == -300 && r.value("XT") == 1; },
         [](SharingTest& t) { return static_cast<Sharing&>(t).state().xitOn == 1; }},
        {"+z", 3, "get_xit:\nXIT: -300\nRPRT 0\n", nullptr, nullptr},
        {"Z 0", 1, "RPRT 0\n", [](R r) { return r.value("XT") == 0; }, nullptr},
        {"L RFPOWER 0.5", 1, "RPRT 0\n", [](R r) { return r.value("PC") == 50; }, nullptr},
        {"l RFPOWER", 1, "0.500000\n", nullptr, nullptr},
        {"\\set_level AF 0.2", 1, "RPRT 0\n", [](R r) { return r.value("AG0", 0) == 51 || r.value("AG0", 1) == 51; },
         nullptr},
        {"l AF", 1, "0.200000\n", nullptr, nullptr},
        {"L RF 0.6", 1, "RPRT 0\n", [](R r) { return r.value("RG") == 153; }, nullptr},
        {"+l RF", 3, "get_level: RF\n0.600000\nRPRT 0\n", nullptr, nullptr},
        {"L SQL 0.1", 1, "RPRT 0\n", [](R r) { return r.value("SQ0", 0) == 26 || r.value("SQ0", 1) == 26; },
         nullptr},
        {"l SQL", 1, "0.101961\n", nullptr, nullptr},
        {"\\get_powerstat", 1, "1\n", nullptr, nullptr},
        {"F 100000000", 1, "RPRT -1\n", [](R r) { return r.state().vfoA == 14'074'000; }, nullptr},
        {"\\send_cmd FA00000000000;", 1, "RPRT -1\n", nullptr, nullptr},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.line);
        EXPECT_EQ(Ask(c, step.line, step.lines), step.answer);
        if (step.radio) {
            EXPECT_TRUE(step.radio(radio()));
        }
        if (step.console) {
            EXPECT_TRUE(PumpUntil([&] { return step.console(*this); }, 3s));
        }
    }
    // Two commands, as the daemon reads the line: no protocol text passes.
    ASSERT_TRUE(c.Send("F 7000000;FA00000000000\n"));
    EXPECT_EQ(c.ReadLines(2, 5s, Pump), "RPRT 0\nset_freq: A00000000000;RPRT -1\n");
    EXPECT_EQ(radio().state().vfoA, 7'000'000);
    // The signal strength is read from the meter: a whole number of dB.
    const std::string strength = Ask(c, "l STRENGTH");
    EXPECT_NE(strength.rfind("RPRT", 0), 0u) << strength;
    EXPECT_NO_THROW((void)std::stoi(strength));
}

TEST_F(Sharing, DumpStateGivesThisRadiosRangesInItsLayout) {
    LineClient c;
    ASSERT_TRUE(c.Connect(rigctlPort));
    ASSERT_TRUE(c.Send("\\dump_state\n"));
    const std::vector<std::string> lines = Lines(c.ReadThrough("\ndone\n", 5s, Pump));
    ASSERT_GT(lines.size(), 10u);
    EXPECT_EQ(lines[0], "1");
    EXPECT_EQ(lines[3], "30000.000000 60000000.000000 0x1bf -1 -1 0x3 0x3");
    // Sections end with their terminator lines, in order.
    const auto rxEnd = std::find(lines.begin(), lines.end(), "0 0 0 0 0 0 0");
    ASSERT_NE(rxEnd, lines.end());
    EXPECT_EQ(rxEnd - lines.begin(), 3 + 4); // four receive ranges
    const auto txEnd = std::find(rxEnd + 1, lines.end(), "0 0 0 0 0 0 0");
    EXPECT_EQ(txEnd - rxEnd, 1 + 13);        // thirteen transmit bands
    EXPECT_EQ(*(rxEnd + 1), "1800000.000000 2000000.000000 0x1bf 5000 100000 0x3 0x3");
    EXPECT_EQ(lines.back(), "done");
    // The next command is answered as usual.
    EXPECT_EQ(Ask(c, "f"), std::to_string(radio().state().vfoA) + "\n");
}

// Another VFO's mode is set by receiving on it for a moment: the receive
// VFO's mode stays what the radio has everywhere (the answers, the console's
// mode label, a copy to the other VFO); the other VFO's mode is read from the
// radio, never taken from the receive VFO; the filter both VFOs share keeps
// its width; and nothing moves while the radio transmits.
TEST_F(Sharing, AnotherVfosModeLeavesTheReceiveVfoAsTheRadioHasIt) {
    LineClient c;
    ASSERT_TRUE(c.Connect(rigctlPort));
    // A fresh console: A receives USB, B is LSB.
    ASSERT_EQ(radio().state().modeB, 1);
    EXPECT_EQ(Ask(c, "x", 2), "LSB\n2400\n");
    EXPECT_EQ(Ask(c, "+\\get_vfo_info VFOB", 7),
              "get_vfo_info: VFOB\nFreq: 7050000\nMode: LSB\nWidth: 2400\nSplit: 0\nSatMode: 0\nRPRT 0\n");
    EXPECT_EQ(Ask(c, "+M CW 500", 2), "set_mode: CW 500\nRPRT 0\n");
    EXPECT_EQ(Ask(c, "+X USB 0", 2), "set_split_mode: USB 0\nRPRT 0\n");
    {
        const qxsim::State s = radio().state();
        EXPECT_EQ(s.modeA, 3);
        EXPECT_EQ(s.modeB, 2);
        EXPECT_EQ(s.rxVfo, 0);
        EXPECT_EQ(radio().value("FW"), 500);
    }
    EXPECT_EQ(Ask(c, "+m", 4), "get_mode:\nMode: CW\nPassband: 500\nRPRT 0\n");
    EXPECT_EQ(Ask(c, "x", 2), "USB\n500\n");
    EXPECT_TRUE(PumpUntil([&] { return Text(idc::MainMode).find("CW") != std::string::npos; }, 3s))
        << Text(idc::MainMode);
    // Another width for B would change A's filter: refused, nothing sent.
    radio().clearReceived();
    EXPECT_EQ(Ask(c, "+X USB 2400", 2), "set_split_mode: USB 2400\nRPRT -9\n");
    for (const char* code : {"FR", "MD", "FW"})
        EXPECT_EQ(radio().countOf(code), 0u) << code;
    EXPECT_EQ(Ask(c, "x", 2), "USB\n500\n");
    EXPECT_EQ(Ask(c, "X LSB 500"), "RPRT 0\n");
    EXPECT_EQ(radio().state().modeB, 1);
    // A = B copies A's mode.
    EXPECT_EQ(Ask(c, "G CPY"), "RPRT 0\n");
    EXPECT_EQ(radio().state().modeB, 3);
    EXPECT_EQ(radio().state().modeA, 3);
    // Transmitting: another VFO's mode is refused and the receive VFO stays.
    EXPECT_EQ(Ask(c, "X LSB 500"), "RPRT 0\n");
    EXPECT_EQ(Ask(c, "T 1"), "RPRT 0\n");
    radio().clearReceived();
    EXPECT_EQ(Ask(c, "X USB 0"), "RPRT -9\n");
    for (const char* code : {"FR", "MD"})
        EXPECT_EQ(radio().countOf(code), 0u) << code;
    EXPECT_EQ(radio().state().modeB, 1);
    EXPECT_EQ(radio().state().transmitting, 1);
    EXPECT_EQ(Ask(c, "T 0"), "RPRT 0\n");
}

TEST_F(Sharing, WhatTheOperatorChangesOnTheRadioIsWhatClientsReadWithoutAQuery) {
    LineClient c;
    ASSERT_TRUE(c.Connect(rigctlPort));
    radio().setFrequency(qxsim::Vfo::A, 21'074'000);
    radio().setMode(3);
    ASSERT_TRUE(PumpUntil([&] { return state().mode[0] == 3; }));
    radio().clearReceived();
    EXPECT_EQ(Ask(c, "f"), "21074000\n");
    EXPECT_EQ(Ask(c, "m", 2).rfind("CW\n", 0), 0u);
    EXPECT_EQ(Ask(c, "v"), "VFOA\n");
    EXPECT_EQ(Ask(c, "t"), "0\n");
    EXPECT_EQ(Ask(c, "s", 2), "0\nVFOA\n");
    EXPECT_EQ(Ask(c, "j"), "0\n");
    // Everything came from what the radio had reported.
    for (const char* query : {"FA", "MD", "FR", "FT", "IF", "FW"})
        EXPECT_EQ(radio().countOf(query), 0u) << query;
}

TEST_F(Sharing, RequestsWaitWhileTheConsoleRunsAnOperation) {
    LineClient c;
    ASSERT_TRUE(c.Connect(rigctlPort));
    radio().clearReceived();
    std::optional<zephyra::OperationGuard> guard(std::in_place, *console->connection());
    ASSERT_TRUE(c.Send("F 3573000\n"));
    display_test::PumpFor(300ms);
    EXPECT_EQ(radio().countOf("FA"), 0u) << "a request ran inside the operation guard";
    guard.reset();
    EXPECT_EQ(c.ReadLine(5s, Pump), "RPRT 0\n");
    EXPECT_EQ(radio().state().vfoA, 3'573'000);
    EXPECT_GE(sharing().Queue().Deferred(), 1u);
}

TEST_F(Sharing, AClientThatKeyedAndVanishedLeavesTheRadioReceiving) {
    {
        LineClient c;
        ASSERT_TRUE(c.Connect(rigctlPort));
        EXPECT_EQ(Ask(c, "T 1"), "RPRT 0\n");
        EXPECT_EQ(radio().state().transmitting, 1);
    } // the program crashed
    EXPECT_TRUE(PumpUntil([&] { return radio().state().transmitting == 0; }, 5s));
    EXPECT_TRUE(PumpUntil([&] { return state().transmitting[0] == 0; }, 3s));
}

TEST_F(Sharing, ARadioSwitchedOffAnswersNotAvailableUntilItIsBackOn) {
    LineClient c;
    ASSERT_TRUE(c.Connect(rigctlPort));
    EXPECT_EQ(Ask(c, "\\set_powerstat 0"), "RPRT 0\n");
    EXPECT_EQ(radio().state().power, 0);
    ASSERT_TRUE(PumpUntil([&] { return state().consoleReady == 0 && !console->OperationRunning(); }, 5s));
    EXPECT_EQ(Ask(c, "f"), "RPRT -11\n");
    EXPECT_EQ(Ask(c, "\\get_powerstat"), "0\n");
    EXPECT_EQ(Ask(c, "\\set_powerstat 1"), "RPRT 0\n");
    ASSERT_TRUE(PumpUntil([&] { return state().consoleReady == 1 && !console->OperationRunning(); }, 20s));
    EXPECT_EQ(Ask(c, "f"), std::to_string(radio().state().vfoA) + "\n");
}

// Python's own XML-RPC client calls every method; the script says what it
// checked and fails on the first wrong answer.
TEST_F(Sharing, PythonXmlRpcClientDrivesTheRadio) {
    QProcess python;
    python.setProcessChannelMode(QProcess::MergedChannels);
    python.start(QStringLiteral("python3"),
                 {QStringLiteral(ZEPHYRA_FLRIG_CLIENT), QString::number(flrigPort)});
    ASSERT_TRUE(python.waitForStarted(10000)) << "python3 is needed for this test";
    QByteArray output;
    ASSERT_TRUE(PumpUntil(
        [&] {
            output += python.readAll();
            return python.state() == QProcess::NotRunning;
        },
        60s))
        << output.toStdString();
    output += python.readAll();
    EXPECT_EQ(python.exitCode(), 0) << output.toStdString();
    EXPECT_NE(output.indexOf("all methods answered"), -1) << output.toStdString();
    // What the script left on the radio (its last settings).
    const qxsim::State s = radio().state();
    EXPECT_EQ(s.vfoA, 7'074'000);
    EXPECT_EQ(s.vfoB, 7'076'000);
    EXPECT_EQ(s.modeA, 2);
    EXPECT_EQ(s.transmitting, 0);
    EXPECT_EQ(radio().value("PC"), 40);
    EXPECT_TRUE(PumpUntil([&] { return DigitsOf(Shown(false)) == "7074000"; }, 3s)) << Shown(false);
}

// ---------------------------------------------------------------- the menu and the status

TEST_F(Sharing, MenuSwitchesAServerOffAndOnAndKeepsItInTheProfile) {
    QAction* item = console->menuAction(cmd::ShareRigctl);
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->isChecked());
    EXPECT_NE(item->text().indexOf(QStringLiteral("127.0.0.1:%1, 0 clients").arg(rigctlPort)), -1)
        << item->text().toStdString();
    LineClient c;
    ASSERT_TRUE(c.Connect(rigctlPort));
    EXPECT_TRUE(PumpUntil([&] { return item->text().contains(QStringLiteral("1 client")); }));
    console->OnCommand(cmd::ShareRigctl);
    EXPECT_FALSE(item->isChecked());
    EXPECT_TRUE(item->text().endsWith(QStringLiteral("\toff"))) << item->text().toStdString();
    EXPECT_TRUE(c.WaitClosed(3s, Pump));
    EXPECT_EQ(platform::GetProfileInt(QStringLiteral("Sharing"), QStringLiteral("RigctlOn"), -1), 0);
    EXPECT_FALSE(zephyra::RadioSharing::LoadSettings().rigctl.enabled);
    console->OnCommand(cmd::ShareRigctl);
    EXPECT_TRUE(item->isChecked());
    EXPECT_EQ(platform::GetProfileInt(QStringLiteral("Sharing"), QStringLiteral("RigctlOn"), -1), 1);
    const auto saved = zephyra::RadioSharing::LoadSettings();
    EXPECT_TRUE(saved.rigctl.enabled);
    EXPECT_EQ(saved.rigctl.address, QHostAddress(QHostAddress::LocalHost));
}

TEST_F(Sharing, APortInUseIsShownAndTheRestGoesOn) {
    auto dialogs = std::make_shared<platform::ScriptedDialogs>();
    platform::SetDialogProvider(dialogs);
    QTcpServer squatter;
    ASSERT_TRUE(squatter.listen(QHostAddress::LocalHost, 0));
    auto s = sharing().Current();
    s.rigctl.enabled = false;
    s.rigctl.port = squatter.serverPort();
    sharing().Apply(s, false);
    console->OnCommand(cmd::ShareRigctl); // on, from the menu
    const QString expected = QStringLiteral("Port 127.0.0.1:%1 is already in use").arg(squatter.serverPort());
    EXPECT_NE(console->menuAction(cmd::ShareRigctl)->text().indexOf(expected), -1)
        << console->menuAction(cmd::ShareRigctl)->text().toStdString();
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text, expected);
    platform::SetDialogProvider(nullptr);
    // The other server and the console carry on.
    EXPECT_TRUE(sharing().Status(Server::Flrig).listening);
    radio().setFrequency(qxsim::Vfo::A, 10'136'000);
    EXPECT_TRUE(PumpUntil([&] { return DigitsOf(Shown(false)) == "10136000"; }));
}

// The setup panel's OK: the console takes over the switches and ports the
// profile holds now, and the menu follows.
TEST_F(Sharing, SetupPanelOkSwitchesTheServersAsTheProfileSays) {
    auto s = sharing().Current();
    s.rigctl.enabled = false;
    sharing().Apply(s, false);
    quint16 port = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        port = probe.serverPort();
    }
    const QString section = QStringLiteral("Sharing");
    platform::WriteProfileInt(section, QStringLiteral("RigctlOn"), 1);
    platform::WriteProfileInt(section, QStringLiteral("RigctlPort"), port);
    platform::WriteProfileInt(section, QStringLiteral("FlrigOn"), 0);
    ASSERT_FALSE(sharing().Status(Server::Rigctl).listening);
    platform::PostMessage(console.get(), pandor::kUmSetupSaved);
    ASSERT_TRUE(PumpUntil([&] { return sharing().Status(Server::Rigctl).listening; }));
    EXPECT_EQ(sharing().Status(Server::Rigctl).port, port);
    EXPECT_FALSE(sharing().Status(Server::Flrig).listening);
    EXPECT_TRUE(console->menuAction(cmd::ShareRigctl)->isChecked());
    EXPECT_FALSE(console->menuAction(cmd::ShareFlrig)->isChecked());
    LineClient c;
    ASSERT_TRUE(c.Connect(port));
    EXPECT_EQ(Ask(c, "f"), std::to_string(radio().state().vfoA) + "\n");
}

// The Control menu as the operator sees it (drawn to ZEPHYRA_RENDER_DIR when set).
TEST_F(Sharing, ControlMenuShowsEachServersAddressAndClients) {
    LineClient c;
    ASSERT_TRUE(c.Connect(rigctlPort));
    ASSERT_TRUE(PumpUntil([&] { return sharing().Status(Server::Rigctl).clients == 1; }));
    QMenu* control = console->menuHolding(cmd::ShareRigctl);
    ASSERT_NE(control, nullptr);
    QStringList texts;
    for (QAction* a : control->actions())
        texts << a->text();
    EXPECT_TRUE(texts.contains(QStringLiteral("Share: rigctld (&N)\t127.0.0.1:%1, 1 client").arg(rigctlPort)))
        << texts.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("Share: flrig (&X)\t127.0.0.1:%1, 0 clients").arg(flrigPort)))
        << texts.join(QLatin1Char('|')).toStdString();
    control->popup(QPoint(0, 0));
    PumpUntil([&] { return control->isVisible(); });
    const QImage picture = control->grab().toImage();
    EXPECT_GT(picture.width(), 200);
    if (const QByteArray dir = qgetenv("ZEPHYRA_RENDER_DIR"); !dir.isEmpty())
        picture.save(QString::fromLocal8Bit(dir) + QStringLiteral("/control_menu.png"));
    control->hide();
}

TEST(SharingSettings, DamagedProfileValuesGiveTheDefaults) {
    platform::WriteProfileString(QStringLiteral("Sharing"), QStringLiteral("RigctlAddress"), QStringLiteral("not an address"));
    platform::WriteProfileString(QStringLiteral("Sharing"), QStringLiteral("RigctlPort"), QStringLiteral("99999"));
    platform::WriteProfileString(QStringLiteral("Sharing"), QStringLiteral("FlrigOn"), QStringLiteral("yes"));
    platform::WriteProfileString(QStringLiteral("Sharing"), QStringLiteral("PttSilenceSeconds"), QStringLiteral("-4"));
    platform::WriteProfileString(QStringLiteral("Sharing"), QStringLiteral("AllowedClients"),
                                 QStringLiteral("127.0.0.1, bogus ::1"));
    const auto s = zephyra::RadioSharing::LoadSettings();
    EXPECT_EQ(s.rigctl.address, QHostAddress(QHostAddress::LocalHost));
    EXPECT_EQ(s.rigctl.port, 4532);
    EXPECT_FALSE(s.flrig.enabled);
    EXPECT_EQ(s.flrig.port, 12345);
    EXPECT_EQ(s.rigctl.pttSilenceSeconds, 30);
    EXPECT_EQ(s.rigctl.allowed.size(), 2);
}

} // namespace
