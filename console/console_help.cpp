// console_help.cpp - context help and the About box.
#include "console_dialog.h"

#include "about_dialog.h"

// The page for the help key, chosen by the console's state in this order.
int HelpContextFor(const ConsoleState& state) {
    if (!state.connected) {
        return ConsoleDialog::kHelpNotConnected;
    }
    if (state.mouseWheelSelection != 0) {
        return ConsoleDialog::kHelpDialSelection;
    }
    if (state.voiceRecallDigits) {
        return ConsoleDialog::kHelpVoiceRecall;
    }
    if (state.satelliteMode) {
        return ConsoleDialog::kHelpSatellite;
    }
    if (state.memoryScroll) {
        return ConsoleDialog::kHelpMemoryScroll;
    }
    return ConsoleDialog::kHelpContents;
}

int ConsoleDialog::HelpContext() const { return HelpContextFor(m_state); }

void ConsoleDialog::OnHelp() { platform::ShowHelp(HelpContext()); }

void ConsoleDialog::ShowAbout() {
    AboutDialog about(m_pictures.splash, this);
    about.exec();
}
