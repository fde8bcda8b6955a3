// SPDX-License-Identifier: GPL-3.0-or-later
// console_window_test.cpp - the console as a window: size, keys, menu,
// messages, start-up picture, help and the end sequence.
#include "about_dialog.h"
#include "console_dialog.h"
#include "console_ids.h"
#include "console_menu.h"
#include "console_test_support.h"
#include "splash_window.h"

#include <corvan.h>
#include <glimra.h>
#include <pandor.h>
#include <tonwell.h>

#include <QAction>
#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

class ConsoleWindow : public TestConsole {};

// ---------------------------------------------------------- window

TEST_F(ConsoleWindow, HasItsCaptionAndAFixedSize) {
    EXPECT_EQ(console->windowTitle(), QStringLiteral("Radio Control Program for QX-9000/QB9000"));
    EXPECT_EQ(console->size(), QSize(761, 546));
    EXPECT_EQ(console->minimumSize(), console->maximumSize());
    EXPECT_FALSE(console->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(console->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(console->isSizeGripEnabled());
    EXPECT_EQ(console->client()->geometry().bottom(), 545);
    EXPECT_EQ(console->client()->y(), console->menuBar()->height());
    EXPECT_EQ(platform::MainWindow(), console.get());
}

TEST_F(ConsoleWindow, EnterNeverClosesTheConsole) {
    console->show();
    for (const int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(console.get(), &press);
        EXPECT_TRUE(console->isVisible()) << key;
    }
    console->accept();
    EXPECT_TRUE(console->isVisible());
    EXPECT_EQ(console->result(), 0);
    // No button of the panel acts as the dialog's default button.
    for (QPushButton* button : console->findChildren<QPushButton*>()) {
        EXPECT_FALSE(button->isDefault()) << button->text().toStdString();
        EXPECT_FALSE(button->autoDefault()) << button->text().toStdString();
    }
}

TEST_F(ConsoleWindow, EnterRunsTheFocusedButton) {
    console->show();
    console->activateWindow();
    CButtonEx* send = controls().button(idc::Send);
    send->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), send);
    int clicks = 0;
    QObject::connect(send, &QPushButton::clicked, [&clicks] { ++clicks; });
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(console.get(), &press);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(console->isVisible());
}

// ---------------------------------------------------------- menu

TEST_F(ConsoleWindow, MenuHasEveryCommandOnceWithItsInitialState) {
    const std::set<int> greyed = {cmd::ControlOffCmd, cmd::Refresh, cmd::MemoryName, cmd::SlowScanFreq};
    std::set<int> seen;
    for (const MenuEntry& entry : ConsoleMenu()) {
        if (entry.command == 0) {
            continue;
        }
        EXPECT_TRUE(seen.insert(entry.command).second) << "command twice: " << entry.text;
        QAction* action = console->menuAction(entry.command);
        ASSERT_NE(action, nullptr) << entry.text;
        EXPECT_EQ(action->isEnabled(), greyed.count(entry.command) == 0) << entry.text;
    }
    EXPECT_EQ(static_cast<int>(seen.size()), cmd::Last - cmd::First + 1);
    EXPECT_TRUE(console->menuAction(cmd::ControlOnCmd)->isEnabled());
    EXPECT_EQ(console->menuAction(cmd::Refresh)->text(), QStringLiteral("Refresh (&R)\tF5"));
}

TEST_F(ConsoleWindow, MenuBarHasTheTenMenusInOrder) {
    QStringList titles;
    for (QAction* action : console->menuBar()->actions()) {
        titles << action->text();
    }
    EXPECT_EQ(titles, (QStringList{"File (&F)", "Control (&C)", "Radio (&R)", "VFO (&V)", "Mode (&M)", "TX RX (&T)",
                                   "Memory (&E)", "Scan (&S)", "DSP (&D)", "Help (&H)"}));
}

struct FocusRow {
    int command;
    int control;
};

