// SPDX-License-Identifier: GPL-3.0-or-later
// digit_steps_test.cpp - a click on a frequency digit steps the frequency
// the display shows, once per step the operator asked for: a blank display
// tunes nothing, and presses that follow each other faster than the radio
// answers (a double click, a slow line) each step on from the one before.
#include "operations_fixture.h"

#include <console_link.h>

#include <cstdio>

namespace {

using namespace operations_test;

class DigitStepsTest : public OperationsTest {
protected:
    void RightClick(int id) {
        QTest::mousePress(Widget(id), Qt::RightButton);
        QTest::mouseRelease(Widget(id), Qt::RightButton);
    }
    // Everything the console sent before an ID asked now has arrived.
    std::vector<std::string> SentBeforeNow() {
        console->link()->ConnID();
        EXPECT_TRUE(radio().waitFor("ID", std::chrono::seconds(2)));
        std::vector<std::string> out;
        for (const std::string& text : Filtered())
            if (text != "ID")
                out.push_back(text);
        return out;
    }
    static constexpr int kMainKhz = idc::MainDigit0 + 7;
};

// The sub receiver off: the sub display is blank, and none of its digits
// sends a frequency (stepping from a frequency nobody reported would move
// the sub VFO to the step itself).
TEST_F(DigitStepsTest, TheBlankSubDisplayTunesNothing) {
    Ready();
    ASSERT_EQ(state().subReceiver, 0);
    ASSERT_EQ(state().split, 0);
    ASSERT_EQ(Hz(true), 0) << Shown(true);
    const std::int64_t before = radio().state().subFrequency;
    for (const int position : {2, 4, 7}) { // 100 MHz, 1 MHz, 1 kHz
        RightClick(idc::SubDigit0 + position);
        QTest::mousePress(Widget(idc::SubDigit0 + position), Qt::LeftButton);
        QTest::mouseRelease(Widget(idc::SubDigit0 + position), Qt::LeftButton);
    }
    EXPECT_EQ(SentBeforeNow(), std::vector<std::string>{});
    EXPECT_EQ(radio().state().subFrequency, before);
    EXPECT_EQ(Hz(true), 0) << Shown(true);

    // On and off again: the display is blank, though the console has
    // learnt the sub receiver's frequency meanwhile.
    radio().setFrequency(qxsim::Vfo::Sub, 145'000'000);
    console->link()->ConnSB("W", 1);
    ASSERT_TRUE(PumpUntil([&] { return state().subReceiver == 1 && Hz(true) == 145'000'000; }))
        << Shown(true);
    console->link()->ConnSB("W", 0);
    ASSERT_TRUE(PumpUntil([&] { return state().subReceiver == 0 && Hz(true) == 0; })) << Shown(true);
    Settle();
    RightClick(idc::SubDigit0 + 7);
    EXPECT_EQ(SentBeforeNow(), std::vector<std::string>{});
    EXPECT_EQ(radio().state().subFrequency, 145'000'000);
}

// Two presses before the radio has answered the first (the console handles
// no report in between): two steps, the second on from the first.
TEST_F(DigitStepsTest, PressesFasterThanTheRadioAnswersEachStepOnce) {
    Ready();
    ASSERT_EQ(Hz(false), 14'195'000);
    RightClick(kMainKhz);
    RightClick(kMainKhz);
    EXPECT_EQ(Wire(2), (std::vector<std::string>{Freq("FA", 14'196'000), Freq("FA", 14'197'000)}));
    ASSERT_TRUE(PumpUntil([&] { return Hz(false) == 14'197'000; })) << Shown(false);
    EXPECT_EQ(radio().state().vfoA, 14'197'000);
    Settle();
    // A double click with the left button: two steps down.
    QTest::mousePress(Widget(kMainKhz), Qt::LeftButton);
    QTest::mouseRelease(Widget(kMainKhz), Qt::LeftButton);
    QTest::mouseDClick(Widget(kMainKhz), Qt::LeftButton);
    EXPECT_EQ(Wire(2), (std::vector<std::string>{Freq("FA", 14'196'000), Freq("FA", 14'195'000)}));
    ASSERT_TRUE(PumpUntil([&] { return Hz(false) == 14'195'000; })) << Shown(false);
}

// The radio's own dial moves the frequency just after a step: the next
// press steps from the radio's value, not on from the step sent before.
TEST_F(DigitStepsTest, AfterTheRadioMovesANewPressStepsFromTheRadiosValue) {
    Ready();
    RightClick(kMainKhz);
    EXPECT_EQ(Wire(), std::vector<std::string>{Freq("FA", 14'196'000)});
    ASSERT_TRUE(PumpUntil([&] { return Hz(false) == 14'196'000; }));
    radio().setFrequency(qxsim::Vfo::A, 14'300'000);
    ASSERT_TRUE(PumpUntil([&] { return Hz(false) == 14'300'000; })) << Shown(false);
    Settle();
    RightClick(kMainKhz);
    EXPECT_EQ(Wire(), std::vector<std::string>{Freq("FA", 14'301'000)});
}

} // namespace
