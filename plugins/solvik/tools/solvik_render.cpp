// SPDX-License-Identifier: GPL-3.0-or-later
// solvik-render: opens the terminal window headless with some terminal text
// and writes it to <folder>/solvik_<case>.png.
//
//   QT_QPA_PLATFORM=offscreen solvik-render /tmp/windows
#include <solvik.h>

#include "solvik_internal.h"
#include <render_tool.h>

int main(int argc, char** argv) {
    return render_tool::RunRenderTool(argc, argv, "solvik", [](render_tool::RenderFolder& pictures) {
        const auto render = [&](const char* name) { pictures.Save(solvik::TheWindow(), name); };

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
    });
}
