// SPDX-License-Identifier: GPL-3.0-or-later
// input_test.cpp - the operator's hands on a console connected to the
// simulator: typing a frequency on the keypad and the keyboard, clicking
// digits, holding buttons across timer ticks, the tuning dial and the
// wheel, the level bars, the RIT/XIT slider and the operation guard.
#include "operations_fixture.h"

#include <console_link.h>

#include <QScrollBar>
#include <QTimer>

#include <cstdio>

namespace {

using namespace operations_test;
using Ops = ConsoleOperations;

std::string FA(std::int64_t hz) {
    char text[24];
    std::snprintf(text, sizeof text, "FA%011lld", static_cast<long long>(hz));
    return text;
}

class InputTest : public OperationsTest {
protected:
    void Type(const char* keys) {
        for (const char* k = keys; *k; ++k)
            Key(*k == '.' ? Qt::Key_Period : Qt::Key_0 + (*k - '0'));
    }
    QPoint Centre(int id) { return Widget(id)->rect().center(); }
    void Press(int id, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mousePress(Widget(id), button, Qt::NoModifier, Centre(id));
    }
    void Release(int id, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseRelease(Widget(id), button, Qt::NoModifier, Centre(id));
    }
    // A mouse move over the console with `buttons` held.
    void Move(Qt::MouseButtons buttons) {
        QWidget* target = Widget(idc::DisplayBack);
        QMouseEvent move(QEvent::MouseMove, QPointF(10, 10), target->mapToGlobal(QPointF(10, 10)),
                         Qt::NoButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
    }
    void WheelNotch(int delta) {
        QWidget* target = Widget(idc::DisplayBack);
        QWheelEvent wheel(QPointF(10, 10), target->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &wheel);
    }
    // One wheel turn of `delta` over a control.
    void WheelOver(int id, int delta) {
        QWidget* target = Widget(id);
        const QPointF at = Centre(id);
        QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &wheel);
    }
    // What the window system delivers for a double click: press, release,
    // double click, release.
    void DoubleClick(int id) {
        QWidget* w = Widget(id);
        const QPointF at = Centre(id);
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, Centre(id));
        QMouseEvent twice(QEvent::MouseButtonDblClick, at, w->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &twice);
        QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, Centre(id));
    }
    bool Running(int timer) { return ops().timers().IsRunning(timer); }
    int Interval(int timer) { return ops().timers().Interval(timer); }
};

// ------------------------------------------------------------ entry mode

TEST_F(InputTest, KeypadEntryWithThePointSendsElevenDigits) {
    Ready();
    Click(idc::Ent);
    ASSERT_EQ(state().entryMode, 1);
    EXPECT_EQ(Text(idc::Ch1), "1");
    EXPECT_EQ(Text(idc::Dcs), ".");
    EXPECT_FALSE(Widget(idc::Func)->isEnabled());
    Click(idc::Ch1);
    Click(idc::Tone);  // 4
    Click(idc::Dcs);   // .
    Click(idc::Ch1);
    Click(idc::FineButton); // 9
    Click(idc::Meter); // 5
    Click(idc::Ent);
    EXPECT_EQ(Wire(), std::vector<std::string>{FA(14'195'000)});
    EXPECT_EQ(state().entryMode, 0);
    EXPECT_EQ(Text(idc::Ch1), "CH1");
    EXPECT_TRUE(Widget(idc::Func)->isEnabled());
}

TEST_F(InputTest, KeyboardEntryOnTheSubBandUsesFc) {
    Ready();
    state().controlBand = 1;
    Click(idc::Ent);
    Type("144.8");
    Key(Qt::Key_Return); // the focused ENT button
    Click(idc::Ent);
    const auto wire = Wire();
    ASSERT_EQ(wire.size(), 1u);
    EXPECT_EQ(wire[0], "FC00144800000");
}

TEST_F(InputTest, TenDigitsFinishTheEntryByThemselves) {
    Ready();
    Click(idc::Ent);
    Type("0000705012"); // the 1 Hz digit is never typed
    EXPECT_EQ(Wire(), std::vector<std::string>{FA(7'050'120)});
    EXPECT_EQ(state().entryMode, 0);
}

