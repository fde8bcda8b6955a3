// SPDX-License-Identifier: GPL-3.0-or-later
// The visual scan's arithmetic: steps, edges, bar geometry, the digit
// fields, the frequency entry and the dial.
#include "scan_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace glimra {
namespace {

// ------------------------------------------------------------ step texts

struct StepCase {
    std::string text;
    std::int64_t hz;
};

class VscanStepText : public ::testing::TestWithParam<StepCase> {};

TEST_P(VscanStepText, ParsesToHertz) {
    EXPECT_EQ(ParseStepText(GetParam().text), GetParam().hz) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Lists, VscanStepText,
    ::testing::Values(StepCase{"100Hz", 100}, StepCase{"200Hz", 200}, StepCase{"500Hz", 500},
                      StepCase{"1kHz", 1000}, StepCase{"2.5kHz", 2500}, StepCase{"5kHz", 5000},
                      StepCase{"6.25kHz", 6250}, StepCase{"10kHz", 10000},
                      StepCase{"12.5kHz", 12500}, StepCase{"15kHz", 15000},
                      StepCase{"20kHz", 20000}, StepCase{"25kHz", 25000},
                      StepCase{"30kHz", 30000}, StepCase{"50kHz", 50000},
                      StepCase{"100kHz", 100000}));

INSTANTIATE_TEST_SUITE_P(
    Other, VscanStepText,
    ::testing::Values(StepCase{"1.5MHz", 1500000}, StepCase{"2G", 2000000000},
                      StepCase{"2.5KHZ", 2500}, StepCase{"", 0}, StepCase{"kHz", 0},
                      StepCase{".", 0}, StepCase{"1.2.5k", 1200}));

TEST(VscanStepLists, EveryListEntryHasAPositiveStep) {
    for (const auto& text : MainStepTexts()) {
        EXPECT_GT(ParseStepText(text), 0) << text;
    }
    for (const auto& text : SubStepTexts()) {
        EXPECT_GT(ParseStepText(text), 0) << text;
    }
    EXPECT_EQ(MainStepTexts().size(), 15u);
    EXPECT_EQ(SubStepTexts().size(), 10u);
}

TEST(VscanStepLists, IntervalsRunFrom100To1000In50s) {
    const auto texts = IntervalTexts();
    ASSERT_EQ(texts.size(), 19u);
    EXPECT_EQ(texts.front(), "100");
    EXPECT_EQ(texts[1], "150");
    EXPECT_EQ(texts.back(), "1000");
}

struct CodeCase {
    std::int64_t step;
    std::uint32_t code;
};

class VscanStepCodes : public ::testing::TestWithParam<CodeCase> {};

TEST_P(VscanStepCodes, MapsTheSubBandSteps) {
    EXPECT_EQ(StepCode(GetParam().step), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(
    Table, VscanStepCodes,
    ::testing::Values(CodeCase{5000, 0}, CodeCase{6250, 1}, CodeCase{10000, 2},
                      CodeCase{12500, 3}, CodeCase{15000, 4}, CodeCase{20000, 5},
                      CodeCase{25000, 6}, CodeCase{30000, 7}, CodeCase{50000, 8},
                      CodeCase{100000, 9}, CodeCase{100, 0}, CodeCase{2500, 0},
                      CodeCase{7000, 0}));

// ----------------------------------------------------- step-list refill

TEST(VscanStepRefill, KeepsTheSameStepTextBetweenTheLists) {
    const auto& main = MainStepTexts();
    const auto& sub = SubStepTexts();
    for (int i = 5; i < static_cast<int>(main.size()); ++i) {
        const int toSub = RefillStepIndex(i, true);
        EXPECT_EQ(sub[static_cast<std::size_t>(toSub)], main[static_cast<std::size_t>(i)]);
        EXPECT_EQ(RefillStepIndex(toSub, false), i);
    }
}

TEST(VscanStepRefill, FineMainStepsKeepTheirPositionInTheSubList) {
    EXPECT_EQ(SubStepTexts()[static_cast<std::size_t>(RefillStepIndex(0, true))], "5kHz");
    EXPECT_EQ(RefillStepIndex(4, true), 4);
    EXPECT_EQ(RefillStepIndex(-1, true), 0);
    EXPECT_EQ(RefillStepIndex(-1, false), 0);
}

// ------------------------------------------------------------- channels

struct EdgeCase {
    std::int64_t centre;
    std::int64_t step;
    int span;
    std::int64_t low;
    std::int64_t high;
};

class VscanChannelEdges : public ::testing::TestWithParam<EdgeCase> {};

TEST_P(VscanChannelEdges, LowAndHighAroundTheCentre) {
    const auto& c = GetParam();
    const Edges e = EdgesAround(c.centre, c.step, c.span);
    EXPECT_EQ(e.low, c.low);
    EXPECT_EQ(e.high, c.high);
    EXPECT_EQ(ChannelFrequency(c.centre, c.step, c.span, 0), c.low);
    EXPECT_EQ(ChannelFrequency(c.centre, c.step, c.span, c.span - 1), c.high);
    EXPECT_EQ(ChannelFrequency(c.centre, c.step, c.span, MiddleChannel(c.span)), c.centre);
}

INSTANTIATE_TEST_SUITE_P(
    Spans, VscanChannelEdges,
    ::testing::Values(EdgeCase{14'000'000, 100'000, 181, 5'000'000, 23'000'000},
                      EdgeCase{14'195'000, 100, 61, 14'192'000, 14'198'000},
                      EdgeCase{145'000'000, 12'500, 31, 144'812'500, 145'187'500},
                      EdgeCase{7'050'000, 1'000, 91, 7'005'000, 7'095'000},
                      EdgeCase{100'000, 100'000, 31, -1'400'000, 1'600'000}));

struct DottedCase {
    std::int64_t hz;
    std::string text;
};

class VscanDotted : public ::testing::TestWithParam<DottedCase> {};

TEST_P(VscanDotted, PutsAPointAfterEveryThreeDigitsFromTheRight) {
    EXPECT_EQ(FormatDotted(GetParam().hz), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, VscanDotted,
    ::testing::Values(DottedCase{14'195'000, "14.195.000"}, DottedCase{0, "0"},
                      DottedCase{999, "999"}, DottedCase{1000, "1.000"},
                      DottedCase{1'299'999'999, "1.299.999.999"},
                      DottedCase{-1'400'000, "-1.400.000"}, DottedCase{145'000'000, "145.000.000"}));

// ------------------------------------------------------------ bar geometry

struct GeometryCase {
    int span;
    int left;
    int width;
    int right;
};

class VscanGeometry : public ::testing::TestWithParam<GeometryCase> {};

TEST_P(VscanGeometry, FirstEdgeWidthAndBorder) {
    const auto& c = GetParam();
    const BarGeometry g = GeometryForSpan(c.span);
    EXPECT_EQ(g.left, c.left);
    EXPECT_EQ(g.width, c.width);
    EXPECT_EQ(g.right, c.right);
    // The last bar of the span ends at the right border.
    const auto last = BarFor(c.span, c.span - 1, 10, 2);
    ASSERT_TRUE(last.has_value());
    EXPECT_EQ(last->x1, c.right);
    EXPECT_FALSE(BarFor(c.span, c.span, 10, 2).has_value());
}

INSTANTIATE_TEST_SUITE_P(Spans, VscanGeometry,
                         ::testing::Values(GeometryCase{31, 40, 12, 412}, GeometryCase{61, 43, 6, 409},
                                           GeometryCase{91, 44, 4, 408},
                                           GeometryCase{181, 45, 2, 407}));

struct BarCase {
    int span;
    int channel;
    int level;
    int mode;
    bool drawn;
    int x0, x1, top, bottom;
};

class VscanBars : public ::testing::TestWithParam<BarCase> {};

TEST_P(VscanBars, ShapeByLevelAndMode) {
    const auto& c = GetParam();
    const auto bar = BarFor(c.span, c.channel, c.level, c.mode);
    ASSERT_EQ(bar.has_value(), c.drawn);
    if (!c.drawn) {
        return;
    }
    EXPECT_EQ(bar->x0, c.x0);
    EXPECT_EQ(bar->x1, c.x1);
    EXPECT_EQ(bar->top, c.top);
    EXPECT_EQ(bar->bottom, c.bottom);
}

INSTANTIATE_TEST_SUITE_P(
    Table, VscanBars,
    ::testing::Values(
        // mode 1: one pixel narrower; mode 2: full width; mode 3: 9-pixel segment
        BarCase{61, 10, 20, 1, true, 103, 108, 121, 310},
        BarCase{61, 10, 20, 2, true, 103, 109, 121, 310},
        BarCase{61, 10, 20, 3, true, 103, 109, 121, 130},
        BarCase{31, 0, 0, 2, true, 40, 52, 301, 310},
        BarCase{31, 30, 30, 1, true, 400, 411, 31, 310},
        BarCase{181, 180, 15, 2, true, 405, 407, 166, 310},
        BarCase{91, 45, 16, 3, true, 224, 228, 157, 166},
        // not measured, beyond the scale, outside the span
        BarCase{61, 3, -1, 1, false, 0, 0, 0, 0}, BarCase{61, 3, 31, 1, false, 0, 0, 0, 0},
        BarCase{61, 61, 10, 1, false, 0, 0, 0, 0}, BarCase{61, -1, 10, 1, false, 0, 0, 0, 0}));

TEST(VscanBarsHit, ChannelUnderThePointer) {
    EXPECT_EQ(ChannelAt(61, 43), 0);
    EXPECT_EQ(ChannelAt(61, 48), 0);
    EXPECT_EQ(ChannelAt(61, 49), 1);
    EXPECT_EQ(ChannelAt(61, 408), 60);
    EXPECT_FALSE(ChannelAt(61, 409).has_value());
    EXPECT_FALSE(ChannelAt(61, 42).has_value());
    EXPECT_EQ(ChannelAt(181, 45 + 2 * 90), 90);
    EXPECT_EQ(ChannelAt(31, 411), 30);
}

// ----------------------------------------------------------- digit fields

std::string Joined(const DigitFields& f) {
    std::string out;
    for (int i = 0; i < kDigits; ++i) {
        out += f.digits[static_cast<std::size_t>(i)];
        if (i == 1 || i == 4 || i == 7) {
            out += f.separators[static_cast<std::size_t>(i == 1 ? 0 : i == 4 ? 1 : 2)];
        }
    }
    return out;
}

TEST(VscanDigitFields, EnteredFrequencyBlanksLeadingZerosAndTheirSeparators) {
    EXPECT_EQ(Joined(ShowFrequency(14'195'000)), "    14.195.000");
    EXPECT_EQ(Joined(ShowFrequency(145'000'000)), "   145.000.000");
    EXPECT_EQ(Joined(ShowFrequency(1'299'999'999)), " 1.299.999.999");
    EXPECT_EQ(Joined(ShowFrequency(30'000)), "        30.000");
    EXPECT_EQ(Joined(ShowFrequency(12'345'678'901)), "12.345.678.901");
}

// -------------------------------------------------------- frequency entry

TEST(VscanFrequencyEntryRules, MegahertzThenDigits) {
    FrequencyEntry entry;
    entry.begin();
    EXPECT_FALSE(entry.typeDigit(1));
    EXPECT_FALSE(entry.typeDigit(4));
    entry.typePoint();
    EXPECT_EQ(entry.fields(), "00014------");
    for (int d : {1, 9, 5}) {
        EXPECT_FALSE(entry.typeDigit(d));
    }
    EXPECT_EQ(entry.end(), 14'195'000);
    EXPECT_FALSE(entry.active());
}

TEST(VscanFrequencyEntryRules, TheEleventhDigitEndsTheEntry) {
    FrequencyEntry entry;
    entry.begin();
    const std::string digits = "00145500000";
    for (std::size_t i = 0; i < digits.size(); ++i) {
        EXPECT_EQ(entry.typeDigit(digits[i] - '0'), i + 1 == digits.size());
    }
    EXPECT_EQ(entry.value(), 145'500'000);
    EXPECT_FALSE(entry.typeDigit(1)); // nothing more is taken
    EXPECT_EQ(entry.value(), 145'500'000);
}

TEST(VscanFrequencyEntryRules, PointIsIgnoredAfterFiveDigitsAndUntypedFieldsCountAsZero) {
    FrequencyEntry entry;
    entry.begin();
    for (int d : {0, 0, 0, 0, 7}) {
        entry.typeDigit(d);
    }
    entry.typePoint();
    EXPECT_EQ(entry.typed(), 5);
    EXPECT_EQ(entry.fields(), "00007------");
    entry.typeDigit(0);
    entry.typeDigit(5);
    EXPECT_EQ(entry.end(), 7'050'000);
}

TEST(VscanFrequencyEntryRules, FieldsShownWhileTyping) {
    FrequencyEntry entry;
    entry.begin();
    EXPECT_EQ(Joined(entry.show()), "--.---.---.---");
    entry.typeDigit(0);
    entry.typeDigit(0);
    entry.typeDigit(1);
    // Leading zeros typed are blank, and so is the separator after them.
    EXPECT_EQ(Joined(entry.show()), "   1--.---.---");
}

struct ClickCase {
    std::int64_t entered;
    int field;
    bool raise;
    std::uint32_t selector;
    std::int64_t step;
    std::int64_t result;
};

class VscanClicks : public ::testing::TestWithParam<ClickCase> {};

TEST_P(VscanClicks, OneUnitOfThePlaceHeldInRange) {
    const auto& c = GetParam();
    EXPECT_EQ(ClickChange(c.entered, c.field, c.raise, c.selector, c.step), c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Table, VscanClicks,
    ::testing::Values(ClickCase{14'195'000, 3, true, 0, 100, 14'196'000},
                      ClickCase{14'195'000, 0, false, 0, 100, 14'194'999},
                      ClickCase{14'195'000, 6, true, 1, 100, 15'195'000},
                      ClickCase{30'500, 3, false, 0, 100, 30'000},
                      ClickCase{1'299'999'000, 5, true, 0, 100, 1'299'999'999},
                      ClickCase{145'000'000, 2, true, 2, 5'000, 145'005'000},
                      ClickCase{145'000'000, 5, false, 2, 5'000, 144'900'000},
                      ClickCase{145'000'000, 10, true, 0, 100, 1'299'999'999}));

TEST(VscanDial, EveryWaitthMoveTurnsOneStep) {
    DialState dial;
    EXPECT_FALSE(dial.move(true)); // off: nothing
    dial.switchOn(5);
    EXPECT_EQ(dial.position(), 1);
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(dial.move(true));
    }
    EXPECT_TRUE(dial.move(true));
    EXPECT_EQ(dial.position(), 2);
    for (int i = 0; i < 5; ++i) {
        dial.move(false);
    }
    EXPECT_EQ(dial.position(), 1);
    for (int i = 0; i < 5; ++i) {
        dial.move(false);
    }
    EXPECT_EQ(dial.position(), 8); // the icons turn in a cycle of eight
    dial.switchOff();
    EXPECT_FALSE(dial.on());
}

TEST(VscanDial, AWaitOfZeroTurnsOnEveryMove) {
    DialState dial;
    dial.switchOn(0);
    EXPECT_TRUE(dial.move(true));
    EXPECT_TRUE(dial.move(true));
}

TEST(VscanDial, StepsAreHeldInRange) {
    EXPECT_EQ(DialChange(14'195'000, true, 50'000), 14'245'000);
    EXPECT_EQ(DialChange(14'195'000, false, 100'000), 14'095'000);
    EXPECT_EQ(DialChange(40'000, false, 50'000), 30'000);
    EXPECT_EQ(DialChange(1'299'950'000, true, 100'000), 1'299'999'999);
}

struct SelectorCase {
    int band;
    int fr;
    std::uint32_t selector;
};

class VscanSelectors : public ::testing::TestWithParam<SelectorCase> {};

TEST_P(VscanSelectors, FollowBandAndMainBandFr) {
    EXPECT_EQ(SelectorFor(GetParam().band, GetParam().fr), GetParam().selector);
    EXPECT_EQ(MeterFor(GetParam().selector), GetParam().selector == 2 ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Table, VscanSelectors,
                         ::testing::Values(SelectorCase{0, 0, 0}, SelectorCase{0, 1, 1},
                                           SelectorCase{0, 2, 0}, SelectorCase{0, 9, 0},
                                           SelectorCase{1, 0, 2}, SelectorCase{1, 1, 2}));

} // namespace
} // namespace glimra
