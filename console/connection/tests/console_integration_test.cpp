// SPDX-License-Identifier: GPL-3.0-or-later
// The console window on the built-in simulator: Control > ON and OFF, the
// "CONTROL" button, the lamp, the menu states and closing while connected.
#include "console_dialog.h"
#include "console_ids.h"
#include "console_menu.h"
#include "console_template.h"

#include <console_link.h>
#include <meter_poll.h>
#include <reconnect.h>
#include <platform.h>

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QTimer>

#include <qxsim.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>
#include <thread>

namespace {

struct MenuStates {
    bool on, off, refresh;
};

MenuStates Menu(const ConsoleDialog& console) {
    return {console.menuAction(cmd::ControlOnCmd)->isEnabled(),
            console.menuAction(cmd::ControlOffCmd)->isEnabled(),
            console.menuAction(cmd::Refresh)->isEnabled()};
}

// Control > ON enabled while not connected, OFF and Refresh while connected.
void ExpectMenu(const ConsoleDialog& console, bool connected) {
    const MenuStates menu = Menu(console);
    EXPECT_EQ(menu.on, !connected);
    EXPECT_EQ(menu.off, connected);
    EXPECT_EQ(menu.refresh, connected);
}

TEST(ConsoleOnSimulator, ControlOnAndOffFollowOnTheConsole) {
    ConsoleDialog console(ConsoleOptions::Simulated());
    const CStaticLEDEx* lamp = console.controls().lamp(idc::ConnectLamp);
    ExpectMenu(console, false);
    EXPECT_FALSE(lamp->isVisible() && lamp->isOn());

    console.menuAction(cmd::ControlOnCmd)->trigger();
    ASSERT_NE(console.connection(), nullptr);
    EXPECT_TRUE(console.state().connected);
    EXPECT_TRUE(console.state().consoleReady);
    EXPECT_FALSE(console.state().busy);
    ExpectMenu(console, true);
    EXPECT_TRUE(lamp->isOn());
    EXPECT_FALSE(lamp->isHidden());
    EXPECT_EQ(console.controls().label(idc::DisplayBack)->backColor(),
              ConsoleDialog::kDisplayColour);
    EXPECT_TRUE(console.client()->isEnabled());

    // The CONTROL button while connected is OFF.
    console.controls().button(idc::Control)->click();
    EXPECT_FALSE(console.state().connected);
    EXPECT_FALSE(console.state().consoleReady);
    ExpectMenu(console, false);
    EXPECT_FALSE(lamp->isOn());
    EXPECT_EQ(console.controls().label(idc::DisplayBack)->backColor(), 0x000000u);
}

TEST(ConsoleOnSimulator, ClosingWhileConnectedSwitchesAutoInformationOff) {
    ConsoleDialog console(ConsoleOptions::Simulated());
    console.controls().button(idc::Control)->click();
    ASSERT_TRUE(console.state().connected);
    qxsim::Radio* radio = console.connection()->Simulator().Radio();
    ASSERT_NE(radio, nullptr);
    EXPECT_EQ(radio->state().ai, 2);
    radio->transmit(true);
    platform::PumpUntil([&] { return console.connection()->State().transmitting[0] != 0; }, std::chrono::seconds(5));
    ASSERT_EQ(console.connection()->State().transmitting[0], 1);

    console.DestroyWindow();
    EXPECT_EQ(radio->state().ai, 0);
    EXPECT_EQ(radio->state().transmitting, 0);
    EXPECT_FALSE(CCorvan::IsOpen());
}

// A radio that stops answering: the console says so, offers Control > OFF
// to stop looking for it, and after OFF does not connect again by itself.
TEST(ConsoleOnSimulator, ControlOffWhileTheRadioIsAwayEndsTheTries) {
    ConsoleDialog console(ConsoleOptions::Simulated());
    console.menuAction(cmd::ControlOnCmd)->trigger();
    ASSERT_TRUE(console.state().consoleReady);
    auto* reconnect = console.connection()->findChild<zephyra::Reconnector*>();
    ASSERT_NE(reconnect, nullptr);
    qxsim::Radio* radio = console.connection()->Simulator().Radio();
    qxsim::Faults silent;
    silent.silent = true;
    radio->setFaults(silent);
    ASSERT_TRUE(platform::PumpUntil([&] { return !console.state().connected; }, std::chrono::seconds(8)));
    EXPECT_TRUE(console.windowTitle().contains(QStringLiteral("No answer from the radio on ")))
        << console.windowTitle().toStdString();
    EXPECT_TRUE(reconnect->Trying());
    EXPECT_TRUE(Menu(console).off) << "Control > OFF ends the tries";

    console.menuAction(cmd::ControlOffCmd)->trigger();
    EXPECT_FALSE(reconnect->Trying());
    EXPECT_FALSE(Menu(console).off);
    EXPECT_EQ(console.windowTitle().toStdString(), std::string(kConsoleCaption));
    radio->setFaults({});
    const std::size_t asked = radio->countOf("ID");
    platform::PumpFor(std::chrono::milliseconds(2500));
    EXPECT_FALSE(console.state().connected);
    EXPECT_EQ(radio->countOf("ID"), asked);
    console.DestroyWindow();
}

TEST(ConsoleOnSimulator, ReconnectAndMeterPaceAreMenuItemsKeptInTheProfile) {
    ConsoleDialog console(ConsoleOptions::Simulated());
    auto* reconnect = console.connection()->findChild<zephyra::Reconnector*>();
    auto* meters = console.connection()->findChild<zephyra::MeterPoll*>();
    ASSERT_NE(reconnect, nullptr);
    ASSERT_NE(meters, nullptr);
    QAction* item = console.menuAction(cmd::ReconnectByItself);
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->isChecked()) << "on by default";
    item->trigger();
    EXPECT_FALSE(reconnect->Enabled());
    EXPECT_EQ(platform::GetProfileInt(QStringLiteral("Setting"), QStringLiteral("Reconnect"), -1), 0);
    item->trigger();
    EXPECT_TRUE(reconnect->Enabled());

