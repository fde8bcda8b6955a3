// SPDX-License-Identifier: GPL-3.0-or-later
// Clean-up at application exit: the steps run in their order while the
// application still exists, the latest armed first, once per arming; the
// object's destruction withdraws it and, with an application, runs it.
#include <platform.h>

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_log;

std::function<void()> Step(const std::string& name) {
    return [name] {
        // Widgets may still be deleted: the application is alive.
        g_log.push_back(name + (QCoreApplication::instance() != nullptr ? "" : " (no application)"));
    };
}

class PlatformExitCleanup : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        g_log.clear();
    }
    std::unique_ptr<QApplication> MakeApplication() {
        return std::make_unique<QApplication>(m_argc, m_argv);
    }

    int m_argc = 1;
    char m_name[16] = "exit_cleanup";
    char* m_argv[2] = {m_name, nullptr};
};

TEST_F(PlatformExitCleanup, StepsRunInOrderAtExitLatestArmedFirst) {
    platform::ExitCleanup first{{Step("a1"), Step("a2")}};
    platform::ExitCleanup second{{Step("b1"), Step("b2")}};
    platform::ExitCleanup unarmed{{Step("c1")}};
    {
        auto app = MakeApplication();
        first.Arm();
        first.Arm(); // once until it has run
        second.Arm();
        EXPECT_TRUE(first.armed());
        EXPECT_TRUE(g_log.empty());
    }
    EXPECT_EQ(g_log, (std::vector<std::string>{"b1", "b2", "a1", "a2"}));
    EXPECT_FALSE(first.armed());
    EXPECT_FALSE(second.armed());

    // The next application needs a new arming.
    g_log.clear();
    {
        auto app = MakeApplication();
        second.Arm();
    }
    EXPECT_EQ(g_log, (std::vector<std::string>{"b1", "b2"}));
    g_log.clear();
}

TEST_F(PlatformExitCleanup, DestroyedWhileTheApplicationLivesRunsOnceAndWithdraws) {
    {
        auto app = MakeApplication();
        {
            platform::ExitCleanup cleanup{{Step("x1"), Step("x2")}};
            cleanup.Arm();
        }
        EXPECT_EQ(g_log, (std::vector<std::string>{"x1", "x2"}));
        g_log.clear();
    }
    EXPECT_TRUE(g_log.empty());
}

TEST_F(PlatformExitCleanup, DestroyedWithoutAnApplicationRunsNothing) {
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    {
        platform::ExitCleanup cleanup{{Step("y")}};
    }
    EXPECT_TRUE(g_log.empty());
}

TEST_F(PlatformExitCleanup, StepsMayDeleteWidgets) {
    QWidget* left = nullptr;
    bool deleted = false;
    platform::ExitCleanup cleanup{{[&left] { delete left; }}};
    {
        auto app = MakeApplication();
        left = new QWidget;
        QObject::connect(left, &QObject::destroyed, [&deleted] { deleted = true; });
        cleanup.Arm();
    }
    EXPECT_TRUE(deleted);
}

} // namespace
