// SPDX-License-Identifier: GPL-3.0-or-later
// reply_table_test.cpp - the console's side of the notifications: which
// replies keep the radio alive, which exports each reply reaches in which
// order and under which conditions, and what the secondary windows' own
// messages do to the console.
#include "display_fixture.h"

#include "console_menu.h"
#include "display/reply_table.h"

#include <corvan.h>
#include <platform.h>

#include <QAction>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using display_test::PumpFor;
using display_test::PumpUntil;
using u32 = std::uint32_t;

std::string Args(std::initializer_list<long long> values) {
    std::string out;
    for (const long long v : values)
        out += " " + std::to_string(v);
    return out;
}

// Records every call the console makes to a secondary window, as its name
// and its numbers ("PandorMsgDC 1 0").
class RecordingWindows final : public zephyra::SecondaryWindows {
public:
#define RECORD0(Name) \
    void Name() override { calls.push_back(#Name); }
#define RECORD1(Name) \
    void Name(u32 a) override { calls.push_back(#Name + Args({a})); }
#define RECORD2(Name) \
    void Name(u32 a, u32 b) override { calls.push_back(#Name + Args({a, b})); }
#define RECORDEX(Name) \
    void Name(u32 m, u32 s, u32 a, u32 b, const char* t) override { \
        calls.push_back(#Name + Args({m, s, a, b}) + " " + (t ? t : "")); \
    }
    RECORD1(PandorView) RECORD0(PandorDestroy) RECORD0(RadioAgcView) RECORD0(RadioAgcDestroy)
    RECORD0(RadioMchView) RECORD0(RadioMchDestroy) RECORD0(RadioSmnView) RECORD0(RadioSmnDestroy)
    RECORD0(RadioMgrView) RECORD0(RadioMgrDestroy) RECORD0(RadioSgrView) RECORD0(RadioSgrDestroy)
    RECORD0(QuorelView) RECORD0(QuorelDestroy) RECORD1(PandorFreqChg) RECORD1(RadioAgcMsgMD)
    RECORD1(PandorMsgAL) RECORD1(PandorMsgCG) RECORD1(PandorMsgCN) RECORD2(PandorMsgDC)
    RECORDEX(PandorMsgEX) RECORD1(PandorMsgGT) RECORD1(PandorMsgID) RECORD1(PandorMsgKS)
    RECORD1(PandorMsgMD) RECORD1(PandorMsgMG) RECORD1(PandorMsgML) RECORD1(PandorMsgNL)
    RECORD1(PandorMsgNR) RECORD1(PandorMsgOF) RECORD1(PandorMsgPC) RECORD2(PandorMsgPL)
    RECORD1(PandorMsgPS) RECORD1(PandorMsgQC) RECORD1(PandorMsgRL) RECORD1(PandorMsgSD)
    RECORD1(PandorMsgTN) RECORD1(PandorMsgVD) RECORD1(PandorMsgVG)
    RECORD0(RadioEqsView) RECORD0(RadioEqsDestroy) RECORD0(RadioEqgView) RECORD0(RadioEqgDestroy)
    RECORD0(GlimraView) RECORD0(GlimraDestroy) RECORD0(GlimraScanStop) RECORD2(GlimraMsgDC)
    RECORDEX(GlimraMsgEX) RECORD1(GlimraMsgFR) RECORD1(GlimraMsgSC) RECORD1(GlimraMsgTX)
    RECORD1(GlimraMsgRX) RECORD1(DunmarView) RECORD0(DunmarDestroy) RECORD2(DunmarMsgDC)
    RECORD1(DunmarMsgFW) RECORD1(DunmarMsgMD) RECORD1(DunmarMsgSH) RECORD1(DunmarMsgSL)
    RECORD1(DunmarMsgPFil) RECORD0(OrlintDestroy) RECORD1(OrlintSetScrollLock) RECORD1(OrlintMsgCM)
    RECORDEX(OrlintMsgEX) RECORD1(OrlintMsgMF) RECORD1(OrlintMsgRX) RECORD1(OrlintMsgSC)
    RECORD1(OrlintMsgTC) RECORD1(OrlintMsgTX) RECORD0(PimbelView) RECORD0(PimbelDestroy)
    RECORD1(PimbelMsgKY) RECORD1(PimbelMsgPS) RECORD1(SolvikView) RECORD0(SolvikDestroy)
    RECORD1(SolvikMsgTC) RECORD0(TrevanView) RECORD0(TrevanDestroy) RECORD1(YarrelView)
    RECORD0(YarrelDestroy)
#undef RECORD0
#undef RECORD1
#undef RECORD2
#undef RECORDEX
    void DunmarMsgIS(const char* sign, u32 v) override {
        calls.push_back(std::string("DunmarMsgIS ") + sign + Args({v}));
    }
    void PandorMsgMU(const u32 (&g)[10]) override {
        calls.push_back("PandorMsgMU" + Args({g[0], g[1], g[9]}));
    }
    void PandorMsgSU(const u32 (&v)[11]) override {
        calls.push_back("PandorMsgSU" + Args({v[0], v[1], v[10]}));
    }
    void PandorSetSmn(const char* name) override { calls.push_back(std::string("PandorSetSmn ") + name); }
    void PandorGetSmn(char* buffer) override { std::snprintf(buffer, 10, "%s", smn.c_str()); }
    void PandorGetMemVal(zephyra::MemoryValues& v) override {
        calls.push_back("PandorGetMemVal");
        v = memory;
    }
    void SolvikRXData(const char* text) override { calls.push_back(std::string("SolvikRXData ") + text); }
    int OrlintView() override {
        calls.push_back("OrlintView");
        return orlintOpens ? 1 : 0;
    }
    void OrlintSetZulParams(u32 z, u32 r, u32 m) override {
        calls.push_back("OrlintSetZulParams" + Args({z, r, m}));
    }
    bool orlintOpens = true;

    // The calls whose names start with one of `names`, in order.
    std::vector<std::string> Of(const std::vector<std::string>& names) const {
        std::vector<std::string> out;
        for (const std::string& call : calls)
            for (const std::string& name : names)
                if (call.rfind(name + " ", 0) == 0 || call == name)
                    out.push_back(call);
        return out;
    }

    std::vector<std::string> calls;
    std::string smn;
    zephyra::MemoryValues memory;
};

class ReplyTableTest : public display_test::DisplayTest {
protected:
    void TearDown() override {
        
        QObject::disconnect(console->connection(), nullptr, &receivers, nullptr);
        display_test::DisplayTest::TearDown();
    }
    void SetUp() override { StartWithWindows(windows); }
    RecordingWindows* windows = nullptr;
    // The context of the tests' signal connections: it goes (and takes
    // them with it) before the console is torn down.
    QObject receivers;
};

std::string Joined(const std::vector<std::string>& calls) {
    std::string out;
    for (const std::string& c : calls)
        out += "[" + c + "]";
    return out;
}

// ------------------------------------------------------- keeping alive

// Every notification the console has a row for proves the radio alive;
// the twelve without one (BD, BU, CI, DN, MW, RC, SR, TD, UP, UR, UT, VR)
// do not, and nothing else is handled.
TEST_F(ReplyTableTest, EveryRowAndOnlyARowKeepsTheWatchdogQuiet) {
    const std::vector<std::string> ignored = {"BD", "BU", "CI", "DN", "MW", "RC",
                                              "SR", "TD", "UP", "UR", "UT", "VR"};
    int rows = 0;
    for (unsigned message = corvan::kFirstMessage; message <= corvan::kLastMessage; ++message) {
        const char* code = corvan::MessageCode(message);
        if (code == nullptr)
            continue;
        const bool expectRow = std::find(ignored.begin(), ignored.end(), code) == ignored.end();
        EXPECT_EQ(HasReplyRow(message), expectRow) << code;
        state().noReplyCount = 3;
        console->connection()->HandleMessage(message, 0, 0);
        EXPECT_EQ(state().noReplyCount, expectRow ? 0 : 3) << code;
        rows += expectRow ? 1 : 0;
    }
    EXPECT_EQ(rows, 93); // 104 codes and the direct text, less the twelve
}

// ------------------------------------------------------------ fan-out

struct FanOutRow {
    const char* name;
    const char* code;
    std::vector<long long> values;
    std::function<void(ConsoleState&)> set; // the console's state before
    std::vector<std::string> watched;       // the exports the row may reach
    std::vector<std::string> expected;      // what it reaches, in order
    // How the radio comes to report it, when not by a panel value: a set
    // command the radio echoes.
    std::function<void(CCorvan&)> act = {};
};

void PrintTo(const FanOutRow& row, std::ostream* out) { *out << row.name; }

class FanOut : public ReplyTableTest, public ::testing::WithParamInterface<FanOutRow> {};

TEST_P(FanOut, ReachesTheExportsInOrder) {
    Connect();
    const FanOutRow& row = GetParam();
    if (row.set)
        row.set(state());
    windows->calls.clear();
    if (row.act)
        row.act(*console->link());
    else
        radio().setValue(row.code, row.values);
    PumpUntil([&] { return windows->Of(row.watched).size() >= row.expected.size(); },
              std::chrono::seconds(2));
    PumpFor(std::chrono::milliseconds(50));
    EXPECT_EQ(Joined(windows->Of(row.watched)), Joined(row.expected));
}

void SameBands(ConsoleState& s) { s.controlBand = s.transmitBand = 0; }
void OtherBands(ConsoleState& s) {
    s.controlBand = 1;
    s.transmitBand = 0;
}
void SatelliteSameBands(ConsoleState& s) {
    SameBands(s);
    s.satelliteMode = 1;
}

const std::vector<std::string> kMdExports = {"RadioAgcMsgMD", "PandorMsgMD", "DunmarMsgMD"};
const std::vector<std::string> kExExports = {"OrlintMsgEX", "PandorMsgEX", "GlimraMsgEX"};

INSTANTIATE_TEST_SUITE_P(
    Replies, FanOut,
    ::testing::Values(
        FanOutRow{"AL", "AL", {5}, {}, {"PandorMsgAL"}, {"PandorMsgAL 5"}},
        FanOutRow{"CG", "CG", {12}, {}, {"PandorMsgCG"}, {"PandorMsgCG 12"}},
        FanOutRow{"CN", "CN", {7}, {}, {"PandorMsgCN"}, {"PandorMsgCN 7"}},
        FanOutRow{"KS", "KS", {20}, {}, {"PandorMsgKS"}, {"PandorMsgKS 20"}},
        FanOutRow{"KY", "KY", {0}, {}, {"PimbelMsgKY"}, {"PimbelMsgKY 0"}},
        FanOutRow{"MG", "MG", {3}, {}, {"PandorMsgMG"}, {"PandorMsgMG 3"}},
        FanOutRow{"ML", "ML", {2}, {}, {"PandorMsgML"}, {"PandorMsgML 2"}},
        FanOutRow{"NL", "NL", {4}, {}, {"PandorMsgNL"}, {"PandorMsgNL 4"}},
        FanOutRow{"PC", "PC", {50}, {}, {"PandorMsgPC"}, {"PandorMsgPC 50"}},
        FanOutRow{"QC", "QC", {23}, {}, {"PandorMsgQC"}, {"PandorMsgQC 23"}},
        FanOutRow{"RL", "RL", {3}, {}, {"PandorMsgRL"}, {"PandorMsgRL 3"}},
        FanOutRow{"SD", "SD", {300}, {}, {"PandorMsgSD"}, {"PandorMsgSD 300"}},
        FanOutRow{"SH", "SH", {5}, {}, {"DunmarMsgSH"}, {"DunmarMsgSH 5"}},
        FanOutRow{"SL", "SL", {3}, {}, {"DunmarMsgSL"}, {"DunmarMsgSL 3"}},
        FanOutRow{"TN", "TN", {8}, {}, {"PandorMsgTN"}, {"PandorMsgTN 8"}},
        FanOutRow{"VD", "VD", {500}, {}, {"PandorMsgVD"}, {"PandorMsgVD 500"}},
        FanOutRow{"VG", "VG", {3}, {}, {"PandorMsgVG"}, {"PandorMsgVG 3"}},
        FanOutRow{"GT", "GT", {2}, {}, {"PandorMsgGT"}, {"PandorMsgGT 2"}},
        FanOutRow{"NR", "NR", {1}, {}, {"PandorMsgNR"}, {"PandorMsgNR 1"}},
        FanOutRow{"OF", "OF", {600000}, {}, {"PandorMsgOF"}, {"PandorMsgOF 600000"}},
        FanOutRow{"FW", "FW", {0}, {}, {"DunmarMsgFW"}, {"DunmarMsgFW 0"}},
        FanOutRow{"PL", "PL", {2, 3}, {}, {"PandorMsgPL"}, {"PandorMsgPL 2 3"}},
        FanOutRow{"DC in the panels' order",
                  "DC",
                  {1, 0},
                  {},
                  {"DunmarMsgDC", "PandorMsgDC", "GlimraMsgDC"},
                  {"DunmarMsgDC 1 0", "PandorMsgDC 1 0", "GlimraMsgDC 1 0"},
                  [](CCorvan& c) { c.ConnDC("W", 1, 0); }},
        FanOutRow{"SC to the menu window, then the visual scan",
                  "SC",
                  {2},
                  {},
                  {"OrlintMsgSC", "GlimraMsgSC"},
                  {"OrlintMsgSC 2", "GlimraMsgSC 2"},
                  [](CCorvan& c) { c.ConnSC("W", 2); }},
        FanOutRow{"CM to the menu and packet-cluster windows",
                  "CM",
                  {1},
                  {},
                  {"OrlintMsgCM", "YarrelView"},
                  {"OrlintMsgCM 1", "YarrelView 1"}},
        FanOutRow{"MD with the control band transmitting",
                  "MD",
                  {3},
                  &SameBands,
                  kMdExports,
                  {"RadioAgcMsgMD 3", "PandorMsgMD 3", "DunmarMsgMD 3"},
                  [](CCorvan& c) { c.ConnMD("W", 3); }},
        FanOutRow{"MD on another band than the transmit band",
                  "MD",
                  {3},
                  &OtherBands,
                  kMdExports,
                  {"RadioAgcMsgMD 3", "DunmarMsgMD 3"},
                  [](CCorvan& c) { c.ConnMD("W", 3); }},
        FanOutRow{"MD in satellite mode",
                  "MD",
                  {3},
                  &SatelliteSameBands,
                  kMdExports,
                  {"RadioAgcMsgMD 3", "PandorMsgMD 3"},
                  [](CCorvan& c) { c.ConnMD("W", 3); }},
        FanOutRow{"IS with its sign", "IS", {}, {}, {"DunmarMsgIS"}, {"DunmarMsgIS   500"},
                  [](CCorvan& c) { c.ConnIS("W", " ", 500); }},
        FanOutRow{"MU", "MU", {1, 0, 0, 0, 0, 0, 0, 0, 0, 1}, {}, {"PandorMsgMU"}, {"PandorMsgMU 1 0 1"}},
        FanOutRow{"PS to the keyer and the panels",
                  "PS",
                  {1},
                  {},
                  {"PimbelMsgPS", "PandorMsgPS"},
                  {"PimbelMsgPS 1", "PandorMsgPS 1"}}));

// EX: every item to the menu window and the visual scan, menu 23 also to
// the panels, in that order.
TEST_F(ReplyTableTest, ExtendedMenuRepliesReachThePanelsOnlyForMenu23) {
    Connect();
    windows->calls.clear();
    // One at a time: the link keeps the last value of a code.
    radio().setMenu(23, 0, 0, 0, "2");
    ASSERT_TRUE(PumpUntil([&] { return windows->Of({"GlimraMsgEX"}).size() >= 1; }));
    radio().setMenu(24, 0, 0, 0, "1");
    ASSERT_TRUE(PumpUntil([&] { return windows->Of({"GlimraMsgEX"}).size() >= 2; }));
    EXPECT_EQ(Joined(windows->Of(kExExports)),
              Joined({"OrlintMsgEX 23 0 0 0 2", "PandorMsgEX 23 0 0 0 2", "GlimraMsgEX 23 0 0 0 2",
                      "OrlintMsgEX 24 0 0 0 1", "GlimraMsgEX 24 0 0 0 1"}));
}

// TX and RX reach the menu window and the visual scan with the band.
TEST_F(ReplyTableTest, TransmitAndReceiveReachTheMenuWindowAndTheVisualScan) {
    Connect();
    windows->calls.clear();
    radio().transmit(true);
    ASSERT_TRUE(PumpUntil([&] { return !windows->Of({"GlimraMsgTX"}).empty(); }));
    radio().transmit(false);
    ASSERT_TRUE(PumpUntil([&] { return !windows->Of({"GlimraMsgRX"}).empty(); }));
    EXPECT_EQ(Joined(windows->Of({"OrlintMsgTX", "GlimraMsgTX", "OrlintMsgRX", "GlimraMsgRX"})),
              Joined({"OrlintMsgTX 0", "GlimraMsgTX 0", "OrlintMsgRX 0", "GlimraMsgRX 0"}));
}

// --------------------------------------------- the windows' messages

TEST_F(ReplyTableTest, MemoryEditEndStoresTheEditedChannelOnlyOnOk) {
    windows->memory.rxFrequency = 145500000;
    windows->memory.txFrequency = 145100000;
    windows->memory.rxMode = 4;
    windows->memory.txMode = 4;
    windows->memory.group = 3;
    std::snprintf(windows->memory.name, sizeof windows->memory.name, "%s", "RPT1");
    state().panelOpen = 1;
    platform::PostMessage(console.get(), platform::kUmMemoryEditEnd, 0);
    PumpFor(std::chrono::milliseconds(20));
    EXPECT_EQ(Joined(windows->Of({"PandorGetMemVal", "RadioMchDestroy"})), "[RadioMchDestroy]");
    EXPECT_EQ(state().panelOpen, 0);
    EXPECT_EQ(state().record[0].rxFrequency, "");

    windows->calls.clear();
    state().panelOpen = 1;
    platform::PostMessage(console.get(), platform::kUmMemoryEditEnd, 1);
    PumpFor(std::chrono::milliseconds(20));
    EXPECT_EQ(Joined(windows->Of({"PandorGetMemVal", "RadioMchDestroy"})),
              "[PandorGetMemVal][RadioMchDestroy]");
    EXPECT_EQ(state().panelOpen, 0);
    const zephyra::MemoryRecord& record = state().record[0];
    EXPECT_EQ(record.rxFrequency, "00145500000");
    EXPECT_EQ(record.txFrequency, "00145100000");
    EXPECT_EQ(record.rxMode, 4);
    EXPECT_EQ(record.group, 3);
    EXPECT_EQ(record.name, "RPT1");
}

struct SubModeRow {
    int rxMode, txMode;     // what the editor gives
    int keptRx, keptTx;     // what the sub band's record then holds (was 5 and 5)
};

class SubBandModes : public ReplyTableTest, public ::testing::WithParamInterface<SubModeRow> {};

// The sub receiver keeps only FM and AM: an edit with another receive mode is
// refused whole (the record keeps 5 and 5), never half taken. Without a
// transmit half the transmit mode is the editor's, since it is never written.
TEST_P(SubBandModes, KeepOnlyTheModesTheSubReceiverWorks) {
    state().controlBand = 1;
    state().record[1].rxMode = 5;
    state().record[1].txMode = 5;
    windows->memory.rxMode = static_cast<u32>(GetParam().rxMode);
    windows->memory.txMode = static_cast<u32>(GetParam().txMode);
    auto dialogs = std::make_shared<platform::ScriptedDialogs>();
    platform::SetDialogProvider(dialogs);
    platform::PostMessage(console.get(), platform::kUmMemoryEditEnd, 1);
    PumpFor(std::chrono::milliseconds(20));
    platform::SetDialogProvider(nullptr);
    // A refused edit is said.
    EXPECT_EQ(dialogs->messages.size(), GetParam().keptRx == GetParam().rxMode ? 0u : 1u);
    EXPECT_EQ(state().record[1].rxMode, GetParam().keptRx);
    EXPECT_EQ(state().record[1].txMode, GetParam().keptTx);
    EXPECT_EQ(state().record[0].rxMode, 0); // the main band's record untouched
}

INSTANTIATE_TEST_SUITE_P(Editor, SubBandModes,
                         ::testing::Values(SubModeRow{4, 4, 4, 4}, SubModeRow{2, 2, 5, 5},
                                           SubModeRow{4, 1, 4, 1}, SubModeRow{0, 1, 5, 5},
                                           SubModeRow{1, 5, 5, 5}));

TEST_F(ReplyTableTest, SatelliteNameEndCopiesTheNameOnlyOnOk) {
    windows->smn = "ISS";
    state().satelliteName = "OLD";
    state().panelOpen = 1;
    platform::PostMessage(console.get(), platform::kUmSatNameEnd, 0);
    PumpFor(std::chrono::milliseconds(20));
    EXPECT_EQ(state().satelliteName, "OLD");
    EXPECT_EQ(state().panelOpen, 0);
    platform::PostMessage(console.get(), platform::kUmSatNameEnd, 1);
    PumpFor(std::chrono::milliseconds(20));
    EXPECT_EQ(state().satelliteName, "ISS");
    EXPECT_EQ(windows->Of({"RadioSmnDestroy"}).size(), 2u);
}

TEST_F(ReplyTableTest, VisualScanClosedDestroysItsWindow) {
    platform::PostMessage(console.get(), platform::kUmVscanClosed, 0);
    PumpFor(std::chrono::milliseconds(20));
    EXPECT_EQ(Joined(windows->Of({"GlimraDestroy"})), "[GlimraDestroy]");
}

// A reset of the VFOs closes every window and reads every setting again.
TEST_F(ReplyTableTest, RadioResetOfTheVfosReadsEverythingAgain) {
    Connect();
    console->connection()->SetTiming({0.05});
    int reads = 0;
    QObject::connect(console->connection(), &zephyra::ConsoleLink::settingsReadStarted, &receivers, [&] { ++reads; });
    windows->calls.clear();
    platform::PostMessage(console.get(), platform::kUmRadioReset, 1);
    ASSERT_TRUE(PumpUntil([&] { return reads == 1 && !console->OperationRunning(); }, std::chrono::seconds(10)));
    std::vector<std::string> destroys;
    for (const zephyra::DestroyCall& call : zephyra::kDestroyOrder)
        destroys.push_back(call.name);
    EXPECT_EQ(Joined(windows->Of(destroys)), Joined(destroys));
    EXPECT_TRUE(state().consoleReady);
}

// A full reset clears the transverter offsets and quick-memory texts; at
// 9600 baud the console reads again on the same connection.
TEST_F(ReplyTableTest, FullResetAt9600ClearsTheProfileAndReadsAgain) {
    const QString setting = QStringLiteral("Setting");
    platform::WriteProfileString(setting, QStringLiteral("TransFreqMain"), QStringLiteral("00100000000"));
    platform::WriteProfileString(QStringLiteral("KeyMem"), QStringLiteral("Mem3"), QStringLiteral("CQ"));
    platform::WriteProfileInt(setting, QStringLiteral("Baud"), 9600);
    Connect();
    console->connection()->SetTiming({0.02});
    int reads = 0, connects = 0;
    QObject::connect(console->connection(), &zephyra::ConsoleLink::settingsReadStarted, &receivers, [&] { ++reads; });
    QObject::connect(console->connection(), &zephyra::ConsoleLink::connectionChanged, &receivers, [&](bool on) { connects += on ? 1 : 0; });
    platform::PostMessage(console.get(), platform::kUmRadioReset, 2);
    ASSERT_TRUE(PumpUntil([&] { return reads == 1 && !console->OperationRunning(); }, std::chrono::seconds(10)));
    EXPECT_EQ(connects, 0);
    EXPECT_EQ(platform::GetProfileString(setting, QStringLiteral("TransFreqMain"), {}), QStringLiteral("00000000000"));
    EXPECT_EQ(platform::GetProfileString(setting, QStringLiteral("TransFreqUp"), {}), QStringLiteral("00000000000"));
    EXPECT_EQ(platform::GetProfileString(QStringLiteral("KeyMem"), QStringLiteral("Mem3"), QStringLiteral("x")), QString());
}

// At 4800 baud the radio comes back at 9600 after a full reset: the console
// reconnects there and keeps that rate in the profile.
TEST_F(ReplyTableTest, FullResetAt4800ReconnectsAt9600) {
    const QString setting = QStringLiteral("Setting");
    platform::WriteProfileInt(setting, QStringLiteral("Baud"), 4800);
    qxsim::Options at4800;
    at4800.baud = 4800;
    console->connection()->Simulator().SetOptions(at4800);
    Connect();
    ASSERT_EQ(state().baudRate, 4800);
    console->connection()->SetTiming({0.02});
    // The set-up panel's full reset: the radio is back at 9600.
    console->link()->ConnSR(2);
    ASSERT_TRUE(radio().waitFor("SR", std::chrono::seconds(2)));
    int connects = 0;
    QObject::connect(console->connection(), &zephyra::ConsoleLink::connectionChanged, &receivers, [&](bool on) { connects += on ? 1 : 0; });
    platform::PostMessage(console.get(), platform::kUmRadioReset, 2);
    ASSERT_TRUE(PumpUntil([&] { return connects == 1 && state().consoleReady && !console->OperationRunning(); },
                          std::chrono::seconds(10)));
    EXPECT_EQ(platform::GetProfileInt(setting, QStringLiteral("Baud"), 0), 9600);
    EXPECT_EQ(state().baudRate, 9600);
    EXPECT_TRUE(state().connected);
}

// An outside window's link restart: the terminal stopped, terminal mode on
// and off, then a new connection.
TEST_F(ReplyTableTest, LinkRestartStopsTheTerminalAndReconnects) {
    Connect();
    console->connection()->SetTiming({0.05});
    int connects = 0;
    QObject::connect(console->connection(), &zephyra::ConsoleLink::connectionChanged, &receivers, [&](bool on) { connects += on ? 1 : 0; });
    radio().clearReceived();
    windows->calls.clear();
    platform::PostMessage(console.get(), platform::kUmLinkRestart, 0);
    ASSERT_TRUE(PumpUntil([&] { return connects >= 1 && state().consoleReady && !console->OperationRunning(); },
                          std::chrono::seconds(10)))
        << connects << " " << state().connected << state().consoleReady << state().tncMode;
    std::vector<std::string> wire;
    for (const qxsim::Received& r : radio().received())
        if (!r.text.empty())
            wire.push_back(r.text);
    const auto at = [&](const std::string& text) {
        return std::find(wire.begin(), wire.end(), text) - wire.begin();
    };
    const auto end = static_cast<std::ptrdiff_t>(wire.size());
    ASSERT_LT(at("TC 0"), end) << Joined(wire).substr(0, 600);
    EXPECT_LT(at("TC 0"), at("TC 1"));
    EXPECT_LT(at("TC 1"), at("AI0"));
    EXPECT_LT(at("AI0"), at("ID"));
    EXPECT_EQ(windows->Of({"OrlintMsgTC"}).front(), "OrlintMsgTC 1");
}

// ------------------------------------------------------ window hosting

struct HostingRow {
    const char* name;
    int command;
    std::function<void(ConsoleState&)> set;
    std::vector<std::string> expected; // every window call, in order
};

void PrintTo(const HostingRow& row, std::ostream* out) { *out << row.name; }

class Hosting : public ReplyTableTest, public ::testing::WithParamInterface<HostingRow> {};

// The console's commands open their windows only when the console lets
// them; the state comes from the connected radio, then the row's changes.
TEST_P(Hosting, OpensTheWindowOnlyWhenAllowed) {
    Connect();
    windows->calls.clear();
    GetParam().set(state());
    console->OnCommand(GetParam().command);
    EXPECT_EQ(Joined(windows->calls), Joined(GetParam().expected));
}

void Ready(ConsoleState&) {}

INSTANTIATE_TEST_SUITE_P(
    Windows, Hosting,
    ::testing::Values(
        HostingRow{"Multi with the transmit band's mode", cmd::RadioMulti,
                   [](ConsoleState& s) {
                       s.transmitBand = 1;
                       s.mode = {2, 4};
                   },
                   {"PandorView 4"}},
        HostingRow{"Multi while the radio is off", cmd::RadioMulti,
                   [](ConsoleState& s) { s.consoleReady = 0; }, {}},
        HostingRow{"AGC on identity 19", cmd::RadioAgc, &Ready, {"RadioAgcView"}},
        HostingRow{"AGC on identity 18", cmd::RadioAgc,
                   [](ConsoleState& s) { s.radioIdentification = 18; }, {}},
        HostingRow{"memory groups on identity 19", cmd::MemoryGroup, &Ready, {"RadioMgrView"}},
        HostingRow{"memory groups on identity 18", cmd::MemoryGroup,
                   [](ConsoleState& s) { s.radioIdentification = 18; }, {}},
        HostingRow{"scan groups", cmd::ScanGroup, &Ready, {"RadioSgrView"}},
        HostingRow{"setup", cmd::Setup, &Ready, {"QuorelView"}},
        HostingRow{"equaliser design", cmd::AudioEditorDesign, &Ready, {"RadioEqsView"}},
        HostingRow{"equaliser samples", cmd::AudioEditorSamples, &Ready, {"RadioEqgView"}},
        HostingRow{"keyer", cmd::Keying, &Ready, {"PimbelView"}},
        HostingRow{"auto-mode frequencies", cmd::AutoModeFreq, &Ready, {"TrevanView"}},
        HostingRow{"visual scan", cmd::VisualScan, &Ready, {"GlimraView"}},
        HostingRow{"visual scan in satellite mode", cmd::VisualScan,
                   [](ConsoleState& s) { s.satelliteMode = 1; }, {}},
        HostingRow{"visual scan while transmitting on sub", cmd::VisualScan,
                   [](ConsoleState& s) { s.transmitting[1] = 1; }, {}},
        HostingRow{"visual scan in repeater mode", cmd::VisualScan,
                   [](ConsoleState& s) { s.repeaterValue = 1; }, {}},
        HostingRow{"visual scan in terminal mode", cmd::VisualScan,
                   [](ConsoleState& s) { s.tncMode = 1; }, {}},
        HostingRow{"filter with its preset", cmd::RxFilter,
                   [](ConsoleState& s) { s.filterNumber = 2; }, {"DunmarView 2"}},
        HostingRow{"filter in ZUL command state", cmd::RxFilter,
                   [](ConsoleState& s) { s.zulState = 2; }, {}},
        HostingRow{"filter in satellite mode on the transmit band", cmd::RxFilter,
                   [](ConsoleState& s) {
                       s.satelliteMode = 1;
                       s.filterNumber = 1;
                       s.controlBand = s.transmitBand = 1;
                       s.mode = {4, 2};
                   },
                   {"DunmarView 1", "DunmarMsgDC 1 0", "DunmarMsgMD 4"}},
        HostingRow{"menu window with its first values", cmd::RadioMenu,
                   [](ConsoleState& s) {
                       s.zulState = 1;
                       s.scanValue = {3, 0};
                   },
                   {"OrlintView", "OrlintSetZulParams 1 0 0", "OrlintMsgSC 3", "OrlintMsgRX 0"}},
        HostingRow{"menu window while the sub band transmits", cmd::RadioMenu,
                   [](ConsoleState& s) { s.transmitting[1] = 1; },
                   {"OrlintView", "OrlintSetZulParams 0 0 0", "OrlintMsgTX 1"}},
        HostingRow{"menu window in terminal mode", cmd::RadioMenu,
                   [](ConsoleState& s) { s.tncMode = 1; }, {}}));

// With "P.C.T." on (CM 1) neither the visual scan nor the menu window opens.
TEST_F(ReplyTableTest, PctKeepsTheVisualScanAndTheMenuWindowShut) {
    Connect();
    console->link()->ConnCM("W", 1);
    std::uint32_t cm = 0;
    ASSERT_TRUE(PumpUntil([&] { return console->link()->RcvDataCM(&cm) == 1 && cm == 1; }));
    windows->calls.clear();
    console->OnCommand(cmd::VisualScan);
    console->OnCommand(cmd::RadioMenu);
    EXPECT_EQ(Joined(windows->calls), "");
}

// A menu window that could not be made gets no first values.
TEST_F(ReplyTableTest, AMenuWindowThatDoesNotExistGetsNoValues) {
    Connect();
    windows->orlintOpens = false;
    windows->calls.clear();
    console->OnCommand(cmd::RadioMenu);
    EXPECT_EQ(Joined(windows->calls), "[OrlintView]");
}

// The front panel's MULTI and V.SCAN keys open the same windows.
TEST_F(ReplyTableTest, FrontPanelKeysOpenTheirWindows) {
    Connect();
    windows->calls.clear();
    console->controls().button(idc::Multi)->click();
    console->controls().button(idc::VScan)->click();
    EXPECT_EQ(Joined(windows->Of({"PandorView", "GlimraView"})),
              Joined({"PandorView " + std::to_string(state().mode[0]), "GlimraView"}));
}

} // namespace
