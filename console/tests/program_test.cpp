// SPDX-License-Identifier: GPL-3.0-or-later
// program_test.cpp - the programs as a user starts them: one version on
// every program and in the About box, and the console's end on a
// termination signal whatever window is open.
#include "about_dialog.h"
#include "console_menu.h"
#include "console_test_support.h"
#include "menu_help.h"
#include "pictures.h"

#include <qxsim.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

struct Child {
    pid_t pid = -1;
    int out = -1; // its standard output
    std::string buffered;

    ~Child() {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
        if (out >= 0)
            ::close(out);
    }

    // The next line of its output, or nothing once `until` passes or it ends.
    std::optional<std::string> line(Clock::time_point until) {
        for (;;) {
            const auto end = buffered.find('\n');
            if (end != std::string::npos) {
                std::string text = buffered.substr(0, end);
                buffered.erase(0, end + 1);
                return text;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
            if (left <= 0)
                return std::nullopt;
            pollfd p{out, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(left)) <= 0)
                continue;
            char chunk[256];
            const ssize_t n = ::read(out, chunk, sizeof chunk);
            if (n <= 0)
                return std::nullopt;
            buffered.append(chunk, static_cast<std::size_t>(n));
        }
    }

    // Its exit status once it ends before `until`; nothing while it runs.
    std::optional<int> wait(Clock::time_point until) {
        while (Clock::now() < until) {
            int status = 0;
            const pid_t done = ::waitpid(pid, &status, WNOHANG);
            if (done == pid) {
                pid = -1;
                return status;
            }
            // Wake when its output closes (it has ended) or after a moment.
            pollfd p{out, POLLIN, 0};
            if (::poll(&p, 1, 50) > 0) {
                char chunk[256];
                if (::read(out, chunk, sizeof chunk) > 0)
                    continue;
            }
        }
        return std::nullopt;
    }
};

std::unique_ptr<Child> Start(const std::vector<std::string>& args) {
    int fds[2];
    if (::pipe(fds) != 0)
        return nullptr;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(fds[1], 1);
        ::close(fds[0]);
        ::close(fds[1]);
        std::vector<char*> argv;
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(fds[1]);
    auto child = std::make_unique<Child>();
    child->pid = pid;
    child->out = fds[0];
    return child;
}

std::string Output(const std::vector<std::string>& args, int& status) {
    auto child = Start(args);
    std::string text;
    while (auto line = child->line(Clock::now() + 20s))
        text += *line + "\n";
    status = child->wait(Clock::now() + 20s).value_or(-1);
    return text;
}

TEST(Version, EveryProgramStatesTheOneVersionAndItsLicence) {
    for (const char* program : {ZEPHYRA_PROGRAM, ZEPHYRA_SIM_PROGRAM, ZEPHYRA_LINK_PROGRAM}) {
        int status = -1;
        const std::string text = Output({program, "--version"}, status);
        const std::string name = std::string(program).substr(std::string(program).rfind('/') + 1);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << program;
        EXPECT_EQ(text.substr(0, text.find('\n')), name + " " + ZEPHYRA_VERSION) << text;
        EXPECT_NE(text.find("GPL-3.0-or-later"), std::string::npos) << text;
        // --help names the option.
        const std::string help = Output({program, "--help"}, status);
        EXPECT_NE(help.find("--version"), std::string::npos) << program;
    }
}

TEST(Version, TheAboutBoxShowsTheVersionAndTheLicence) {
    AboutDialog about(DrawSplashPicture(), nullptr);
    EXPECT_EQ(about.version()->text(), QStringLiteral("Zephyra " ZEPHYRA_VERSION));
    EXPECT_TRUE(about.licence()->text().contains(QLatin1String("GPL-3.0-or-later")));
    // Both readable inside the box, beside the OK button and below the picture.
    for (const QLabel* label : {about.version(), about.licence()}) {
        EXPECT_TRUE(QRect(QPoint(0, 0), about.size()).contains(label->geometry())) << label->text().toStdString();
        EXPECT_FALSE(label->geometry().intersects(about.okButton()->geometry())) << label->text().toStdString();
        EXPECT_FALSE(label->geometry().intersects(about.picture()->geometry())) << label->text().toStdString();
        EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
    }
}

bool Received(const qxsim::Radio& radio, const std::string& text) {
    const auto all = radio.received();
    return std::any_of(all.begin(), all.end(), [&](const qxsim::Received& r) { return r.text == text; });
}

// A termination request ends the console the clean way while a modal
// window is open: auto-information off, the transmitter released, the
// port closed, the program gone with status 0.
class TerminationWithModalWindow : public testing::TestWithParam<const char*> {};

