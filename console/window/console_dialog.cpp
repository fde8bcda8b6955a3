// SPDX-License-Identifier: GPL-3.0-or-later
// console_dialog.cpp - the console window's shell: construction, window
// events and the dispatch of menu commands and window messages.
#include "console_dialog.h"

#include "console_ids.h"
#include "command_ids.h"
#include "splash_window.h"
#include "display/console_display.h"
#include "operations/console_operations.h"

#include <console_link.h>
#include <radio_sharing.h>
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

// Swallows the key and pointer input of the front panel and the menu (its
// open menus too) while an operation runs.
class BusyInputBlock final : public QObject {
public:
    BusyInputBlock(QWidget* panel, QWidget* menuBar) : m_panel(panel), m_menuBar(menuBar) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::Shortcut: // the menu bar's Alt letters
            break;
        default:
            return false;
        }
        if (!watched->isWidgetType())
            return false;
        for (auto* widget = static_cast<QWidget*>(watched); widget != nullptr; widget = widget->parentWidget())
            if (widget == m_panel || widget == m_menuBar)
                return true;
        return false;
    }

private:
    QPointer<QWidget> m_panel;
    QPointer<QWidget> m_menuBar;
};

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
    if (m_cursorOverridden)
        QApplication::restoreOverrideCursor();
    if (platform::MainWindow() == this) {
        platform::SetMainWindow(nullptr);
    }
}

void ConsoleDialog::ResetConsoleState() { zephyra::ResetConsoleState(m_state); }

// Runs the handler of a menu command; a command without one does nothing.
void ConsoleDialog::OnCommand(int commandId) {
    // While an operation runs nothing may start another: its waits let
    // window messages (and the operator's input) through. File > Exit is
    // kept and closes the console once the operation has ended.
    if (OperationRunning() && commandId != cmd::Exit)
        return;
    const auto it = m_commands.find(commandId);
    if (it != m_commands.end() && it->second) {
        it->second();
    }
}

void ConsoleDialog::SetCommandHandler(int commandId, CommandHandler handler) {
    if (handler) {
        m_commands[commandId] = std::move(handler);
    } else {
        m_commands.erase(commandId);
    }
}

bool ConsoleDialog::HasCommandHandler(int commandId) const { return m_commands.count(commandId) != 0; }

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
    if (busy && !m_busyInputBlock) {
        QWidget* focus = QApplication::focusWidget();
        m_focusBeforeBusy = focus && focus->window() == this ? focus : nullptr;
        m_busyInputBlock = std::make_unique<BusyInputBlock>(m_client, m_menuBar);
        qApp->installEventFilter(m_busyInputBlock.get());
    } else if (!busy && m_busyInputBlock) {
        m_busyInputBlock.reset();
        // Back to the control the operator used (a press during the
        // operation may have moved the focus though it did nothing else),
        // unless the operator asked for the speak key's summary meanwhile.
        QWidget* back = m_focusBeforeBusy;
        m_focusBeforeBusy = nullptr;
        QWidget* now = focusWidget();
        const bool summary = now && now->objectName() == QLatin1String("spokenSummary");
        if (back && back->isVisible() && back->isEnabled() && now != back && !summary)
            back->setFocus(Qt::OtherFocusReason);
    }
}

bool ConsoleDialog::TakesInput() const { return !m_busyInputBlock; }

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