TEST_F(InputTest, TenZerosAndAnEmptyEntrySendNothing) {
    Ready();
    const std::string shown = Shown(false);
    Click(idc::Ent);
    Type("0000000000");
    EXPECT_EQ(state().entryMode, 0);
    Click(idc::Ent);
    ASSERT_EQ(state().entryMode, 1);
    Click(idc::Ent); // nothing typed
    EXPECT_EQ(state().entryMode, 0);
    EXPECT_EQ(Wire(), std::vector<std::string>{});
    // The display shows the radio's frequency again.
    EXPECT_EQ(Shown(false), shown);
}

TEST_F(InputTest, EntryIsRefusedWhileTransmitting) {
    Ready();
    radio().transmit(true);
    ASSERT_TRUE(PumpUntil([&] { return state().transmitting[0] == 1; }));
    Click(idc::Ent);
    EXPECT_EQ(state().entryMode, 0);
    radio().transmit(false);
}

TEST_F(InputTest, DigitKeysOutsideEntryModePassThrough) {
    Ready();
    Widget(idc::DisplayBack)->setFocus();
    Type("14");
    EXPECT_EQ(Wire(), std::vector<std::string>{});
    EXPECT_EQ(state().entryMode, 0);
}

// A double click acts as one click on every button; in entry mode the
// keypad keys alone type twice.
TEST_F(InputTest, ADoubleClickOnAButtonActsOnce) {
    Ready();
    const struct {
        int id;
        const char* sent;
    } kButtons[] = {{idc::AttButton, "RA01"}, {idc::Scan, "SC1"}, {idc::Send, "TX"}};
    for (const auto& b : kButtons) {
        Settle();
        DoubleClick(b.id);
        EXPECT_EQ(Wire(), std::vector<std::string>{b.sent}) << b.sent;
    }
    ASSERT_TRUE(PumpUntil([&] { return state().transmitting[0] == 1; }));
    Click(idc::Send); // back to receive
    ASSERT_TRUE(PumpUntil([&] { return radio().state().transmitting == 0 && state().transmitting[0] == 0; }));
    ASSERT_TRUE(PumpUntil([&] { return state().scanRunning[0] == 1; }));
    Click(idc::Scan); // the scan stops
    ASSERT_TRUE(PumpUntil([&] { return state().scanRunning[0] == 0; }));
    Settle();
    Click(idc::Ent);
    ASSERT_EQ(state().entryMode, 1);
    Settle();
    DoubleClick(idc::AttButton);
    EXPECT_EQ(Wire(), std::vector<std::string>{"RA00"});
}

TEST_F(InputTest, DoubleClickTypesTwiceInEntryModeAndPlaysOnceOtherwise) {
    Ready();
    DoubleClick(idc::Ch2);
    EXPECT_EQ(Wire(), std::vector<std::string>{"PB2"});
    Settle();
    Click(idc::Ent);
    DoubleClick(idc::Ch2);
    EXPECT_EQ(state().entryCount, 2);
    EXPECT_EQ(Text(idc::MainDigit0), "2");
    EXPECT_EQ(Text(idc::MainDigit0 + 1), "2");
}

// -------------------------------------------------------------- digits

TEST_F(InputTest, DigitClicksStepDownLeftAndUpRight) {
    Ready();
    const std::string shown = Shown(false);
    const int kHzDigit = idc::MainDigit0 + 7; // the 1 kHz digit
    Press(kHzDigit);
    Release(kHzDigit);
    EXPECT_EQ(Wire(), std::vector<std::string>{FA(14'194'000)});
    ASSERT_TRUE(PumpUntil([&] { return state().mainFrequency == 14'194'000; }));
    Settle();
    Press(kHzDigit, Qt::RightButton);
    Release(kHzDigit, Qt::RightButton);
    EXPECT_EQ(Wire(), std::vector<std::string>{FA(14'195'000)});
    EXPECT_TRUE(PumpUntil([&] { return Shown(false) == shown; }));
}

TEST_F(InputTest, AHeldDigitRepeatsFromItsTimer) {
    Ready();
    const int digit = idc::MainDigit0 + 10; // 1 Hz
    Press(digit, Qt::RightButton);
    EXPECT_TRUE(Running(Ops::kDigitRepeatTimer));
    EXPECT_EQ(Interval(Ops::kDigitRepeatTimer), Ops::kFirstRepeat);
    ops().OnTimer(Ops::kDigitRepeatTimer);
    EXPECT_EQ(Interval(Ops::kDigitRepeatTimer), 100);
    ops().OnTimer(Ops::kDigitRepeatTimer);
    Release(digit, Qt::RightButton);
    EXPECT_FALSE(Running(Ops::kDigitRepeatTimer));
    // The click and two ticks: each from the frequency the console knew.
    EXPECT_EQ(Wire(3).size(), 3u);
}

