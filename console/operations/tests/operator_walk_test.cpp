// SPDX-License-Identifier: GPL-3.0-or-later
// operator_walk_test.cpp - a seeded random walk of the operator over the
// real console and the simulator on its pseudo-terminal.
//
// Actions that change nothing (focus moves, Tab and Shift+Tab, modifiers
// alone, F2 and Esc, a menu opened and left, a window opened and closed,
// the wheel over a label) must put no set command on the wire and leave
// the simulator's state as it was. Mixed with them, real actions (a level
// step, a digit click, a mode button) must put on the wire exactly the set
// command the action asks for. Every step is checked as it is taken.
//
// ZEPHYRA_WALK_SEEDS ("1-20" or "3,7,9") and ZEPHYRA_WALK_STEPS set a longer
// run (scripts/operator_walk.sh); without them the fixed seeds run, each
// seed that ever failed among them. ZEPHYRA_WALK_VERBOSE prints every step
// with what the radio received.
#include "operations_fixture.h"

#include <console_link.h>
#include "console_menu.h"

#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QWheelEvent>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <sstream>

namespace {

using namespace operations_test;

// Seeds run by the test command: the first ones, and every seed that once
// failed (with what it found).
constexpr std::uint64_t kFixedSeeds[] = {1, 2, 3};
constexpr int kFixedSteps = 30;

std::vector<std::uint64_t> Seeds() {
    const QString text = qEnvironmentVariable("ZEPHYRA_WALK_SEEDS");
    if (text.isEmpty())
        return {std::begin(kFixedSeeds), std::end(kFixedSeeds)};
    std::vector<std::uint64_t> seeds;
    for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList range = part.split(QLatin1Char('-'));
        const std::uint64_t first = range[0].toULongLong();
        const std::uint64_t last = range.size() > 1 ? range[1].toULongLong() : first;
        for (std::uint64_t s = first; s <= last; ++s)
            seeds.push_back(s);
    }
    return seeds;
}

int Steps() {
    const int steps = qEnvironmentVariableIntValue("ZEPHYRA_WALK_STEPS");
    return steps > 0 ? steps : kFixedSteps;
}

// A command that reads: the code alone, or the code and the receiver or
// meter it asks about. Everything else the radio received is a setting.
bool IsRead(const std::string& text) {
    if (text.size() <= 2)
        return true;
    const std::string code = text.substr(0, 2);
    if (code == "AG" || code == "SQ" || code == "SM" || code == "AR" || code == "RM" || code == "BC" ||
        code == "MF")
        return text.size() == 3;
    if (code == "MR" || code == "EX" || code == "SI" || code == "PI")
        return true; // memory, menu and name reads carry the address they ask for
    return false;
}

// The simulator's state, compared field by field.
std::string Describe(const qxsim::State& s) {
    std::ostringstream out;
    out << "power " << s.power << " A " << s.vfoA << " B " << s.vfoB << " C " << s.subFrequency << " modes "
        << s.modeA << s.modeB << s.modeSub << " fr " << s.rxVfo << " ft " << s.txVfo << " sub " << s.subVfo
        << " dc " << s.transmitBand << s.controlBand << " rit " << s.rit << s.xit << ' ' << s.ritOffset
        << " mc " << s.bank << '.' << s.channel << '/' << s.subBank << '.' << s.subChannel << " scan "
        << s.scan << " tx " << s.transmitting << " meter " << s.meter << " terminal " << s.terminal
        << " quick " << s.quickOn << '.' << s.quickChannel << " sat";
    for (const int v : s.satellite)
        out << ' ' << v;
    for (const auto& [key, values] : s.values) {
        out << ' ' << key << '=';
        for (const long long v : values)
            out << v << ',';
    }
    for (const auto& [key, value] : s.menu)
        out << ' ' << key << ':' << value;
    return out.str();
}

class OperatorWalk : public display_test::DisplayTest {
protected:
    void Ready() {
        Connect();
        console->show();
        console->activateWindow();
        // Without a window manager the console may never be active; the keys
        // go to it all the same.
        static_cast<void>(QTest::qWaitForWindowActive(console.get(), 2000));
        if (!state().subReceiver) {
            console->link()->ConnSB("W", 1);
            ASSERT_TRUE(PumpUntil([&] { return state().subReceiver == 1; }));
        }
        Quiet();
    }
    // Everything sent so far has been answered and the answers handled.
    void Quiet() {
        for (int round = 0; round < 2; ++round) {
            radio().clearSent();
            console->link()->ConnID();
            ASSERT_TRUE(radio().waitForSent("ID", std::chrono::seconds(3)));
            PumpFor(std::chrono::milliseconds(round == 0 ? 40 : 20));
        }
    }
    std::vector<std::string> Sets() {
        std::vector<std::string> out;
        for (const auto& r : radio().received())
            if (!IsRead(r.text))
                out.push_back(r.text);
        return out;
    }
    QWidget* Widget(int id) { return controls().widget(id); }
    int Pick(int n) { return static_cast<int>(m_random() % static_cast<std::uint64_t>(n)); }
    QWidget* Focus() { return QApplication::focusWidget() ? QApplication::focusWidget() : console.get(); }
    void KeyTo(QWidget* w, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(w, static_cast<Qt::Key>(key), modifiers);
    }
    std::int64_t MainShown() { return Hz(false); }
    std::int64_t SubShown() { return Hz(true); }

