// SPDX-License-Identifier: GPL-3.0-or-later
// display_fixture.h - a console on the built-in simulator for the display
// tests: built without the start-up picture, connected and synchronised on
// request, with the simulator's radio at hand for front-panel actions.
#pragma once

#include "console_controls.h"
#include "console_dialog.h"
#include "console_ids.h"
#include "display/console_display.h"

#include <console_link.h>
#include <platform.h>
#include <qxsim.h>

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace display_test {

using platform::PumpFor;
using platform::PumpUntil;

// A frequency as a display shows it ("14.074.000"), digits only: without
// blanks and separators.
inline std::string DigitsOf(const std::string& shown) {
    std::string out;
    for (const char c : shown)
        if (c != ' ' && c != '.')
            out += c;
    return out;
}

class DisplayTest : public ::testing::Test {
protected:
    void SetUp() override { console = std::make_unique<ConsoleDialog>(ConsoleOptions::Simulated()); }
    void TearDown() override {
        if (console)
            console->DestroyWindow();
        console.reset();
    }

    // Builds the console with `Recorder` as its secondary windows, so a test
    // sees every call the console makes to them.
    template <typename Recorder>
    void StartWithWindows(Recorder*& recorder) {
        auto options = ConsoleOptions::Simulated();
        options.windows = [&recorder] {
            auto made = std::make_unique<Recorder>();
            recorder = made.get();
            return made;
        };
        console = std::make_unique<ConsoleDialog>(options);
    }

    // Control > ON on the built-in simulator, waiting for the initial read.
    void Connect() {
        ASSERT_TRUE(console->ConnectAndSynchronise());
        PumpFor(std::chrono::milliseconds(200));
    }
    ConsoleDisplay& display() { return *console->display(); }
    ConsoleState& state() { return console->state(); }
    const ConsoleControls& controls() { return console->controls(); }
    // The simulator's radio (started by Connect, or on first use).
    qxsim::Radio& radio() {
        auto& simulator = console->connection()->Simulator();
        simulator.Start();
        return *simulator.Radio();
    }
    // The text of a label (or a button's caption).
    std::string Text(int id) { return controls().caption(id).toStdString(); }
    // The eleven digits and four separators of a frequency display as one
    // string, e.g. "   14.195.000 ".
    std::string Shown(bool sub) {
        std::string out;
        const int digit0 = sub ? idc::SubDigit0 : idc::MainDigit0;
        const int sep0 = sub ? idc::SubSep0 : idc::MainSep0;
        for (int i = 0; i < 11; ++i) {
            out += Text(digit0 + i);
            if (i == 1 || i == 4 || i == 7 || i == 10)
                out += Text(sep0 + (i == 1 ? 0 : i == 4 ? 1 : i == 7 ? 2 : 3));
        }
        return out;
    }
    // The frequency a display shows, 0 while it is blank.
    std::int64_t Hz(bool sub) {
        std::string digits;
        for (const char c : Shown(sub))
            if (c >= '0' && c <= '9')
                digits += c;
        return digits.empty() ? 0 : std::stoll(digits);
    }
    // The nine VFO marks, "_" for an empty one.
    std::string Marks() {
        std::string out;
        for (int i = 0; i < 9; ++i) {
            const std::string t = Text(idc::VfoMark0 + i);
            out += t.empty() ? "_" : t;
        }
        return out;
    }

    std::unique_ptr<ConsoleDialog> console;
};

// A fixture whose message boxes are answered by `dialogs` from the end of
// `Base`'s set-up to the end of its tear-down.
template <typename Base>
class WithScriptedDialogs : public Base {
protected:
    void SetUp() override {
        Base::SetUp();
        dialogs = std::make_shared<platform::ScriptedDialogs>();
        platform::SetDialogProvider(dialogs);
    }
    void TearDown() override {
        Base::TearDown();
        platform::SetDialogProvider(nullptr);
    }
    std::shared_ptr<platform::ScriptedDialogs> dialogs;
};

} // namespace display_test
