// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the auto-mode frequency window to a PNG: trevan-render OUT.png
// (the band plan, one range chosen, a look-up, a refused overlap).
#include <trevan.h>

#include <render_tool.h>
#include "trevan_internal.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>

int main(int argc, char** argv) {
    return render_tool::RunRenderToFile(argc, argv, "trevan", [] {
        TrevanView(nullptr);
        trevan::CAutoModeWindow* window = trevan::TheWindow().data();
        window->grid()->selectRow(9);
        window->lookupLine()->setText(QStringLiteral("14.195"));
        window->toLine()->setText(QStringLiteral("14.100"));
        window->AddRange();
        return window;
    }, TrevanDestroy);
}
