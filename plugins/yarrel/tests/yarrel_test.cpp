// SPDX-License-Identifier: GPL-3.0-or-later
// The packet-cluster window: the spot list's rules, spots the radio reports
// shown newest first, a click tuning the main band, spots without a usable
// frequency, and the exports at any time.
#include <yarrel.h>

#include "spot_list.h"
#include "yarrel_internal.h"

#include <corvan.h>
#include <platform.h>
#include <plugin_test_harness.h>
#include <qxsim.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

using namespace std::chrono_literals;

namespace {

// ------------------------------------------------------------ the list

TEST(SpotListTest, NewestFirstRepeatsMoveUpAndTheListIsBounded) {
    yarrel::SpotList list;
    list.Add({14'025'000, "DX1ABC", "", "1200z"});
    list.Add({7'012'000, "JA1XYZ", "", "1201z"});
    list.Add({14'025'000, "DX1ABC", "again", "1205z"}); // same call and frequency
    list.Add({14'026'000, "DX1ABC", "QSY", "1206z"});   // same call, new frequency
    ASSERT_EQ(list.spots().size(), 3u);
    EXPECT_EQ(list.spots()[0].hz, 14'026'000);
    EXPECT_EQ(list.spots()[1].comment, "again");
    EXPECT_EQ(list.spots()[2].call, "JA1XYZ");

    for (int i = 0; i < 150; ++i) {
        list.Add({1'000'000 + i, "C" + std::to_string(i), "", ""});
    }
    ASSERT_EQ(list.spots().size(), yarrel::kMaxSpots);
    EXPECT_EQ(list.spots().front().call, "C149");
    EXPECT_EQ(list.spots().back().call, "C50");
}

TEST(SpotListTest, TextsAndFrequenciesAsShown) {
    struct Row {
        const char* in;
        std::size_t limit;
        const char* out;
    } texts[] = {
        {"DX1ABC      ", 19, "DX1ABC"}, {"  up 2 ", 39, "up 2"}, {"", 19, ""},
        {"     ", 19, ""},               {"A\x01" "B\xff", 19, "A?B?"}, {"ABCDEFGHIJ", 4, "ABCD"},
    };
    for (const Row& r : texts) {
        EXPECT_EQ(yarrel::CleanText(r.in, r.limit), r.out) << r.in;
    }
    EXPECT_EQ(yarrel::CleanText(nullptr, 19), "");

    const std::pair<std::int64_t, const char*> frequencies[] = {
        {14'025'000, "14025.0"}, {7'012'550, "7012.6"}, {144'300'000, "144300.0"},
        {99'999'999'949, "99999999.9"}, {99'999'999'999, "100000000.0"}, {0, ""}, {-14'025'000, ""}, {100'000'000'000, ""},
    };
    for (const auto& [hz, text] : frequencies) {
        EXPECT_EQ(yarrel::FormatKilohertz(hz), text) << hz;
    }
}

// ------------------------------------------------------------ the radio

using plugin_tests::PumpUntil;

using Sim = plugin_tests::SimRadio;

// The console's part: reads each PK report and forwards it as the console's
// reply handler does (the first text read as a decimal number).
void ForwardSpots() {
    Sim::instance().console().On("PK", [] {
        char t[4][64] = {};
        if (Sim::instance().link.RcvDataPK(t[0], t[1], t[2], t[3]) == 1) {
            YarrelMsgPK(std::strtoll(t[0], nullptr, 10), t[1], t[2], t[3]);
        }
    });
}

class ClusterWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Sim::instance().connected);
        ForwardSpots();
        radio().modify([](qxsim::State& s) {
            s.power = 1;
            s.ai = 2;
            s.vfoA = 7'050'000;
        });
        yarrel::Spots().Clear();
        YarrelView(nullptr, 1);
        ASSERT_NE(window(), nullptr);
        radio().clearReceived();
    }
    void TearDown() override { YarrelDestroy(); }
    static qxsim::Radio& radio() { return Sim::instance().radio; }
    static yarrel::CClusterWindow* window() { return yarrel::TheWindow().data(); }
    static QTreeWidget* list() { return window()->list(); }
    static QString Cell(int row, int column) { return list()->topLevelItem(row)->text(column); }
    static void ClickRow(int row) {
        QTreeWidgetItem* item = list()->topLevelItem(row);
        const QRect r = list()->visualItemRect(item);
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, r.center());
    }
};

// The link keeps one PK record: a spot is read when its report is handled,
// so each spot here waits for the one before to be listed.
void ReportAndWait(std::int64_t hz, const char* call, const char* comment, const char* time, int listed) {
    Sim::instance().radio.reportSpot(hz, call, comment, time);
    ASSERT_TRUE(PumpUntil([&] { return yarrel::TheWindow()->list()->topLevelItemCount() == listed; }, 2s)) << call;
}

