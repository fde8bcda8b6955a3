// SPDX-License-Identifier: GPL-3.0-or-later
// operator_changes_test.cpp - a level or a frequency changes only when the
// operator changes it: the level bars against keys that move nothing, a bar
// that lags the radio, drags, clicks on the groove and the bar's own menu;
// the digits, the keypad and the dial with TF-SET's swapped displays; the
// sub display's digits in split for every control and transmit band; a
// held digit on a slow radio; a long TF-SET press; the menus' mnemonics.
#include "operations_fixture.h"

#include <console_link.h>

#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTimer>

#include <cstdio>
#include <map>
#include <set>

namespace {

using namespace operations_test;
using Ops = ConsoleOperations;
using u32 = std::uint32_t;

class OperatorChangesTest : public OperationsTest {
protected:
    void MouseTo(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
        QMouseEvent e(type, QPointF(at), w->mapToGlobal(QPointF(at)),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
    // Opens the bar's own context menu and picks `item` from it.
    void MenuItem(QScrollBar* bar, const QString& item, QPoint at = QPoint()) {
        bool picked = false;
        QTimer::singleShot(0, [&] {
            PumpUntil([&] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()) != nullptr; },
                      std::chrono::seconds(2));
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            for (QAction* action : menu->actions())
                if (action->text() == item) {
                    menu->setActiveAction(action);
                    QTest::keyClick(menu, Qt::Key_Return);
                    picked = true;
                    return;
                }
            menu->close();
        });
        const QPoint point = at.isNull() ? bar->rect().center() : at;
        QContextMenuEvent open(QContextMenuEvent::Mouse, point, bar->mapToGlobal(point));
        QApplication::sendEvent(bar, &open);
        ASSERT_TRUE(picked) << item.toStdString();
    }
};

// ---------------------------------------------------------- level bars

// Tab, Shift+Tab and the modifiers alone cross every bar and move none:
// nothing is sent, and the radio keeps its levels.
TEST_F(OperatorChangesTest, KeysThatMoveNoBarSendNoLevel) {
    ReadyWithSub();
    const auto before = radio().state().values;
    for (const Bar& bar : kBars) {
        ScrollBar(bar.id)->setFocus();
        for (const int key : {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt, Qt::Key_Meta})
            Key(key);
        Key(Qt::Key_Tab);
        Key(Qt::Key_Backtab, Qt::ShiftModifier);
    }
    ScrollBar(idc::RfGainBar)->setFocus();
    for (int i = 0; i < 40; ++i)
        Key(Qt::Key_Tab);
    for (int i = 0; i < 40; ++i)
        Key(Qt::Key_Backtab, Qt::ShiftModifier);
    Quiet();
    EXPECT_EQ(LevelSets(), std::vector<std::string>{});
    EXPECT_EQ(radio().state().values, before);
}

// A bar behind the radio (its knob just turned, the report not drawn yet)
// is not written back by a key that does not move it.
TEST_F(OperatorChangesTest, ALaggingBarIsNeverWrittenBack) {
    ReadyWithSub();
    radio().setValue("AG0", {40});
    QScrollBar* af = ScrollBar(idc::AfMainBar);
    ASSERT_TRUE(PumpUntil([&] { return af->value() == 40; }));
    {
        const QSignalBlocker quiet(af); // as the radio's reports move it
        af->setValue(100);
    }
    Settle();
    af->setFocus();
    Key(Qt::Key_Shift);
    Key(Qt::Key_Control);
    Key(Qt::Key_Tab);
    Quiet();
    EXPECT_EQ(LevelSets(), std::vector<std::string>{});
    EXPECT_EQ(radio().state().values.at("AG0"), std::vector<long long>{40});
}

// Up and Down send once each, at once; a page step once, when its key is
// released; a key at the end of the range sends nothing.
TEST_F(OperatorChangesTest, EveryKeyStepSendsItsLevelOnce) {
    ReadyWithSub();
    const Bar& bar = kBars[4];
    FromRadio(bar, 100);
    QScrollBar* rf = ScrollBar(idc::RfGainBar);
    rf->setFocus();
    const int v = rf->value();
    Key(Qt::Key_Up);
    Quiet();
    EXPECT_EQ(LevelSets(), std::vector<std::string>{Level(bar, v + 1)});
    Settle();
    QTest::keyPress(rf, Qt::Key_PageDown);
    QTest::keyPress(rf, Qt::Key_PageDown, Qt::NoModifier); // held: the window system repeats
    Quiet();
    EXPECT_EQ(LevelSets(), std::vector<std::string>{}); // nothing until the key is up
    QTest::keyRelease(rf, Qt::Key_PageDown);
    Quiet();
    EXPECT_EQ(LevelSets(), std::vector<std::string>{Level(bar, v - 9)});
    Settle();
    {
        const QSignalBlocker quiet(rf);
        rf->setValue(255);
    }
    Key(Qt::Key_Up);
    Quiet();
    EXPECT_EQ(LevelSets(), std::vector<std::string>{});
}

// A drag and a click on the groove send once, when the button is up, the
// level where the bar stands; the radio then holds what the bar shows.
TEST_F(OperatorChangesTest, DragAndGrooveSendOnceWhenTheButtonIsUp) {
    ReadyWithSub();
    QScrollBar* af = ScrollBar(idc::AfMainBar);
    const Bar& bar = kBars[0];
    const int before = af->value();

    const QPoint thumb = Part(af, QStyle::SC_ScrollBarSlider).center();
    MouseTo(af, QEvent::MouseButtonPress, thumb, Qt::LeftButton);
    for (int dx = 2; dx <= 20; dx += 2)
        MouseTo(af, QEvent::MouseMove, thumb + QPoint(dx, 0), Qt::LeftButton);
    ASSERT_NE(af->value(), before);
    PumpFor(std::chrono::milliseconds(50));
    EXPECT_EQ(LevelSets(), std::vector<std::string>{}); // still dragging
    MouseTo(af, QEvent::MouseButtonRelease, thumb + QPoint(20, 0), Qt::NoButton);
    Quiet();
    EXPECT_EQ(LevelSets(), std::vector<std::string>{Level(bar, af->value())});
    EXPECT_EQ(radio().state().values.at("AG0"), std::vector<long long>{af->value()});

    Settle();
    const int dragged = af->value();
    const QRect page = Part(af, QStyle::SC_ScrollBarSubPage);
    ASSERT_TRUE(page.isValid());
    MouseTo(af, QEvent::MouseButtonPress, page.center(), Qt::LeftButton);
    MouseTo(af, QEvent::MouseButtonRelease, page.center(), Qt::NoButton);
    ASSERT_LT(af->value(), dragged);
    Quiet();
    EXPECT_EQ(LevelSets(), std::vector<std::string>{Level(bar, af->value())});
    EXPECT_EQ(radio().state().values.at("AG0"), std::vector<long long>{af->value()});
}

// The bar's own menu moves it, so it sends: on every bar, "Right edge"
// sends the top level and the next small step goes on from there.
TEST_F(OperatorChangesTest, TheBarsMenuSendsWhatItShows) {
    ReadyWithSub();
    for (const Bar& bar : kBars) {
        QScrollBar* scroll = ScrollBar(bar.id);
        ASSERT_TRUE(scroll->isEnabled()) << bar.set;
        ASSERT_NE(scroll->contextMenuPolicy(), Qt::NoContextMenu) << bar.set;
        FromRadio(bar, 30);
        MenuItem(scroll, QStringLiteral("Right edge"));
        ASSERT_EQ(scroll->value(), bar.maximum) << bar.set;
        Quiet();
        EXPECT_EQ(LevelSets(), std::vector<std::string>{Level(bar, bar.maximum)}) << bar.set;
        Settle();
        scroll->setFocus();
        Key(Qt::Key_Down);
        Quiet();
        EXPECT_EQ(LevelSets(), std::vector<std::string>{Level(bar, bar.maximum - 1)}) << bar.set;
        Settle();
        MenuItem(scroll, QStringLiteral("Page left"));
        Quiet();
        EXPECT_EQ(LevelSets(), std::vector<std::string>{Level(bar, bar.maximum - 6)}) << bar.set;
        Settle();
        MenuItem(scroll, QStringLiteral("Scroll here"), QPoint(scroll->width() / 2, scroll->height() / 2));
        Quiet();
        EXPECT_EQ(LevelSets(), std::vector<std::string>{Level(bar, scroll->value())}) << bar.set;
    }
}

// The RIT/XIT and scan speed bars send steps, not a position: they offer
// no menu that could move them away from the radio.
TEST_F(OperatorChangesTest, TheStepBarsOfferNoMenu) {
    Ready();
    EXPECT_EQ(ScrollBar(idc::RitBar)->contextMenuPolicy(), Qt::NoContextMenu);
    EXPECT_EQ(ScrollBar(idc::ScanSpeedBar)->contextMenuPolicy(), Qt::NoContextMenu);
}

// ----------------------------------------------- TF-SET and the digits

class TfSetTest : public OperatorChangesTest {
protected:
    // VFO A 14.195 receive, VFO B 7.050 transmit, TF-SET on: the main
    // display shows the transmit VFO, the sub display the receive VFO.
    void SplitWithTfSet() {
        Ready();
        Click(idc::SplitButton);
        ASSERT_TRUE(PumpUntil([&] { return state().split == 1 && state().mainTransmitVfo == 1; }));
        Click(idc::TfSetButton);
        ASSERT_TRUE(PumpUntil([&] { return state().tfSetActive == 1; }));
        Quiet();
        ASSERT_EQ(Hz(false), 7'050'000);
        ASSERT_EQ(Hz(true), 14'195'000);
        Settle();
    }
    void RightClick(int id) {
        QTest::mousePress(Widget(id), Qt::RightButton);
        QTest::mouseRelease(Widget(id), Qt::RightButton);
    }
    static constexpr int kMainKhz = idc::MainDigit0 + 7;
    static constexpr int kSubKhz = idc::SubDigit0 + 7;
    // A right click on a display's kHz digit: the one command sent is `code`
    // at `hz`, the display shows it, and the other display keeps `otherHz`.
    void DigitTunes(int digit, const char* code, std::int64_t hz, std::int64_t otherHz) {
        const bool sub = digit == kSubKhz;
        RightClick(digit);
        EXPECT_EQ(Wire(), std::vector<std::string>{Freq(code, hz)});
        ASSERT_TRUE(PumpUntil([&] { return Hz(sub) == hz; }));
        Quiet();
        EXPECT_EQ(Hz(!sub), otherHz);
    }
};

TEST_F(TfSetTest, EachDigitTunesTheVfoItsDisplayShows) {
    SplitWithTfSet();
    ASSERT_NO_FATAL_FAILURE(DigitTunes(kMainKhz, "FB", 7'051'000, 14'195'000));
    Settle();
    ASSERT_NO_FATAL_FAILURE(DigitTunes(kSubKhz, "FA", 14'196'000, 7'051'000));
    EXPECT_EQ(radio().state().vfoA, 14'196'000);
    EXPECT_EQ(radio().state().vfoB, 7'051'000);
    // TF-SET off: each display back to its own VFO, as the radio holds them.
    Click(idc::TfSetButton);
    ASSERT_TRUE(PumpUntil([&] { return state().tfSetActive == 0; }));
    Quiet();
    EXPECT_EQ(Hz(false), 14'196'000);
    EXPECT_EQ(Hz(true), 7'051'000);
}

TEST_F(TfSetTest, TheKeypadAndTheDialTuneTheTransmitVfoShownOnMain) {
    SplitWithTfSet();
    Click(idc::Ent);
    ASSERT_EQ(state().entryMode, 1);
    for (const int key : {idc::NbButton, idc::Dcs, idc::Ch1, idc::Ch1}) // 7.11
        Click(key);
    Click(idc::Ent);
    EXPECT_EQ(Wire(), std::vector<std::string>{Freq("FB", 7'110'000)});
    ASSERT_TRUE(PumpUntil([&] { return Hz(false) == 7'110'000; }));
    Quiet();
    EXPECT_EQ(Hz(true), 14'195'000);
    EXPECT_EQ(radio().state().vfoA, 14'195'000);

    // The dial: the radio tunes what it listens on, the transmit VFO.
    Settle();
    Click(idc::TuningDial);
    const QPointF at(10, 10);
    QWidget* target = Widget(idc::DisplayBack);
    QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
    EXPECT_EQ(Wire(), std::vector<std::string>{"UP01"});
    ASSERT_TRUE(PumpUntil([&] { return radio().state().vfoB != 7'110'000; }));
    const std::int64_t b = radio().state().vfoB;
    ASSERT_TRUE(PumpUntil([&] { return state().subFrequency == b; }));
    Quiet();
    EXPECT_EQ(radio().state().vfoA, 14'195'000);
    EXPECT_EQ(Hz(true), 14'195'000);
    Click(idc::TuningDial); // off again
}

// A held digit on a slow radio: each repeat steps on from the value it
// sent, not from a report that has not come back yet.
TEST_F(TfSetTest, AHeldDigitStepsFromTheValueItSent) {
    Ready();
    QTest::mousePress(Widget(kMainKhz), Qt::RightButton);
    ops().OnTimer(Ops::kDigitRepeatTimer); // no report handled in between
    ops().OnTimer(Ops::kDigitRepeatTimer);
    QTest::mouseRelease(Widget(kMainKhz), Qt::RightButton);
    EXPECT_EQ(Wire(3), (std::vector<std::string>{Freq("FA", 14'196'000), Freq("FA", 14'197'000),
                                                 Freq("FA", 14'198'000)}));
    // A new press starts from what the display shows.
    ASSERT_TRUE(PumpUntil([&] { return Hz(false) == 14'198'000; }));
    Settle();
    RightClick(kMainKhz);
    EXPECT_EQ(Wire(), std::vector<std::string>{Freq("FA", 14'199'000)});
}

// A long TF-SET press outside FM switches the automatic simplex check and
// nothing else: its release does not switch TF-SET as well.
TEST_F(TfSetTest, ALongPressIsOneFunction) {
    Ready();
    ASSERT_NE(state().mode[0], 4);
    QTest::mousePress(Widget(idc::TfSetButton), Qt::LeftButton);
    ASSERT_TRUE(ops().timers().IsRunning(Ops::kMainSimplexHoldTimer));
    ops().OnTimer(Ops::kMainSimplexHoldTimer);
    QTest::mouseRelease(Widget(idc::TfSetButton), Qt::LeftButton);
    Quiet();
    std::vector<std::string> sets;
    for (const auto& r : radio().received())
        if ((r.text.rfind("AR", 0) == 0 && r.text.size() > 3) || (r.text.rfind("TS", 0) == 0 && r.text.size() > 2))
            sets.push_back(r.text);
    EXPECT_EQ(sets, std::vector<std::string>{"AR010"});
    EXPECT_EQ(radio().state().values.at("TS"), std::vector<long long>{0});
    // A short press still switches TF-SET.
    Settle();
    Click(idc::TfSetButton);
    EXPECT_TRUE(radio().waitFor("TS1", std::chrono::seconds(2)));
}

// ------------------------------- the sub display's digits in split

struct Bands {
    const char* name;
    int controlBand;
    int transmitBand;
    int transmitVfo; // the main band's transmit VFO in split: 0 A, 1 B
};

class SubDigitsInSplit : public OperatorChangesTest, public ::testing::WithParamInterface<Bands> {};

// Whatever the bands, a digit of the sub display tunes the VFO whose
// frequency that display shows, from the value shown.
TEST_P(SubDigitsInSplit, TuneTheVfoTheSubDisplayShows) {
    const Bands bands = GetParam();
    Ready();
    radio().setFrequency(qxsim::Vfo::A, 14'195'000);
    radio().setFrequency(qxsim::Vfo::B, 7'050'000);
    radio().setFrequency(qxsim::Vfo::Sub, 145'000'000);
    CCorvan& link = *console->link();
    // Split on the main band: receive on the other VFO, transmit on this one.
    link.ConnFR("W", static_cast<u32>(1 - bands.transmitVfo));
    link.ConnFT("W", static_cast<u32>(bands.transmitVfo));
    link.ConnSB("W", 1);
    ASSERT_TRUE(PumpUntil([&] { return state().split == 1 && state().subReceiver == 1; }));
    link.ConnDC("W", static_cast<u32>(bands.transmitBand), static_cast<u32>(bands.controlBand));
    ASSERT_TRUE(PumpUntil([&] {
        return state().controlBand == bands.controlBand && state().transmitBand == bands.transmitBand;
    }));
    Quiet();
    Quiet();
    std::string digits;
    for (const char c : Shown(true))
        if (c >= '0' && c <= '9')
            digits += c;
    ASSERT_FALSE(digits.empty()) << "the sub display is blank";
    const std::int64_t shown = std::stoll(digits);
    const auto radioState = radio().state();
    const std::map<std::int64_t, const char*> vfoOf = {
        {radioState.vfoA, "FA"}, {radioState.vfoB, "FB"}, {radioState.subFrequency, "FC"}};
    ASSERT_EQ(vfoOf.size(), 3u);
    ASSERT_TRUE(vfoOf.count(shown)) << "the sub display shows " << shown;
    Settle();
    const int digit = idc::SubDigit0 + 5; // the 100 kHz digit
    QTest::mousePress(Widget(digit), Qt::RightButton);
    QTest::mouseRelease(Widget(digit), Qt::RightButton);
    EXPECT_EQ(Wire(), std::vector<std::string>{Freq(vfoOf.at(shown), shown + 100'000)});
    // The display that was clicked shows the step.
    EXPECT_TRUE(PumpUntil([&] {
        std::string now;
        for (const char c : Shown(true))
            if (c >= '0' && c <= '9')
                now += c;
        return !now.empty() && std::stoll(now) == shown + 100'000;
    })) << Shown(true);
}

INSTANTIATE_TEST_SUITE_P(EveryBand, SubDigitsInSplit,
                         ::testing::Values(Bands{"ControlMainTransmitMainOnB", 0, 0, 1},
                                           Bands{"ControlMainTransmitMainOnA", 0, 0, 0},
                                           Bands{"ControlMainTransmitSub", 0, 1, 1},
                                           Bands{"ControlSubTransmitMain", 1, 0, 1},
                                           Bands{"ControlSubTransmitSub", 1, 1, 1}),
                         [](const auto& row) { return std::string(row.param.name); });

// ----------------------------------------------------------- mnemonics

void CheckMnemonics(const QString& where, const QList<QAction*>& actions) {
    std::map<int, QString> taken;
    for (QAction* action : actions) {
        if (action->isSeparator() || !action->isVisible())
            continue;
        const int key = QKeySequence::mnemonic(action->text())[0].key();
        if (key != 0) {
            const auto [at, fresh] = taken.emplace(key, action->text());
            EXPECT_TRUE(fresh) << where.toStdString() << ": \"" << action->text().toStdString()
                               << "\" and \"" << at->second.toStdString() << "\" share a mnemonic";
        }
        if (QMenu* sub = action->menu())
            CheckMnemonics(where + QStringLiteral(" > ") + action->text(), sub->actions());
    }
}

// Every item of every menu (and every menu of the bar) is reached by its
// own underlined letter.
TEST_F(OperatorChangesTest, EveryMenuItemHasItsOwnMnemonic) {
    auto* bar = console->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    ASSERT_GT(bar->actions().size(), 5);
    CheckMnemonics(QStringLiteral("menu bar"), bar->actions());
}

} // namespace
