#include "panel_base.h"

#include <corvan.h>
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
    : QDialog(parent), m_traits(traits), m_parent(parent) {
    // A panel closing must never end the program, even when it is the last
    // visible window.
    setAttribute(Qt::WA_QuitOnClose, false);
    setObjectName(QString::fromLatin1(traits.profileKey));
}

CPanelBase::~CPanelBase() {
    // Deleted without DestroyWindow (its parent window went first): still
    // keep the position the operator chose.
    if (m_created && !m_destroyed) {
        m_destroyed = true;
        SavePosition();
    }
}

void CPanelBase::Create() {
    if (m_created) {
        return;
    }
    m_created = true;
    setWindowTitle(QString::fromLatin1(m_traits.title));
    QFont templateFont(QStringLiteral("Times New Roman"));
    if (const QWidget* main = platform::MainWindow()) {
        setFont(main->font());
    } else {
        setFont(templateFont);
    }
    m_link = std::make_unique<CCorvan>();
    OnInitDialog();
    setFixedSize(m_traits.width, m_traits.height);
    platform::RestoreWindowPos(QString::fromLatin1(m_traits.profileKey), this);
}

void CPanelBase::BringUp() {
    showNormal();
    OnViewAgain();
    raise();
    activateWindow();
}

void CPanelBase::DestroyWindow() {
    if (m_destroyed) {
        return;
    }
    m_destroyed = true;
    if (m_created) {
        SavePosition();
    }
    hide();
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
    m_link.reset();
}

void CPanelBase::SavePosition() const {
    platform::SaveWindowPos(QString::fromLatin1(m_traits.profileKey), this);
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

void CPanelBase::EndPanel(int result) {
    if (QWidget* main = platform::MainWindow()) {
        main->activateWindow();
    }
    QDialog::done(result);
}

void CPanelBase::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_F1:
        platform::ShowHelp(m_traits.helpContext);
        event->accept();
        return;
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
    QDialog::keyPressEvent(event);
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
