// SPDX-License-Identifier: GPL-3.0-or-later
// The setup panel's transverter rows as the operator works them: a frequency
// typed after Ent (the period, the keypad, Esc, other keys, closing during
// entry) and the digits stepped with the mouse.
#include "setup_panel.h"
#include "setup_panel_fixture.h"
#include "test_helpers.h"

#include <QApplication>
#include <QPushButton>

#include <chrono>

namespace pandor::test {
namespace {

using namespace std::chrono_literals;

// ------------------------------------------------------------ entry

TEST_F(SetupPanelTest, TypedFrequencyWithThePeriodIsTakenByEnt) {
    CSetupPanel* panel = Open();
    PandorMsgPS(1);
    Ent(0)->click();
    ASSERT_TRUE(panel->inEntry());
    EXPECT_EQ(panel->rowShown(0), "--.---.---.---");
    EXPECT_EQ(panel->focusWidget(), Ent(0));
    for (int row = 1; row < 4; ++row) {
        EXPECT_FALSE(Ent(row)->isEnabled()) << row;
    }
    EXPECT_TRUE(Ent(0)->isEnabled());
    EXPECT_FALSE(Ok()->isEnabled());
    EXPECT_FALSE(Cancel()->isEnabled());
    EXPECT_FALSE(ResetAll()->isEnabled());
    EXPECT_FALSE(ResetVfo()->isEnabled());
    EXPECT_FALSE(PortList()->isEnabled());

    Type("144.1");
    EXPECT_EQ(panel->rowShown(0), "   144.1--.---");
    EXPECT_EQ(panel->frequency(0), 0) << "taken only when entry ends";
    Ent(0)->click();
    EXPECT_FALSE(panel->inEntry());
    EXPECT_EQ(panel->frequency(0), 144'100'000);
    EXPECT_EQ(panel->rowShown(0), "   144.100.000");
    for (int row = 0; row < 4; ++row) {
        EXPECT_TRUE(Ent(row)->isEnabled()) << row;
    }
    EXPECT_TRUE(Ok()->isEnabled() && Cancel()->isEnabled() && ResetAll()->isEnabled() && ResetVfo()->isEnabled());
    EXPECT_EQ(Stored("TransFreqMain"), "<missing>") << "the profile waits for OK";
}

TEST_F(SetupPanelTest, EleventhDigitEndsEntryAndKeypadKeysCount) {
    CSetupPanel* panel = Open();
    Ent(2)->click();
    Type("0043", Qt::KeypadModifier);
    Type("2");
    Type(".", Qt::KeypadModifier); // five digits typed: ignored
    Type("100000");
    EXPECT_FALSE(panel->inEntry());
    EXPECT_EQ(panel->frequency(2), 432'100'000);
}

TEST_F(SetupPanelTest, KeypadDecimalCommaActsAsThePeriod) {
    CSetupPanel* panel = Open();
    Ent(1)->click();
    Type("28");
    QKeyEvent comma(QEvent::KeyPress, Qt::Key_Comma, Qt::KeypadModifier, QStringLiteral(","));
    QCoreApplication::sendEvent(panel->focusWidget(), &comma);
    Type("5");
    Key(Qt::Key_Return);
    EXPECT_FALSE(panel->inEntry());
    EXPECT_TRUE(panel->isVisible()) << "Enter ends entry, it does not close the panel";
    EXPECT_EQ(panel->frequency(1), 28'500'000);
}

TEST_F(SetupPanelTest, EntWithoutTypingAndEscKeepTheFrequency) {
    Store("TransFreqSub", QStringLiteral("00028000000"));
    CSetupPanel* panel = Open();
    Ent(1)->click();
    Ent(1)->click();
    EXPECT_FALSE(panel->inEntry());
    EXPECT_EQ(panel->frequency(1), 28'000'000);

    Ent(1)->click();
    Type("5");
    Key(Qt::Key_Escape);
    EXPECT_FALSE(panel->inEntry());
    EXPECT_TRUE(panel->isVisible()) << "Esc ends entry, it does not cancel the panel";
    EXPECT_EQ(panel->frequency(1), 28'000'000);
    EXPECT_EQ(panel->rowShown(1), "    28.000.000");

    Key(Qt::Key_Escape);
    EXPECT_FALSE(panel->isVisible());
}

TEST_F(SetupPanelTest, OtherKeysDoNothingDuringEntry) {
    CSetupPanel* panel = Open();
    Ent(3)->click();
    Type("1");
    for (int key : {Qt::Key_A, Qt::Key_Minus, Qt::Key_Backspace, Qt::Key_Delete}) {
        PressKey(panel->focusWidget(), key);
    }
    EXPECT_TRUE(panel->inEntry());
    EXPECT_EQ(panel->rowShown(3), "1-.---.---.---");
    Ok()->click(); // disabled: nothing happens
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(Stored("Baud"), "<missing>");
}

TEST_F(SetupPanelTest, ResetButtonsStayOffAfterEntryWhileTheRadioIsOff) {
    CSetupPanel* panel = Open();
    Ent(0)->click();
    PandorMsgPS(1); // during entry: remembered, shown afterwards
    EXPECT_FALSE(ResetAll()->isEnabled());
    Key(Qt::Key_Escape);
    EXPECT_TRUE(ResetAll()->isEnabled() && ResetVfo()->isEnabled());
    PandorMsgPS(0);
    Ent(0)->click();
    Ent(0)->click();
    EXPECT_FALSE(panel->inEntry());
    EXPECT_FALSE(ResetAll()->isEnabled() || ResetVfo()->isEnabled());
}

TEST_F(SetupPanelTest, ClosingDuringEntryEndsItWithoutChange) {
    Store("TransFreqMain", QStringLiteral("00116000000"));
    CSetupPanel* panel = Open();
    Ent(0)->click();
    Type("5");
    panel->close();
    EXPECT_FALSE(panel->isVisible());
    EXPECT_FALSE(panel->inEntry());
    EXPECT_EQ(panel->frequency(0), 116'000'000);
    QuorelView(nullptr);
    EXPECT_TRUE(Ok()->isEnabled());
}

// ------------------------------------------------------------ mouse

TEST_F(SetupPanelTest, MousePressesStepTheDigitUnderThePointer) {
    Store("TransFreqMain", QStringLiteral("00144000000"));
    CSetupPanel* panel = Open();
    // Position 4 is the 1 MHz digit: left steps down, right up.
    Mouse(Digit(0, 4), QEvent::MouseButtonPress, Qt::LeftButton);
    EXPECT_EQ(panel->frequency(0), 143'000'000);
    EXPECT_TRUE(panel->stepTimerRunning(0));
    EXPECT_EQ(panel->stepTimerInterval(0), CSetupPanel::kFirstDelayMs);
    panel->OnStepTimer(0);
    EXPECT_EQ(panel->frequency(0), 142'000'000);
    EXPECT_EQ(panel->stepTimerInterval(0), CSetupPanel::kRepeatMs);
    panel->OnStepTimer(0);
    EXPECT_EQ(panel->frequency(0), 141'000'000);
    EXPECT_EQ(panel->rowShown(0), "   141.000.000");
    Mouse(Digit(0, 4), QEvent::MouseButtonRelease, Qt::LeftButton);
    EXPECT_FALSE(panel->stepTimerRunning(0));
    panel->OnStepTimer(0); // a tick already queued does nothing after the release
    EXPECT_EQ(panel->frequency(0), 141'000'000);

    Mouse(Digit(0, 10), QEvent::MouseButtonPress, Qt::RightButton);
    Mouse(Digit(0, 10), QEvent::MouseButtonDblClick, Qt::RightButton); // a quick second click
    Mouse(Digit(0, 10), QEvent::MouseButtonRelease, Qt::RightButton);
    EXPECT_EQ(panel->frequency(0), 141'000'002);
    EXPECT_EQ(Stored("TransFreqMain"), "00144000000") << "the profile waits for OK";
}

TEST_F(SetupPanelTest, ReleaseStopsEveryRowsTimerAndTheTopHolds) {
    Store("TransFreqUp", QStringLiteral("99999999999"));
    CSetupPanel* panel = Open();
    Mouse(Digit(3, 0), QEvent::MouseButtonPress, Qt::RightButton);
    EXPECT_EQ(panel->frequency(3), 99'999'999'999);
    panel->PressDigit(1, 0, true);
    EXPECT_TRUE(panel->stepTimerRunning(1) && panel->stepTimerRunning(3));
    Mouse(Digit(3, 0), QEvent::MouseButtonRelease, Qt::RightButton);
    for (int row = 0; row < 4; ++row) {
        EXPECT_FALSE(panel->stepTimerRunning(row)) << row;
    }
    Mouse(Digit(2, 0), QEvent::MouseButtonPress, Qt::LeftButton);
    EXPECT_EQ(panel->frequency(2), 0) << "nothing below zero";
}

TEST_F(SetupPanelTest, MouseDoesNothingDuringEntry) {
    CSetupPanel* panel = Open();
    Ent(0)->click();
    Mouse(Digit(1, 10), QEvent::MouseButtonPress, Qt::RightButton);
    EXPECT_EQ(panel->frequency(1), 0);
    EXPECT_FALSE(panel->stepTimerRunning(1));
}

} // namespace
} // namespace pandor::test
