// SPDX-License-Identifier: GPL-3.0-or-later
// The TLS layer's helpers: SIGPIPE kept off while OpenSSL writes, and a TLS
// failure put in the operator's words.
#pragma once

#include <csignal>
#include <string>

namespace corvan::detail {

// TLS writes through write(2), which raises SIGPIPE on a connection the
// server has closed; that would end the whole program. While a guard lives
// the signal is blocked on this thread, and one it raised is taken back.
class NoSigpipe {
public:
    NoSigpipe();
    ~NoSigpipe();
    NoSigpipe(const NoSigpipe&) = delete;
    NoSigpipe& operator=(const NoSigpipe&) = delete;

private:
    sigset_t m_old{};
    bool m_wasPending = false;
};

// The reasons in OpenSSL's error queue, joined by "; "; empties the queue.
std::string SslErrors();

// The operator's words for a TLS failure; empties the error queue.
std::string TlsFailureText(const std::string& where);

} // namespace corvan::detail
