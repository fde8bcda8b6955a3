// SPDX-License-Identifier: GPL-3.0-or-later
// console_app_test.cpp - the application object and the command line.
#include "command_line.h"
#include "console_app.h"
#include "console_menu.h"
#include "console_test_support.h"

#include <platform.h>
#include <yarrel.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QPointer>
#include <QSettings>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QWindow>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSysInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

#include <map>

namespace {

ConsoleOptions QuietOptions() {
    ConsoleOptions options;
    options.showSplash = false;
    options.sleep = [](std::chrono::milliseconds) {};
    return options;
}

// A start of the application whose console only counts its runs: the
// start's result and how often the console ran.
struct CountedStart {
    int result = -1;
    int runs = 0;
};
CountedStart StartCounted() {
    CountedStart start;
    ConsoleApp app(QuietOptions(), [&](ConsoleDialog&) {
        ++start.runs;
        return 0;
    });
    start.result = app.InitInstance();
    return start;
}

TEST(ConsoleApp, RunsTheConsoleOnceAndReleasesTheLock) {
    ForgetConsolePosition();
    int runs = 0;
    bool heldWhileRunning = false;
    ConsoleApp app(QuietOptions(), [&](ConsoleDialog& console) {
        ++runs;
        heldWhileRunning = !platform::SingleInstance().acquired();
        EXPECT_EQ(console.windowTitle(), QStringLiteral("Radio Control Program for QX-9000/QB9000"));
        return 0;
    });
    EXPECT_EQ(app.InitInstance(), 0);
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(heldWhileRunning);
    EXPECT_FALSE(app.HoldsInstance());
    // Released: the next start gets the lock.
    EXPECT_TRUE(platform::SingleInstance().acquired());
}

// The window-system events of a person: clicks and keys sent to a window
// go through the platform's queue, where a modal console would block them.
void ClickThroughTheWindowSystem(QWidget* button) {
    QWidget* window = button->window();
    const QPoint at = button->mapTo(window, button->rect().center());
    QTest::mouseMove(window->windowHandle(), at);
    QTest::mousePress(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, at, 20);
    QTest::mouseRelease(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, at, 20);
}

QAbstractButton* TopLevelButton(const QString& text, const QWidgetList& besides) {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (besides.contains(top) || !top->isVisible())
            continue;
        for (QAbstractButton* button : top->findChildren<QAbstractButton*>())
            if (button->text() == text)
                return button;
    }
    return nullptr;
}

// While the console runs, a secondary window and the help window take
// clicks and keys, and the console still closes at the end.
TEST(ConsoleApp, SecondaryWindowsTakeInputBesideTheRunningConsole) {
    ForgetConsolePosition();
    ConsoleDialog console(QuietOptions());
    bool panelShown = false, panelClosedByClick = false;
    bool helpShown = false, helpTakesKeys = false;
    QTimer::singleShot(50, [&] {
        // The memory editor: a panel of its own, closed with its Cancel button.
        QWidgetList before;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->isVisible())
                before.append(top);
        console.windows().RadioMchView();
        QApplication::processEvents();
        QAbstractButton* cancel = TopLevelButton(QStringLiteral("Cancel"), before);
        panelShown = cancel != nullptr && cancel->window()->objectName() == QStringLiteral("Mch");
        if (cancel) {
            QPointer<QWidget> panel(cancel->window());
            ClickThroughTheWindowSystem(cancel);
            QApplication::processEvents();
            // Cancel hides the editor; its end message then has the console
            // destroy it.
            panelClosedByClick = panel.isNull() || !panel->isVisible();
        }
        // F1 on the console opens help; the help window closes on request.
        platform::SetHelpViewer({});
        QTest::keyClick(console.windowHandle(), Qt::Key_F1);
        QApplication::processEvents();
        QWidget* help = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->windowTitle() == QStringLiteral("Zephyra Help") && top->isVisible())
                help = top;
        helpShown = help != nullptr;
        if (auto* browser = qobject_cast<QTextBrowser*>(help)) {
            // Keys reach it: Ctrl+A selects the page.
            QTest::keyClick(browser->windowHandle(), Qt::Key_A, Qt::ControlModifier);
            QApplication::processEvents();
            helpTakesKeys = browser->textCursor().hasSelection();
        }
        console.reject();
    });
    RunConsole(console);
    EXPECT_TRUE(panelShown);
    EXPECT_TRUE(panelClosedByClick);
    EXPECT_TRUE(helpShown);
    EXPECT_TRUE(helpTakesKeys);
    EXPECT_FALSE(console.isVisible());
    console.DestroyWindow();
}

