// SPDX-License-Identifier: GPL-3.0-or-later
// guarded_receiver.cpp - see guarded_receiver.h.
#include "guarded_receiver.h"

#include "platform.h"

namespace platform::detail {

std::shared_ptr<GuardedReceiver> GuardedReceiver::make() {
    return std::shared_ptr<GuardedReceiver>(new GuardedReceiver());
}

GuardedReceiver::~GuardedReceiver() {
    QObject::disconnect(m_connection);
}

void GuardedReceiver::set(QObject* receiver) {
    QMetaObject::Connection old;
    {
        std::lock_guard lock(m_mutex);
        if (receiver == m_receiver) {
            return;
        }
        old = m_connection;
        m_connection = {};
        m_receiver = receiver;
        if (receiver != nullptr) {
            std::weak_ptr<GuardedReceiver> weak = weak_from_this();
            // A direct connection: runs inside the receiver's destructor.
            m_connection = QObject::connect(receiver, &QObject::destroyed, [weak](QObject* dying) {
                if (auto self = weak.lock()) {
                    self->forget(dying);
                }
            });
        }
    }
    QObject::disconnect(old);
}

QObject* GuardedReceiver::get() const {
    std::lock_guard lock(m_mutex);
    return m_receiver;
}

void GuardedReceiver::forget(QObject* dying) {
    std::lock_guard lock(m_mutex);
    if (m_receiver == dying) {
        m_receiver = nullptr;
    }
}

bool GuardedReceiver::post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    std::lock_guard lock(m_mutex);
    return PostMessage(m_receiver, message, wParam, lParam);
}

} // namespace platform::detail
