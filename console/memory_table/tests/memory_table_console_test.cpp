// SPDX-License-Identifier: GPL-3.0-or-later
// The "Memory Channels" window as the console opens it: from the Memory menu,
// on the console's own link to the built-in simulator, kept out while the
// console's operation runs, and stopped when the console ends.
#include "display_fixture.h"

#include "console_menu.h"

#include <memory_channels.h>
#include <memory_table.h>

#include <QFile>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

namespace {

using display_test::DisplayTest;
using display_test::PumpUntil;
using memory_table::MemoryTableWindow;

class MemoryTableInTheConsole : public display_test::WithScriptedDialogs<DisplayTest> {};

TEST_F(MemoryTableInTheConsole, MenuOpensOneTableThatReadsThroughTheConsolesLink) {
    Connect();
    qxsim::Radio* radio = console->connection()->Simulator().Radio();
    ASSERT_NE(radio, nullptr);
    radio->modify([](qxsim::State& s) {
        s.memory[5].half[0].frequency = 145'675'000;
        s.memory[5].half[0].mode = 4;
        s.memory[5].half[0].name = "NET";
    });
    ASSERT_NE(console->menuAction(cmd::MemoryChannels), nullptr);
    EXPECT_EQ(console->menuAction(cmd::MemoryChannels)->text(), QStringLiteral("Memory C&hannels"));
    console->OnCommand(cmd::MemoryChannels);
    console->OnCommand(cmd::MemoryChannels);
    const auto windows = console->findChildren<MemoryTableWindow*>();
    ASSERT_EQ(windows.size(), 1) << "the second command shows the same window";
    MemoryTableWindow* window = windows.front();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Memory Channels"));
    EXPECT_EQ(window->table()->rowCount(), 301);

    window->ReadFromRadio();
    window->RunToEnd();
    ASSERT_TRUE(window->HasRead()) << window->statusText().toStdString();
    EXPECT_EQ(window->radioChannels()[5].rxFrequency, 145'675'000);
    EXPECT_EQ(window->radioChannels()[5].name, "NET");
    // The console still answers its radio afterwards.
    EXPECT_TRUE(console->state().connected);
}

TEST_F(MemoryTableInTheConsole, NoReadStartsWhileTheConsolesOperationRuns) {
    Connect();
    console->OnCommand(cmd::MemoryChannels);
    MemoryTableWindow* window = console->findChild<MemoryTableWindow*>();
    ASSERT_NE(window, nullptr);
    qxsim::Radio* radio = console->connection()->Simulator().Radio();
    std::optional<zephyra::OperationGuard> guard(std::in_place, *console->connection());
    radio->clearReceived();
    window->ReadFromRadio();
    EXPECT_EQ(window->activity(), MemoryTableWindow::Activity::Idle);
    ASSERT_FALSE(dialogs->messages.empty());
    EXPECT_TRUE(dialogs->messages.back().text.contains(QStringLiteral("busy")));
    guard.reset();
    EXPECT_EQ(radio->countOf("MR"), 0u);
}

TEST_F(MemoryTableInTheConsole, ConsoleEndingDuringAReadStopsItWithoutTouchingTheGoneLink) {
    Connect();
    console->OnCommand(cmd::MemoryChannels);
    MemoryTableWindow* window = console->findChild<MemoryTableWindow*>();
    ASSERT_NE(window, nullptr);
    window->ReadFromRadio();
    ASSERT_EQ(window->activity(), MemoryTableWindow::Activity::Reading);
    console->DestroyWindow();
    ASSERT_TRUE(PumpUntil([window] { return window->activity() == MemoryTableWindow::Activity::Idle; }));
    EXPECT_FALSE(window->HasRead());
    EXPECT_TRUE(window->statusText().contains(QStringLiteral("closed"))) << window->statusText().toStdString();
}

// The console changes a channel between the table's read and its write:
// "M. IN" writes the VFO into channel 007 from the front panel, then the
// operator renames 007 in the table and writes. The table sends nothing
// over the console's write and says so, with both versions.
TEST_F(MemoryTableInTheConsole, WriteAfterTheConsoleChangedTheChannelStopsWithTheConflict) {
    Connect();
    console->show();
    qxsim::Radio& radio = this->radio();
    radio.modify([](qxsim::State& s) {
        auto& half = s.memory[7].half[0];
        half.frequency = 145'600'000;
        half.mode = 4;
        half.toneNumber = 1;
        half.name = "OLD";
    });
    console->OnCommand(cmd::MemoryChannels);
    MemoryTableWindow* window = console->findChild<MemoryTableWindow*>();
    ASSERT_NE(window, nullptr);
    QTemporaryDir backups;
    window->SetBackupFolder(backups.path());
    QString shownBackup;
    window->SetWriteConfirmation([&](const QString&, const QString& backup) {
        shownBackup = backup;
        return true;
    });
    window->ReadFromRadio();
    window->RunToEnd();
    ASSERT_TRUE(window->HasRead());
    // The console handles the read's replies.
    PumpUntil([] { return false; }, std::chrono::milliseconds(500));

    // The front panel: M. IN, 0 0 7, M. IN.
    const auto click = [this](int id) { QTest::mouseClick(controls().widget(id), Qt::LeftButton); };
    click(idc::MemoryIn);
    ASSERT_TRUE(PumpUntil([&] { return state().memoryScroll == 1; }));
    radio.clearReceived();
    for (const int key : {idc::Shift, idc::Shift, idc::NbButton})
        click(key);
    ASSERT_TRUE(radio.waitFor("MR1007", std::chrono::seconds(2)));
    PumpUntil([] { return false; }, std::chrono::milliseconds(200));
    click(idc::MemoryIn);
    ASSERT_TRUE(PumpUntil([&] { return state().memoryScroll == 0; }, std::chrono::seconds(5)));
    ASSERT_EQ(radio.state().memory[7].half[0].frequency, 14'195'000);

    ASSERT_TRUE(window->EditCell(7, MemoryTableWindow::kName, QStringLiteral("NEW")));
    radio.clearReceived();
    window->WriteToRadio();
    window->RunToEnd();
    EXPECT_EQ(radio.countOf("MW"), 0u);
    const qxsim::MemoryHalf stored = radio.state().memory[7].half[0];
    EXPECT_EQ(stored.frequency, 14'195'000);
    EXPECT_EQ(stored.mode, 2);
    EXPECT_EQ(stored.name, "");
    const QString report = window->lastReport();
    EXPECT_TRUE(report.contains(QStringLiteral("Channel 007 changed in the radio"))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("145.600000 FM"))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("14.195000 USB"))) << report.toStdString();
    EXPECT_FALSE(QFile::exists(shownBackup));
}

} // namespace