TEST_F(InputTest, ADigitStepNeverLeavesTheRange) {
    Ready();
    radio().setFrequency(qxsim::Vfo::A, 30'000);
    ASSERT_TRUE(PumpUntil([&] { return state().mainFrequency == 30'000; }));
    Settle();
    ops().StepFrequencyDigit(0, 6, 0); // 100 kHz down from 30 kHz
    ops().StepFrequencyDigit(0, 11, 1); // 10 GHz up stays inside
    state().mainFrequency = 99'999'999'999;
    ops().StepFrequencyDigit(0, 1, 1); // past the top
    const auto wire = Wire(1);
    EXPECT_EQ(wire, std::vector<std::string>{FA(10'000'030'000)});
}

TEST_F(InputTest, DigitsDoNothingOnAMemoryChannel) {
    Ready();
    state().mainVfo = 2;
    ops().StepFrequencyDigit(0, 4, 1);
    EXPECT_EQ(Wire(), std::vector<std::string>{});
}

// --------------------------------------------------------- press and hold

TEST_F(InputTest, HoldingTuneUpRepeatsUntilAnyButtonUp) {
    Ready();
    Press(idc::TuneUp);
    EXPECT_EQ(Interval(Ops::kTuneRepeatTimer), 300);
    ops().OnTimer(Ops::kTuneRepeatTimer);
    EXPECT_EQ(Interval(Ops::kTuneRepeatTimer), 100);
    ops().OnTimer(Ops::kTuneRepeatTimer);
    // The right button's release also ends a left-button repeat.
    QTest::mouseRelease(Widget(idc::TuneUp), Qt::RightButton, Qt::NoModifier, Centre(idc::TuneUp));
    EXPECT_FALSE(Running(Ops::kTuneRepeatTimer));
    Release(idc::TuneUp); // the click itself
    EXPECT_EQ(Wire(3), (std::vector<std::string>{"UP01", "UP01", "UP01"}));
}

TEST_F(InputTest, HeldRepeatsHaveTheirPeriods) {
    Ready();
    struct Hold {
        int control;
        int timer;
        int period;
    };
    for (const Hold& h : {Hold{idc::MultiUp, Ops::kMultiRepeatTimer, 200},
                          Hold{idc::BandDown, Ops::kBandRepeatTimer, 200},
                          Hold{idc::RitUpFast, Ops::kRitRepeatTimer, 100}}) {
        Press(h.control);
        EXPECT_EQ(Interval(h.timer), 300) << h.control;
        ops().OnTimer(h.timer);
        EXPECT_EQ(Interval(h.timer), h.period) << h.control;
        Release(h.control);
        EXPECT_FALSE(Running(h.timer)) << h.control;
    }
    // ">>" without RIT turns the dial four notches, on the tick and on the click.
    EXPECT_EQ(Wire(12), (std::vector<std::string>{"CH0", "CH0", "BD", "BD", "RU", "RU", "RU", "RU",
                                                  "RU", "RU", "RU", "RU"}));
}

TEST_F(InputTest, LosingTheFocusOrTheLinkStopsARepeat) {
    Ready();
    Press(idc::TuneDown);
    ASSERT_TRUE(Running(Ops::kTuneRepeatTimer));
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(console.get(), &deactivate);
    EXPECT_FALSE(Running(Ops::kTuneRepeatTimer));
    Press(idc::TuneDown);
    ASSERT_TRUE(Running(Ops::kTuneRepeatTimer));
    console->connection()->ControlOff();
    EXPECT_FALSE(Running(Ops::kTuneRepeatTimer));
    // A tick that was already due sends nothing into the closed link.
    ops().OnTimer(Ops::kTuneRepeatTimer);
    EXPECT_FALSE(Running(Ops::kTuneRepeatTimer));
}

TEST_F(InputTest, RxMonitorHoldsTheSquelchOpenWhilePressed) {
    Ready();
    radio().setValue("SQ0", {40});
    ASSERT_TRUE(radio().waitForSent("SQ0", std::chrono::seconds(2)));
    PumpFor(std::chrono::milliseconds(100));
    Settle();
    Press(idc::RxMonitor);
    EXPECT_TRUE(ops().RxMonitorOn());
    Release(idc::RxMonitor);
    EXPECT_FALSE(ops().RxMonitorOn());
    const auto wire = Wire(8);
    // Each squelch setting is followed by the link's own read-back.
    EXPECT_EQ(wire, (std::vector<std::string>{"SQ0000", "SQ0", "CT0", "DQ0", "SQ0040", "SQ0", "CT0", "DQ0"}));
}

// ------------------------------------------------------------ the dial

TEST_F(InputTest, TheDialTurnsWithMovesAndTheWheel) {
    Ready();
    platform::WriteProfileInt(QStringLiteral("Setting"), QStringLiteral("DialWait"), 5);
    Click(idc::TuningDial);
    ASSERT_EQ(state().mouseWheelSelection, 1);
    for (int i = 0; i < 5; ++i)
        Move(Qt::LeftButton);
    EXPECT_EQ(state().mouseWheelSelection, 8); // 1 wraps to 8
    for (int i = 0; i < 5; ++i)
        Move(Qt::RightButton);
    for (int i = 0; i < 5; ++i)
        Move(Qt::LeftButton | Qt::RightButton);
    for (int i = 0; i < 5; ++i)
        Move(Qt::NoButton);
    WheelNotch(120);
    WheelNotch(-120);
    EXPECT_EQ(Wire(4), (std::vector<std::string>{"DN01", "UP01", "UP01", "DN01"}));
    // Every other press does nothing while the dial is selected.
    Settle();
    Click(idc::TuneUp);
    EXPECT_EQ(Wire(), std::vector<std::string>{});
    QTest::mouseDClick(Widget(idc::DisplayBack), Qt::LeftButton);
    EXPECT_EQ(state().mouseWheelSelection, 0);
    WheelNotch(120); // off: the wheel is the window's again
    EXPECT_EQ(Wire(), std::vector<std::string>{});
}

// Every wheel notch over a level bar moves it by one and sends the level,
// as a line step does; nothing waits for a later click to send it.
TEST_F(InputTest, TheWheelOverALevelBarSendsEveryNotch) {
    Ready();
    const struct {
        int id;
        const char* set; // the set command's code and band
    } kBars[] = {{idc::AfMainBar, "AG0"}, {idc::RfGainBar, "RG"}, {idc::SqlMainBar, "SQ0"},
                 {idc::BcPointBar, "BP"}};
    for (const auto& b : kBars) {
        QScrollBar* bar = controls().scrollBar(b.id);
        ASSERT_NE(bar, nullptr);
        bar->setValue(20);
        Settle();
        for (const int delta : {120, 120, -120})
            WheelOver(b.id, delta);
        EXPECT_EQ(bar->value(), 21) << b.set;
        const std::string code(b.set);
        auto level = [&](int v) {
            char text[12];
            std::snprintf(text, sizeof text, "%s%03d", b.set, v);
            return std::string(text);
        };
        // (each level setting is followed by the link's own read-back)
        EXPECT_EQ(Wire(6), (std::vector<std::string>{level(21), code, level(22), code, level(21), code}))
            << b.set;
    }
}

// ------------------------------------------------------------------ keys

TEST_F(InputTest, UpRaisesALevelBar) {
    Ready();
    QScrollBar* rf = controls().scrollBar(idc::RfGainBar);
    rf->setFocus();
    const int before = rf->value();
    ASSERT_GE(before, 10);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(rf->value(), before - 5);
    Key(Qt::Key_Up);
    EXPECT_EQ(rf->value(), before - 4);
    char lowered[16], raised[16];
    std::snprintf(lowered, sizeof lowered, "RG%03d", before - 5);
    std::snprintf(raised, sizeof raised, "RG%03d", before - 4);
    // A page step waits for the end of the scroll (its key's release), a
    // line step sends at once; each change is sent once.
    // (each level setting is followed by the link's own read-back)
    EXPECT_EQ(Wire(4), (std::vector<std::string>{lowered, "RG", raised, "RG"}));
}

TEST_F(InputTest, F5ReadsEverythingAgainEvenInEntryMode) {
    Ready();
    Click(idc::Ent);
    ASSERT_EQ(state().entryMode, 1);
    bool started = false;
    QObject guard;
    QObject::connect(console->connection(), &zephyra::ConsoleLink::settingsReadStarted, &guard,
                     [&] { started = true; });
    Key(Qt::Key_F5);
    EXPECT_TRUE(started);
}

TEST_F(InputTest, EscapeEndsEntryModeThroughClr) {
    Ready();
    Click(idc::Ent);
    Key(Qt::Key_Escape);
    EXPECT_EQ(state().entryMode, 0);
    EXPECT_EQ(Wire(), std::vector<std::string>{});
}

// ------------------------------------------------------------- sliders

TEST_F(InputTest, TheRitSliderCrossingZeroClearsFirst) {
    Ready();
    radio().pressKey(qxsim::Key::Rit);
    ASSERT_TRUE(PumpUntil([&] { return state().ritOn == 1; }));
    console->link()->ConnRU("W", 300);
    ASSERT_TRUE(PumpUntil([&] { return state().ritXitOffset == 300; }));
    Settle();
    state().ritXitWorking = -200;
    ops().OnScroll(idc::RitBar, ScrollCode::End);
    EXPECT_EQ(Wire(2), (std::vector<std::string>{"RC", "RD00200"}));
    ASSERT_TRUE(PumpUntil([&] { return state().ritXitOffset == -200; }));
}

TEST_F(InputTest, TheRitSliderStepsAndStaysInRange) {
    Ready();
    radio().pressKey(qxsim::Key::Rit);
    ASSERT_TRUE(PumpUntil([&] { return state().ritOn == 1; }));
    state().ritXitWorking = 19'950;
    ops().OnScroll(idc::RitBar, ScrollCode::PageRight);
    EXPECT_EQ(state().ritXitWorking, 20'000);
    ops().OnScroll(idc::RitBar, ScrollCode::LineLeft);
    EXPECT_EQ(state().ritXitWorking, 19'990);
    EXPECT_EQ(Wire(), std::vector<std::string>{}); // nothing until the scroll ends
}

// ------------------------------------------------------------ the guard

TEST_F(InputTest, ASecondControlDoesNothingWhileAnOperationRuns) {
    Ready();
    const auto a = radio().state().vfoA;
    int tuneClicks = 0;
    QTimer poke;
    QObject::connect(&poke, &QTimer::timeout, [&] {
        if (console->OperationRunning()) {
            ++tuneClicks;
            Click(idc::TuneUp);
        }
    });
    poke.start(20);
    Click(idc::AEqualsB);
    poke.stop();
    EXPECT_GT(tuneClicks, 0);
    ASSERT_TRUE(PumpUntil([&] { return radio().state().vfoB == a; }));
    for (const auto& r : radio().received())
        EXPECT_NE(r.text.rfind("UP", 0), 0u) << r.text;
    EXPECT_EQ(radio().state().rxVfo, 0);
    EXPECT_EQ(state().busy, 0);
}

} // namespace

namespace {

// Entry mode and the FUNC layer light their keys in the display colour;
// a picture of both goes to $ZEPHYRA_RENDER_DIR when it is set.
TEST_F(InputTest, EntryAndFuncKeysLightUp) {
    Ready();
    const QString folder = qEnvironmentVariable("ZEPHYRA_RENDER_DIR");
    Click(idc::Ent);
    Type("14");
    EXPECT_EQ(controls().cbutton(idc::Meter)->backColor(), ConsoleDisplay::kDisplayColour);
    EXPECT_TRUE(controls().cbutton(idc::Dcs)->textBold());
    if (!folder.isEmpty())
        console->grab().save(folder + QStringLiteral("/console-entry.png"));
    Key(Qt::Key_Escape);
    EXPECT_NE(controls().cbutton(idc::Meter)->backColor(), ConsoleDisplay::kDisplayColour);
    Click(idc::Func);
    EXPECT_EQ(controls().cbutton(idc::Call)->backColor(), ConsoleDisplay::kDisplayColour);
    if (!folder.isEmpty())
        console->grab().save(folder + QStringLiteral("/console-func.png"));
}

} // namespace

namespace {

// A page step moves a level by five, the scan speed by one (as its line step).
TEST_F(InputTest, PageStepsByBar) {
    Ready();
    QScrollBar* rf = controls().scrollBar(idc::RfGainBar);
    QScrollBar* speed = controls().scrollBar(idc::ScanSpeedBar);
    EXPECT_EQ(rf->pageStep(), 5);
    EXPECT_EQ(controls().scrollBar(idc::BcPointBar)->pageStep(), 5);
    speed->setValue(5);
    speed->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(speed->value(), 6);
    EXPECT_EQ(Wire(), std::vector<std::string>{"RU00001"});
}

} // namespace
