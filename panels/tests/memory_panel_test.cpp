// SPDX-License-Identifier: GPL-3.0-or-later
// The memory channel editor: the frequency rows as shown, the digit stepping
// with press and hold, the lists and their values, the name check, and what
// OK and Cancel hand back to the console.
#include "memory_lists.h"
#include "test_helpers.h"

#include <kestrin.h>

#include <QCheckBox>
#include <QComboBox>
#include <QMouseEvent>
#include <QRadioButton>

#include <cstring>
#include <string>

namespace pandor::test {
namespace {

// ---------------------------------------------------------- shown digits

struct ShownCase {
    std::int64_t hz;
    bool emptyWhenZero;
    const char* digits; // eleven characters
    std::array<bool, 3> dots;
};

class ShownDigits : public ::testing::TestWithParam<ShownCase> {};

TEST_P(ShownDigits, LeadingZerosBlankAndDotsFollowTheFirstDigit) {
    const ShownCase& c = GetParam();
    const FrequencyDigits shown = ShowFrequency(c.hz, c.emptyWhenZero);
    EXPECT_EQ(std::string(shown.digits.data(), shown.digits.size()), std::string(c.digits));
    EXPECT_EQ(shown.dots, c.dots);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ShownDigits,
    ::testing::Values(ShownCase{145'500'000, false, "  145500000", {false, true, true}},
                      ShownCase{14'195'000, false, "   14195000", {false, true, true}},
                      ShownCase{999'999, false, "     999999", {false, false, true}},
                      ShownCase{30, false, "         30", {false, false, false}},
                      ShownCase{1'240'000'000, false, " 1240000000", {true, true, true}},
                      ShownCase{99'999'999'999, false, "99999999999", {true, true, true}},
                      ShownCase{0, false, "           ", {false, false, false}},
                      ShownCase{0, true, "           ", {false, false, false}}));

// ---------------------------------------------------------- digit steps

struct StepCase {
    std::int64_t hz;
    std::int64_t amount;
    std::int64_t expected;
};

class DigitStep : public ::testing::TestWithParam<StepCase> {};

TEST_P(DigitStep, HoldsTheTopAndRefusesToGoBelowThirtyHertz) {
    EXPECT_EQ(StepFrequency(GetParam().hz, GetParam().amount), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Bounds, DigitStep,
                         ::testing::Values(StepCase{30, -1, 30}, StepCase{30, 1, 31},
                                           StepCase{99'999'999'999, 10'000'000'000, 99'999'999'999},
                                           StepCase{95'000'000'000, 10'000'000'000, 99'999'999'999},
                                           StepCase{145'000'000, -1'000'000'000, 145'000'000},
                                           StepCase{145'000'000, -100'000'000, 45'000'000},
                                           StepCase{39, -10, 39}, StepCase{40, -10, 30}));

// ---------------------------------------------------------- name check

struct NameCase {
    const char* text;
    std::uint32_t version;
    bool allowed;
};

class NameCheck : public ::testing::TestWithParam<NameCase> {};

TEST_P(NameCheck, PrintableTextWithoutTheCommandEnd) {
    EXPECT_EQ(NameAllowed(QByteArray(GetParam().text), GetParam().version), GetParam().allowed)
        << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Texts, NameCheck,
                         ::testing::Values(NameCase{"W1AW RPT", 0, true}, NameCase{"", 0, true},
                                           NameCase{"A;B", 0, false}, NameCase{"A;B", 7, false},
                                           NameCase{"TAB\t", 0, false}, NameCase{"~\x7f", 0, true},
                                           NameCase{"\xe9t\xe9", 0, false}, NameCase{"\xe9t\xe9", 4, false},
                                           NameCase{"\xe9t\xe9", 5, true}, NameCase{"\xe9t\xe9", 9, true},
                                           NameCase{"\xe9t\xe9", 10, false}));

TEST(MemoryLists, TablesHaveTheirSizesAndEnds) {
    EXPECT_EQ(ToneTexts().size(), 39);
    EXPECT_EQ(ToneTexts().front(), QStringLiteral("     67.0 "));
    EXPECT_EQ(ToneTexts().back(), QStringLiteral("   1750.0 "));
    EXPECT_EQ(CtcssTexts().size(), 38);
    EXPECT_EQ(CtcssTexts().back(), QStringLiteral("    250.3 "));
    EXPECT_EQ(DcsTexts().size(), 104);
    EXPECT_EQ(DcsTexts().front(), QStringLiteral("    023"));
    EXPECT_EQ(DcsTexts().back(), QStringLiteral("    754"));
    EXPECT_EQ(OffsetTexts().size(), 1200);
    EXPECT_EQ(OffsetTexts().back(), QStringLiteral("  59950000"));
    EXPECT_EQ(StepTexts(4).size(), 10);
    EXPECT_EQ(StepTexts(2).size(), 4);
    // Mode codes the list lacks select the first entry; 8 is not a list mode.
    EXPECT_EQ(ModeIndexOf(9), 7);
    EXPECT_EQ(ModeIndexOf(8), 0);
    EXPECT_EQ(ModeIndexOf(0), 0);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(ModeIndexOf(ModeCodeAt(i)), i);
    }
}

// ---------------------------------------------------------- the window

class MemoryEditor : public MemoryPanelTest {
protected:
    void Load(std::int64_t rx, std::uint32_t rxMode, std::uint32_t rxStep, std::int64_t tx,
              const char* name = "RPT") {
        PandorSetMemVal(static_cast<std::uint32_t>(rx), static_cast<std::uint32_t>(rx >> 32), rxMode, rxStep,
                        static_cast<std::uint32_t>(tx), static_cast<std::uint32_t>(tx >> 32), 4, 2, 600'000, 2, 1,
                        12, 13, 20, 2, 5, name, 1);
    }
    MemoryChannel Get() {
        MemoryChannel c;
        PandorGetMemVal(&c.rxFreq, &c.rxMode, &c.rxStep, &c.txFreq, &c.txMode, &c.txStep, &c.offset, &c.shift,
                        &c.reverse, &c.toneNumber, &c.ctcssNumber, &c.dcsCode, &c.toneType, &c.group,
                        c.name.data(), &c.lockout);
        return c;
    }
};

TEST_F(MemoryEditor, LoadedChannelShowsInEveryControl) {
    Load(145'500'000, 4, 9, 145'100'000);
    EXPECT_EQ(panel->RowText(CMemoryPanel::kRx), QStringLiteral("   145.500.000"));
    EXPECT_EQ(panel->RowText(CMemoryPanel::kTx), QStringLiteral("   145.100.000"));
    EXPECT_EQ(panel->modeList(CMemoryPanel::kRx)->currentIndex(), 3);
    EXPECT_EQ(panel->stepList(CMemoryPanel::kRx)->count(), 10);
    EXPECT_EQ(panel->stepList(CMemoryPanel::kRx)->currentIndex(), 9);
    EXPECT_EQ(panel->offsetList()->currentIndex(), 12);
    EXPECT_EQ(panel->shiftList()->currentIndex(), 2);
    EXPECT_EQ(panel->reverseList()->currentIndex(), 1);
    EXPECT_EQ(panel->toneList()->currentIndex(), 11);
    EXPECT_EQ(panel->ctcssList()->currentIndex(), 12);
    EXPECT_EQ(panel->dcsList()->currentIndex(), 20);
    EXPECT_EQ(panel->groupList()->currentIndex(), 5);
    EXPECT_EQ(panel->nameField()->text(), QStringLiteral("RPT"));
    EXPECT_TRUE(panel->lockoutBox()->isChecked());
    const auto buttons = panel->findChildren<QRadioButton*>();
    ASSERT_EQ(buttons.size(), 4);
    EXPECT_TRUE(buttons[2]->isChecked()) << "tone type 2 checks CTCSS";
    EXPECT_TRUE(panel->RowEnabled(CMemoryPanel::kTx));
}

TEST_F(MemoryEditor, ChannelWithoutTransmitFrequencyHasAnEmptyDisabledRow) {
    Load(430'000'000, 4, 0, 0);
    EXPECT_EQ(panel->RowText(CMemoryPanel::kTx), QString(14, QLatin1Char(' ')));
    EXPECT_FALSE(panel->RowEnabled(CMemoryPanel::kTx));
    panel->PressDigit(CMemoryPanel::kTx, 6, Qt::RightButton);
    panel->ReleaseButtons();
    EXPECT_EQ(Get().txFreq, 0) << "stepping an empty transmit row does nothing";
}

TEST_F(MemoryEditor, ValueOutsideAListLeavesItWithoutSelection) {
    PandorSetMemVal(1'000'000, 0, 0, 2, 0, 0, 0, 0, 60'000'000, 4, 2, 40, 0, 104, 1, 10, "", 0);
    EXPECT_EQ(panel->offsetList()->currentIndex(), -1);
    EXPECT_EQ(panel->shiftList()->currentIndex(), -1);
    EXPECT_EQ(panel->reverseList()->currentIndex(), -1);
    EXPECT_EQ(panel->toneList()->currentIndex(), -1);
    EXPECT_EQ(panel->ctcssList()->currentIndex(), -1);
    EXPECT_EQ(panel->dcsList()->currentIndex(), -1);
    EXPECT_EQ(panel->groupList()->currentIndex(), -1);
    EXPECT_EQ(panel->modeList(CMemoryPanel::kRx)->currentIndex(), 0) << "mode 0 selects LSB";
}

TEST_F(MemoryEditor, ThirtyHertzDoesNotStepDownButStepsUp) {
    Load(30, 1, 0, 0);
    panel->PressDigit(CMemoryPanel::kRx, 0, Qt::LeftButton);
    panel->ReleaseButtons();
    EXPECT_EQ(Get().rxFreq, 30);
    panel->PressDigit(CMemoryPanel::kRx, 0, Qt::RightButton);
    panel->ReleaseButtons();
    EXPECT_EQ(Get().rxFreq, 31);
    EXPECT_EQ(panel->RowText(CMemoryPanel::kRx), QStringLiteral("            31"));
}

TEST_F(MemoryEditor, TopFrequencyPlusTenGigahertzStaysAtTheTop) {
    Load(99'999'999'999, 2, 0, 0);
    panel->PressDigit(CMemoryPanel::kRx, 10, Qt::RightButton);
    panel->ReleaseButtons();
    EXPECT_EQ(Get().rxFreq, 99'999'999'999);
}

TEST_F(MemoryEditor, HeldButtonRepeatsUntilReleasedAndReleaseStopsBothRows) {
    Load(145'000'000, 4, 0, 145'600'000);
    panel->PressDigit(CMemoryPanel::kRx, 3, Qt::RightButton); // 1 kHz up at once
    EXPECT_EQ(Get().rxFreq, 145'001'000);
    ASSERT_TRUE(panel->Repeating(CMemoryPanel::kRx));
    panel->RepeatTick(CMemoryPanel::kRx);
    panel->RepeatTick(CMemoryPanel::kRx);
    EXPECT_EQ(Get().rxFreq, 145'003'000);
    panel->PressDigit(CMemoryPanel::kTx, 5, Qt::LeftButton); // 100 kHz down
    EXPECT_EQ(Get().txFreq, 145'500'000);
    panel->ReleaseButtons();
    EXPECT_FALSE(panel->Repeating(CMemoryPanel::kRx));
    EXPECT_FALSE(panel->Repeating(CMemoryPanel::kTx));
}

TEST_F(MemoryEditor, MousePressOnADigitStepsThatDigitAndReleaseEndsTheRepeat) {
    Load(7'050'000, 2, 0, 0);
    // The sixth digit label from the left is the 100 kHz digit.
    auto labels = panel->findChildren<CStaticEx*>();
    CStaticEx* digit = nullptr;
    int seen = 0;
    for (CStaticEx* label : labels) {
        if (label->text().size() == 1 && label->width() == 17 && label->y() < 60 && ++seen == 6) {
            digit = label;
            break;
        }
    }
    ASSERT_NE(digit, nullptr);
    const QPointF at(5, 5);
    QMouseEvent press(QEvent::MouseButtonPress, at, digit->mapToGlobal(at), Qt::RightButton, Qt::RightButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(digit, &press);
    EXPECT_EQ(Get().rxFreq, 7'150'000);
    EXPECT_TRUE(panel->Repeating(CMemoryPanel::kRx));
    QMouseEvent release(QEvent::MouseButtonRelease, at, digit->mapToGlobal(at), Qt::RightButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(digit, &release);
    EXPECT_FALSE(panel->Repeating(CMemoryPanel::kRx));
}

TEST_F(MemoryEditor, FmToUsbKeepsTheStepIndexWithinTheShorterList) {
    Load(145'000'000, 4, 9, 0);
    panel->modeList(CMemoryPanel::kRx)->setCurrentIndex(1); // USB
    EXPECT_EQ(panel->stepList(CMemoryPanel::kRx)->count(), 4);
    EXPECT_EQ(panel->stepList(CMemoryPanel::kRx)->currentIndex(), 3);
    const MemoryChannel c = Get();
    EXPECT_EQ(c.rxMode, 2u);
    EXPECT_EQ(c.rxStep, 3u);
    panel->modeList(CMemoryPanel::kRx)->setCurrentIndex(4); // AM keeps index 3
    EXPECT_EQ(panel->stepList(CMemoryPanel::kRx)->currentIndex(), 3);
}

TEST_F(MemoryEditor, OperatorChangesReachTheConsole) {
    Load(145'000'000, 4, 0, 0);
    panel->offsetList()->setCurrentIndex(120);
    panel->shiftList()->setCurrentIndex(1);
    panel->toneList()->setCurrentIndex(38);
    panel->dcsList()->setCurrentIndex(103);
    panel->groupList()->setCurrentIndex(9);
    panel->lockoutBox()->setChecked(false);
    panel->findChildren<QRadioButton*>()[3]->click();
    const MemoryChannel c = Get();
    EXPECT_EQ(c.offset, 6'000'000u);
    EXPECT_EQ(c.shift, 1u);
    EXPECT_EQ(c.toneNumber, 39u);
    EXPECT_EQ(c.dcsCode, 103u);
    EXPECT_EQ(c.group, 9u);
    EXPECT_EQ(c.lockout, 0u);
    EXPECT_EQ(c.toneType, 3u);
}

TEST_F(MemoryEditor, NameWithCommandEndIsRefusedAndTheOldNameRestored) {
    Load(145'000'000, 4, 0, 0, "OLD");
    panel->nameField()->setText(QStringLiteral("NEW"));
    EXPECT_EQ(panel->storedName(), QByteArray("NEW"));
    panel->nameField()->setText(QStringLiteral("NE;W"));
    EXPECT_EQ(panel->nameField()->text(), QStringLiteral("NEW"));
    EXPECT_EQ(panel->nameField()->cursorPosition(), 3);
    panel->nameField()->setText(QStringLiteral("N\u20acW")); // outside Latin-1
    EXPECT_EQ(panel->nameField()->text(), QStringLiteral("NEW"));
    EXPECT_EQ(panel->storedName(), QByteArray("NEW"));
}

TEST_F(MemoryEditor, EightCharacterNameSurvivesOk) {
    Load(145'000'000, 4, 0, 0, "REPEATER");
    for (auto* button : panel->findChildren<QPushButton*>()) {
        if (button->text() == QStringLiteral("OK")) {
            button->click();
        }
    }
    Deliver();
    EXPECT_EQ(sink.received, (std::vector<Posted>{{platform::kUmMemoryEditEnd, 1, 0}}));
    char name[10];
    std::memset(name, 'q', sizeof name);
    PandorGetMemVal(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                    nullptr, nullptr, nullptr, nullptr, name, nullptr);
    EXPECT_STREQ(name, "REPEATER");
}

// A mode code the list lacks shows LSB, and LSB is what the console gets
// back, for either row.
TEST_F(MemoryEditor, ModeTheListLacksIsHandedBackAsTheModeShown) {
    for (const std::uint32_t code : {0u, 8u, 10u}) {
        PandorSetMemVal(14'000'000, 0, code, 0, 14'100'000, 0, code, 0, 0, 0, 0, 1, 1, 0, 0, 0, "", 0);
        EXPECT_EQ(panel->modeList(CMemoryPanel::kRx)->currentText().trimmed(), QStringLiteral("LSB"));
        const MemoryChannel c = Get();
        EXPECT_EQ(c.rxMode, 1u) << "mode " << code;
        EXPECT_EQ(c.txMode, 1u) << "mode " << code;
    }
}

// OK with a frequency no receiver has a band for: said, the editor stays
// open and the console is told nothing.
TEST_F(MemoryEditor, OkRefusesAFrequencyInNoBand) {
    struct Case {
        std::int64_t rx, tx;
        bool taken;
    };
    for (const Case& c : {Case{70'450'000, 0, false}, Case{145'500'000, 100'000'000, false},
                          Case{145'500'000, 0, true}, /* an empty record goes back as it is */ Case{0, 0, true}}) {
        sink.received.clear();
        Load(c.rx, 4, 0, c.tx);
        auto dialogs = std::make_shared<platform::ScriptedDialogs>();
        platform::SetDialogProvider(dialogs);
        RadioMchView(nullptr);
        for (auto* button : panel->findChildren<QPushButton*>()) {
            if (button->text() == QStringLiteral("OK")) {
                button->click();
            }
        }
        Deliver();
        platform::SetDialogProvider(nullptr);
        if (c.taken) {
            EXPECT_TRUE(dialogs->messages.empty());
            EXPECT_EQ(sink.received, (std::vector<Posted>{{platform::kUmMemoryEditEnd, 1, 0}}));
        } else {
            ASSERT_EQ(dialogs->messages.size(), 1u) << c.rx;
            EXPECT_EQ(dialogs->messages[0].text, QStringLiteral("Invalid Frequency.\nPlease check and try again."));
            EXPECT_TRUE(sink.received.empty());
            EXPECT_TRUE(panel->isVisible());
        }
    }
}

TEST_F(MemoryEditor, CancelTellsTheConsoleWithZero) {
    Load(145'000'000, 4, 0, 0);
    PressKey(panel, Qt::Key_Escape);
    Deliver();
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(sink.received, (std::vector<Posted>{{platform::kUmMemoryEditEnd, 0, 0}}));
}

} // namespace
} // namespace pandor::test
