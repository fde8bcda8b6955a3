// SPDX-License-Identifier: GPL-3.0-or-later
// secondary_window.cpp - the frame the panels and the equaliser windows share.
#include "platform.h"

#include <QKeyEvent>
#include <QWidget>

namespace platform {

SecondaryWindow::SecondaryWindow(const SecondaryWindowDescription& description, QWidget* parent)
    : QDialog(parent), m_description(description) {
    // Hiding the last visible window must never end the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    setObjectName(QString::fromLatin1(description.profileKey));
}

SecondaryWindow::~SecondaryWindow() {
    if (m_created && !m_destroyed) {
        m_destroyed = true;
        SavePosition();
    }
}

void SecondaryWindow::Create() {
    if (m_created) {
        return;
    }
    m_created = true;
    setWindowTitle(QString::fromLatin1(m_description.title));
    if (const QWidget* main = MainWindow()) {
        setFont(main->font());
    } else if (const std::optional<QFont> fallback = FallbackFont()) {
        setFont(*fallback);
    }
    m_link = std::make_unique<CCorvan>();
    OnInitDialog();
    setFixedSize(m_description.width, m_description.height);
    RestoreWindowPos(QString::fromLatin1(m_description.profileKey), this);
}

void SecondaryWindow::BringUp() {
    showNormal();
    OnViewAgain();
    raise();
    activateWindow();
}

void SecondaryWindow::DestroyWindow() {
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

void SecondaryWindow::SavePosition() const {
    SaveWindowPos(QString::fromLatin1(m_description.profileKey), this);
}

void SecondaryWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && m_description.helpContext != 0) {
        ShowHelp(m_description.helpContext);
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void SecondaryWindow::CloseWindow() {
    if (QWidget* main = MainWindow()) {
        main->activateWindow();
    }
    hide();
}

void SecondaryWindow::CloseWithResult(int result) {
    if (QWidget* main = MainWindow()) {
        main->activateWindow();
    }
    QDialog::done(result);
}

} // namespace platform
