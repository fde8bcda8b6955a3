// SPDX-License-Identifier: GPL-3.0-or-later
// console_dialog.cpp - the console window's shell: construction, window
// events and the dispatch of window messages.
#include "console_dialog.h"

#include "console_ids.h"
#include "console_menu.h"
#include "splash_window.h"
#include "display/console_display.h"
#include "operations/console_operations.h"

#include <ConsoleLink.h>
#include <RadioSharing.h>
#include <corvan.h>
#include <pandor.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QMenuBar>
#include <QTimer>
#include <QKeyEvent>

#include <thread>

namespace {

bool IsWindowMessage(int type) {
    return (type >= 4096 && type <= 4240) ||
           (type >= static_cast<int>(platform::kUmMemoryEditEnd) &&
            type <= static_cast<int>(platform::kUmSatNameEnd)) ||
           type == static_cast<int>(pandor::kUmSetupSaved) ||
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
    InstallSharing();
}

ConsoleDialog::~ConsoleDialog() {
    DestroyWindow();
    if (m_cursorOverridden)
        QApplication::restoreOverrideCursor();
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

void ConsoleDialog::reject() {
    // Closing in the middle of a guarded operation would tear the console
    // down under the operation's feet: it closes once the operation ends.
    if (OperationRunning()) {
        if (!m_closePending) {
            m_closePending = true;
            auto* retry = new QTimer(this);
            connect(retry, &QTimer::timeout, this, [this, retry] {
                if (OperationRunning())
                    return;
                retry->deleteLater();
                m_closePending = false;
                reject();
            });
            retry->start(50);
        }
        return;
    }
    OnCancel();
}

bool ConsoleDialog::OperationRunning() const {
    return m_state.busy || (m_connection && m_connection->SequenceRunning());
}

void ConsoleDialog::SetOperationBusy(bool busy) {
    if (busy && !m_cursorOverridden) {
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        m_cursorOverridden = true;
    } else if (!busy && m_cursorOverridden) {
        QApplication::restoreOverrideCursor();
        m_cursorOverridden = false;
    }
    m_client->setEnabled(!busy);
    m_menuBar->setEnabled(!busy);
}

void ConsoleDialog::keyPressEvent(QKeyEvent* event) {
    // Inside an operation no key starts another one.
    if (OperationRunning()) {
        event->accept();
        return;
    }
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
