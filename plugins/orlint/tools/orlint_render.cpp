// SPDX-License-Identifier: GPL-3.0-or-later
// orlint-render: opens the menu window headless with a few reported values
// and writes it to <folder>/orlint_<case>.png.
//
//   QT_QPA_PLATFORM=offscreen orlint-render /tmp/windows
#include <orlint.h>

#include "orlint_internal.h"
#include <render_tool.h>

int main(int argc, char** argv) {
    return render_tool::RunRenderTool(argc, argv, "orlint", [](render_tool::RenderFolder& pictures) {
        const auto render = [&](const char* name) { pictures.Save(orlint::TheWindow(), name); };

        OrlintMsgMF(0);
        OrlintMsgTC(1);
        OrlintMsgCM(0);
        OrlintMsgEX(5, 0, 0, 0, "1");
        OrlintMsgEX(18, 0, 0, 0, "0");
        OrlintMsgEX(20, 0, 0, 0, "1");
        OrlintMsgEX(46, 0, 0, 0, "0");
        OrlintMsgEX(62, 5, 0, 0, "0");
        OrlintMsgEX(50, 1, 0, 0, "2");
        OrlintView(nullptr);
        OrlintSetZulParams(0, 0, 0);
        OrlintMsgRX(0);
        render("receive");

        OrlintMsgTX(0);
        OrlintSetZulParams(2, 0, 0);
        render("transmit");
        OrlintDestroy();
    });
}
