// SPDX-License-Identifier: GPL-3.0-or-later
// request_queue.cpp - the one queue of client requests in front of the backend.
#include <zephyra_share.h>

#include <QTimer>

#include <algorithm>
#include <chrono>

namespace zshare {

namespace {
// How long one turn of the event loop may spend on queued requests.
constexpr int kTurnMs = 5;
} // namespace

RequestQueue::RequestQueue(RadioBackend& backend, QObject* parent)
    : QObject(parent), m_backend(backend), m_timer(new QTimer(this)), m_ptt(backend) {
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &RequestQueue::RunNext);
}

RequestQueue::~RequestQueue() = default;

void RequestQueue::Post(const void* owner, Job job, bool urgent) {
    if (!job)
        return;
    if (urgent) {
        // Ahead of everything queued, behind earlier urgent jobs.
        auto at = std::find_if(m_jobs.begin(), m_jobs.end(), [](const Item& i) { return !i.urgent; });
        m_jobs.insert(at, Item{owner, std::move(job), true});
    } else {
        m_jobs.push_back(Item{owner, std::move(job), false});
    }
    if (!m_timer->isActive() && !m_running)
        Schedule(0);
}

void RequestQueue::Drop(const void* owner) {
    if (!owner)
        return;
    std::erase_if(m_jobs, [owner](const Item& i) { return i.owner == owner && !i.urgent; });
}

void RequestQueue::Schedule(int milliseconds) { m_timer->start(milliseconds); }

void RequestQueue::RunNext() {
    // A backend call that pumps events must not start the next job inside it.
    if (m_running || m_jobs.empty())
        return;
    // Several jobs a turn of the event loop, for a few milliseconds at most,
    // asking the backend before each one.
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kTurnMs);
    while (!m_jobs.empty()) {
        if (m_backend.Busy()) {
            if (!m_waitingForBackend) {
                m_waitingForBackend = true;
                ++m_deferred;
            }
            Schedule(m_retryMs);
            return;
        }
        m_waitingForBackend = false;
        Item item = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_running = true;
        if (m_observer)
            m_observer();
        item.job(m_backend);
        m_running = false;
        ++m_executed;
        if (std::chrono::steady_clock::now() >= end)
            break;
    }
    if (!m_jobs.empty())
        Schedule(0);
}

} // namespace zshare
