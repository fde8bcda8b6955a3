// SPDX-License-Identifier: GPL-3.0-or-later
// main() for the window tests: offscreen platform, a private settings folder
// and runtime folder, one QApplication for the whole program.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Each test process gets folders of its own: ctest runs cases of one
    // program side by side, and a run never touches the user's profile or locks.
    // Qt reads XDG_CONFIG_HOME once, so this happens before the application.
    QTemporaryDir runtime;
    setenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit().constData(), 1);
    QTemporaryDir config;
    setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("BRAVELL"));
    QCoreApplication::setApplicationName(QStringLiteral("Zephyra"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
