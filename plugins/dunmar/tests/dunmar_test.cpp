// SPDX-License-Identifier: GPL-3.0-or-later
// The filter window through its exports and real input, against the virtual
// radio. A stand-in for the console reads each notification and forwards it
// to the exports, as the console's reply handlers do.
#include <dunmar.h>

#include "dunmar_internal.h"
#include "filter_rules.h"
#include "passband_view.h"

#include <corvan.h>
#include <kestrin.h>
#include <platform.h>
#include <plugin_test_harness.h>
#include <qxsim.h>

#include <QApplication>
#include <QComboBox>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>

#include <chrono>
#include <cstdlib>
#include <memory>

namespace {

using namespace dunmar;
using namespace std::chrono_literals;

// ------------------------------------------------------------------ rules

struct PassbandCase {
    std::uint32_t mode;
    int low, high, width, shift;
    bool known;
    int from, to;
};

void PrintTo(const PassbandCase& c, std::ostream* os) {
    *os << "mode " << c.mode << " SL " << c.low << " SH " << c.high << " FW " << c.width << " IS " << c.shift;
}

class PassbandTest : public ::testing::TestWithParam<PassbandCase> {};

TEST_P(PassbandTest, FollowsTheModesValues) {
    const PassbandCase& c = GetParam();
    const Passband band = PassbandOf(ClassOf(c.mode), c.low, c.high, c.width, c.shift);
    EXPECT_EQ(band.known, c.known);
    if (c.known) {
        EXPECT_EQ(band.low, c.from);
        EXPECT_EQ(band.high, c.to);
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, PassbandTest,
                         ::testing::Values(
                             // USB: SL 3 is 200 Hz, SH 8 is 3000 Hz.
                             PassbandCase{2, 3, 8, 2400, 0, true, 200, 3000},
                             PassbandCase{1, 0, 11, -1, -1, true, 0, 5000},
                             // A cut not yet reported, or beyond the table.
                             PassbandCase{2, -1, 8, 0, 0, false, 0, 0},
                             PassbandCase{2, 3, 12, 0, 0, false, 0, 0},
                             // CW: the width centred on the shift, or on 800 Hz.
                             PassbandCase{3, -1, -1, 500, 700, true, 450, 950},
                             PassbandCase{7, -1, -1, 400, 0, true, 600, 1000},
                             PassbandCase{3, -1, -1, -1, 700, false, 0, 0},
                             // FSK: the width around the default tone pair.
                             PassbandCase{6, -1, -1, 500, 1500, true, 550, 1050},
                             // FM uses the cut-offs; its FW is narrow or wide.
                             PassbandCase{4, 2, 5, 1, 0, true, 100, 2400}));

TEST(FilterRules, ControlsOfEachMode) {
    EXPECT_TRUE(UsesCuts(ClassOf(2)) && UsesShift(ClassOf(2)) && !UsesWidth(ClassOf(2)));
    EXPECT_TRUE(!UsesCuts(ClassOf(3)) && UsesShift(ClassOf(3)) && UsesWidth(ClassOf(3)));
    EXPECT_TRUE(!UsesCuts(ClassOf(9)) && !UsesShift(ClassOf(9)) && UsesWidth(ClassOf(9)));
    EXPECT_TRUE(UsesCuts(ClassOf(5)) && NarrowWide(ClassOf(5)) && !NarrowWide(ClassOf(3)));
    EXPECT_EQ(PresetName(0), "A");
    EXPECT_EQ(PresetName(2), "C");
    EXPECT_EQ(PresetName(7), "7");
    EXPECT_EQ(ModeName(7), "CW-R");
    EXPECT_EQ(ModeName(12), "");
    // The QX410 family's 21 cut-off steps have no frequencies here.
    EXPECT_EQ(CutStepsFor(3), 12u);
    EXPECT_EQ(CutStepsFor(1), 21u);
    EXPECT_EQ(CutLabel(false, 3, 3), "200 Hz");
    EXPECT_EQ(CutLabel(true, 11, 3), "5000 Hz");
    EXPECT_EQ(CutLabel(true, 15, 1), "Step 15");
    EXPECT_EQ(CutLabel(false, 3, 1), "Step 3");
}

// ------------------------------------------------------------------ fixture

using plugin_tests::ConsoleStandIn;
using plugin_tests::PumpUntil;
using Sim = plugin_tests::SimRadio;

// Reads each notification the way the console's handlers do and forwards
// the values to the filter window's exports.
std::unique_ptr<ConsoleStandIn> ForwardToTheFilterWindow(CCorvan& link) {
    auto standIn = std::make_unique<ConsoleStandIn>(link);
    standIn->On("SH", [&link] { std::uint32_t v; if (link.RcvDataSH(&v)) DunmarMsgSH(v); });
    standIn->On("SL", [&link] { std::uint32_t v; if (link.RcvDataSL(&v)) DunmarMsgSL(v); });
    standIn->On("FW", [&link] { std::uint32_t v; if (link.RcvDataFW(&v)) DunmarMsgFW(v); });
    standIn->On("MD", [&link] { std::uint32_t v; if (link.RcvDataMD(&v)) DunmarMsgMD(v); });
    standIn->On("IS", [&link] {
        char sign[corvan::kSignTextSize] = {};
        std::uint32_t v;
        if (link.RcvDataIS(sign, &v))
            DunmarMsgIS(sign, v);
    });
    standIn->On("EX", [&link] {
        std::uint32_t m, s, a, b;
        char text[corvan::kNameTextSize] = {};
        if (link.RcvDataEX(&m, &s, &a, &b, text) && m == 50 && s == 1 && a == 0 && b == 0)
            DunmarMsgPFil(static_cast<std::uint32_t>(std::atoi(text)));
    });
    return standIn;
}

class FilterWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sim().connected);
        ForgetReported();
        sim().radio.modify([](qxsim::State& s) {
            s.ai = 2;
            s.modeA = 2;
            s.rxVfo = 0;
            s.controlBand = 0;
            s.values["SH"] = {8};
            s.values["SL"] = {3};
            s.values["FW"] = {2400};
            s.values["IS"] = {0};
            s.menu["0500100"] = "1";
        });
        standIn = ForwardToTheFilterWindow(sim().link);
        sim().radio.clearReceived();
    }
    void TearDown() override {
        DunmarDestroy();
        standIn.reset();
        sim().radio.modify([](qxsim::State& s) { s.ai = 0; });
    }
    static Sim& sim() { return Sim::instance(); }

    // Opens the window as the console does, with the mode it was told.
    CFilterWindow* open(std::uint32_t mode = 2) {
        DunmarMsgMD(mode);
        DunmarMsgDC(0, 0);
        DunmarView(nullptr, 1);
        window = TheWindow();
        return window;
    }
    const CFilterWindow::Controls& ui() const { return window->controls(); }
    bool received(const std::string& command, int limitMs = 3000) {
        return sim().radio.waitFor(command, std::chrono::milliseconds(limitMs));
    }

    std::unique_ptr<ConsoleStandIn> standIn;
    CFilterWindow* window = nullptr;
};

