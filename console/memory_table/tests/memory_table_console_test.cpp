// The "Memory Channels" window as the console opens it: from the Memory menu,
// on the console's own link to the built-in simulator, kept out while the
// console's operation runs, and stopped when the console ends.
#include "display_fixture.h"

#include "console_menu.h"

#include <memory_channels.h>
#include <memory_table.h>

#include <QTableWidget>

#include <optional>

namespace {

using display_test::DisplayTest;
using display_test::PumpUntil;
using memory_table::MemoryTableWindow;

class MemoryTableInTheConsole : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        dialogs = std::make_shared<platform::ScriptedDialogs>();
        platform::SetDialogProvider(dialogs);
    }
    void TearDown() override {
        DisplayTest::TearDown();
        platform::SetDialogProvider(nullptr);
    }
    std::shared_ptr<platform::ScriptedDialogs> dialogs;
};

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

} // namespace
