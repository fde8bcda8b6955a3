// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel_base.h"

#include <kestrin.h>
#include <platform.h>

#include <QCloseEvent>
#include <QFont>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QString>

namespace pandor {

CPanelBase::CPanelBase(const PanelTraits& traits, QWidget* parent)
    : platform::SecondaryWindow(traits.window, parent), m_traits(traits), m_parent(parent) {}

std::optional<QFont> CPanelBase::FallbackFont() const {
    return QFont(QStringLiteral("Times New Roman"));
}

void CPanelBase::EndEdit(unsigned message, bool ok) {
    if (QWidget* main = platform::MainWindow()) {
        main->activateWindow();
    }
    platform::PostToMainWindow(message, ok ? 1 : 0, 0);
    EndPanel(ok ? QDialog::Accepted : QDialog::Rejected);
}

void CPanelBase::OnOK() {
    EndPanel(QDialog::Accepted);
}

void CPanelBase::OnCancel() {
    EndPanel(QDialog::Rejected);
}

QString StripMnemonic(const QString& caption, QChar* marked) {
    QString shown;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size()) {
            ++i;
            if (caption[i] != QLatin1Char('&') && marked != nullptr && marked->isNull()) {
                *marked = caption[i];
            }
        }
        shown.append(caption[i]);
    }
    return shown;
}

void CPanelBase::AttachMnemonic(CStaticEx* label, const QString& caption, QWidget* buddy) {
    QChar marked;
    label->setText(StripMnemonic(caption, &marked));
    if (marked.isNull() || buddy == nullptr) {
        return;
    }
    auto* shortcut = new QShortcut(QKeySequence(QStringLiteral("Alt+") + marked.toUpper()), this);
    connect(shortcut, &QShortcut::activated, buddy, [buddy] { buddy->setFocus(Qt::ShortcutFocusReason); });
}

void CPanelBase::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (event->modifiers() & ~Qt::KeypadModifier) {
            break;
        }
        event->accept();
        // As in any dialog, Enter presses the button that has the focus;
        // elsewhere it is the panel's own Enter.
        if (auto* button = qobject_cast<QPushButton*>(focusWidget());
            button != nullptr && isAncestorOf(button) && button->isEnabled() && button->isVisible()) {
            button->click();
            return;
        }
        OnEnterKey();
        return;
    case Qt::Key_Escape:
        if (event->modifiers() != Qt::NoModifier) {
            break;
        }
        event->accept();
        OnEscapeKey();
        return;
    default:
        break;
    }
    platform::SecondaryWindow::keyPressEvent(event);
}

void CPanelBase::closeEvent(QCloseEvent* event) {
    // The window's close box acts as Cancel; the object stays.
    if (isVisible()) {
        OnCancel();
    }
    if (isVisible()) {
        event->ignore();
    } else {
        event->accept();
    }
}

} // namespace pandor