// ------------------------------------------------------------------ exports

TEST_F(FilterWindowTest, ValuesForwardedBeforeTheWindowOpensAreShownWhenItDoes) {
    DunmarDestroy(); // no window: every export is still safe
    DunmarMsgSL(4);
    DunmarMsgSH(9);
    DunmarMsgFW(500);
    DunmarMsgIS(" ", 650);
    DunmarMsgPFil(2);
    DunmarMsgDC(1, 1);
    DunmarMsgMD(3);
    EXPECT_EQ(TheWindow(), nullptr);
    EXPECT_EQ(LastReported().width, 500);

    // The radio's own answers to the window's queries must not overwrite
    // what this test looks at: no auto-information, no stand-in.
    standIn.reset();
    DunmarView(nullptr, 2);
    window = TheWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ui().band->text(), QStringLiteral("Sub"));
    EXPECT_EQ(ui().mode->text(), QStringLiteral("CW"));
    EXPECT_EQ(ui().lowCut->currentData().toInt(), 4);
    EXPECT_EQ(ui().highCut->currentData().toInt(), 9);
    EXPECT_EQ(ui().width->currentText(), QStringLiteral("500 Hz"));
    EXPECT_EQ(ui().shift->value(), 650);
    // The view's own filter number wins over the older PFil.
    EXPECT_EQ(ui().preset->currentText(), QStringLiteral("C"));
    // CW: the cut-offs are not the radio's filter in this mode.
    EXPECT_FALSE(ui().lowCut->isEnabled());
    EXPECT_TRUE(ui().width->isEnabled());
    EXPECT_EQ(ui().passband->passband().low, 400);
    EXPECT_EQ(ui().passband->passband().high, 900);

    DunmarDestroy();
    DunmarDestroy();
    EXPECT_EQ(TheWindow(), nullptr);
}

