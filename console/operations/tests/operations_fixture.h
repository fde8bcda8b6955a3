// SPDX-License-Identifier: GPL-3.0-or-later
// operations_fixture.h - a connected console on the built-in simulator for
// the operator's side: real clicks, keys and wheel turns in, the commands
// the radio received out.
#pragma once

#include "../../display/tests/display_fixture.h"
#include "operations/console_operations.h"

#include <QApplication>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QWidget>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace operations_test {

using display_test::PumpFor;
using display_test::PumpUntil;

// The six level bars: their set command (code and band) and top.
struct Bar {
    int id;
    const char* set;
    int maximum;
};
inline constexpr Bar kBars[] = {{idc::AfMainBar, "AG0", 255}, {idc::AfSubBar, "AG1", 255},
                                {idc::SqlMainBar, "SQ0", 255}, {idc::SqlSubBar, "SQ1", 255},
                                {idc::RfGainBar, "RG", 255},   {idc::BcPointBar, "BP", 63}};

// The set command of a bar at `level`, as the radio receives it.
inline std::string Level(const Bar& bar, int level) {
    char text[16];
    std::snprintf(text, sizeof text, "%s%03d", bar.set, level);
    return text;
}

// A frequency command or report: the code and eleven digits of hertz.
inline std::string Freq(const char* code, std::int64_t hz) {
    char text[24];
    std::snprintf(text, sizeof text, "%s%011lld", code, static_cast<long long>(hz));
    return text;
}

// A level setting: AG, SQ, RG or BP with its level (the reads carry none).
inline bool IsLevelSet(const std::string& text) {
    const std::string code = text.substr(0, 2);
    if (code == "AG" || code == "SQ")
        return text.size() > 3;
    return (code == "RG" || code == "BP") && text.size() > 2;
}

// Records the window calls the operations make (views only).
class ViewRecorder final : public zephyra::SecondaryWindows {
public:
    void RadioAgcView() override { calls.push_back("RadioAgcView"); }
    void RadioMgrView() override { calls.push_back("RadioMgrView"); }
    void RadioSgrView() override { calls.push_back("RadioSgrView"); }
    void RadioMchView() override { calls.push_back("RadioMchView"); }
    void GlimraView() override { calls.push_back("GlimraView"); }
    void GlimraScanStop() override { calls.push_back("GlimraScanStop"); }
    void PandorView(u32) override { calls.push_back("PandorView"); }
    void DunmarView(u32) override { calls.push_back("DunmarView"); }
    std::vector<std::string> calls;
};

class OperationsTest : public display_test::DisplayTest {
protected:
    void SetUp() override { StartWithWindows(views); }

    // Connected, shown and active, with nothing received yet.
    void Ready() {
        Connect();
        console->show();
        console->activateWindow();
        // Without a window manager the console may never be active; the keys
        // go to it all the same.
        static_cast<void>(QTest::qWaitForWindowActive(console.get(), 2000));
        Settle();
    }
    // Lets the replies of the last action arrive, then forgets what was received.
    void Settle() {
        PumpFor(std::chrono::milliseconds(150));
        radio().clearReceived();
    }
    ConsoleOperations& ops() { return *console->operations(); }
    QWidget* Widget(int id) { return controls().widget(id); }
    void Click(int id) { QTest::mouseClick(Widget(id), Qt::LeftButton); }
    // A key typed to the focused control (the console when none has the focus).
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : console.get();
        QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
    }
    QScrollBar* ScrollBar(int id) { return controls().scrollBar(id); }
    // One of a scroll bar's parts (its arrows, pages, thumb), in its own pixels.
    QRect Part(QScrollBar* bar, QStyle::SubControl part) {
        QStyleOptionSlider o;
        o.initFrom(bar);
        o.subControls = QStyle::SC_All;
        o.orientation = bar->orientation();
        o.minimum = bar->minimum();
        o.maximum = bar->maximum();
        o.sliderPosition = bar->sliderPosition();
        o.sliderValue = bar->value();
        o.singleStep = bar->singleStep();
        o.pageStep = bar->pageStep();
        o.upsideDown = bar->invertedAppearance();
        if (bar->orientation() == Qt::Horizontal)
            o.state |= QStyle::State_Horizontal;
        return bar->style()->subControlRect(QStyle::CC_ScrollBar, &o, part, bar);
    }
    // Every level setting the radio received since the last Settle().
    std::vector<std::string> LevelSets() {
        std::vector<std::string> out;
        for (const auto& r : radio().received())
            if (IsLevelSet(r.text))
                out.push_back(r.text);
        return out;
    }
    // The radio's answers to everything asked so far are in and handled.
    void Quiet() {
        radio().clearSent(); // an earlier answer does not count
        console->link()->ConnID();
        ASSERT_TRUE(radio().waitForSent("ID", std::chrono::seconds(2)));
        PumpFor(std::chrono::milliseconds(100));
    }
    // The radio's own knob turned to `level`, and the bar following it.
    void FromRadio(const Bar& bar, int level) {
        radio().setValue(bar.set, {level});
        ASSERT_TRUE(PumpUntil([&] { return ScrollBar(bar.id)->value() == level; })) << bar.set;
        Quiet();
        Settle();
    }
    // The console with the sub receiver on, so that every bar is live.
    void ReadyWithSub() {
        Ready();
        if (!state().subReceiver) {
            console->link()->ConnSB("W", 1);
            ASSERT_TRUE(PumpUntil([&] { return state().subReceiver == 1; }));
        }
        Quiet();
        Settle();
    }

    // What the radio received since the last Settle(), without the
    // watchdog's polls, waiting until `count` commands are there (and a
    // little longer, so that one too many shows). The console handles no
    // reply meanwhile, so only what the operator's action sent is seen,
    // not what the display asks for once the radio's answers arrive.
    std::vector<std::string> Wire(std::size_t count = 1) {
        radio().waitFor([&](const std::vector<qxsim::Received>&) { return Filtered().size() >= count; },
                        std::chrono::seconds(3));
        std::this_thread::sleep_for(std::chrono::milliseconds(120));
        return Filtered();
    }
    std::vector<std::string> Filtered() {
        std::vector<std::string> out;
        for (const auto& r : radio().received())
            if (r.text != "PS" && r.text != "AI")
                out.push_back(r.text);
        return out;
    }
    // Waits until the console's store reports what the radio now holds.
    void WaitReported(const std::string& reply) {
        ASSERT_TRUE(radio().waitForSent(reply, std::chrono::seconds(2))) << reply;
        PumpFor(std::chrono::milliseconds(100));
    }

    ViewRecorder* views = nullptr;
};

} // namespace operations_test
