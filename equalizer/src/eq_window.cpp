#include "eq_window.h"

#include <corvan.h>
#include <platform.h>

#include <QCloseEvent>
#include <QKeyEvent>

namespace tonwell {

CEqWindow::CEqWindow(const WindowKind& kind, QWidget* parent) : QDialog(parent), m_kind(kind) {
    // Hiding the last visible window must never end the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    setObjectName(QString::fromLatin1(kind.profileKey));
}

CEqWindow::~CEqWindow() {
    // Deleted with its parent rather than through DestroyWindow: the
    // operator's position is still kept.
    if (m_created && !m_destroyed) {
        m_destroyed = true;
        SavePosition();
    }
}

void CEqWindow::Create() {
    if (m_created) {
        return;
    }
    m_created = true;
    setWindowTitle(QString::fromLatin1(m_kind.title));
    if (const QWidget* main = platform::MainWindow()) {
        setFont(main->font());
    }
    m_link = std::make_unique<CCorvan>();
    OnInitDialog();
    setFixedSize(m_kind.width, m_kind.height);
    platform::RestoreWindowPos(QString::fromLatin1(m_kind.profileKey), this);
}

void CEqWindow::BringUp() {
    showNormal();
    raise();
    activateWindow();
}

void CEqWindow::DestroyWindow() {
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

void CEqWindow::SavePosition() const {
    platform::SaveWindowPos(QString::fromLatin1(m_kind.profileKey), this);
}

void CEqWindow::CloseWindow() {
    if (QWidget* main = platform::MainWindow()) {
        main->activateWindow();
    }
    hide();
}

void CEqWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_F1:
        platform::ShowHelp(m_kind.helpContext);
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if ((event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            event->accept();
            OnEnterKey();
            return;
        }
        break;
    case Qt::Key_Escape:
        if (event->modifiers() == Qt::NoModifier) {
            event->accept();
            CloseWindow();
            return;
        }
        break;
    default:
        break;
    }
    QDialog::keyPressEvent(event);
}

void CEqWindow::closeEvent(QCloseEvent* event) {
    // The close box hides the window; the object and its design stay.
    CloseWindow();
    event->accept();
}

} // namespace tonwell