TEST(ConsoleApp, TerminationSignalClosesTheConsoleInOrder) {
    ForgetConsolePosition();
    bool closed = false;
    ConsoleApp app(QuietOptions(), [&](ConsoleDialog& console) {
        console.move(210, 110);
        console.show();
        std::raise(SIGTERM);
        for (int i = 0; i < 1000 && console.isVisible(); ++i) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        closed = !console.isVisible();
        return 0;
    });
    EXPECT_EQ(app.InitInstance(), 0);
    EXPECT_TRUE(closed);
    // The end sequence ran: the position is in the profile.
    EXPECT_EQ(platform::GetProfileString("WindowPos", "Main", "").size(), 10);
}

TEST(ConsoleApp, ASecondStartEndsSilentlyWithoutAConsole) {
    platform::SingleInstance first;
    ASSERT_TRUE(first.acquired());
    const CountedStart second = StartCounted();
    EXPECT_EQ(second.result, 0);
    EXPECT_EQ(second.runs, 0);
}

TEST(ConsoleApp, ALockLeftByACrashedRunDoesNotBlock) {
    QString lockPath;
    {
        platform::SingleInstance probe;
        lockPath = probe.lockPath();
    }
    ASSERT_FALSE(lockPath.isEmpty());
    // What a killed run leaves behind: its lock file naming a process that is gone.
    QFile stale(lockPath);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write(QByteArray("999999\nzephyra\n") + QSysInfo::machineHostName().toUtf8() + "\n");
    stale.close();
    const CountedStart start = StartCounted();
    EXPECT_EQ(start.result, 0);
    EXPECT_EQ(start.runs, 1);
}

TEST(RenderConsole, WritesAPngOfTheConsoleSize) {
    QTemporaryDir dir;
    const QString path = dir.filePath("console.png");
    ASSERT_TRUE(RenderConsole(path, false));
    const QImage image(path);
    EXPECT_EQ(image.size(), QSize(761, 546));
    EXPECT_FALSE(RenderConsole(dir.filePath("no/such/folder/console.png"), false));
}

