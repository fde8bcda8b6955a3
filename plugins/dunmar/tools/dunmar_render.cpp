// SPDX-License-Identifier: GPL-3.0-or-later
// dunmar-render: opens the filter window headless with a few reported values
// and writes it to <folder>/dunmar_<case>.png.
//
//   QT_QPA_PLATFORM=offscreen dunmar-render /tmp/windows
#include <dunmar.h>

#include "dunmar_internal.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: dunmar-render <folder>\n");
        return 2;
    }
    QApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    bool ok = true;
    const auto render = [&](const char* name) {
        QApplication::processEvents();
        ok = dunmar::TheWindow()->grab().save(folder + QStringLiteral("/dunmar_%1.png").arg(QLatin1String(name))) && ok;
    };

    DunmarMsgDC(0, 0);
    DunmarMsgMD(2);
    DunmarMsgSL(3);
    DunmarMsgSH(8);
    DunmarMsgFW(2400);
    DunmarMsgIS(" ", 0);
    DunmarView(nullptr, 1);
    render("usb");

    DunmarMsgDC(1, 1);
    DunmarMsgMD(3);
    DunmarMsgFW(500);
    DunmarMsgIS(" ", 800);
    render("cw");

    DunmarMsgMD(4);
    DunmarMsgFW(1);
    render("fm");
    DunmarDestroy();
    return ok ? 0 : 1;
}
