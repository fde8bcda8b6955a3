// SPDX-License-Identifier: GPL-3.0-or-later
// template_test.cpp - the console template as data: counts, identifiers,
// fixed rectangles and a front panel without overlaps.
#include "console_ids.h"
#include "console_template.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace {

int countOf(ControlKind kind) {
    const auto rows = ConsoleTemplate();
    return static_cast<int>(std::count_if(rows.begin(), rows.end(),
                                          [kind](const ControlRow& s) { return s.kind == kind; }));
}

struct KindCount {
    ControlKind kind;
    int count;
    const char* name;
};

void PrintTo(const KindCount& row, std::ostream* out) { *out << row.name; }

class TemplateCounts : public ::testing::TestWithParam<KindCount> {};

TEST_P(TemplateCounts, EveryClassHasItsNumberOfControls) {
    EXPECT_EQ(countOf(GetParam().kind), GetParam().count) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Console, TemplateCounts,
                         ::testing::Values(KindCount{ControlKind::Static, 138, "CStaticEx"},
                                           KindCount{ControlKind::Button, 51, "CButtonEx"},
                                           KindCount{ControlKind::CButton, 25, "CCButtonEx"},
                                           KindCount{ControlKind::Frame, 19, "CStaticFrameEx"},
                                           KindCount{ControlKind::Meter, 5, "CStaticMeterEx"},
                                           KindCount{ControlKind::Lamp, 3, "CStaticLEDEx"},
                                           KindCount{ControlKind::Edit, 2, "CEditEx"},
                                           KindCount{ControlKind::ScrollBar, 8, "scroll bar"},
                                           KindCount{ControlKind::ComboBox, 1, "combo box"}));

TEST(ConsoleTemplate, Has252ControlsWithUniqueIdentifiersInRange) {
    const auto rows = ConsoleTemplate();
    EXPECT_EQ(rows.size(), 252u);
    std::set<int> ids;
    for (const ControlRow& row : rows) {
        EXPECT_TRUE(ids.insert(row.id).second) << "duplicate id " << row.id;
        EXPECT_GE(row.id, idc::First);
        EXPECT_LE(row.id, idc::Last);
    }
    // Every identifier of the list has its row.
    EXPECT_EQ(static_cast<int>(ids.size()), idc::Last - idc::First + 1);
}

struct FixedRect {
    int id;
    ControlRect rect;
    const char* what;
};

void PrintTo(const FixedRect& row, std::ostream* out) { *out << row.what; }

class FixedRectangles : public ::testing::TestWithParam<FixedRect> {};

TEST_P(FixedRectangles, KeepTheirPixelRectangle) {
    const ControlRow* entry = FindControlRow(GetParam().id);
    ASSERT_NE(entry, nullptr) << GetParam().what;
    EXPECT_EQ(entry->rect.toRect(), GetParam().rect.toRect()) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Console, FixedRectangles,
    ::testing::Values(FixedRect{idc::DisplayBack, {9, 2, 737, 135}, "display background"},
                      FixedRect{idc::MainDigit0, {114, 40, 20, 37}, "first main digit"},
                      FixedRect{idc::MainDigit10, {332, 40, 20, 37}, "last main digit"},
                      FixedRect{idc::SubDigit10, {696, 42, 19, 32}, "last sub digit"},
                      FixedRect{idc::MainText, {221, 93, 134, 20}, "main text line"},
                      FixedRect{idc::SubText, {602, 93, 120, 20}, "sub text line"},
                      FixedRect{idc::MainMeter, {50, 90, 66, 14}, "main S meter"},
                      FixedRect{idc::Power, {15, 147, 83, 25}, "POWER"},
                      FixedRect{idc::Control, {107, 147, 48, 25}, "CONTROL"},
                      FixedRect{idc::BrandPlate, {522, 147, 223, 37}, "picture beside the PM group"},
                      FixedRect{idc::TuningDial, {399, 279, 30, 35}, "tuning dial"},
                      FixedRect{idc::StepList, {278, 333, 72, 22}, "channel-step list"},
                      FixedRect{idc::RfGainBar, {560, 329, 147, 16}, "RF GAIN bar"}));