TEST_F(ConsoleWindow, FocusOnlyMenuItemsMoveTheFocusToTheirControl) {
    console->show();
    console->activateWindow();
    const FocusRow rows[] = {{cmd::GainRf, idc::RfGainBar},         {cmd::GainAfMain, idc::AfMainBar},
                             {cmd::GainAfSub, idc::AfSubBar},       {cmd::GainSquelchMain, idc::SqlMainBar},
                             {cmd::GainSquelchSub, idc::SqlSubBar}, {cmd::StepCmd, idc::StepList},
                             {cmd::BeatCancelPoint, idc::BcPointBar}};
    for (const FocusRow& row : rows) {
        EXPECT_TRUE(console->HasCommandHandler(row.command));
        console->menuAction(row.command)->trigger();
        QApplication::processEvents();
        EXPECT_EQ(QApplication::focusWidget(), controls().widget(row.control)) << row.command;
    }
}

TEST_F(ConsoleWindow, CommandsWithoutAHandlerDoNothingAndHandlersCanBePlugged) {
    int ran = 0;
    console->OnCommand(cmd::ControlOnCmd); // nothing installed for it yet
    console->SetCommandHandler(cmd::ControlOnCmd, [&ran] { ++ran; });
    console->menuAction(cmd::ControlOnCmd)->trigger();
    EXPECT_EQ(ran, 1);
    console->SetCommandHandler(cmd::ControlOnCmd, {});
    console->OnCommand(cmd::ControlOnCmd);
    EXPECT_EQ(ran, 1);
}

TEST_F(ConsoleWindow, WindowMessagesReachTheirHandlers) {
    std::vector<std::pair<unsigned, std::intptr_t>> received;
    console->SetMessageHandler(4116, [&received](const platform::WindowMessage& m) {
        received.emplace_back(m.message(), m.lParam());
    });
    console->SetMessageHandler(platform::kUmLinkRestart, [&received](const platform::WindowMessage& m) {
        received.emplace_back(m.message(), m.lParam());
    });
    platform::PostMessage(console.get(), 4116, 0, 7);
    platform::PostMessage(console.get(), 4117, 0, 8); // no handler: dropped quietly
    platform::PostToMainWindow(platform::kUmLinkRestart, 0, 9);
    console->PumpMessages();
    EXPECT_EQ(received, (std::vector<std::pair<unsigned, std::intptr_t>>{{4116, 7}, {platform::kUmLinkRestart, 9}}));
}

// ---------------------------------------------------------- end

struct Step {
    EndStep step;
    std::string name;
    bool operator==(const Step&) const = default;
};