TEST_F(FilterWindowTest, OpeningAsksTheRadioAndFollowsItsAnswers) {
    open();
    ASSERT_TRUE(received("SL"));
    ASSERT_TRUE(PumpUntil([&] { return window->shown().highCut == 8 && window->shown().lowCut == 3; }));
    EXPECT_EQ(ui().lowCut->currentText(), QStringLiteral("200 Hz"));
    EXPECT_EQ(ui().highCut->currentText(), QStringLiteral("3000 Hz"));
    EXPECT_EQ(sim().radio.countOf("SH"), 1u);
    EXPECT_EQ(sim().radio.countOf("FW"), 1u);
    EXPECT_EQ(sim().radio.countOf("IS"), 1u);

    // A change on the radio's front panel reaches the window through the
    // console's forwarding.
    sim().radio.setValue("SH", {11});
    ASSERT_TRUE(PumpUntil([&] { return ui().highCut->currentText() == QStringLiteral("5000 Hz"); }));
    EXPECT_EQ(ui().passband->passband().high, 5000);
    // A screen reader reads the picture's width as it is drawn.
    EXPECT_EQ(ui().passband->accessibleName(), QStringLiteral("Receive passband"));
    EXPECT_EQ(ui().passband->accessibleDescription(), QStringLiteral("4800 Hz wide, 200 to 5000 Hz"));
}

// ------------------------------------------------------------------ input

TEST_F(FilterWindowTest, KeysOnTheListsSendTheNewCutOffsAndWidth) {
    open();
    ASSERT_TRUE(PumpUntil([&] { return window->shown().lowCut == 3 && window->shown().highCut == 8; }));
    sim().radio.clearReceived();

    ui().lowCut->setFocus();
    QTest::keyClick(ui().lowCut, Qt::Key_Down);
    ASSERT_TRUE(received("SL04"));
    QTest::keyClick(ui().highCut, Qt::Key_Up);
    ASSERT_TRUE(received("SH07"));
    ASSERT_TRUE(PumpUntil([&] { return sim().radio.value("SL") == 4 && sim().radio.value("SH") == 7; }));
    EXPECT_EQ(ui().passband->passband().low, 300);
    EXPECT_EQ(ui().passband->passband().high, 2800);

    // In CW the width list holds widths in hertz; the radio's 2400 joins it.
    DunmarMsgMD(3);
    EXPECT_TRUE(ui().width->isEnabled());
    EXPECT_FALSE(ui().highCut->isEnabled());
    ASSERT_TRUE(PumpUntil([&] { return ui().width->currentText() == QStringLiteral("2400 Hz"); }));
    QTest::keyClick(ui().width, Qt::Key_Up);
    ASSERT_TRUE(received("FW2000"));

    // FM: narrow and wide.
    DunmarMsgMD(4);
    DunmarMsgFW(1);
    EXPECT_EQ(ui().width->currentText(), QStringLiteral("Wide"));
    QTest::keyClick(ui().width, Qt::Key_Up);
    ASSERT_TRUE(received("FW0000"));
}

TEST_F(FilterWindowTest, TheShiftGoesOutOnEnterAndThePresetRereadsTheFilter) {
    open(3);
    ASSERT_TRUE(PumpUntil([&] { return window->shown().width == 2400; }));
    ui().shift->setFocus();
    ui().shift->selectAll();
    QTest::keyClicks(ui().shift, "750");
    QTest::keyClick(ui().shift, Qt::Key_Return);
    ASSERT_TRUE(received("IS 0750"));
    ASSERT_TRUE(PumpUntil([&] { return sim().radio.value("IS") == 750; }));

    sim().radio.clearReceived();
    QTest::keyClick(ui().preset, Qt::Key_Down); // B -> C
    ASSERT_TRUE(received("EX05001002"));
    EXPECT_EQ(sim().radio.menuValue(50, 1), "2");
    // The preset brings its own filter: the window asks for it again.
    ASSERT_TRUE(sim().radio.waitFor(
        [](const std::vector<qxsim::Received>& all) {
            int reads = 0;
            for (const auto& r : all)
                reads += r.text == "SL" || r.text == "SH" || r.text == "FW" || r.text == "IS";
            return reads == 4;
        },
        3000ms));
    ASSERT_TRUE(PumpUntil([&] { return window->shown().preset == 2; }));
}

TEST_F(FilterWindowTest, CloseHidesTheWindowAndAViewBringsItBack) {
    open();
    QTest::mouseClick(ui().close, Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(TheWindow(), window);
    DunmarView(nullptr, 0);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(TheWindow(), window);
    EXPECT_EQ(ui().preset->currentText(), QStringLiteral("A"));
}

} // namespace
