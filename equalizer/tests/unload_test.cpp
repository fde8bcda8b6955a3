// SPDX-License-Identifier: GPL-3.0-or-later
// Windows left open when the application ends are destroyed by the library
// itself, samples window first, with their positions saved.
#include <platform.h>
#include <tonwell.h>

#include <QApplication>
#include <QPointer>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

QWidget* FindTopLevel(const char* title) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->windowTitle() == QLatin1String(title)) return widget;
    }
    return nullptr;
}

TEST(Unload, ApplicationExitDestroysWhatIsLeftInOrder) {
    char configTemplate[] = "/tmp/tonwell-unload-XXXXXX";
    ASSERT_NE(mkdtemp(configTemplate), nullptr);
    setenv("XDG_CONFIG_HOME", configTemplate, 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int argc = 1;
    char name[] = "unload_test";
    char* argv[] = {name, nullptr};

    std::vector<std::string> destroyed;
    QPoint designCorner, samplesCorner;
    {
        QApplication app(argc, argv);
        QCoreApplication::setOrganizationName(QStringLiteral("BRAVELL"));
        QCoreApplication::setApplicationName(QStringLiteral("Zephyra"));
        RadioEqsView(nullptr);
        RadioEqgView(nullptr);
        QWidget* design = FindTopLevel("Audio Editor - Design");
        QWidget* samples = FindTopLevel("Audio Editor - Samples");
        ASSERT_NE(design, nullptr);
        ASSERT_NE(samples, nullptr);
        design->move(140, 160);
        samples->move(180, 220);
        designCorner = design->frameGeometry().topLeft();
        samplesCorner = samples->frameGeometry().topLeft();
        QObject::connect(design, &QObject::destroyed, [&destroyed] { destroyed.push_back("design"); });
        QObject::connect(samples, &QObject::destroyed, [&destroyed] { destroyed.push_back("samples"); });
    }
    EXPECT_EQ(destroyed, (std::vector<std::string>{"samples", "design"}));

    QApplication again(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("BRAVELL"));
    QCoreApplication::setApplicationName(QStringLiteral("Zephyra"));
    EXPECT_EQ(platform::GetProfileString("WindowPos", "Eqs", ""),
              platform::FormatWindowPos(designCorner.y(), designCorner.x()));
    EXPECT_EQ(platform::GetProfileString("WindowPos", "Eqg", ""),
              platform::FormatWindowPos(samplesCorner.y(), samplesCorner.x()));
    // The library starts over with the new application.
    RadioEqsView(nullptr);
    EXPECT_NE(FindTopLevel("Audio Editor - Design"), nullptr);
    RadioEqsDestroy();
    EXPECT_EQ(FindTopLevel("Audio Editor - Design"), nullptr);
    std::filesystem::remove_all(configTemplate);
}

TEST(Unload, ViewWithoutApplicationDoesNothing) {
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    RadioEqsView(nullptr);
    RadioEqgView(nullptr);
    RadioEqsDestroy();
    RadioEqgDestroy();
    EXPECT_EQ(QCoreApplication::instance(), nullptr);
}

} // namespace
