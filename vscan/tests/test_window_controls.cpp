// SPDX-License-Identifier: GPL-3.0-or-later
// The window without a sweep: creation, menu 015, the lists, the band
// change, the frequency entry, the dial and Set.
#include "window_fixture.h"

#include <QKeyEvent>

namespace glimra {
namespace {

using namespace std::chrono_literals;
using namespace glimra::testing;

QString Text(const CStaticEx* label) {
    return label->text();
}

QString Digits(const CVisualScanDlg::Controls& ui) {
    QString out;
    for (int i = 0; i < kDigits; ++i) {
        out += ui.digits[static_cast<std::size_t>(i)]->text();
        if (i == 1 || i == 4 || i == 7) {
            out += ui.separators[static_cast<std::size_t>(i == 1 ? 0 : i == 4 ? 1 : 2)]->text();
        }
    }
    return out;
}

void Key(QWidget* target, int key, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &press);
}

using VscanWindowControls = WindowTest;

TEST_F(VscanWindowControls, CreationCentresOnTheRadiosFrequency) {
    open();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Visual Scan"));
    EXPECT_EQ(window->size(), QSize(460, 540));
    EXPECT_TRUE(window->isOpen());
    EXPECT_EQ(window->control().centre.load(), 14'195'000);
    // "100Hz" and 61 channels: 3 kHz either side.
    EXPECT_EQ(Text(ui().lowLabel), QStringLiteral("14.192.000"));
    EXPECT_EQ(Text(ui().centreLabel), QStringLiteral("14.195.000"));
    EXPECT_EQ(Text(ui().highLabel), QStringLiteral("14.198.000"));
    EXPECT_EQ(Digits(ui()), QStringLiteral("    14.195.000"));
    EXPECT_EQ(ui().slider->value(), 30);
    EXPECT_EQ(ui().slider->maximum(), 60);
    EXPECT_FALSE(ui().pause->isEnabled());
    EXPECT_TRUE(ui().repeatOn->isChecked());
    EXPECT_EQ(ui().graphList->currentText(), QStringLiteral("1"));
    EXPECT_EQ(ui().spanList->currentText(), QStringLiteral("61"));
    EXPECT_EQ(ui().intervalList->currentText(), QStringLiteral("100"));
    EXPECT_EQ(ui().intervalList->count(), 19);
    EXPECT_EQ(ui().stepList->currentText(), QStringLiteral("100Hz"));
    EXPECT_EQ(ui().bandList->currentText(), QStringLiteral(" Main Band"));
    EXPECT_EQ(window->control().stopped.load(), 1);
}

TEST_F(VscanWindowControls, Menu015IsSavedClearedAndRestoredOnClose) {
    sim().radio().modify([](qxsim::State& s) { s.menu["0150000"] = "1"; });
    link().ConnEX("R", 61, 1, 0, 0, "");
    ASSERT_TRUE(sim().sync());
    sim().quiet();

    open();
    EXPECT_EQ(window->saved015(), 1u);
    EXPECT_EQ(sim().radio().menuValue(15, 0), "0");
    const auto ex = sim().commands({"EX"});
    ASSERT_GE(ex.size(), 3u);
    EXPECT_EQ(ex.front(), "EX0150000");              // the read
    EXPECT_NE(std::find(ex.begin(), ex.end(), "EX01500000"), ex.end()); // cleared
    EXPECT_EQ(ex.back(), "EX0610100");               // the menu stored before, asked again

    ui().close->click();
    EXPECT_FALSE(window->isOpen());
    EXPECT_FALSE(window->isVisible());
    ASSERT_TRUE(sim().waitFor("EX01500001", 2s));
    EXPECT_TRUE(pumpUntil([&] { return !mainWindow->received.empty(); }));
    EXPECT_EQ(mainWindow->messages().front(), platform::kUmVscanClosed);

    // Shown again: saved and cleared again.
    sim().quiet();
    GlimraView(nullptr);
    EXPECT_TRUE(window->isOpen());
    EXPECT_TRUE(sim().waitFor("EX01500000", 2s));
}

TEST_F(VscanWindowControls, ViewingAgainAndReportsOfMenu15ClearIt) {
    open();
    // Viewing the open window again clears menu 015 once more.
    sim().radio().modify([](qxsim::State& s) { s.menu["0150000"] = "2"; });
    GlimraView(nullptr);
    EXPECT_TRUE(sim().waitFor("EX01500000", 2s));
    ASSERT_TRUE(Eventually([&] { return sim().radio().menuValue(15, 0) == "0"; }, 2s));
    // A report of menu 15 above 0 while open clears it again.
    sim().quiet();
    GlimraMsgEX(15, 0, 0, 0, "3");
    EXPECT_TRUE(sim().waitFor("EX01500000", 2s));
}

TEST_F(VscanWindowControls, SpanAndStepMoveTheEdgesAroundTheCentre) {
    sim().radio().modify([](qxsim::State& s) { s.vfoA = 14'000'000; });
    link().ConnFA("R", "");
    ASSERT_TRUE(sim().sync());
    open();
    ui().stepList->setCurrentText(QStringLiteral("100kHz"));
    ui().spanList->setCurrentText(QStringLiteral("181"));
    EXPECT_EQ(window->control().span.load(), 181);
    EXPECT_EQ(window->control().step.load(), 100'000);
    EXPECT_EQ(window->control().low.load(), 5'000'000);
    EXPECT_EQ(window->control().high.load(), 23'000'000);
    EXPECT_EQ(Text(ui().lowLabel), QStringLiteral("5.000.000"));
    EXPECT_EQ(Text(ui().highLabel), QStringLiteral("23.000.000"));
    EXPECT_EQ(ui().slider->maximum(), 180);
    EXPECT_EQ(ui().slider->value(), 90);
    EXPECT_EQ(ui().graph->span(), 181);
    // On the main band a step change sends nothing.
    EXPECT_EQ(sim().count("ST"), 0u);
}

TEST_F(VscanWindowControls, GraphListSetsTheMode) {
    open();
    ui().graphList->setCurrentIndex(2);
    EXPECT_EQ(window->graphMode(), 3);
    EXPECT_EQ(ui().graph->mode(), 3);
}

TEST_F(VscanWindowControls, BandChangeRefillsTheStepListKeepingTheStep) {
    open();
    ui().stepList->setCurrentText(QStringLiteral("10kHz"));
    GlimraMsgDC(0, 1);
    EXPECT_EQ(window->band(), 1);
    ASSERT_EQ(ui().stepList->count(), 10);
    EXPECT_EQ(ui().stepList->itemText(0), QStringLiteral("5kHz"));
    EXPECT_EQ(ui().stepList->currentText(), QStringLiteral("10kHz"));
    EXPECT_EQ(ui().bandList->currentText(), QStringLiteral(" Sub Band"));
    // Reset on the sub band: the sub receiver's frequency, FC.
    EXPECT_EQ(window->control().selector.load(), 2u);
    EXPECT_EQ(window->control().centre.load(), 145'000'000);
    EXPECT_EQ(window->control().step.load(), 10'000);

    GlimraMsgDC(0, 0);
    ASSERT_EQ(ui().stepList->count(), 15);
    EXPECT_EQ(ui().stepList->currentText(), QStringLiteral("10kHz"));
    EXPECT_EQ(window->control().centre.load(), 14'195'000);

    // A fine main-band step keeps its place in the sub list.
    ui().stepList->setCurrentText(QStringLiteral("100Hz"));
    GlimraMsgDC(0, 1);
    EXPECT_EQ(ui().stepList->currentText(), QStringLiteral("5kHz"));
    // The same report again changes nothing.
    sim().quiet();
    GlimraMsgDC(0, 1);
    EXPECT_FALSE(sim().radio().waitFor("FC", 200ms));
}

TEST_F(VscanWindowControls, StepChangeOnTheSubBandSendsTheStepCode) {
    sim().radio().modify([](qxsim::State& s) { s.controlBand = 1; });
    link().ConnDC("R", 0, 0);
    ASSERT_TRUE(sim().sync());
    open();
    EXPECT_EQ(window->band(), 1);
    sim().quiet();
    ui().stepList->setCurrentText(QStringLiteral("12.5kHz"));
    EXPECT_TRUE(sim().radio().waitFor("ST03", 2s));
    EXPECT_EQ(window->control().low.load(), 145'000'000 - 30 * 12'500);
}

TEST_F(VscanWindowControls, BandListSendsDcWithTheReportedTransmitBand) {
    open();
    sim().quiet();
    ui().bandList->setCurrentIndex(1);
    EXPECT_TRUE(sim().radio().waitFor("DC01", 2s));
}

TEST_F(VscanWindowControls, FrRulesWhileStopped) {
    open();
    GlimraMsgFR(1);
    EXPECT_EQ(window->control().selector.load(), 1u);
    GlimraMsgFR(3); // memory or call: counts as 0
    EXPECT_EQ(window->control().selector.load(), 0u);
}

TEST_F(VscanWindowControls, KeyboardEntryTakesMegahertzFirst) {
    open();
    ui().ent->click();
    EXPECT_TRUE(window->entryActive());
    EXPECT_EQ(Digits(ui()), QStringLiteral("--.---.---.---"));
    Key(window, Qt::Key_1, "1");
    Key(window, Qt::Key_4, "4");
    Key(window, Qt::Key_Period, ".");
    Key(window, Qt::Key_1, "1");
    Key(window, Qt::Key_9, "9");
    Key(window, Qt::Key_5, "5");
    EXPECT_EQ(Digits(ui()), QStringLiteral("    14.195.---"));
    Key(window, Qt::Key_Escape);
    EXPECT_FALSE(window->entryActive());
    EXPECT_EQ(window->entered(), 14'195'000);
    EXPECT_EQ(Digits(ui()), QStringLiteral("    14.195.000"));
    // Nothing is tuned until Set.
    EXPECT_EQ(sim().count("FA0"), 0u);
}

TEST_F(VscanWindowControls, EntryOfAFrequencyInNoBandKeepsThePreviousOne) {
    open();
    window->setEntered(7'050'000);
    ui().ent->click();
    for (int key : {Qt::Key_7, Qt::Key_0, Qt::Key_0}) {
        Key(window, key, QString(QChar(key)));
    }
    Key(window, Qt::Key_Period, ".");
    Key(window, Qt::Key_Return);
    EXPECT_FALSE(window->entryActive());
    EXPECT_EQ(window->entered(), 7'050'000);
}

TEST_F(VscanWindowControls, EleventhDigitEndsTheEntry) {
    open();
    ui().ent->click();
    for (QChar c : QStringLiteral("00145500000")) {
        Key(window, Qt::Key_0 + (c.unicode() - '0'), QString(c));
    }
    EXPECT_FALSE(window->entryActive());
    EXPECT_EQ(window->entered(), 145'500'000);
}

TEST_F(VscanWindowControls, SetOutsideEveryBandShowsTheMessageAndSendsNothing) {
    open();
    window->setEntered(700'000'000);
    sim().quiet();
    ui().set->click();
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text, QStringLiteral("Invalid Frequency.\nPlease check and try again."));
    EXPECT_EQ(dialogs->messages[0].caption, QStringLiteral("Zephyra"));
    EXPECT_TRUE(dialogs->messages[0].flags & platform::MbIconWarning);
    EXPECT_FALSE(sim().radio().waitFor([](const auto& all) { return !all.empty(); }, 300ms));
}

TEST_F(VscanWindowControls, SetTunesTheEnteredFrequencyAndCentresOnIt) {
    open();
    window->setEntered(7'050'000);
    ui().set->click();
    EXPECT_TRUE(sim().radio().waitFor("FA00007050000", 2s));
    EXPECT_EQ(window->control().centre.load(), 7'050'000);
    EXPECT_EQ(Text(ui().centreLabel), QStringLiteral("7.050.000"));
    EXPECT_TRUE(dialogs->messages.empty());
}

// A radio that answers late: the centre is the frequency Set tuned, never
// the one stored before, and the sweep later tunes back to it.
TEST_F(VscanWindowControls, SetOnASlowRadioCentresOnTheEnteredFrequency) {
    open();
    qxsim::Faults slow;
    slow.delay = 150ms;
    sim().radio().setFaults(slow);
    window->setEntered(7'050'000);
    ui().set->click();
    EXPECT_EQ(window->control().centre.load(), 7'050'000);
    EXPECT_EQ(Text(ui().centreLabel), QStringLiteral("7.050.000"));
    ui().intervalList->addItem(QStringLiteral("20"));
    ui().intervalList->setCurrentIndex(ui().intervalList->count() - 1);
    ui().start->click();
    ASSERT_FALSE(stopped());
    ASSERT_TRUE(sim().waitCount("FA0", 3, 5s));
    ui().stop->click();
    EXPECT_TRUE(Eventually([&] { return sim().radio().state().vfoA == 7'050'000; }, 2s));
    EXPECT_EQ(sim().count(SimLink::FrequencyCommand("FA", 14'195'000)), 0u);
}

// The sub band's step, set from the Step list, is the radio's again after
// the sweep and when the window closes; the next sweep sets it again.
TEST_F(VscanWindowControls, TheSubBandStepIsPutBackAfterTheSweep) {
    sim().radio().modify([](qxsim::State& s) {
        s.controlBand = 1;
        s.values["ST"] = {1};
    });
    link().ConnDC("R", 0, 0);
    link().ConnST("R", 0);
    ASSERT_TRUE(sim().sync());
    open();
    ASSERT_EQ(window->band(), 1);
    ui().intervalList->addItem(QStringLiteral("20"));
    ui().intervalList->setCurrentIndex(ui().intervalList->count() - 1);
    sim().quiet();
    ui().stepList->setCurrentText(QStringLiteral("12.5kHz"));
    ASSERT_TRUE(sim().radio().waitFor("ST03", 2s));
    ui().start->click();
    ASSERT_TRUE(sim().waitCount("FC0", 2, 5s));
    ui().stop->click();
    EXPECT_TRUE(Eventually([&] { return sim().radio().value("ST") == 1; }, 2s));
    sim().quiet();
    ui().start->click();
    EXPECT_TRUE(sim().radio().waitFor("ST03", 2s));
    ui().stop->click();
    EXPECT_TRUE(Eventually([&] { return sim().radio().value("ST") == 1; }, 2s));
    // Changed and closed without a sweep: put back too.
    ui().stepList->setCurrentText(QStringLiteral("25kHz"));
    ASSERT_TRUE(Eventually([&] { return sim().radio().value("ST") == 6; }, 2s));
    ui().close->click();
    EXPECT_TRUE(Eventually([&] { return sim().radio().value("ST") == 1; }, 2s));
}

// Destroyed while open (File > Exit, the terminal from the menu): menu 015
// gets back the value the window found.
TEST_F(VscanWindowControls, DestroyWhileOpenRestoresMenu015) {
    sim().radio().modify([](qxsim::State& s) { s.menu["0150000"] = "1"; });
    link().ConnEX("R", 61, 1, 0, 0, "");
    ASSERT_TRUE(sim().sync());
    open();
    ASSERT_EQ(sim().radio().menuValue(15, 0), "0");
    sim().quiet();
    GlimraDestroy();
    EXPECT_TRUE(sim().radio().waitFor("EX01500001", 2s));
    EXPECT_TRUE(Eventually([&] { return sim().radio().menuValue(15, 0) == "1"; }, 2s));
}

TEST_F(VscanWindowControls, SetWithoutAStoredSbOnlyAsksForIt) {
    open();
    qxsim::Faults silent;
    silent.silent = true;
    sim().radio().setFaults(silent);
    link().ConnSB("R", 0); // clears the record; the silent radio never answers
    sim().quiet();
    window->setEntered(7'050'000);
    ui().set->click();
    EXPECT_TRUE(sim().radio().waitFor("SB", 2s));
    EXPECT_EQ(sim().count("FA"), 0u);
}

TEST_F(VscanWindowControls, BandKeysSendBdAndBuAndReset) {
    open();
    sim().quiet();
    ui().bandUp->click();
    EXPECT_TRUE(sim().radio().waitFor("BU", 2s));
    ui().bandDown->click();
    EXPECT_TRUE(sim().radio().waitFor("BD", 2s));
}

TEST_F(VscanWindowControls, DigitClicksStepTheirPlaceAndRepeatWhileHeld) {
    open();
    window->DigitPressed(3, true);
    EXPECT_EQ(window->entered(), 14'196'000);
    // Held: it repeats (first after 300 ms, then every 100 ms).
    ASSERT_TRUE(pumpUntil([&] { return window->entered() >= 14'198'000; }, 3000));
    window->DigitReleased();
    const std::int64_t released = window->entered();
    pumpFor(350);
    EXPECT_EQ(window->entered(), released);
    window->DigitPressed(0, false);
    window->DigitReleased();
    EXPECT_EQ(window->entered(), released - 1);
}

struct DialCase {
    const char* step;
    bool raise;
    std::int64_t change;
};

class VscanDialSteps : public WindowTest, public ::testing::WithParamInterface<DialCase> {};

TEST_P(VscanDialSteps, EveryFifthMoveIsOneStepOfTheList) {
    open();
    ui().stepList->setCurrentText(QString::fromLatin1(GetParam().step));
    const std::int64_t before = window->entered();
    window->DialClicked();
    EXPECT_EQ(window->dialPosition(), 1);
    for (int i = 0; i < 4; ++i) {
        window->DialMove(GetParam().raise);
    }
    EXPECT_EQ(window->entered(), before);
    window->DialMove(GetParam().raise);
    EXPECT_EQ(window->entered(), before + GetParam().change);
    EXPECT_NE(window->dialPosition(), 1);
    window->DialDoubleClicked();
    EXPECT_EQ(window->dialPosition(), 0);
    for (int i = 0; i < 10; ++i) {
        window->DialMove(GetParam().raise);
    }
    EXPECT_EQ(window->entered(), before + GetParam().change);
}

INSTANTIATE_TEST_SUITE_P(Steps, VscanDialSteps,
                         ::testing::Values(DialCase{"50kHz", true, 50'000},
                                           DialCase{"100kHz", false, -100'000},
                                           DialCase{"100Hz", true, 100}));

TEST_F(VscanWindowControls, DialWaitComesFromTheProfile) {
    platform::WriteProfileInt(QStringLiteral("Setting"), QStringLiteral("DialWait"), 2);
    open();
    const std::int64_t before = window->entered();
    window->DialClicked();
    window->DialMove(true);
    window->DialMove(true);
    EXPECT_EQ(window->entered(), before + 100);
    platform::WriteProfileInt(QStringLiteral("Setting"), QStringLiteral("DialWait"), 5);
}

TEST_F(VscanWindowControls, DestroyWritesThePositionAndTheWindowIsGone) {
    open();
    window->move(120, 80);
    GlimraDestroy();
    EXPECT_EQ(TheWindow(), nullptr);
    EXPECT_EQ(platform::GetProfileString(QStringLiteral("WindowPos"), QStringLiteral("Vs"), {}).size(), 10);
    // The exports are harmless without a window.
    GlimraScanStop();
    GlimraMsgTX(0);
    GlimraMsgDC(0, 1);
    GlimraDestroy();
}

} // namespace
} // namespace glimra
