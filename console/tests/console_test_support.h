// SPDX-License-Identifier: GPL-3.0-or-later
// console_test_support.h - a console built for tests: no start-up picture,
// no sleeping, a fresh profile section for its position.
#pragma once

#include "console_dialog.h"

#include <platform.h>

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
