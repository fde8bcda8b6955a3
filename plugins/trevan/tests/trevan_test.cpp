// SPDX-License-Identifier: GPL-3.0-or-later
// The auto-mode frequency window: what a range may be, how the table is
// kept in the profile, and the window driven by clicks and keys.
#include <trevan.h>

#include "auto_mode_table.h"
#include "trevan_internal.h"

#include <platform.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>

using trevan::AutoModeTable;
using trevan::Range;

namespace {

constexpr int LSB = 1, USB = 2, CW = 3, FM = 4;

TEST(AutoModeTableTest, FrequenciesInMegahertz) {
    const std::pair<const char*, std::optional<std::int64_t>> rows[] = {
        {"14.07", 14'070'000},         {"14.070000", 14'070'000}, {" 7.0005 ", 7'000'500},
        {"0.135", 135'000},            {"1296", 1'296'000'000},   {".5", 500'000},
        {"99999.999999", 99'999'999'999},
        {"", std::nullopt},            {".", std::nullopt},       {"14,070", std::nullopt},
        {"-7.0", std::nullopt},        {"14.0700001", std::nullopt}, {"100000", std::nullopt},
        {"1.2.3", std::nullopt},       {"7 MHz", std::nullopt},
    };
    for (const auto& [text, hz] : rows) {
        EXPECT_EQ(trevan::ParseMegahertz(text), hz) << '"' << text << '"';
    }
    EXPECT_EQ(trevan::FormatMegahertz(14'070'000), "14.070");
    EXPECT_EQ(trevan::FormatMegahertz(7'000'500), "7.0005");
    EXPECT_EQ(trevan::FormatMegahertz(135'000), "0.135");
    EXPECT_EQ(trevan::FormatMegahertz(1'296'000'001), "1296.000001");
}

TEST(AutoModeTableTest, RangesNeverOverlapAndKeepFrequencyOrder) {
    AutoModeTable t;
    EXPECT_TRUE(t.Add({14'070'000, 14'350'000, USB}));
    EXPECT_TRUE(t.Add({14'000'000, 14'070'000, CW})); // touching is not overlapping
    EXPECT_FALSE(t.Add({14'060'000, 14'080'000, CW}));
    EXPECT_FALSE(t.Add({14'100'000, 14'100'000, CW})); // empty
    EXPECT_FALSE(t.Add({14'400'000, 14'300'000, CW})); // backwards
    EXPECT_FALSE(t.Add({7'000'000, 7'100'000, 8}));    // 8 is no mode
    ASSERT_EQ(t.ranges().size(), 2u);
    EXPECT_EQ(t.ranges()[0].mode, CW);
    EXPECT_NE(t.Check({14'060'000, 14'080'000, CW}).find("14.000 - 14.070 MHz CW"), std::string::npos);

    // The lower bound belongs to the range, the upper one to the next.
    EXPECT_EQ(t.ModeAt(14'000'000), CW);
    EXPECT_EQ(t.ModeAt(14'069'999), CW);
    EXPECT_EQ(t.ModeAt(14'070'000), USB);
    EXPECT_EQ(t.ModeAt(14'350'000), std::nullopt);

    // Replacing may overlap the row it replaces, not another.
    EXPECT_TRUE(t.Replace(1, {14'050'000, 14'350'000, USB}) == false);
    EXPECT_TRUE(t.Replace(1, {14'070'000, 14'300'000, LSB}));
    EXPECT_EQ(t.ModeAt(14'200'000), LSB);
    EXPECT_TRUE(t.Remove(0));
    EXPECT_FALSE(t.Remove(5));
    EXPECT_EQ(t.ModeAt(14'000'000), std::nullopt);

    const AutoModeTable plan = AutoModeTable::Defaults();
    EXPECT_EQ(plan.ranges().size(), 29u); // none of the plan's rows was refused
    EXPECT_EQ(plan.ModeAt(7'100'000), LSB);
    EXPECT_EQ(plan.ModeAt(14'195'000), USB);
    EXPECT_EQ(plan.ModeAt(145'500'000), FM);

    EXPECT_EQ(trevan::RangeText({14'000'000, 14'070'000, CW}), "00014000000 00014070000 3");
    EXPECT_EQ(trevan::ParseRangeText("00014000000 00014070000 3"), (Range{14'000'000, 14'070'000, CW}));
    EXPECT_EQ(trevan::ParseRangeText("14000000 14070000"), std::nullopt);
    EXPECT_EQ(trevan::ParseRangeText("1 2 3 4"), std::nullopt);
}

// ------------------------------------------------------------ the window

const QString kSection = QStringLiteral("AutoModeFreq");

void ClearProfile() {
    QSettings settings;
    settings.remove(kSection);
    settings.sync();
}

class AutoModeWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        TrevanDestroy();
        ClearProfile();
    }
    void TearDown() override { TrevanDestroy(); }
    static trevan::CAutoModeWindow* Open() {
        TrevanView(nullptr);
        return trevan::TheWindow().data();
    }
    static void Type(QLineEdit* line, const QString& text) {
        line->selectAll();
        QTest::keyClick(line, Qt::Key_Delete);
        QTest::keyClicks(line, text);
    }
    static void ChooseMode(QComboBox* box, const char* name) {
        box->setFocus();
        while (box->currentText() != QLatin1String(name) && box->currentIndex() < box->count() - 1) {
            QTest::keyClick(box, Qt::Key_Down);
        }
        while (box->currentText() != QLatin1String(name) && box->currentIndex() > 0) {
            QTest::keyClick(box, Qt::Key_Up);
        }
    }
    static void ClickRow(QTableWidget* grid, int row) {
        const QRect r = grid->visualItemRect(grid->item(row, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, r.center());
    }
    static QString Cell(QTableWidget* grid, int row, int column) { return grid->item(row, column)->text(); }
};

TEST_F(AutoModeWindowTest, StartsFromTheBandPlanAndKeepsEveryChangeInTheProfile) {
    trevan::CAutoModeWindow* w = Open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->grid()->rowCount(), 29);

    // Delete 10.100 - 10.150 CW and add 10.100 - 10.130 CW-R in its place.
    const int row = w->table().RowOf({10'100'000, 10'150'000, CW});
    ASSERT_GE(row, 0);
    ClickRow(w->grid(), row);
    EXPECT_EQ(w->fromLine()->text(), QStringLiteral("10.100"));
    QTest::mouseClick(w->deleteButton(), Qt::LeftButton);
    Type(w->fromLine(), QStringLiteral("10.1"));
    Type(w->toLine(), QStringLiteral("10.13"));
    ChooseMode(w->modeList(), "CW-R");
    QTest::keyClick(w->toLine(), Qt::Key_Return); // Enter in "To" adds
    ASSERT_EQ(w->grid()->rowCount(), 29);
    EXPECT_EQ(Cell(w->grid(), row, trevan::CAutoModeWindow::kTo), QStringLiteral("10.130"));
    EXPECT_EQ(Cell(w->grid(), row, trevan::CAutoModeWindow::kMode), QStringLiteral("CW-R"));
    EXPECT_EQ(platform::GetProfileInt(kSection, QStringLiteral("Count"), -1), 29);
    EXPECT_EQ(platform::GetProfileString(kSection, QStringLiteral("Range%1").arg(row + 1), QString()),
              QStringLiteral("00010100000 00010130000 7"));

    // A new window reads the same table back.
    const AutoModeTable before = w->table();
    TrevanDestroy();
    w = Open();
    EXPECT_EQ(w->table().ranges(), before.ranges());
}

TEST_F(AutoModeWindowTest, BadRangesAreRefusedWithAReasonAndChangeNothing) {
    trevan::CAutoModeWindow* w = Open();
    const auto before = w->table().ranges();
    const struct {
        const char* from;
        const char* to;
        const char* reason;
    } rows[] = {
        {"14,000", "14.070", "MHz"},  {"", "14.070", "MHz"},
        {"14.2", "14.1", "above"},    {"14.2", "14.2", "above"},
        {"14.2", "14.3", "overlaps"}, {"13.9", "14.01", "overlaps 14.000 - 14.070 MHz CW"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.from + std::string(" ") + r.to);
        Type(w->fromLine(), QString::fromLatin1(r.from));
        Type(w->toLine(), QString::fromLatin1(r.to));
        QTest::mouseClick(w->addButton(), Qt::LeftButton);
        EXPECT_TRUE(w->status().contains(QString::fromLatin1(r.reason))) << w->status().toStdString();
        EXPECT_EQ(w->table().ranges(), before);
    }
    EXPECT_EQ(platform::GetProfileInt(kSection, QStringLiteral("Count"), -1), -1); // nothing written

    // Change needs a chosen row, and may not overlap a neighbour either.
    QTest::mouseClick(w->replaceButton(), Qt::LeftButton);
    EXPECT_EQ(w->table().ranges(), before);
    const int row = w->table().RowOf({14'070'000, 14'350'000, USB});
    ClickRow(w->grid(), row);
    Type(w->fromLine(), QStringLiteral("14.06"));
    QTest::mouseClick(w->replaceButton(), Qt::LeftButton);
    EXPECT_TRUE(w->status().contains(QStringLiteral("overlaps")));
    Type(w->fromLine(), QStringLiteral("14.1"));
    ChooseMode(w->modeList(), "LSB");
    QTest::mouseClick(w->replaceButton(), Qt::LeftButton);
    EXPECT_EQ(w->table().ModeAt(14'200'000), LSB);
    EXPECT_EQ(w->table().ModeAt(14'080'000), std::nullopt);
}

TEST_F(AutoModeWindowTest, AStoredTableIsReadAsFarAsItHoldsAndTheLookUpUsesIt) {
    platform::WriteProfileString(kSection, QStringLiteral("Range1"), QStringLiteral("00007000000 00007040000 3"));
    platform::WriteProfileString(kSection, QStringLiteral("Range2"), QStringLiteral("seven megahertz"));
    platform::WriteProfileString(kSection, QStringLiteral("Range3"), QStringLiteral("00007030000 00007100000 1"));
    platform::WriteProfileString(kSection, QStringLiteral("Range4"), QStringLiteral("00007040000 00007300000 1"));
    platform::WriteProfileString(kSection, QStringLiteral("Range5"), QStringLiteral("00014000000 00014350000 2"));
    platform::WriteProfileInt(kSection, QStringLiteral("Count"), 4); // Range5 is stale
    trevan::CAutoModeWindow* w = Open();
    ASSERT_EQ(w->table().ranges(), (std::vector<Range>{{7'000'000, 7'040'000, CW}, {7'040'000, 7'300'000, LSB}}));

    QTest::keyClicks(w->lookupLine(), QStringLiteral("7.04"));
    EXPECT_EQ(w->lookupResult()->text(), QStringLiteral("7.040 MHz: LSB"));
    Type(w->lookupLine(), QStringLiteral("14.2"));
    EXPECT_TRUE(w->lookupResult()->text().contains(QStringLiteral("no range")));

    QTest::mouseClick(w->defaultsButton(), Qt::LeftButton);
    EXPECT_EQ(w->table().ranges().size(), 29u);
    EXPECT_EQ(w->lookupResult()->text(), QStringLiteral("14.200 MHz: USB"));
    EXPECT_EQ(platform::GetProfileInt(kSection, QStringLiteral("Count"), -1), 29);
}

TEST(AutoModeExportsTest, DestroyWithoutAWindowAndViewTwice) {
    TrevanDestroy();
    TrevanView(nullptr);
    trevan::CAutoModeWindow* first = trevan::TheWindow().data();
    ASSERT_NE(first, nullptr);
    TrevanView(nullptr);
    EXPECT_EQ(trevan::TheWindow().data(), first);
    EXPECT_TRUE(first->isVisible());
    TrevanDestroy();
    TrevanDestroy();
    EXPECT_EQ(trevan::TheWindow().data(), nullptr);
}

} // namespace
