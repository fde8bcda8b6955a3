// SPDX-License-Identifier: GPL-3.0-or-later
// console_help.cpp - context help, help from the menu and the About box.
#include "console_dialog.h"

#include "about_dialog.h"
#include "console_menu.h"
#include "menu_help.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

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

namespace menu_help {

int ContextForCommand(int command) {
    switch (command) {
    case cmd::ShareRigctl:
    case cmd::ShareFlrig:
        return kSharing;
    case cmd::ReconnectByItself:
        return kReconnecting;
    case cmd::MeterPaceOff:
    case cmd::MeterPaceSlow:
    case cmd::MeterPaceNormal:
    case cmd::MeterPaceFast:
        return kMeterPace;
    default:
        return 0;
    }
}

namespace {

int ContextForAction(const QAction* action) {
    if (action == nullptr) {
        return 0;
    }
    if (const QMenu* submenu = action->menu()) {
        for (const QAction* item : submenu->actions()) {
            if (const int context = ContextForCommand(item->data().toInt())) {
                return context;
            }
        }
        return 0;
    }
    return ContextForCommand(action->data().toInt());
}

class MenuHelpKey : public QObject {
public:
    explicit MenuHelpKey(QMenuBar* bar) : QObject(bar), m_bar(bar) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1) {
            return false;
        }
        auto* menu = qobject_cast<QMenu*>(watched);
        const int context = menu != nullptr ? ContextForAction(menu->activeAction()) : 0;
        if (context == 0) {
            return false;
        }
        // The help window opens on top of a closed menu, not behind it.
        for (QMenu* open : m_bar->findChildren<QMenu*>()) {
            if (open->isVisible()) {
                open->hide();
            }
        }
        platform::ShowHelp(context);
        return true;
    }

private:
    QMenuBar* m_bar;
};

} // namespace

void Install(QMenuBar* menuBar) {
    auto* key = new MenuHelpKey(menuBar);
    for (QMenu* menu : menuBar->findChildren<QMenu*>()) {
        menu->installEventFilter(key);
    }
}

} // namespace menu_help