TEST_F(ConsoleWindow, ExitClosesPanelsThenSavesThePositionAndTearsDown) {
    std::vector<Step> steps;
    QString positionWhenPanelsClosed = QStringLiteral("unset");
    int controlsWhenSaved = 0;
    bool linkWhenControlsDeleted = false;
    console->SetEndObserver([&](EndStep step, const char* name) {
        steps.push_back({step, name});
        if (step == EndStep::PanelDestroyed && std::string(name) == "SolvikDestroy") {
            positionWhenPanelsClosed = platform::GetProfileString("WindowPos", "Main", "");
        }
        if (step == EndStep::PositionSaved) {
            controlsWhenSaved = console->controls().size();
        }
        if (step == EndStep::ControlsDeleted) {
            linkWhenControlsDeleted = console->link() != nullptr;
        }
    });
    console->move(120, 80);
    console->show();
    console->menuAction(cmd::Exit)->trigger();
    EXPECT_FALSE(console->isVisible());
    console->DestroyWindow();
    console->DestroyWindow(); // runs once

    const char* panels[] = {"TrevanDestroy",   "RadioEqgDestroy", "RadioEqsDestroy", "PimbelDestroy",
                            "RadioAgcDestroy", "RadioMchDestroy", "RadioMgrDestroy", "PandorDestroy",
                            "QuorelDestroy",   "RadioSgrDestroy", "RadioSmnDestroy", "OrlintDestroy",
                            "DunmarDestroy",   "YarrelDestroy",   "GlimraScanStop",  "GlimraDestroy",
                            "SolvikDestroy"};
    std::vector<Step> expected;
    for (const char* panel : panels) {
        expected.push_back({EndStep::PanelDestroyed, panel});
    }
    expected.push_back({EndStep::PositionSaved, ""});
    expected.push_back({EndStep::MessagesPumped, ""});
    expected.push_back({EndStep::ControlsDeleted, ""});
    expected.push_back({EndStep::LinkDeleted, ""});
    expected.push_back({EndStep::SplashDeleted, ""});
    EXPECT_EQ(steps, expected);
    EXPECT_TRUE(positionWhenPanelsClosed.isEmpty()) << "saved before the panels were closed";
    EXPECT_EQ(controlsWhenSaved, 252);
    EXPECT_TRUE(linkWhenControlsDeleted);
    EXPECT_EQ(console->controls().size(), 0);
    EXPECT_EQ(console->link(), nullptr);
    const QString saved = platform::GetProfileString("WindowPos", "Main", "");
    EXPECT_EQ(saved.size(), 10);
    EXPECT_EQ(saved, platform::FormatWindowPos(console->frameGeometry().y(), console->frameGeometry().x()));
}

TEST_F(ConsoleWindow, ExitDestroysTheOpenSecondaryWindowsThroughTheirLibraries) {
    const auto openWindows = [] {
        QStringList names;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->windowTitle() == QStringLiteral("Audio Editor - Design") ||
                w->windowTitle() == QStringLiteral("Visual Scan") || w->objectName() == QStringLiteral("Mch")) {
                names << w->windowTitle();
            }
        }
        return names;
    };
    console->show();
    RadioEqsView(console.get());
    GlimraView(console.get());
    RadioMchView(console.get());
    const int opened = openWindows().size();
    ASSERT_GE(opened, 2) << "the secondary windows did not open";
    platform::WriteProfileString("WindowPos", "Eqs", "");
    console->menuAction(cmd::Exit)->trigger();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(openWindows().isEmpty()) << openWindows().join(", ").toStdString();
    // Destroying a window saves where it stood.
    EXPECT_EQ(platform::GetProfileString("WindowPos", "Eqs", "").size(), 10);
}

TEST_F(ConsoleWindow, ClosingWhileConnectedDisconnectsAfterSavingAndBeforeTheTeardown) {
    std::vector<EndStep> steps;
    int controlsWhenDisconnecting = -1;
    console->state().connected = true;
    console->SetDisconnectHandler([&] {
        controlsWhenDisconnecting = console->controls().size();
        EXPECT_NE(console->link(), nullptr);
    });
    console->SetEndObserver([&](EndStep step, const char*) {
        if (step != EndStep::PanelDestroyed) {
            steps.push_back(step);
        }
    });
    console->close();
    console->DestroyWindow();
    EXPECT_EQ(steps, (std::vector<EndStep>{EndStep::PositionSaved, EndStep::Disconnected, EndStep::MessagesPumped,
                                           EndStep::ControlsDeleted, EndStep::LinkDeleted, EndStep::SplashDeleted}));
    EXPECT_EQ(controlsWhenDisconnecting, 252);
}

