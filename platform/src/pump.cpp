// SPDX-License-Identifier: GPL-3.0-or-later
// pump.cpp - PumpMessages: deliver what is queued, at most N window messages;
// PumpUntil and PumpFor, the waits built on it.
//
// Qt delivers every queued event in one pass, so the limit is kept by an
// application event filter active while a pump runs: it lets the first N
// window messages through, and takes every later one out of the delivery and
// queues it again, in order and ahead of newer events, once the pass is over.
#include "platform.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThread>

#include <algorithm>
#include <thread>
#include <vector>

namespace platform {

namespace {

constexpr int kMaxExtraPasses = 16;

struct Deferred {
    QPointer<QObject> target;
    unsigned message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
};

struct PumpFrame {
    int limit;
    int dispatched = 0;
    std::vector<Deferred> deferred;
};

class PumpLimiter final : public QObject {
public:
    std::vector<PumpFrame> frames; // nested pumps, innermost last

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (frames.empty() || event->type() < QEvent::User) {
            return false;
        }
        const auto* message = dynamic_cast<const WindowMessage*>(event);
        if (message == nullptr) {
            return false;
        }
        PumpFrame& frame = frames.back();
        if (frame.dispatched < frame.limit) {
            ++frame.dispatched;
            return false;
        }
        frame.deferred.push_back({watched, message->message(), message->wParam(), message->lParam()});
        return true;
    }
};

PumpLimiter* limiter() {
    static QPointer<PumpLimiter> instance;
    if (instance.isNull()) {
        instance = new PumpLimiter();
        instance->moveToThread(QCoreApplication::instance()->thread());
        instance->setParent(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(instance);
    }
    return instance.data();
}

} // namespace

int PumpMessages(int maxMessages) {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || QThread::currentThread() != app->thread()) {
        return 0;
    }
    PumpLimiter* filter = limiter();
    filter->frames.push_back(PumpFrame{std::max(0, maxMessages), 0, {}});
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    // Inside a handler (a pump within a pump) the event dispatcher does not
    // deliver posted events again, and messages queued during the pass wait
    // for the next one: keep delivering until the limit or a quiet pass.
    for (int pass = 0; pass < kMaxExtraPasses; ++pass) {
        const PumpFrame& current = filter->frames.back();
        if (current.dispatched >= current.limit) {
            break;
        }
        const int before = current.dispatched;
        QCoreApplication::sendPostedEvents();
        if (filter->frames.back().dispatched == before) {
            break;
        }
    }
    PumpFrame frame = std::move(filter->frames.back());
    filter->frames.pop_back();
    for (const Deferred& d : frame.deferred) {
        if (!d.target.isNull()) {
            QCoreApplication::postEvent(d.target.data(),
                                        new WindowMessage(d.message, d.wParam, d.lParam),
                                        Qt::HighEventPriority);
        }
    }
    return frame.dispatched;
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        PumpMessages();
        if (done())
            return true;
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

void PumpFor(std::chrono::milliseconds duration) {
    PumpUntil([] { return false; }, duration);
}

} // namespace platform
