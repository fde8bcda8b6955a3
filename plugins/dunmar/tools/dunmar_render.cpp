// SPDX-License-Identifier: GPL-3.0-or-later
// dunmar-render: opens the filter window headless with a few reported values
// and writes it to <folder>/dunmar_<case>.png.
//
//   QT_QPA_PLATFORM=offscreen dunmar-render /tmp/windows
#include <dunmar.h>

#include "dunmar_internal.h"
#include <render_tool.h>

int main(int argc, char** argv) {
    return render_tool::RunRenderTool(argc, argv, "dunmar", [](render_tool::RenderFolder& pictures) {
        const auto render = [&](const char* name) { pictures.Save(dunmar::TheWindow(), name); };

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
    });
}
