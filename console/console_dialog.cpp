// console_dialog.cpp - the console window's shell: construction, window
// events and the dispatch of window messages.
#include "console_dialog.h"

#include "console_ids.h"
#include "console_menu.h"
#include "splash_window.h"
#include "display/console_display.h"

#include <ConsoleLink.h>
#include <corvan.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>

#include <thread>

namespace {

bool IsWindowMessage(int type) {
    return (type >= 4096 && type <= 4240) ||
           (type >= static_cast<int>(platform::kUmMemoryEditEnd) &&
            type <= static_cast<int>(platform::kUmSatNameEnd)) ||
           type == static_cast<int>(platform::kUmVscanClosed) ||
           type == static_cast<int>(platform::kUmLinkRestart);
}

} // namespace

ConsoleDialog::ConsoleDialog(ConsoleOptions options, QWidget* parent)
    : QDialog(parent), m_options(std::move(options)) {
    if (!m_options.sleep) {
        m_options.sleep = [](std::chrono::milliseconds pause) { std::this_thread::sleep_for(pause); };
    }
    OnInitDialog();
}

ConsoleDialog::~ConsoleDialog() {
    DestroyWindow();
    if (platform::MainWindow() == this) {
        platform::SetMainWindow(nullptr);
    }
}

int ConsoleDialog::PumpMessages() { return platform::PumpMessages(100); }

void ConsoleDialog::ResetConsoleState() { zephyra::ResetConsoleState(m_state); }

void ConsoleDialog::SetMessageHandler(unsigned message, MessageHandler handler) {
    if (handler) {
        m_messages[message] = std::move(handler);
    } else {
        m_messages.erase(message);
    }
}

// Enter never closes the console.
void ConsoleDialog::accept() {}

void ConsoleDialog::reject() { OnCancel(); }

void ConsoleDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter runs the front-panel button that has the focus, never the
        // dialog's default action.
        if (auto* button = qobject_cast<QAbstractButton*>(QApplication::focusWidget());
            button != nullptr && m_client->isAncestorOf(button) && button->isEnabled()) {
            button->click();
        }
        event->accept();
        return;
    case Qt::Key_Escape:
        // Escape belongs to the keypad's CLR, not to closing the console.
        event->accept();
        return;
    case Qt::Key_F1:
        OnHelp();
        event->accept();
        return;
    case Qt::Key_F5:
        // Refresh: read every setting again (only while ready, outside TNC mode).
        OnCommand(cmd::Refresh);
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

bool ConsoleDialog::event(QEvent* event) {
    const int type = static_cast<int>(event->type());
    if (IsWindowMessage(type)) {
        if (const auto* message = dynamic_cast<const platform::WindowMessage*>(event)) {
            const auto it = m_messages.find(message->message());
            if (it != m_messages.end()) {
                it->second(*message);
            }
            return true;
        }
    }
    return QDialog::event(event);
}