TEST_P(TerminationWithModalWindow, EndsTheProgramTheCleanWay) {
    qxsim::Radio radio;
    ASSERT_TRUE(radio.start()) << radio.lastError();
    auto child = Start({SIGNAL_CHILD, radio.devicePath(), GetParam()});
    ASSERT_TRUE(child);
    EXPECT_EQ(child->line(Clock::now() + 60s).value_or("(nothing)"), "ready");
    radio.transmit(true);
    ASSERT_EQ(child->line(Clock::now() + 30s).value_or("(nothing)"), "modal");
    radio.clearReceived();
    ASSERT_EQ(::kill(child->pid, SIGTERM), 0);
    const std::optional<int> status = child->wait(Clock::now() + 30s);
    ASSERT_TRUE(status.has_value()) << "still running 30 s after SIGTERM with the " << GetParam() << " window open";
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << *status;
    EXPECT_TRUE(Received(radio, "AI0")) << "auto-information left on";
    EXPECT_TRUE(Received(radio, "RX")) << "the transmitter left keyed";
    EXPECT_EQ(radio.state().transmitting, 0);
    EXPECT_EQ(radio.state().ai, 0);
}

INSTANTIATE_TEST_SUITE_P(Windows, TerminationWithModalWindow, testing::Values("about", "question", "file"));

// The pages about sharing, the screen reader, reconnecting and the meter
// pace: each is found, reached from the index, and opened by F1 on the menu
// item it describes.
TEST(HelpPages, EachTopicHasAPageReachedFromTheIndex) {
    const QString index = platform::HelpPagePath(0);
    ASSERT_TRUE(index.endsWith(QLatin1String("/index.html"))) << index.toStdString();
    QFile file(index);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    for (const int context : {menu_help::kSharing, menu_help::kScreenReader, menu_help::kReconnecting,
                              menu_help::kMeterPace}) {
        const QString page = platform::HelpPagePath(context);
        EXPECT_TRUE(page.endsWith(QStringLiteral("/%1.html").arg(context))) << context << " " << page.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("href=\"%1.html\"").arg(context))) << context;
    }
}

struct MenuHelpCase {
    const char* name;
    int command;  // the item highlighted (its submenu's, for a submenu item)
    bool submenu; // the highlighted item is the submenu that holds the command
    int context;  // the page F1 opens; 0: none
};
void PrintTo(const MenuHelpCase& c, std::ostream* out) { *out << c.name; }

class MenuHelp : public testing::TestWithParam<MenuHelpCase> {};

TEST_P(MenuHelp, F1OnTheHighlightedItemOpensItsPage) {
    const MenuHelpCase& c = GetParam();
    ForgetConsolePosition();
    auto console = MakeTestConsole();
    std::vector<int> opened;
    platform::SetHelpViewer([&opened](int context, const QString&) { opened.push_back(context); });
    QAction* item = console->menuAction(c.command);
    ASSERT_NE(item, nullptr);
    QMenu* holder = console->menuHolding(c.command);
    ASSERT_NE(holder, nullptr);
    QMenu* menu = holder;
    QAction* highlighted = item;
    if (c.submenu) {
        // The submenu's own entry in the menu above it.
        highlighted = holder->menuAction();
        for (QMenu* candidate : console->menuBar()->findChildren<QMenu*>())
            if (candidate->actions().contains(highlighted))
                menu = candidate;
    }
    console->show();
    menu->popup(QPoint(10, 10));
    menu->setActiveAction(highlighted);
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(menu, &f1);
    platform::SetHelpViewer({});
    if (c.context == 0) {
        EXPECT_TRUE(opened.empty());
    } else {
        EXPECT_EQ(opened, std::vector<int>{c.context});
        EXPECT_FALSE(menu->isVisible()) << "the menu stays over the help window";
        EXPECT_TRUE(platform::HelpPagePath(c.context).endsWith(QStringLiteral("/%1.html").arg(c.context)));
    }
    menu->hide();
    console->DestroyWindow();
}

INSTANTIATE_TEST_SUITE_P(
    Items, MenuHelp,
    testing::Values(MenuHelpCase{"ShareRigctld", cmd::ShareRigctl, false, menu_help::kSharing},
                    MenuHelpCase{"ShareFlrig", cmd::ShareFlrig, false, menu_help::kSharing},
                    MenuHelpCase{"ReconnectByItself", cmd::ReconnectByItself, false, menu_help::kReconnecting},
                    MenuHelpCase{"MeterPaceSubmenu", cmd::MeterPaceFast, true, menu_help::kMeterPace},
                    MenuHelpCase{"MeterPaceSlow", cmd::MeterPaceSlow, false, menu_help::kMeterPace},
                    MenuHelpCase{"SetupHasNone", cmd::Setup, false, 0}),
    [](const testing::TestParamInfo<MenuHelpCase>& row) { return std::string(row.param.name); });

} // namespace
