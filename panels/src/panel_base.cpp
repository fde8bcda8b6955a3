#include "panel_base.h"

#include <corvan.h>
#include <platform.h>

#include <QCloseEvent>
#include <QFont>
#include <QKeyEvent>
#include <QString>

namespace pandor {

CPanelBase::CPanelBase(const PanelSpec& spec, QWidget* parent)
    : QDialog(parent), m_spec(spec), m_parent(parent) {
    // A panel closing must never end the program, even when it is the last
    // visible window.
    setAttribute(Qt::WA_QuitOnClose, false);
    setObjectName(QString::fromLatin1(spec.profileKey));
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
    setWindowTitle(QString::fromLatin1(m_spec.title));
    QFont templateFont(QStringLiteral("Times New Roman"));
    if (const QWidget* main = platform::MainWindow()) {
        setFont(main->font());
    } else {
        setFont(templateFont);
    }
    m_link = std::make_unique<CCorvan>();
    OnInitDialog();
    setFixedSize(m_spec.width, m_spec.height);
    platform::RestoreWindowPos(QString::fromLatin1(m_spec.profileKey), this);
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
    platform::SaveWindowPos(QString::fromLatin1(m_spec.profileKey), this);
}

void CPanelBase::OnOK() {
    EndPanel(QDialog::Accepted);
}

void CPanelBase::OnCancel() {
    EndPanel(QDialog::Rejected);
}

void CPanelBase::EndPanel(int result) {
    if (QWidget* main = platform::MainWindow()) {
        main->activateWindow();
    }
    QDialog::done(result);
}

void CPanelBase::keyPressEvent(QKeyEvent* event) {
    // A focused push button has already taken Enter (it clicks itself), as
    // the focused button of a dialog does.
    switch (event->key()) {
    case Qt::Key_F1:
        platform::ShowHelp(m_spec.helpContext);
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (event->modifiers() & ~Qt::KeypadModifier) {
            break;
        }
        event->accept();
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
