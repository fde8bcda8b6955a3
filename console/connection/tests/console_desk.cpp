// SPDX-License-Identifier: GPL-3.0-or-later
// console_desk.cpp - the console on a simulator behind a lasting link name.
#include "console_desk.h"

#include "console_menu.h"

#include <platform.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace console_desk {

using namespace std::chrono_literals;

std::string FaText(std::int64_t hz) {
    char text[24];
    std::snprintf(text, sizeof text, "FA%011lld", static_cast<long long>(hz));
    return text;
}

Desk::Desk() {
    EXPECT_TRUE(radio.start()) << radio.lastError();
    path = dir.filePath(QStringLiteral("usb-QX_9000-if00-port0"));
    Relink();
    ConsoleOptions options;
    options.showSplash = false;
    options.persistent = false;
    options.port = path;
    options.sleep = [](std::chrono::milliseconds) {};
    console = std::make_unique<ConsoleDialog>(options);
}

void Desk::Exit() {
    if (!console)
        return;
    console->reject();
    console->DestroyWindow();
    console.reset();
    radio.stop();
}

void Desk::Relink() {
    std::filesystem::remove(path.toStdString());
    std::filesystem::create_symlink(radio.devicePath(), path.toStdString());
}

void Desk::Unplug() {
    radio.stop();
    std::filesystem::remove(path.toStdString());
}

void Desk::PlugIn() {
    ASSERT_TRUE(radio.start());
    Relink();
}

bool Desk::ConnectAgain() {
    console->OnCommand(cmd::ControlOnCmd);
    return PumpUntil([&] { return state().consoleReady == 1 && state().initialReadDone == 1; });
}

bool Desk::WaitDisconnected() {
    return PumpUntil([&] { return state().connected == 0; }, 5s);
}

glimra::CVisualScanDlg* Desk::OpenVisualScan() {
    console->OnCommand(cmd::VisualScan);
    return glimra::TheWindow();
}

bool Desk::MenuAnswerStored() {
    CCorvan corvan;
    std::uint32_t m = 0, s = 0, a = 0, b = 0;
    char text[corvan::kNameTextSize] = {};
    return PumpUntil([&] { return corvan.RcvDataEX(&m, &s, &a, &b, text) == 1; }, 3s);
}

bool SweepUnderWay(Desk& desk, glimra::CVisualScanDlg* window, std::int64_t centre) {
    window->Start();
    return PumpUntil([&] { return desk.VfoA() != centre && desk.radio.countOf("FA") >= 4; }, 5s);
}

void PullMidSweep(Desk& desk, glimra::CVisualScanDlg*& window, std::int64_t& centre) {
    ASSERT_TRUE(desk.Connect());
    window = desk.OpenVisualScan();
    ASSERT_NE(window, nullptr);
    centre = desk.VfoA();
    ASSERT_EQ(window->control().centre.load(), centre);
    ASSERT_TRUE(SweepUnderWay(desk, window, centre));

    desk.Unplug();
    ASSERT_TRUE(desk.WaitDisconnected());
}

} // namespace console_desk
