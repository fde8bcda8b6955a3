// SPDX-License-Identifier: GPL-3.0-or-later
// transmitter.cpp - the one owner of the transmitter.
#include <zephyra_share.h>

#include <atomic>

namespace zshare {

Transmitter::Party Transmitter::NewParty() {
    static std::atomic<Party> next{16};
    return next++;
}

Transmitter::Transmitter(RadioBackend& backend) : m_backend(backend) {}

void Transmitter::Observe() {
    bool on = false;
    if (m_backend.GetPtt(on) != Result::Ok)
        return;
    if (!on)
        m_owner = kNobody;
}

bool Transmitter::OnAir() {
    bool on = false;
    return m_backend.GetPtt(on) == Result::Ok && on;
}

Result Transmitter::Unkey() {
    ++m_unkeys;
    const Result r = m_backend.SetPtt(false);
    // Not written, or written and never confirmed: done again once the radio
    // is back (a radio that stays here has answered by then).
    if (r == Result::NotAvailable || r == Result::TimedOut)
        m_releaseKept = true;
    else if (r == Result::Ok)
        m_releaseKept = false;
    return r;
}

Result Transmitter::Key(Party who, bool on) {
    if (!on) {
        // The radio has one PTT: whoever asks, it goes.
        m_owner = kNobody;
        return Unkey();
    }
    if (m_beforeKey)
        m_beforeKey();
    ++m_keys;
    const Result r = m_backend.SetPtt(true);
    if (r == Result::Ok) {
        m_owner = who;
        m_releaseKept = false;
    }
    return r;
}

bool Transmitter::Release(Party who) {
    if (!Owns(who))
        return false;
    Observe();
    if (!Owns(who))
        return false; // the radio ended that transmission meanwhile
    m_owner = kNobody;
    Unkey();
    return true;
}

void Transmitter::Transfer(Party from, Party to) {
    if (Owns(from))
        m_owner = to;
}

bool Transmitter::LinkClosing(bool reachable, bool transmitting, bool lost) {
    const bool owned = m_owner != kNobody;
    m_owner = kNobody;
    if (lost)
        m_checkWhenReady = true;
    if (!owned && !transmitting)
        return true;
    if (!reachable) {
        m_releaseKept = true;
        return false;
    }
    return Unkey() == Result::Ok;
}

void Transmitter::LinkOpened() {
    if (!m_releaseKept)
        return;
    if (Unkey() == Result::Ok) {
        m_checkWhenReady = false;
        Tell(QStringLiteral("The radio was returned to receive: its transmission was to end while it was away"));
    }
}

void Transmitter::RadioReady() {
    if (m_releaseKept)
        LinkOpened();
    if (!m_checkWhenReady)
        return;
    m_checkWhenReady = false;
    if (m_owner != kNobody || !OnAir())
        return;
    if (Unkey() == Result::Ok)
        Tell(QStringLiteral("The radio was transmitting with nobody here keying it: returned to receive"));
}

bool Transmitter::MayRetune(Party who) {
    if (m_owner == kNobody || m_owner == who)
        return true;
    Observe();
    return m_owner == kNobody || m_owner == who;
}

void Transmitter::Tell(const QString& text) {
    if (m_notify)
        m_notify(text);
}

Result ClientSession::Key(RadioBackend& backend, bool on) {
    if (queue)
        return queue->Ptt().Key(party, on);
    return backend.SetPtt(on);
}

} // namespace zshare