    EXPECT_EQ(meters->Pace(), zephyra::MeterPace::Normal);
    EXPECT_TRUE(console.menuAction(cmd::MeterPaceNormal)->isChecked());
    console.menuAction(cmd::MeterPaceFast)->trigger();
    EXPECT_EQ(meters->Pace(), zephyra::MeterPace::Fast);
    EXPECT_TRUE(console.menuAction(cmd::MeterPaceFast)->isChecked());
    EXPECT_FALSE(console.menuAction(cmd::MeterPaceNormal)->isChecked());
    EXPECT_EQ(zephyra::MeterPaceFromProfile(), zephyra::MeterPace::Fast);
    console.menuAction(cmd::MeterPaceNormal)->trigger();
    console.DestroyWindow();
}

// The meters rest while the Visual Scan is open (it asks for them itself)
// and come back once the operator closes it.
TEST(ConsoleOnSimulator, MeterPollsComeBackWhenTheVisualScanIsClosed) {
    ConsoleDialog console(ConsoleOptions::Simulated());
    console.menuAction(cmd::ControlOnCmd)->trigger();
    ASSERT_TRUE(console.state().consoleReady);
    auto* meters = console.connection()->findChild<zephyra::MeterPoll*>();
    ASSERT_NE(meters, nullptr);
    meters->SetPace(zephyra::MeterPace::Fast);
    qxsim::Radio* radio = console.connection()->Simulator().Radio();
    ASSERT_NE(radio, nullptr);
    auto pollsWithin = [&](std::chrono::milliseconds span) {
        platform::PumpFor(std::chrono::milliseconds(100));
        radio->clearReceived();
        platform::PumpFor(span);
        return radio->countOf("SM");
    };
    EXPECT_GT(pollsWithin(std::chrono::milliseconds(500)), 0U) << "no polls to begin with";

    console.menuAction(cmd::VisualScan)->trigger();
    QWidget* scan = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->windowTitle() == QStringLiteral("Visual Scan") && w->isVisible())
            scan = w;
    ASSERT_NE(scan, nullptr) << "the Visual Scan did not open";
    EXPECT_EQ(pollsWithin(std::chrono::milliseconds(500)), 0U) << "polled beside the Visual Scan";

    // The operator closes it (the title bar's close).
    scan->close();
    EXPECT_GT(pollsWithin(std::chrono::milliseconds(1000)), 0U) << "the polls did not come back";
    EXPECT_EQ(console.state().visualScanOpen, 0);
    meters->SetPace(zephyra::MeterPace::Normal);
    console.DestroyWindow();
}