TEST(ConsoleStart, HoldsTheStartUpPictureForThirtyTicksThenDropsIt) {
    ForgetConsolePosition();
    int ticks = 0;
    bool splashShownWhileWaiting = true;
    std::chrono::milliseconds waited{0};
    ConsoleOptions options;
    options.showSplash = true;
    options.sleep = [&](std::chrono::milliseconds pause) {
        ++ticks;
        waited += pause;
        const auto splashes = QApplication::topLevelWidgets();
        bool visible = false;
        for (QWidget* w : splashes) {
            if (auto* splash = qobject_cast<SplashWindow*>(w)) {
                visible = visible || (splash->isVisible() && splash->size() == kSplashSize);
            }
        }
        splashShownWhileWaiting = splashShownWhileWaiting && visible;
    };
    ConsoleDialog console(options);
    EXPECT_EQ(ticks, 30);
    EXPECT_EQ(waited, std::chrono::milliseconds(3000));
    EXPECT_TRUE(splashShownWhileWaiting);
    for (QWidget* w : QApplication::topLevelWidgets()) {
        EXPECT_EQ(qobject_cast<SplashWindow*>(w), nullptr) << "the start-up picture outlived the start";
    }
}

TEST(ConsoleStart, WithoutThePictureNeverWaits) {
    ForgetConsolePosition();
    int ticks = 0;
    ConsoleOptions options;
    options.showSplash = false;
    options.sleep = [&](std::chrono::milliseconds) { ++ticks; };
    ConsoleDialog console(options);
    EXPECT_EQ(ticks, 0);
}

TEST(ConsoleStart, ReadsDialWaitWithItsDefault) {
    ForgetConsolePosition();
    platform::WriteProfileString("Setting", "DialWait", "seven");
    EXPECT_EQ(MakeTestConsole()->state().dialWait, 5);
    platform::WriteProfileInt("Setting", "DialWait", 3);
    EXPECT_EQ(MakeTestConsole()->state().dialWait, 3);
    platform::WriteProfileString("Setting", "DialWait", "");
}

struct HelpRow {
    bool connected;
    int wheel;
    bool voice;
    bool satellite;
    bool scroll;
    int context;
};

void PrintTo(const HelpRow& row, std::ostream* out) { *out << "context " << row.context; }

class HelpContexts : public ::testing::TestWithParam<HelpRow> {};

TEST_P(HelpContexts, FollowTheConsoleStateInOrder) {
    ConsoleState state;
    state.connected = GetParam().connected;
    state.mouseWheelSelection = GetParam().wheel;
    state.voiceRecallDigits = GetParam().voice;
    state.satelliteMode = GetParam().satellite;
    state.memoryScroll = GetParam().scroll;
    EXPECT_EQ(HelpContextFor(state), GetParam().context);
}

INSTANTIATE_TEST_SUITE_P(Console, HelpContexts,
                         ::testing::Values(HelpRow{false, 3, true, true, true, 4}, HelpRow{true, 3, true, true, true, 19},
                                           HelpRow{true, 0, true, true, true, 175},
                                           HelpRow{true, 0, false, true, true, 180},
                                           HelpRow{true, 0, false, false, true, 66},
                                           HelpRow{true, 0, false, false, false, ConsoleDialog::kHelpContents}));

TEST(ConsoleHelp, F1OpensThePageOfTheContextAndEveryContextHasAPage) {
    ForgetConsolePosition();
    auto console = MakeTestConsole();
    std::vector<std::pair<int, QString>> shown;
    platform::SetHelpViewer([&shown](int context, const QString& page) { shown.emplace_back(context, page); });
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(console.get(), &f1);
    console->menuAction(cmd::HelpIndex)->trigger();
    platform::SetHelpViewer({});
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].first, 4);
    EXPECT_TRUE(shown[0].second.endsWith(QStringLiteral("/4.html"))) << shown[0].second.toStdString();
    EXPECT_TRUE(shown[1].second.endsWith(QStringLiteral("/index.html"))) << shown[1].second.toStdString();
    for (const int context : {4, 19, 66, 175, 180}) {
        EXPECT_TRUE(platform::HelpPagePath(context).endsWith(QStringLiteral("/%1.html").arg(context))) << context;
    }
}

} // namespace

