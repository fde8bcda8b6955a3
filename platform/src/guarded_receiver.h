// SPDX-License-Identifier: GPL-3.0-or-later
// guarded_receiver.h - a QObject pointer that other threads may post to
// while the UI thread destroys the object.
#pragma once

#include <QMetaObject>
#include <QObject>

#include <cstdint>
#include <memory>
#include <mutex>

namespace platform::detail {

// Holds a receiver and posts WindowMessages to it from any thread. The
// receiver's destruction clears the pointer under the same lock that every
// post holds, so a post either reaches a live object (whose pending events Qt
// discards when it dies) or finds the pointer already cleared. Create with
// make(): the destruction hook keeps only a weak reference.
class GuardedReceiver : public std::enable_shared_from_this<GuardedReceiver> {
public:
    static std::shared_ptr<GuardedReceiver> make();
    ~GuardedReceiver();
    GuardedReceiver(const GuardedReceiver&) = delete;
    GuardedReceiver& operator=(const GuardedReceiver&) = delete;

    void set(QObject* receiver); // UI thread
    QObject* get() const;        // meaningful on the UI thread only
    bool post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam); // any thread

private:
    GuardedReceiver() = default;
    void forget(QObject* dying);

    mutable std::mutex m_mutex;
    QObject* m_receiver = nullptr;
    QMetaObject::Connection m_connection;
};

} // namespace platform::detail
