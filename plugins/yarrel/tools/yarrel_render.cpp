// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the packet-cluster window to a PNG: yarrel-render OUT.png
#include <yarrel.h>

#include <render_tool.h>
#include "yarrel_internal.h"

#include <QTreeWidget>

int main(int argc, char** argv) {
    return render_tool::RunRenderToFile(argc, argv, "yarrel", [] {
        YarrelMsgPK(7'012'500, "JA1XYZ", "CW 559 Tokyo", "1156z");
        YarrelMsgPK(0, "BAD1FRQ", "frequency unreadable", "1158z");
        YarrelMsgPK(14'025'000, "DX1ABC", "up 2", "1200z");
        YarrelMsgPK(21'074'000, "VK2QX", "FT8 -12dB", "1201z");
        YarrelMsgPK(144'300'000, "SM5AAA", "SSB Es opening", "1203z");
        YarrelView(nullptr, 1);
        yarrel::CClusterWindow* window = yarrel::TheWindow().data();
        window->Tune(3); // no link here: the status line says so
        window->list()->setCurrentItem(window->list()->topLevelItem(2));
        return window;
    }, YarrelDestroy);
}