namespace {

TEST(AboutBox, ShowsThePictureAndOkOnBlackAndIgnoresTheHelpKey) {
    const QPixmap picture = DrawSplashPicture();
    AboutDialog about(picture, nullptr);
    EXPECT_EQ(about.size(), QSize(603, 263));
    EXPECT_EQ(about.picture()->geometry(), QRect(3, 0, 594, 225));
    EXPECT_EQ(about.okButton()->geometry(), QRect(263, 228, 75, 25));
    EXPECT_EQ(about.okButton()->text(), QStringLiteral("&OK"));
    EXPECT_EQ(about.palette().color(QPalette::Window), QColor(Qt::black));
    int helpShown = 0;
    platform::SetHelpViewer([&helpShown](int, const QString&) { ++helpShown; });
    about.show();
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(&about, &f1);
    platform::SetHelpViewer({});
    EXPECT_EQ(helpShown, 0);
    EXPECT_TRUE(about.isVisible());
    about.okButton()->click();
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

} // namespace

namespace {

struct MenuText {
    int command;
    const char* text;
};

void PrintTo(const MenuText& row, std::ostream* out) { *out << row.text; }

class MenuTexts : public ::testing::TestWithParam<MenuText> {};

// The texts other parts of the console look the commands up by.
TEST_P(MenuTexts, AreExact) {
    ForgetConsolePosition();
    auto console = MakeTestConsole();
    QAction* action = console->menuAction(GetParam().command);
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), QString::fromLatin1(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Console, MenuTexts,
    ::testing::Values(MenuText{cmd::NoiseReduction1, "N.R. 1 (&1)"}, MenuText{cmd::NoiseReduction2, "N.R. 2 (&2)"},
                      MenuText{cmd::NoiseReductionOff, "OFF (&F)"}, MenuText{cmd::MemoryChannelUp, "Up (&U)"},
                      MenuText{cmd::MemoryChannelDown, "Down (&D)"}, MenuText{cmd::ClearMemory, "Clear Memory (&C)"},
                      MenuText{cmd::SlowScanFreq, "Slow Scan Freq. (&F)"}, MenuText{cmd::MhzScan, "MHz Scan (&M)"},
                      MenuText{cmd::ToneScan, "Tone Scan (&T)"}, MenuText{cmd::CtcssScan, "CTCSS Scan (&C)"},
                      MenuText{cmd::DcsScan, "DCS Scan (&D)"}, MenuText{cmd::ScanCmd, "Scan (&S)"},
                      MenuText{cmd::VisualScan, "Visual Scan (&V)"}, MenuText{cmd::ScanGroup, "Scan Group (&G)"},
                      MenuText{cmd::ScanSpeedUp, "UP (&U)"}, MenuText{cmd::ScanSpeedDown, "Down (&D)"},
                      MenuText{cmd::SatMainSub, "M/S (&M)"}, MenuText{cmd::SatControlBand, "Control Band (&C)"},
                      MenuText{cmd::SatTrace, "Trace (&T)"}, MenuText{cmd::SatRev, "Rev. (&R)"},
                      MenuText{cmd::SatClickEncFunction, "Click Enc. Function (&F)"}, MenuText{cmd::Exit, "Exit (&X)"}));

TEST(MenuTexts, SubmenusHoldTheirCommands) {
    ForgetConsolePosition();
    auto console = MakeTestConsole();
    // "Up (&U)" and "Down (&D)" of "M. CH (&M)" sit in that submenu.
    QAction* up = console->menuAction(cmd::MemoryChannelUp);
    ASSERT_NE(up, nullptr);
    const auto* submenu = qobject_cast<QMenu*>(up->parent());
    ASSERT_NE(submenu, nullptr);
    EXPECT_EQ(submenu->title(), QStringLiteral("M. CH (&M)"));
    EXPECT_EQ(qobject_cast<QMenu*>(console->menuAction(cmd::ScanSpeedUp)->parent())->title(),
              QStringLiteral("SCAN SPEED (&P)"));
}

} // namespace
