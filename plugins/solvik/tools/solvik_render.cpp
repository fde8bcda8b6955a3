// SPDX-License-Identifier: GPL-3.0-or-later
// solvik-render: opens the terminal window headless with some terminal text
// and writes it to <folder>/solvik_<case>.png.
//
//   QT_QPA_PLATFORM=offscreen solvik-render /tmp/windows
#include <solvik.h>

#include "solvik_internal.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: solvik-render <folder>\n");
        return 2;
    }
    QApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    bool ok = true;
    const auto render = [&](const char* name) {
        QApplication::processEvents();
        ok = solvik::TheWindow()->grab().save(folder + QStringLiteral("/solvik_%1.png").arg(QLatin1String(name))) && ok;
    };

    SolvikRXData("cmd:");
    SolvikView(nullptr, 1);
    SolvikMsgTC(0);
    SolvikRXData("MYCALL DL1ABC\r\ncmd:CONNECT DB0XYZ\r\n*** CONNECTED to DB0XYZ\r\n");
    SolvikRXData("Welcome to the DB0XYZ mailbox.\r\n");
    SolvikRXData("DB0XYZ> ");
    render("connected");
    SolvikMsgTC(1);
    render("off");
    SolvikDestroy();
    return ok ? 0 : 1;
}