    // ---- actions that change nothing; each returns its name
    std::string NullAction() {
        static const int kFocusable[] = {idc::AfMainBar, idc::SqlMainBar, idc::RfGainBar, idc::AfSubBar,
                                         idc::SqlSubBar, idc::BcPointBar, idc::AttButton, idc::LsbUsb,
                                         idc::Ent, idc::SplitButton, idc::TfSetButton, idc::StepList};
        static const int kLabels[] = {idc::MainText, idc::SubText, idc::MainDigit0 + 3, idc::SubDigit0 + 6,
                                      idc::DisplayBack, idc::AfMainMin, idc::TfSet, idc::MainMch};
        switch (Pick(9)) {
        case 0: {
            const int id = kFocusable[Pick(static_cast<int>(std::size(kFocusable)))];
            Widget(id)->setFocus(Qt::OtherFocusReason);
            return "focus " + std::to_string(id);
        }
        case 1: {
            const int n = 1 + Pick(6);
            for (int i = 0; i < n; ++i)
                KeyTo(Focus(), Qt::Key_Tab);
            return "tab x" + std::to_string(n);
        }
        case 2: {
            const int n = 1 + Pick(6);
            for (int i = 0; i < n; ++i)
                KeyTo(Focus(), Qt::Key_Backtab, Qt::ShiftModifier);
            return "shift+tab x" + std::to_string(n);
        }
        case 3: {
            static const int kModifiers[] = {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt, Qt::Key_Meta,
                                             Qt::Key_CapsLock};
            const int key = kModifiers[Pick(5)];
            KeyTo(Focus(), key);
            return "modifier " + std::to_string(key);
        }
        case 4:
            KeyTo(Focus(), Qt::Key_F2);
            KeyTo(Focus(), Pick(2) ? Qt::Key_Escape : Qt::Key_Tab);
            return "F2 and back";
        case 5: {
            // A menu of the bar opened, walked and left with Esc.
            auto* bar = console->findChild<QMenuBar*>();
            const auto tops = bar->actions();
            QAction* top = tops[Pick(static_cast<int>(tops.size()))];
            bar->setActiveAction(top);
            PumpUntil([] { return QApplication::activePopupWidget() != nullptr; },
                      std::chrono::milliseconds(500));
            const int downs = Pick(4);
            for (int i = 0; i < downs; ++i)
                if (QWidget* popup = QApplication::activePopupWidget())
                    KeyTo(popup, Qt::Key_Down);
            for (int i = 0; i < 4 && QApplication::activePopupWidget(); ++i)
                KeyTo(QApplication::activePopupWidget(), Qt::Key_Escape);
            if (bar->activeAction())
                KeyTo(bar, Qt::Key_Escape);
            return "menu " + top->text().toStdString() + " left";
        }
        case 6: {
            // A window of the console opened and closed again.
            static const int kWindows[] = {cmd::RadioAgc, cmd::RadioMulti, cmd::Setup};
            const int command = kWindows[Pick(3)];
            const auto before = QApplication::topLevelWidgets();
            console->OnCommand(command);
            PumpFor(std::chrono::milliseconds(50));
            Quiet();
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w != console.get() && w->isVisible() && !before.contains(w) && !qobject_cast<QMenu*>(w))
                    w->close();
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w != console.get() && w->isVisible() && w->isWindow() && !qobject_cast<QMenu*>(w))
                    w->close();
            console->activateWindow();
            return "window " + std::to_string(command) + " opened and closed";
        }
        case 7: {
            const int id = kLabels[Pick(static_cast<int>(std::size(kLabels)))];
            QWidget* w = Widget(id);
            const QPointF at = w->rect().center();
            QWheelEvent wheel(at, w->mapToGlobal(at), QPoint(), QPoint(0, Pick(2) ? 120 : -120), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(w, &wheel);
            return "wheel over " + std::to_string(id);
        }
        default: {
            // A press and release on a label of the display.
            const int id = kLabels[Pick(2)];
            QTest::mouseClick(Widget(id), Qt::LeftButton);
            return "click on text line " + std::to_string(id);
        }
        }
    }

    // What digit `position` of a display steps by (1 the hertz digit).
    static std::int64_t DigitStep(int position) {
        std::int64_t step = 1;
        for (int i = 1; i < position; ++i)
            step *= 10;
        return step;
    }
    // A click on digit `position` of the display whose digits start at
    // `firstDigit`: the right button raises it, the left lowers it.
    void ClickDigit(int firstDigit, int position, bool up) {
        QWidget* digit = Widget(firstDigit + 11 - position);
        QTest::mousePress(digit, up ? Qt::RightButton : Qt::LeftButton);
        QTest::mouseRelease(digit, up ? Qt::RightButton : Qt::LeftButton);
    }

    // ---- real actions; each says the set commands it asks for
    std::string RealAction(std::vector<std::string>& expected) {
        switch (Pick(4)) {
        case 3: {
            // A click on a digit of the sub display: the VFO it shows (the
            // one whose frequency it is), from the value it shows.
            const int position = 2 + Pick(6);
            const bool up = Pick(2) != 0;
            const std::int64_t step = DigitStep(position);
            const auto r = radio().state();
            const std::int64_t shown = SubShown();
            const char* code = shown == r.subFrequency ? "FC"
                               : shown == r.vfoA       ? "FA"
                               : shown == r.vfoB       ? "FB"
                                                       : nullptr;
            if (!code || shown == 0 || r.vfoA == r.vfoB || r.subFrequency == r.vfoA || r.subFrequency == r.vfoB)
                return "sub digit skipped (its VFO is not told apart)";
            expected.push_back(operations_test::Freq(code, shown + (up ? step : -step)));
            ClickDigit(idc::SubDigit0, position, up);
            return "sub digit " + std::to_string(position) + (up ? " up" : " down");
        }
        case 0: {
            // A level step with the keyboard on a bar.
            static const struct {
                int id;
                const char* set;
                int maximum;
            } kBars[] = {{idc::AfMainBar, "AG0", 255}, {idc::SqlMainBar, "SQ0", 255},
                         {idc::RfGainBar, "RG", 255},  {idc::AfSubBar, "AG1", 255},
                         {idc::SqlSubBar, "SQ1", 255}, {idc::BcPointBar, "BP", 63}};
            const auto& bar = kBars[Pick(6)];
            QScrollBar* scroll = controls().scrollBar(bar.id);
            scroll->setFocus(Qt::OtherFocusReason);
            const int key = Pick(2) ? Qt::Key_Up : Qt::Key_Down;
            const int from = scroll->value();
            const int to = std::clamp(from + (key == Qt::Key_Up ? 1 : -1), 0, bar.maximum);
            if (to != from) {
                char text[16];
                std::snprintf(text, sizeof text, "%s%03d", bar.set, to);
                expected.push_back(text);
            }
            KeyTo(scroll, key);
            return std::string("level ") + bar.set + (key == Qt::Key_Up ? " up" : " down");
        }
        case 1: {
            // A click on a digit of the main display: its VFO, from its value.
            const int position = 1 + Pick(7);
            const bool up = Pick(2) != 0;
            const std::int64_t step = DigitStep(position);
            const auto radioState = radio().state();
            const char* code = radioState.rxVfo == 1 ? "FB" : "FA";
            expected.push_back(operations_test::Freq(code, MainShown() + (up ? step : -step)));
            ClickDigit(idc::MainDigit0, position, up);
            return "digit " + std::to_string(position) + (up ? " up" : " down");
        }
        default: {
            // LSB / USB: the other sideband (the last used from another mode).
            const auto radioState = radio().state();
            const int mode = radioState.rxVfo == 1 ? radioState.modeB : radioState.modeA;
            expected.push_back(mode == 2 ? "MD1" : mode == 1 ? "MD2" : "MD?");
            QTest::mouseClick(Widget(idc::LsbUsb), Qt::LeftButton);
            return "LSB/USB";
        }
        }
    }

    void Walk(std::uint64_t seed, int steps) {
        m_random.seed(seed);
        for (int step = 0; step < steps; ++step) {
            Quiet();
            const qxsim::State before = radio().state();
            const std::string was = Describe(before);
            radio().clearReceived();
            const bool real = Pick(4) == 0;
            std::vector<std::string> expected;
            const std::string action = real ? RealAction(expected) : NullAction();
            Quiet();
            const std::string where = "seed " + std::to_string(seed) + " step " + std::to_string(step) + ": " + action;
            const auto sets = Sets();
            if (m_verbose) {
                std::printf("%s ->", where.c_str());
                for (const auto& r : radio().received())
                    std::printf(" %s", r.text.c_str());
                std::printf("\n");
            }
            if (expected.size() == 1 && expected[0] == "MD?") {
                // From a mode other than LSB and USB: one MD, to LSB or USB.
                ASSERT_EQ(sets.size(), 1u) << where;
                EXPECT_TRUE(sets[0] == "MD1" || sets[0] == "MD2") << where << ": " << sets[0];
            } else {
                ASSERT_EQ(sets, expected) << where;
            }
            if (!real) {
                ASSERT_EQ(Describe(radio().state()), was) << where;
            }
        }
    }

    std::mt19937_64 m_random;
    const bool m_verbose = qEnvironmentVariableIsSet("ZEPHYRA_WALK_VERBOSE");
};

TEST_F(OperatorWalk, NothingUnaskedReachesTheRadio) {
    Ready();
    const int steps = Steps();
    for (const std::uint64_t seed : Seeds()) {
        Walk(seed, steps);
        if (HasFatalFailure() || HasFailure())
            return;
        std::printf("walk seed %llu: %d steps\n", static_cast<unsigned long long>(seed), steps);
        std::fflush(stdout);
    }
}

} // namespace
