// SPDX-License-Identifier: GPL-3.0-or-later
// The meter and the lamp: bar, held peak and squelch mark, steady and
// blinking lamps, and what their paint code puts on screen.
#include <kestrin.h>

#include "widget_image.h"

#include <QApplication>
#include <QImage>
#include <QTimerEvent>

#include <gtest/gtest.h>

namespace {

// ------------------------------------------------------------------ meter

// The centre pixel of segment `number` (1-based) of a meter as the paint
// code lays segments out: equal shares of the width.
QColor segmentPixel(const QImage& image, const CStaticMeterEx& meter, int number) {
    const double step = static_cast<double>(meter.width()) / meter.maxValue();
    const int x = static_cast<int>((number - 0.5) * step);
    return image.pixelColor(x, meter.height() / 2);
}

class KestrinMeter : public ::testing::Test {
protected:
    QWidget parent;
    CStaticMeterEx* meter = new CStaticMeterEx(&parent, 1, QRect(0, 0, 150, 10));
};

TEST_F(KestrinMeter, DefaultsToThirtySegments) {
    EXPECT_EQ(meter->maxValue(), CStaticMeterEx::kDefaultSegments);
    EXPECT_EQ(meter->maxValue(), 30);
}

TEST_F(KestrinMeter, LevelBeyondTheBarFillsItAndNegativeEmptiesIt) {
    EXPECT_NE(meter->ViewMeter(45), 0);
    EXPECT_EQ(meter->level(), 30);
    EXPECT_NE(meter->ViewMeter(-3), 0);
    EXPECT_EQ(meter->level(), 0);
}

TEST_F(KestrinMeter, WithoutHoldThePeakFollowsTheLevel) {
    meter->ViewMeter(20);
    meter->ViewMeter(4);
    EXPECT_EQ(meter->peak(), 4);
    EXPECT_EQ(meter->peakTimerId(), 0);
}

TEST_F(KestrinMeter, PeakIsHeldUntilTheHoldTimerFires) {
    ASSERT_NE(meter->SetTimerCount(1000), 0);
    meter->ViewMeter(20);
    meter->ViewMeter(5);
    EXPECT_EQ(meter->level(), 5);
    EXPECT_EQ(meter->peak(), 20);
    const int timer = meter->peakTimerId();
    ASSERT_NE(timer, 0);

    // A lower level does not restart the hold; the timer's expiry drops the
    // peak to the level of that moment.
    meter->ViewMeter(7);
    EXPECT_EQ(meter->peakTimerId(), timer);
    QTimerEvent expiry(timer);
    QCoreApplication::sendEvent(meter, &expiry);
    EXPECT_EQ(meter->peak(), 7);
    EXPECT_EQ(meter->peakTimerId(), 0);
}

// A transmission's last reading held past its hold time and then dropped to
// nothing: the lit peak segment goes once more after the hold time, it does
// not stay lit for good.
TEST_F(KestrinMeter, AFallAfterTheHoldRanOutIsHeldOnceAndThenFollowed) {
    ASSERT_NE(meter->SetTimerCount(300), 0);
    meter->ViewMeter(12);
    const int first = meter->peakTimerId();
    ASSERT_NE(first, 0);
    QTimerEvent expiry(first);
    QCoreApplication::sendEvent(meter, &expiry); // the level stood at 12
    ASSERT_EQ(meter->peak(), 12);
    ASSERT_EQ(meter->peakTimerId(), 0);

    meter->ViewMeter(0);
    EXPECT_EQ(meter->level(), 0);
    EXPECT_EQ(meter->peak(), 12); // held for one more hold time
    const int again = meter->peakTimerId();
    ASSERT_NE(again, 0) << "nothing will ever take the peak down";
    QTimerEvent second(again);
    QCoreApplication::sendEvent(meter, &second);
    EXPECT_EQ(meter->peak(), 0);
    EXPECT_EQ(meter->peakTimerId(), 0);
}

TEST_F(KestrinMeter, HigherLevelRaisesThePeakAndRestartsTheHold) {
    meter->SetTimerCount(300);
    meter->ViewMeter(10);
    meter->ViewMeter(12);
    EXPECT_EQ(meter->peak(), 12);
    EXPECT_NE(meter->peakTimerId(), 0);
}

TEST_F(KestrinMeter, ForeignTimerEventLeavesThePeak) {
    meter->SetTimerCount(300);
    meter->ViewMeter(10);
    meter->ViewMeter(2);
    QTimerEvent other(meter->peakTimerId() + 1000);
    QCoreApplication::sendEvent(meter, &other);
    EXPECT_EQ(meter->peak(), 10);
}

TEST_F(KestrinMeter, ResetClearsBarAndHeldPeak) {
    meter->SetTimerCount(1000);
    meter->ViewMeter(25);
    EXPECT_NE(meter->ResetMeter(), 0);
    EXPECT_EQ(meter->level(), 0);
    EXPECT_EQ(meter->peak(), 0);
    EXPECT_EQ(meter->peakTimerId(), 0);
}

TEST_F(KestrinMeter, SwitchingHoldOffDropsThePeak) {
    meter->SetTimerCount(1000);
    meter->ViewMeter(25);
    meter->ViewMeter(3);
    meter->SetTimerCount(0);
    EXPECT_EQ(meter->peak(), 3);
    EXPECT_EQ(meter->peakTimerId(), 0);
    EXPECT_EQ(meter->SetTimerCount(-1), 0);
    EXPECT_EQ(meter->holdTime(), 0);
}

TEST_F(KestrinMeter, SquelchMarkIsSeparateFromTheBar) {
    meter->ViewMeter(9);
    EXPECT_NE(meter->ViewSMeterSql(1, 6), 0);
    EXPECT_TRUE(meter->squelchDisplay());
    EXPECT_EQ(meter->squelchLevel(), 6);
    EXPECT_EQ(meter->level(), 9);
    // Off: the mark goes and the level is shown as ViewMeter would.
    EXPECT_NE(meter->ViewSMeterSql(0, 0), 0);
    EXPECT_FALSE(meter->squelchDisplay());
    EXPECT_EQ(meter->level(), 0);
}

TEST_F(KestrinMeter, MaxValueRejectsNonsenseAndShortensTheBar) {
    meter->ViewMeter(25);
    EXPECT_EQ(meter->SetMaxValue(0), 0);
    EXPECT_EQ(meter->SetMaxValue(-5), 0);
    EXPECT_EQ(meter->maxValue(), 30);
    EXPECT_NE(meter->SetMaxValue(10), 0);
    EXPECT_EQ(meter->maxValue(), 10);
    EXPECT_EQ(meter->level(), 10);
}

TEST_F(KestrinMeter, PaintsLitUnlitAndPeakSegmentsDifferently) {
    meter->SetForeColor(65280);
    meter->SetBackColor(0);
    meter->SetTimerCount(1000);
    meter->ViewMeter(20);
    meter->ViewMeter(10);
    const QImage image = render(meter);
    EXPECT_EQ(segmentPixel(image, *meter, 1), QColor(0, 255, 0));
    EXPECT_EQ(segmentPixel(image, *meter, 10), QColor(0, 255, 0));
    const QColor unlit = segmentPixel(image, *meter, 11);
    const QColor peak = segmentPixel(image, *meter, 20);
    const QColor beyond = segmentPixel(image, *meter, 30);
    EXPECT_EQ(unlit, beyond);
    EXPECT_LT(unlit.green(), 100); // dim, not lit
    EXPECT_NE(peak, unlit);
    EXPECT_GT(peak.green(), 200); // the held peak shows bright
}

TEST_F(KestrinMeter, ChangedColourShowsOnTheNextPaint) {
    meter->ViewMeter(30);
    meter->SetForeColor(255);
    EXPECT_EQ(segmentPixel(render(meter), *meter, 15), QColor(255, 0, 0));
    EXPECT_EQ(meter->foreColor(), 255u);
}

// ------------------------------------------------------------------- lamp

class KestrinLamp : public ::testing::Test {
protected:
    QWidget parent;
    CStaticLEDEx* lamp = new CStaticLEDEx(&parent, 7, QRect(0, 0, 20, 12));
    QColor centre() { return render(lamp).pixelColor(10, 6); }
};

TEST_F(KestrinLamp, SteadyLampShowsItsTwoColours) {
    lamp->SetOnColor(65280);
    lamp->SetOffColor(0);
    EXPECT_FALSE(lamp->isLit());
    const QColor off = centre();
    EXPECT_NE(lamp->SetLEDON(1), 0);
    EXPECT_TRUE(lamp->isOn());
    EXPECT_TRUE(lamp->isLit());
    EXPECT_EQ(lamp->blinkTimerId(), 0);
    const QColor on = centre();
    EXPECT_GT(on.green(), 200);
    EXPECT_LT(on.red(), 60);
    EXPECT_LT(off.green(), 60);
    lamp->SetLEDON(0);
    EXPECT_FALSE(lamp->isOn());
    EXPECT_EQ(centre(), off);
}

TEST_F(KestrinLamp, BlinkingLampAlternatesWhileOnOnly) {
    EXPECT_NE(lamp->SetTimerCount(500), 0);
    EXPECT_EQ(lamp->blinkTimerId(), 0); // off: nothing blinks
    lamp->SetLEDON(1);
    const int timer = lamp->blinkTimerId();
    ASSERT_NE(timer, 0);
    EXPECT_TRUE(lamp->isLit());
    QTimerEvent tick(timer);
    QCoreApplication::sendEvent(lamp, &tick);
    EXPECT_FALSE(lamp->isLit());
    EXPECT_TRUE(lamp->isOn());
    QCoreApplication::sendEvent(lamp, &tick);
    EXPECT_TRUE(lamp->isLit());
    lamp->SetLEDON(0);
    EXPECT_EQ(lamp->blinkTimerId(), 0);
    EXPECT_FALSE(lamp->isLit());
}

TEST_F(KestrinLamp, SteadyAgainAfterZeroCount) {
    lamp->SetTimerCount(200);
    lamp->SetLEDON(1);
    QTimerEvent tick(lamp->blinkTimerId());
    QCoreApplication::sendEvent(lamp, &tick);
    ASSERT_FALSE(lamp->isLit());
    lamp->SetTimerCount(0);
    EXPECT_TRUE(lamp->isLit());
    EXPECT_EQ(lamp->blinkTimerId(), 0);
}

} // namespace
