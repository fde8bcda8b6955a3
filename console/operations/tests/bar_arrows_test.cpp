// SPDX-License-Identifier: GPL-3.0-or-later
// bar_arrows_test.cpp - the arrow keys on a focused bar move it the way its
// own arrow buttons do under the mouse: Right raises, Left lowers, each
// step sent once with the level the bar then shows.
#include "operations_fixture.h"

namespace {

using namespace operations_test;

class BarArrowsTest : public OperationsTest {
protected:
    // The centre of one of the bar's parts (its arrows), in its own pixels.
    QPoint PartCentre(QScrollBar* bar, QStyle::SubControl part) { return Part(bar, part).center(); }
    void Click(QScrollBar* bar, QPoint at) {
        QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, at);
    }
};

// On every bar: Right raises by one and Left lowers by one, each sent once;
// the mouse on the bar's right and left arrows does the same.
TEST_F(BarArrowsTest, RightRaisesAndLeftLowersAsTheArrowButtonsDo) {
    ReadyWithSub();
    for (const Bar& bar : kBars) {
        SCOPED_TRACE(bar.set);
        FromRadio(bar, 20);
        QScrollBar* b = ScrollBar(bar.id);
        b->setFocus();
        QTest::keyClick(b, Qt::Key_Right);
        Quiet();
        EXPECT_EQ(LevelSets(), std::vector<std::string>{Level(bar, 21)});
        EXPECT_EQ(b->value(), 21);
        Settle();
        QTest::keyClick(b, Qt::Key_Left);
        QTest::keyClick(b, Qt::Key_Left);
        Quiet();
        EXPECT_EQ(LevelSets(), (std::vector<std::string>{Level(bar, 20), Level(bar, 19)}));
        EXPECT_EQ(b->value(), 19);
        EXPECT_EQ(radio().value(bar.set), 19);
        Settle();
        // The mouse: the arrow at the right end raises, the one at the left lowers.
        Click(b, PartCentre(b, QStyle::SC_ScrollBarAddLine));
        Quiet();
        const auto mouseUp = LevelSets();
        Settle();
        Click(b, PartCentre(b, QStyle::SC_ScrollBarSubLine));
        Quiet();
        const auto mouseDown = LevelSets();
        Settle();
        ASSERT_EQ(mouseUp.size(), 1u);
        ASSERT_EQ(mouseDown.size(), 1u);
        EXPECT_EQ(mouseUp.front(), Level(bar, 20)) << "the right arrow";
        EXPECT_EQ(mouseDown.front(), Level(bar, 19)) << "the left arrow";
        // The right arrow button lies right of the left one, as the keys have it.
        EXPECT_GT(PartCentre(b, QStyle::SC_ScrollBarAddLine).x(), PartCentre(b, QStyle::SC_ScrollBarSubLine).x());
    }
}

} // namespace