TEST(ConsoleTemplate, FrequencyDigitsRunLeftToRightWithoutGaps) {
    for (const int first : {idc::MainDigit0, idc::SubDigit0}) {
        int previousRight = -1;
        for (int i = 0; i <= 10; ++i) {
            const QRect r = FindControlRow(first + i)->rect.toRect();
            EXPECT_GT(r.left(), previousRight) << "digit " << i;
            previousRight = r.right();
        }
    }
}

TEST(ConsoleTemplate, NamedGroupsAreAllThere) {
    const std::set<std::string> expected = {"Mode", "PF Operation", "TUNE", "Band", "Satellite Operation",
                                            "DSP Operation", "Quick Memory", "Memory Operation", "PM Operation",
                                            "RIT / XIT / SUB", "Main", "Main / Sub / Control",
                                            "      Click Enc. / Step"};
    std::set<std::string> named;
    for (const ControlRow& row : ConsoleTemplate()) {
        if (row.kind == ControlKind::Frame && row.caption[0] != '\0') {
            named.insert(row.caption);
        }
    }
    EXPECT_EQ(named, expected);
}

// Controls of the front panel never cover each other: no two controls
// overlap, a control lies wholly inside a group frame or outside all of them,
// frames do not cross, and the display's labels stay inside the display.
TEST(ConsoleTemplate, NothingOverlaps) {
    const auto rows = ConsoleTemplate();
    const QRect display = FindControlRow(idc::DisplayBack)->rect.toRect();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ControlRow& a = rows[i];
        const QRect ra = a.rect.toRect();
        EXPECT_TRUE(ra.isValid()) << a.id;
        if (a.id == idc::DisplayBack) {
            continue;
        }
        EXPECT_TRUE(display.contains(ra) || !display.intersects(ra)) << "control " << a.id << " crosses the display";
        for (std::size_t j = i + 1; j < rows.size(); ++j) {
            const ControlRow& b = rows[j];
            if (b.id == idc::DisplayBack) {
                continue;
            }
            const QRect rb = b.rect.toRect();
            const bool aFrame = a.kind == ControlKind::Frame;
            const bool bFrame = b.kind == ControlKind::Frame;
            if (aFrame && bFrame) {
                EXPECT_FALSE(ra.intersects(rb)) << "frames " << a.id << " and " << b.id;
            } else if (aFrame || bFrame) {
                const QRect frame = aFrame ? ra : rb;
                const QRect other = aFrame ? rb : ra;
                EXPECT_TRUE(frame.contains(other) || !frame.intersects(other))
                    << "control " << (aFrame ? b.id : a.id) << " crosses frame " << (aFrame ? a.id : b.id);
            } else {
                EXPECT_FALSE(ra.intersects(rb)) << "controls " << a.id << " and " << b.id << " overlap";
            }
        }
    }
}

TEST(ConsoleTemplate, KeypadFormsFourRowsOfThreeWithTheFunctionColumn) {
    const int rows[4][4] = {{idc::Ch1, idc::Ch2, idc::Ch3, idc::Func},
                            {idc::Tone, idc::Meter, idc::Ctcss, idc::TfSetButton},
                            {idc::NbButton, idc::AgcButton, idc::FineButton, idc::Disp},
                            {idc::Dcs, idc::Shift, idc::Ent, idc::Clear}};
    const char* captions[4][4] = {{"CH1", "CH2", "CH3", "FUNC"},
                                  {"TONE", "METER", "CTCSS", "TF-SET"},
                                  {"NB", "AGC", "FINE", "DISP"},
                                  {"DCS", "SHIFT", "ENT", "CLR"}};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            const ControlRow* entry = FindControlRow(rows[r][c]);
            EXPECT_STREQ(entry->caption, captions[r][c]);
            if (c > 0) {
                EXPECT_EQ(entry->rect.top, FindControlRow(rows[r][0])->rect.top) << captions[r][c];
                EXPECT_GT(entry->rect.left, FindControlRow(rows[r][c - 1])->rect.left) << captions[r][c];
            }
            if (r > 0) {
                EXPECT_GT(entry->rect.top, FindControlRow(rows[r - 1][c])->rect.top) << captions[r][c];
            }
        }
    }
}

} // namespace
