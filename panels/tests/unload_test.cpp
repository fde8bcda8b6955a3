// SPDX-License-Identifier: GPL-3.0-or-later
// Panels the console leaves open when the application ends: the library
// destroys them from the application's destructor, before any widget is torn
// down, saving their positions; without an application every export is a
// no-op. This program owns its QApplication objects, one per lifetime.
#include "frame_registry.h"

#include <pandor.h>
#include <platform.h>

#include <QApplication>
#include <QPointer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace pandor::test {
namespace {

class ApplicationExit : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static QTemporaryDir runtime;
        static QTemporaryDir config;
        setenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit().constData(), 1);
        setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    }

    // One application lifetime: `during` runs while it exists; the panels
    // it leaves are recorded as they are destroyed.
    template <class F>
    std::vector<std::string> RunApplication(F during) {
        std::vector<std::string> destroyed;
        int argc = 1;
        char name[] = "pandor_unload_tests";
        char* argv[] = {name, nullptr};
        {
            QApplication app(argc, argv);
            during();
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (qobject_cast<CPanelBase*>(widget) != nullptr) {
                    QObject::connect(widget, &QObject::destroyed, [&destroyed](QObject* object) {
                        destroyed.push_back(object->objectName().toStdString());
                    });
                }
            }
        }
        return destroyed;
    }

    static QString Saved(const char* key) {
        return platform::GetProfileString(QStringLiteral("WindowPos"), QString::fromLatin1(key), QString());
    }
};

TEST_F(ApplicationExit, PanelsLeftOpenAreDestroyedInOrderWithTheirPositionsSaved) {
    const auto destroyed = RunApplication([] {
        RadioSmnView(nullptr);
        PandorView(nullptr, 2);
        RadioAgcView(nullptr);
        Panels().agc->move(120, 60);
        Panels().satName->move(33, 44);
        Panels().multi->close(); // hidden panels go too
    });
    EXPECT_EQ(destroyed, (std::vector<std::string>{"Agc", "Mlt", "Smn"}));
    EXPECT_TRUE(Panels().agc.isNull() && Panels().multi.isNull() && Panels().satName.isNull());
    EXPECT_EQ(Saved("Agc"), QStringLiteral("0006000120"));
    EXPECT_EQ(Saved("Smn"), QStringLiteral("0004400033"));
}

TEST_F(ApplicationExit, ExportsWithoutAnApplicationDoNothing) {
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    RadioAgcView(nullptr);
    PandorView(nullptr, 2);
    QuorelView(nullptr);
    RadioMchView(nullptr);
    PandorMsgGT(3);
    PandorFreqChg(12);
    PandorSetSmn("X");
    char buffer[10] = "unchanged";
    PandorGetSmn(buffer);
    PandorUnload();
    EXPECT_STREQ(buffer, "unchanged");
    EXPECT_TRUE(Panels().agc.isNull() && Panels().multi.isNull() && Panels().setup.isNull() &&
                Panels().memory.isNull());
}

TEST_F(ApplicationExit, ASecondApplicationIsCleanedUpAsWell) {
    RunApplication([] { RadioMgrView(nullptr); });
    const auto destroyed = RunApplication([] {
        QuorelView(nullptr);
        Panels().setup->move(210, 150);
    });
    EXPECT_EQ(destroyed, (std::vector<std::string>{"Set"}));
    EXPECT_EQ(Saved("Set"), QStringLiteral("0015000210"));
}

TEST_F(ApplicationExit, PanelsDestroyedByTheConsoleAreNotTouchedAgain) {
    const auto destroyed = RunApplication([] {
        RadioSgrView(nullptr);
        RadioSgrDestroy();
        RadioMchView(nullptr);
    });
    EXPECT_EQ(destroyed, (std::vector<std::string>{"Mch"}));
}

} // namespace
} // namespace pandor::test
