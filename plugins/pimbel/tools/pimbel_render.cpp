// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the keyer window to a PNG: pimbel-render OUT.png
// The radio is on, its buffer busy, two texts wait and one was refused.
#include <pimbel.h>

#include "pimbel_internal.h"

#include <platform.h>

#include <QApplication>
#include <QLineEdit>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: pimbel-render OUT.png\n");
        return 2;
    }
    QApplication app(argc, argv);
    platform::InitApplication();
    PimbelMsgPS(1);
    PimbelMsgKY(1);
    PimbelView(nullptr);
    pimbel::CKeyerWindow* window = pimbel::TheWindow().data();
    window->messageLine(0)->setText(QStringLiteral("CQ CQ DE QX9SIM K"));
    window->messageLine(1)->setText(QStringLiteral("TNX FER QSO 73"));
    window->Submit(QStringLiteral("cq test"));
    window->Submit(QStringLiteral("de qx9sim"));
    window->textLine()->setText(QStringLiteral("UR RST 599 5NN;"));
    window->Submit(window->textLine()->text());
    app.processEvents();
    const bool ok = window->grab().save(QString::fromLocal8Bit(argv[1]));
    PimbelDestroy();
    return ok ? 0 : 1;
}
