// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the auto-mode frequency window to a PNG: trevan-render OUT.png
// (the band plan, one range chosen, a look-up, a refused overlap).
#include <trevan.h>

#include "trevan_internal.h"

#include <platform.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: trevan-render OUT.png\n");
        return 2;
    }
    QApplication app(argc, argv);
    platform::InitApplication();
    TrevanView(nullptr);
    trevan::CAutoModeWindow* window = trevan::TheWindow().data();
    window->grid()->selectRow(9);
    window->lookupLine()->setText(QStringLiteral("14.195"));
    window->toLine()->setText(QStringLiteral("14.100"));
    window->AddRange();
    app.processEvents();
    const bool ok = window->grab().save(QString::fromLocal8Bit(argv[1]));
    TrevanDestroy();
    return ok ? 0 : 1;
}
