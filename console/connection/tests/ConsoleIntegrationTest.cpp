// The console window on the built-in simulator: Control > ON and OFF, the
// "CONTROL" button, the lamp, the menu states and closing while connected.
#include "console_dialog.h"
#include "console_ids.h"
#include "console_menu.h"

#include <ConsoleLink.h>

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

ConsoleOptions SimulatorOptions() {
    ConsoleOptions options;
    options.showSplash = false;
    options.persistent = false;
    options.simulator = true;
    return options;
}

struct MenuStates {
    bool on, off, refresh;
};

MenuStates Menu(const ConsoleDialog& console) {
    return {console.menuAction(cmd::ControlOnCmd)->isEnabled(),
            console.menuAction(cmd::ControlOffCmd)->isEnabled(),
            console.menuAction(cmd::Refresh)->isEnabled()};
}

TEST(ConsoleOnSimulator, ControlOnAndOffFollowOnTheConsole) {
    ConsoleDialog console(SimulatorOptions());
    const CStaticLEDEx* lamp = console.controls().lamp(idc::ConnectLamp);
    MenuStates menu = Menu(console);
    EXPECT_TRUE(menu.on);
    EXPECT_FALSE(menu.off);
    EXPECT_FALSE(menu.refresh);
    EXPECT_FALSE(lamp->isVisible() && lamp->isOn());

    console.menuAction(cmd::ControlOnCmd)->trigger();
    ASSERT_NE(console.connection(), nullptr);
    EXPECT_TRUE(console.state().connected);
    EXPECT_TRUE(console.state().consoleReady);
    EXPECT_FALSE(console.state().busy);
    menu = Menu(console);
    EXPECT_FALSE(menu.on);
    EXPECT_TRUE(menu.off);
    EXPECT_TRUE(menu.refresh);
    EXPECT_TRUE(lamp->isOn());
    EXPECT_FALSE(lamp->isHidden());
    EXPECT_EQ(console.controls().label(idc::DisplayBack)->backColor(),
              ConsoleDialog::kDisplayColour);
    EXPECT_TRUE(console.client()->isEnabled());

    // The CONTROL button while connected is OFF.
    console.controls().button(idc::Control)->click();
    EXPECT_FALSE(console.state().connected);
    EXPECT_FALSE(console.state().consoleReady);
    menu = Menu(console);
    EXPECT_TRUE(menu.on);
    EXPECT_FALSE(menu.off);
    EXPECT_FALSE(menu.refresh);
    EXPECT_FALSE(lamp->isOn());
    EXPECT_EQ(console.controls().label(idc::DisplayBack)->backColor(), 0x000000u);
}

TEST(ConsoleOnSimulator, ClosingWhileConnectedSwitchesAutoInformationOff) {
    ConsoleDialog console(SimulatorOptions());
    console.controls().button(idc::Control)->click();
    ASSERT_TRUE(console.state().connected);
    qxsim::Radio* radio = console.connection()->Simulator().Radio();
    ASSERT_NE(radio, nullptr);
    EXPECT_EQ(radio->state().ai, 2);
    radio->transmit(true);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (console.connection()->State().transmitting[0] == 0 &&
           std::chrono::steady_clock::now() < deadline) {
        console.PumpMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ASSERT_EQ(console.connection()->State().transmitting[0], 1);

    console.DestroyWindow();
    EXPECT_EQ(radio->state().ai, 0);
    EXPECT_EQ(radio->state().transmitting, 0);
    EXPECT_FALSE(CCorvan::IsOpen());
}

TEST(ConsoleOnSimulator, F5ReadsAgainOnlyWhenReady) {
    ConsoleDialog console(SimulatorOptions());
    int reads = 0;
    // Not connected: nothing happens.
    QKeyEvent f5(QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier);
    QCoreApplication::sendEvent(&console, &f5);
    EXPECT_FALSE(console.state().connected);

    console.menuAction(cmd::ControlOnCmd)->trigger();
    ASSERT_TRUE(console.state().consoleReady);
    QObject::connect(console.connection(), &zephyra::ConsoleLink::settingsRead, [&] { ++reads; });
    QKeyEvent again(QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier);
    QCoreApplication::sendEvent(&console, &again);
    EXPECT_EQ(reads, 1);
    console.DestroyWindow();
}

} // namespace
