// SPDX-License-Identifier: GPL-3.0-or-later
// console_test_support.h - a console built for tests: no start-up picture,
// no sleeping, a fresh profile section for its position.
#pragma once

#include "console_dialog.h"

#include <platform.h>

#include <gtest/gtest.h>

#include <memory>

inline std::unique_ptr<ConsoleDialog> MakeTestConsole(bool keepTemplateTexts = false) {
    ConsoleOptions options;
    options.showSplash = false;
    options.keepTemplateTexts = keepTemplateTexts;
    options.sleep = [](std::chrono::milliseconds) {};
    return std::make_unique<ConsoleDialog>(options);
}

inline void ForgetConsolePosition() {
    platform::WriteProfileString(QStringLiteral("WindowPos"), QStringLiteral("Main"), QString());
}

// A started console, its position forgotten first (a fixture of its own per
// test file: derive from it).
class TestConsole : public ::testing::Test {
protected:
    void SetUp() override {
        ForgetConsolePosition();
        console = MakeTestConsole();
    }
    void TearDown() override { console.reset(); }
    const ConsoleControls& controls() const { return console->controls(); }
    std::unique_ptr<ConsoleDialog> console;
};