TEST_F(ClusterWindowTest, ReportedSpotsAreListedNewestFirstAndAClickTunesTheMainBand) {
    ReportAndWait(14'025'000, "DX1ABC", "up 2", "1200z", 1);
    ReportAndWait(21'074'000, "VK2QX", "FT8 -12dB", "1201z", 2);
    EXPECT_EQ(Cell(0, yarrel::CClusterWindow::kCall), QStringLiteral("VK2QX"));
    EXPECT_EQ(Cell(0, yarrel::CClusterWindow::kFrequency), QStringLiteral("21074.0"));
    EXPECT_EQ(Cell(0, yarrel::CClusterWindow::kComment), QStringLiteral("FT8 -12dB"));
    EXPECT_EQ(Cell(0, yarrel::CClusterWindow::kTime), QStringLiteral("1201z"));
    EXPECT_EQ(Cell(1, yarrel::CClusterWindow::kCall), QStringLiteral("DX1ABC"));

    ClickRow(1);
    ASSERT_TRUE(radio().waitFor("FA00014025000", 2s)) << window()->status().toStdString();
    EXPECT_TRUE(PumpUntil([] { return radio().state().vfoA == 14'025'000; }, 2s));
    EXPECT_TRUE(window()->status().contains(QStringLiteral("14025.0")));
    EXPECT_EQ(radio().countOf("FA"), 1u); // one click, one command

    // Enter on the current spot does the same.
    list()->setFocus();
    list()->setCurrentItem(list()->topLevelItem(0));
    QTest::keyClick(list(), Qt::Key_Return);
    ASSERT_TRUE(radio().waitFor("FA00021074000", 2s));
}

TEST_F(ClusterWindowTest, SpotsWithoutAUsableFrequencyAreShownButNeverTune) {
    // A frequency field the radio garbled: nothing parses, or only "1402".
    radio().inject("PKabcdefghijkBAD1        no number           1210z;");
    ASSERT_TRUE(PumpUntil([] { return list()->topLevelItemCount() == 1; }, 2s));
    radio().inject("PK0001402x000BAD2        half a number       1211z;");
    ASSERT_TRUE(PumpUntil([] { return list()->topLevelItemCount() == 2; }, 2s));
    ReportAndWait(7'012'500, "JA1XYZ", "CW", "1212z", 3);
    EXPECT_EQ(Cell(2, yarrel::CClusterWindow::kCall), QStringLiteral("BAD1"));
    EXPECT_EQ(Cell(2, yarrel::CClusterWindow::kFrequency), QStringLiteral("?"));
    EXPECT_EQ(Cell(1, yarrel::CClusterWindow::kFrequency), QStringLiteral("?"));
    ClickRow(2);
    ClickRow(1);
    EXPECT_TRUE(window()->status().startsWith(QStringLiteral("Not tuned")));
    ClickRow(0);
    ASSERT_TRUE(radio().waitFor("FA00007012500", 2s));
    EXPECT_EQ(radio().countOf("FA"), 1u);
}

TEST_F(ClusterWindowTest, PacketClusterTuneOffLeavesTheWindowAndTheListClears) {
    ReportAndWait(14'025'000, "DX1ABC", "up 2", "1200z", 1);
    YarrelView(nullptr, 0);
    EXPECT_EQ(yarrel::TheWindow().data(), window());
    EXPECT_TRUE(window()->isVisible());
    QTest::mouseClick(window()->clearButton(), Qt::LeftButton);
    EXPECT_EQ(list()->topLevelItemCount(), 0);
    EXPECT_FALSE(window()->clearButton()->isEnabled());
}

TEST(ClusterExportsTest, SpotsBeforeTheWindowAreKeptAndEveryCallIsSafe) {
    YarrelDestroy();
    YarrelDestroy();
    yarrel::Spots().Clear();
    YarrelMsgPK(14'025'000, "DX1ABC", nullptr, nullptr);
    YarrelMsgPK(3'525'000, nullptr, "no call", "0100z");
    // P.C.T. off: the window exists, unseen, and keeps collecting.
    YarrelView(nullptr, 0);
    ASSERT_NE(yarrel::TheWindow().data(), nullptr);
    EXPECT_FALSE(yarrel::TheWindow()->isVisible());
    EXPECT_EQ(yarrel::TheWindow()->list()->topLevelItemCount(), 2);
    YarrelView(nullptr, 1);
    EXPECT_TRUE(yarrel::TheWindow()->isVisible());
    EXPECT_EQ(yarrel::TheWindow()->list()->topLevelItem(0)->text(yarrel::CClusterWindow::kComment),
              QStringLiteral("no call"));
    YarrelDestroy();
    EXPECT_EQ(yarrel::TheWindow().data(), nullptr);
    YarrelMsgPK(1'000'000, "X", "", "");
}

} // namespace