TEST(ConsoleOnSimulator, F5ReadsAgainOnlyWhenReady) {
    ConsoleDialog console(ConsoleOptions::Simulated());
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

// What the radio received during Control > ON, without the power
// watchdog's polls (they fall wherever its second ends). `during` runs
// every 100 ms while the connection's sequences run.
std::vector<std::string> ConnectWire(ConsoleDialog& console, const std::function<void()>& during,
                                     int* pokes) {
    QTimer poke;
    poke.setInterval(100);
    QObject::connect(&poke, &QTimer::timeout, [&] {
        if (console.OperationRunning()) {
            ++*pokes;
            during();
        }
    });
    poke.start();
    console.menuAction(cmd::ControlOnCmd)->trigger();
    poke.stop();
    std::vector<std::string> wire;
    if (qxsim::Radio* radio = console.connection()->Simulator().Radio()) {
        for (const qxsim::Received& r : radio->received())
            if (!r.text.empty() && r.text != "PS" && r.text != "AI")
                wire.push_back(r.text);
    }
    return wire;
}

std::string Joined(const std::vector<std::string>& commands) {
    std::string out;
    for (const std::string& c : commands)
        out += c + ";";
    return out;
}

// Refresh, F5, the CONTROL button and Control > OFF chosen while the initial
// read runs start nothing: the wire is that of one read.
TEST(ConsoleOnSimulator, NothingStartsAnotherOperationWhileTheReadRuns) {
    int quietPokes = 0;
    std::vector<std::string> single;
    {
        ConsoleDialog console(ConsoleOptions::Simulated());
        single = ConnectWire(console, [] {}, &quietPokes);
        ASSERT_TRUE(console.state().consoleReady);
        console.DestroyWindow();
    }
    int pokes = 0;
    ConsoleDialog console(ConsoleOptions::Simulated());
    int reads = 0;
    bool menuLive = false;
    QObject::connect(console.connection(), &zephyra::ConsoleLink::settingsReadStarted,
                     [&] { ++reads; });
    const auto disturbed = ConnectWire(
        console,
        [&] {
            menuLive = menuLive || (console.TakesInput() && console.state().busy);
            console.menuAction(cmd::Refresh)->trigger();
            QKeyEvent f5(QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier);
            QCoreApplication::sendEvent(&console, &f5);
            console.controls().button(idc::Control)->click();
            console.menuAction(cmd::ControlOffCmd)->trigger();
        },
        &pokes);
    EXPECT_GT(pokes, 0);
    EXPECT_EQ(reads, 1);
    EXPECT_FALSE(menuLive);
    EXPECT_TRUE(console.state().connected);
    EXPECT_TRUE(console.state().consoleReady);
    // One read's requests, each as often as in an undisturbed read (a wait
    // that runs out on a loaded machine may ask once more, so the
    // sequence itself is not compared), and no disconnect.
    const auto count = [](const std::vector<std::string>& wire, const std::string& text) {
        return std::count(wire.begin(), wire.end(), text);
    };
    for (const char* request : {"TY", "MF", "EX0040000", "SB", "RM"})
        EXPECT_EQ(count(disturbed, request), count(single, request)) << request << ": " << Joined(disturbed);
    EXPECT_EQ(count(disturbed, "AI0"), 0) << Joined(disturbed);
    // Once the read has ended the console takes commands again.
    EXPECT_TRUE(console.menuBar()->isEnabled());
    EXPECT_TRUE(console.client()->isEnabled());
    EXPECT_TRUE(console.TakesInput());
    console.menuAction(cmd::ControlOffCmd)->trigger();
    EXPECT_FALSE(console.state().connected);
    console.DestroyWindow();
}

// File > Exit chosen during the read closes the console once the read is
// over, not in the middle of it.
TEST(ConsoleOnSimulator, ExitDuringTheReadClosesAfterIt) {
    ConsoleDialog console(ConsoleOptions::Simulated());
    console.show();
    int pokes = 0;
    bool visibleAfterExit = false;
    ConnectWire(
        console,
        [&] {
            console.menuAction(cmd::Exit)->trigger();
            visibleAfterExit = visibleAfterExit || console.isVisible();
        },
        &pokes);
    EXPECT_GT(pokes, 0);
    EXPECT_TRUE(visibleAfterExit);
    EXPECT_TRUE(console.state().consoleReady);
    platform::PumpUntil([&] { return !console.isVisible(); }, std::chrono::seconds(3));
    EXPECT_FALSE(console.isVisible());
    console.DestroyWindow();
}

} // namespace
