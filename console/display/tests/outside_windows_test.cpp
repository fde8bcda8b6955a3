// SPDX-License-Identifier: GPL-3.0-or-later
// The console with the real filter, menu and terminal windows on the
// built-in simulator: the commands that open them, the ZUL command state
// that closes the filter window, the terminal started from the menu, the
// link restart the terminal window asks for, and the order in which the
// console closes them all.
#include "display_fixture.h"

#include "console_menu.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <string>
#include <vector>

namespace display_test {
namespace {

using namespace std::chrono_literals;

// A window of the outside libraries by its profile key ("Dunmar", ...);
// null once it is destroyed.
QWidget* Window(const char* key) {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String(key))
            return widget;
    return nullptr;
}

bool Visible(const char* key) {
    QWidget* window = Window(key);
    return window != nullptr && window->isVisible();
}

QPushButton* Button(QWidget* window, const QString& caption) {
    for (QPushButton* button : window->findChildren<QPushButton*>())
        if (button->text() == caption)
            return button;
    return nullptr;
}

class OutsideWindowsTest : public DisplayTest {
protected:
    void TearDown() override {
        if (console)
            console->DestroyAllPanels();
        DisplayTest::TearDown();
    }
    void Command(int id) {
        QAction* action = console->menuAction(id);
        ASSERT_NE(action, nullptr);
        action->trigger();
    }
};

TEST_F(OutsideWindowsTest, TheFilterWindowOpensAndTheZulCommandStateClosesIt) {
    Connect();
    radio().modify([](qxsim::State& s) { s.values["SL"] = {4}; });
    radio().clearReceived();
    Command(cmd::RxFilter);
    ASSERT_TRUE(PumpUntil([] { return Visible("Dunmar"); }));
    // The window asks for the filter; the answers come back through the
    // console's forwarding.
    EXPECT_TRUE(radio().waitFor("SL", 2s));

    radio().setMenu(62, 5, 0, 0, "2");
    ASSERT_TRUE(PumpUntil([] { return Window("Dunmar") == nullptr; }));
    EXPECT_EQ(state().zulState, 2);
    // While the ZUL command state lasts the filter window stays shut.
    Command(cmd::RxFilter);
    PumpFor(100ms);
    EXPECT_EQ(Window("Dunmar"), nullptr);
    radio().setMenu(62, 5, 0, 0, "0");
    ASSERT_TRUE(PumpUntil([&] { return state().zulState == 0; }));
}

TEST_F(OutsideWindowsTest, TheTerminalStartedFromTheMenuAndLeftThroughItsWindow) {
    Connect();
    Command(cmd::RadioMenu);
    ASSERT_TRUE(PumpUntil([] { return Visible("Orlint"); }));

    // TX RX > Terminal: the menu window closes, the radio's terminal takes
    // the line and the console opens the terminal window.
    Command(cmd::Terminal);
    EXPECT_EQ(Window("Orlint"), nullptr);
    ASSERT_TRUE(PumpUntil([&] { return state().tncMode == 1 && Visible("Solvik"); }));
    EXPECT_EQ(radio().state().terminal, 0);

    QWidget* terminal = Window("Solvik");
    auto* input = terminal->findChild<QLineEdit*>();
    auto* screen = terminal->findChild<QPlainTextEdit*>();
    ASSERT_NE(input, nullptr);
    ASSERT_NE(screen, nullptr);
    QTest::keyClicks(input, "MYCALL DL1ABC");
    QTest::keyClick(input, Qt::Key_Return);
    // The radio's terminal echoes the line; it reaches the window through
    // the console's direct-text handler.
    ASSERT_TRUE(PumpUntil([&] { return screen->toPlainText().contains(QStringLiteral("MYCALL DL1ABC\n")); }));

    // Leave TNC: the console stops the terminal and connects again.
    QPushButton* leave = Button(terminal, QStringLiteral("Leave &TNC"));
    ASSERT_NE(leave, nullptr);
    QTest::mouseClick(leave, Qt::LeftButton);
    ASSERT_TRUE(PumpUntil([&] { return state().tncMode == 0 && state().consoleReady == 1 && state().connected == 1; },
                          20s));
    EXPECT_EQ(radio().state().terminal, 1);
    EXPECT_EQ(Window("Solvik"), nullptr);
}

TEST_F(OutsideWindowsTest, ClosingTheConsoleDestroysTheOutsideWindowsInItsOrder) {
    Connect();
    Command(cmd::RxFilter);
    Command(cmd::RadioMenu);
    console->windows().SolvikView();
    ASSERT_TRUE(PumpUntil([] { return Visible("Dunmar") && Visible("Orlint") && Visible("Solvik"); }));

    // After each destroy export: which of the three windows still exist.
    std::vector<std::string> seen;
    console->SetEndObserver([&](EndStep step, const char* name) {
        if (step != EndStep::PanelDestroyed)
            return;
        const std::string call = name;
        if (call == "OrlintDestroy" || call == "DunmarDestroy" || call == "SolvikDestroy")
            seen.push_back(call + (Window("Orlint") ? " O" : " -") + (Window("Dunmar") ? "D" : "-") +
                           (Window("Solvik") ? "S" : "-"));
    });
    console->DestroyAllPanels();
    console->SetEndObserver({});
    EXPECT_EQ(seen, (std::vector<std::string>{"OrlintDestroy -DS", "DunmarDestroy --S", "SolvikDestroy ---"}));
    // Every destroy export is safe again with nothing open.
    console->DestroyAllPanels();
}

} // namespace
} // namespace display_test
