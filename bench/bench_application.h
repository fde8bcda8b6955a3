// SPDX-License-Identifier: GPL-3.0-or-later
// bench_application.h - the start the benchmarks on the console's
// connection share: a throw-away profile, the offscreen platform unless one
// is named, then the application object.
#pragma once

#include <platform.h>

#include <QApplication>
#include <QByteArray>
#include <QTemporaryDir>
#include <QtGlobal>

namespace bench {

// Before the application object: settings go to `profile`, and without a
// named platform the console draws offscreen.
inline void PrepareEnvironment(const QTemporaryDir& profile) {
    qputenv("XDG_CONFIG_HOME", profile.path().toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// A throw-away profile, the environment pointed at it.
struct Profile {
    Profile() { PrepareEnvironment(dir); }
    QTemporaryDir dir;
};

// A benchmark's application on a throw-away profile.
struct Application {
    Application(int& argc, char** argv) : qt(argc, argv) { platform::InitApplication(); }
    Profile profile; // made before the application object
    QApplication qt;
};

} // namespace bench
