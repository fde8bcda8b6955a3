// SPDX-License-Identifier: GPL-3.0-or-later
// messages.cpp - window messages, the main-window handle and the link's
// notification target.
#include "platform.h"

#include "guarded_receiver.h"

#include <corvan.h>

#include <QCoreApplication>
#include <QThread>
#include <QWidget>

#include <cstdio>

namespace platform {

WindowMessage::WindowMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
    : QEvent(static_cast<QEvent::Type>(message)), m_wParam(wParam), m_lParam(lParam) {}

bool PostMessage(QObject* target, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    // Only numbers in Qt's user range can be event types; anything lower
    // would be mistaken for one of Qt's own events.
    if (target == nullptr || message < static_cast<unsigned>(QEvent::User) ||
        message > static_cast<unsigned>(QEvent::MaxUser)) {
        return false;
    }
    QCoreApplication::postEvent(target, new WindowMessage(message, wParam, lParam));
    return true;
}

namespace {
detail::GuardedReceiver& mainWindowSlot() {
    static const std::shared_ptr<detail::GuardedReceiver> slot = detail::GuardedReceiver::make();
    return *slot;
}
} // namespace

void SetMainWindow(QWidget* window) { mainWindowSlot().set(window); }

QWidget* MainWindow() { return static_cast<QWidget*>(mainWindowSlot().get()); }

bool PostToMainWindow(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    return mainWindowSlot().post(message, wParam, lParam);
}

// ------------------------------------------------------------ link target

struct QtLinkTarget::State {
    std::shared_ptr<detail::GuardedReceiver> receiver = detail::GuardedReceiver::make();
};

QtLinkTarget::QtLinkTarget(QObject* receiver) : m_state(std::make_shared<State>()) {
    m_state->receiver->set(receiver);
}

void QtLinkTarget::post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    m_state->receiver->post(message, wParam, lParam);
}

void QtLinkTarget::setReceiver(QObject* receiver) { m_state->receiver->set(receiver); }

void InstallLinkMessageBoxes() {
    CCorvan::SetMessageBoxHandler([](const char* text) {
        QString message = QString::fromUtf8(text != nullptr ? text : "");
        // The box says why the port did not open when the link knows.
        if (const std::string why = corvan::LastOpenError(); !why.empty() && message.contains(QLatin1String("COM port")))
            message += QStringLiteral("\n\n") + QString::fromStdString(why);
        QCoreApplication* app = QCoreApplication::instance();
        if (app == nullptr) {
            std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
            return;
        }
        if (QThread::currentThread() == app->thread()) {
            MessageBox(message, QStringLiteral("Zephyra"), MbOk);
            return;
        }
        // A box can only be shown on the UI thread.
        QMetaObject::invokeMethod(
            app, [message] { MessageBox(message, QStringLiteral("Zephyra"), MbOk); },
            Qt::QueuedConnection);
    });
}

void InitApplication() {
    QCoreApplication::setOrganizationName(QStringLiteral("BRAVELL"));
    QCoreApplication::setApplicationName(QStringLiteral("Zephyra"));
    InstallLinkMessageBoxes();
}

} // namespace platform