// A picture is drawn from the operator's settings, but what the windows
// save as they close (their places) must not change the operator's profile.
TEST(OnProfileCopy, ReadsTheOperatorsProfileAndKeepsWhatIsWrittenAway) {
    using platform::GetProfileString;
    platform::WriteProfileString(QStringLiteral("Setting"), QStringLiteral("RenderProbe"), QStringLiteral("kept"));
    const auto profile = [] {
        QFile file(QSettings(QStringLiteral("BRAVELL"), QStringLiteral("Zephyra")).fileName());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray before = profile();
    ASSERT_TRUE(before.contains("RenderProbe=kept"));
    EXPECT_TRUE(OnProfileCopy([] {
        EXPECT_EQ(GetProfileString(QStringLiteral("Setting"), QStringLiteral("RenderProbe"), QString()),
                  QStringLiteral("kept"));
        EXPECT_TRUE(platform::WriteProfileString(QStringLiteral("WindowPos"), QStringLiteral("Yarrel"),
                                                 QStringLiteral("0000000000")));
        return GetProfileString(QStringLiteral("WindowPos"), QStringLiteral("Yarrel"), QString()) ==
               QStringLiteral("0000000000");
    }));
    EXPECT_EQ(profile(), before);
    EXPECT_EQ(GetProfileString(QStringLiteral("WindowPos"), QStringLiteral("Yarrel"), QStringLiteral("none")),
              QStringLiteral("none"));

    // Both pictures are drawn under one, and leave the profile as it was.
    QTemporaryDir dir;
    ASSERT_TRUE(RenderConsole(dir.filePath("console.png"), false));
    ASSERT_TRUE(RenderConnectedConsole(dir.filePath("connected.png")));
    EXPECT_FALSE(QImage(dir.filePath("connected.png")).isNull());
    // A window the picture opened and left open would save its place when
    // the program ends, after the copy is gone.
    YarrelDestroy();
    EXPECT_EQ(profile(), before);
}

// A radio that cannot be reached makes the picture fail with the reason,
// not wait for someone to close the link's error box.
TEST(RenderConsole, APortThatCannotBeOpenedFailsWithoutWaitingForAnyone) {
    // As in the program, the link's errors are shown in a box; one that no
    // one closes would hold the picture until the case times out.
    platform::InstallLinkMessageBoxes();
    QTemporaryDir dir;
    EXPECT_FALSE(RenderConnectedConsole(dir.filePath("connected.png"), QStringLiteral("/dev/no-such-radio")));
    EXPECT_FALSE(QFile::exists(dir.filePath("connected.png")));
    CCorvan::SetMessageBoxHandler(nullptr);
}

struct ParseRow {
    std::vector<std::string> args;
    bool help;
    bool simulator;
    const char* render; // null: none
    bool layout;
    bool error;
    std::string port = {};
    bool connect = false;
};

void PrintTo(const ParseRow& row, std::ostream* out) {
    for (const std::string& arg : row.args) {
        *out << arg << ' ';
    }
}

class CommandLines : public ::testing::TestWithParam<ParseRow> {};

TEST_P(CommandLines, AreReadAsExpected) {
    const CommandLine line = ParseCommandLine(GetParam().args);
    EXPECT_EQ(line.help, GetParam().help);
    EXPECT_EQ(line.simulator, GetParam().simulator);
    EXPECT_EQ(line.renderPath.has_value(), GetParam().render != nullptr);
    if (GetParam().render != nullptr && line.renderPath) {
        EXPECT_EQ(*line.renderPath, GetParam().render);
    }
    EXPECT_EQ(line.renderLayout, GetParam().layout);
    EXPECT_EQ(!line.error.empty(), GetParam().error) << line.error;
    if (!GetParam().error) {
        EXPECT_EQ(line.port, GetParam().port);
        EXPECT_EQ(line.connect, GetParam().connect);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Console, CommandLines,
    ::testing::Values(ParseRow{{}, false, false, nullptr, false, false},
                      ParseRow{{"--help"}, true, false, nullptr, false, false},
                      ParseRow{{"--simulator"}, false, true, nullptr, false, false},
                      ParseRow{{"--render", "/tmp/c.png"}, false, false, "/tmp/c.png", false, false},
                      ParseRow{{"--render=/tmp/c.png"}, false, false, "/tmp/c.png", false, false},
                      ParseRow{{"--render-layout", "l.png"}, false, false, "l.png", true, false},
                      ParseRow{{"--simulator", "--render-connected", "c.png"}, false, true, "c.png", false, false},
                      ParseRow{{"--render"}, false, false, nullptr, false, true},
                      ParseRow{{"--render", "--simulator"}, false, false, nullptr, false, true},
                      ParseRow{{"--render="}, false, false, nullptr, false, true},
                      ParseRow{{"--render", "a.png", "--render-connected", "b.png"}, false, false, "a.png", false, true},
                      ParseRow{{"--render-layout=a.png", "--render=b.png"}, false, false, "a.png", true, true},
                      ParseRow{{"--colour"}, false, false, nullptr, false, true},
                      ParseRow{{"-platform", "xcb", "--simulator"}, false, true, nullptr, false, false},
                      ParseRow{{"--port", "/dev/ttyUSB0"}, false, false, nullptr, false, false, "/dev/ttyUSB0"},
                      ParseRow{{"--port=/dev/ttyACM0", "--connect"}, false, false, nullptr, false, false,
                               "/dev/ttyACM0", true},
                      ParseRow{{"--connect", "--simulator"}, false, true, nullptr, false, false, "", true},
                      ParseRow{{"--port"}, false, false, nullptr, false, true},
                      ParseRow{{"--port="}, false, false, nullptr, false, true},
                      ParseRow{{"--port", "--connect"}, false, false, nullptr, false, true},
                      ParseRow{{"--simulator", "--port", "/dev/ttyS0"}, false, true, nullptr, false, true}));

// --connect, or the "Connect at Start" setting from the Control menu, runs
// Control > ON once the console is up; without either it stays
// disconnected.
TEST(ConsoleApp, ConnectsAtStartWhenAskedTo) {
    ForgetConsolePosition();
    platform::WriteProfileInt(QStringLiteral("Setting"), QStringLiteral("ConnectAtStart"), 0);
    const auto runFor = [](ConsoleOptions options) {
        options.simulator = true;
        options.persistent = false;
        bool connected = false;
        ConsoleApp app(options, [&](ConsoleDialog& console) {
            platform::PumpUntil([&] { return console.state().connected && console.state().consoleReady; },
                                std::chrono::seconds(5));
            connected = console.state().connected && console.state().consoleReady;
            return 0;
        });
        app.InitInstance();
        return connected;
    };
    ConsoleOptions quiet = QuietOptions();
    EXPECT_FALSE(runFor(quiet));
    ConsoleOptions asked = quiet;
    asked.connect = true;
    EXPECT_TRUE(runFor(asked));

    // The menu item keeps the choice in the profile.
    {
        ConsoleDialog console(quiet);
        QAction* atStart = console.menuAction(cmd::ConnectAtStart);
        ASSERT_NE(atStart, nullptr);
        EXPECT_TRUE(atStart->isCheckable());
        EXPECT_FALSE(atStart->isChecked());
        atStart->trigger();
        console.DestroyWindow();
    }
    EXPECT_EQ(platform::GetProfileInt(QStringLiteral("Setting"), QStringLiteral("ConnectAtStart"), 0), 1);
    EXPECT_TRUE(runFor(quiet));
    platform::WriteProfileInt(QStringLiteral("Setting"), QStringLiteral("ConnectAtStart"), 0);
}

struct DisplayRow {
    std::vector<std::string> args;
    std::map<std::string, std::string> environment;
    bool hasDisplay;
};

void PrintTo(const DisplayRow& row, std::ostream* out) {
    for (const std::string& arg : row.args) {
        *out << arg << ' ';
    }
    for (const auto& [name, value] : row.environment) {
        *out << name << '=' << value << ' ';
    }
}

class Displays : public ::testing::TestWithParam<DisplayRow> {};

TEST_P(Displays, AreFoundFromTheEnvironmentAndThePlatform) {
    const auto env = GetParam().environment;
    const auto lookup = [&env](const char* name) {
        const auto it = env.find(name);
        return it == env.end() ? std::string() : it->second;
    };
    EXPECT_EQ(HasDisplay(ParseCommandLine(GetParam().args), lookup), GetParam().hasDisplay);
}

INSTANTIATE_TEST_SUITE_P(
    Console, Displays,
    ::testing::Values(DisplayRow{{}, {}, false}, DisplayRow{{}, {{"DISPLAY", ":0"}}, true},
                      DisplayRow{{}, {{"WAYLAND_DISPLAY", "wayland-0"}}, true},
                      DisplayRow{{}, {{"QT_QPA_PLATFORM", "offscreen"}}, true},
                      DisplayRow{{}, {{"QT_QPA_PLATFORM", "xcb"}}, false},
                      DisplayRow{{"-platform", "offscreen"}, {}, true},
                      DisplayRow{{"-platform", "xcb"}, {{"QT_QPA_PLATFORM", "offscreen"}}, false},
                      DisplayRow{{}, {{"QT_QPA_PLATFORM", "vnc:size=800x600"}}, true}));

TEST(CommandLine, MessagesNameTheWayOut) {
    EXPECT_NE(NoDisplayMessage().find("--render"), std::string::npos);
    EXPECT_NE(NoDisplayMessage().find("xvfb-run"), std::string::npos);
    EXPECT_NE(UsageText().find("--simulator"), std::string::npos);
}

} // namespace
