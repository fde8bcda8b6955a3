// SPDX-License-Identifier: GPL-3.0-or-later
// window_position_test.cpp - where the console opens and what it leaves in
// the profile.
#include "console_test_support.h"

#include <gtest/gtest.h>

namespace {

struct SavedPosition {
    const char* text;
    bool restored;
    QPoint where; // left, top when restored
};

void PrintTo(const SavedPosition& row, std::ostream* out) { *out << '"' << row.text << '"'; }

class SavedPositions : public ::testing::TestWithParam<SavedPosition> {};

TEST_P(SavedPositions, AreRestoredOnlyWhenValid) {
    // Inside the desktop, whatever its size.
    const QRect desktop = platform::DesktopRect();
    ASSERT_GT(desktop.width(), 300);
    ASSERT_GT(desktop.height(), 300);
    ForgetConsolePosition();
    const QPoint before = MakeTestConsole()->pos();
    platform::WriteProfileString("WindowPos", "Main", QString::fromLatin1(GetParam().text));
    auto console = MakeTestConsole();
    if (GetParam().restored) {
        EXPECT_EQ(console->pos(), GetParam().where) << GetParam().text;
    } else {
        EXPECT_EQ(console->pos(), before) << GetParam().text;
    }
    EXPECT_EQ(console->size(), QSize(761, 546)) << "the saved position never changes the size";
    console->DestroyWindow();
}

INSTANTIATE_TEST_SUITE_P(
    Console, SavedPositions,
    ::testing::Values(SavedPosition{"0010000200", true, {200, 100}},  // top 100, left 200
                      SavedPosition{"0000100001", true, {1, 1}},
                      SavedPosition{"0000000000", false, {}},         // both must be above 0
                      SavedPosition{"0000000200", false, {}},
                      SavedPosition{"0010000000", false, {}},
                      SavedPosition{"001000020", false, {}},          // 9 characters
                      SavedPosition{"00100002000", false, {}},        // 11 characters
                      SavedPosition{"00100abc00", false, {}},         // letters
                      SavedPosition{"-0100-0200", false, {}},
                      SavedPosition{"9000090000", false, {}},         // off the desktop
                      SavedPosition{"", false, {}}));

TEST(ConsolePosition, IsSavedAsTenDigitsAtTheEnd) {
    ForgetConsolePosition();
    auto console = MakeTestConsole();
    console->move(345, 123);
    console->DestroyWindow();
    const QString saved = platform::GetProfileString("WindowPos", "Main", "");
    EXPECT_EQ(saved, QStringLiteral("0012300345"));
    // ... and the next start opens there.
    EXPECT_EQ(MakeTestConsole()->pos(), QPoint(345, 123));
}

TEST(ConsolePosition, NegativeCoordinatesAreStoredAsZero) {
    ForgetConsolePosition();
    auto console = MakeTestConsole();
    console->move(-40, -7);
    console->DestroyWindow();
    EXPECT_EQ(platform::GetProfileString("WindowPos", "Main", ""), QStringLiteral("0000000000"));
}

TEST(ConsolePosition, RenderingLeavesTheProfileAlone) {
    platform::WriteProfileString("WindowPos", "Main", "0010000200");
    ConsoleOptions options;
    options.showSplash = false;
    options.persistent = false;
    {
        ConsoleDialog console(options);
        console.move(5, 5);
    }
    EXPECT_EQ(platform::GetProfileString("WindowPos", "Main", ""), QStringLiteral("0010000200"));
    ForgetConsolePosition();
}

} // namespace
