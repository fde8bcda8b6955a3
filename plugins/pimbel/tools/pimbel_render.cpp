// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the keyer window to a PNG: pimbel-render OUT.png
// The radio is on, its buffer busy, two texts wait and one was refused.
#include <pimbel.h>

#include "pimbel_internal.h"
#include <render_tool.h>

#include <QLineEdit>

int main(int argc, char** argv) {
    return render_tool::RunRenderToFile(argc, argv, "pimbel", [] {
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
        return window;
    }, PimbelDestroy);
}
