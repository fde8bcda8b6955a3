// SPDX-License-Identifier: GPL-3.0-or-later
// What the TLS layer needs beside the handshake: SIGPIPE kept off while
// OpenSSL writes, and TLS failures in the operator's words.
#include "tls_support.h"

#include <openssl/err.h>
#include <openssl/ssl.h>

#include <cerrno>
#include <pthread.h>

namespace corvan::detail {

namespace {

// True when the OpenSSL error queue holds an alert saying the server did not
// take our certificate (or wanted one and got none).
bool RefusedOurCertificate(unsigned long e)
{
    if (ERR_GET_LIB(e) != ERR_LIB_SSL)
        return false;
    switch (ERR_GET_REASON(e)) {
    case SSL_R_SSLV3_ALERT_BAD_CERTIFICATE:
    case SSL_R_SSLV3_ALERT_CERTIFICATE_UNKNOWN:
    case SSL_R_SSLV3_ALERT_UNSUPPORTED_CERTIFICATE:
    case SSL_R_SSLV3_ALERT_CERTIFICATE_REVOKED:
    case SSL_R_SSLV3_ALERT_CERTIFICATE_EXPIRED:
    case SSL_R_TLSV1_ALERT_UNKNOWN_CA:
    case SSL_R_TLSV1_ALERT_ACCESS_DENIED:
    case SSL_R_TLSV1_ALERT_DECRYPT_ERROR:
    case SSL_R_TLSV13_ALERT_CERTIFICATE_REQUIRED:
        return true;
    default:
        return false;
    }
}

} // namespace

NoSigpipe::NoSigpipe()
{
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    sigset_t pending;
    sigpending(&pending);
    m_wasPending = sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &pipe, &m_old);
}

NoSigpipe::~NoSigpipe()
{
    if (!m_wasPending) {
        sigset_t pending;
        sigpending(&pending);
        if (sigismember(&pending, SIGPIPE) == 1) {
            sigset_t pipe;
            sigemptyset(&pipe);
            sigaddset(&pipe, SIGPIPE);
            const timespec none{0, 0};
            while (sigtimedwait(&pipe, nullptr, &none) < 0 && errno == EINTR) {
            }
        }
    }
    pthread_sigmask(SIG_SETMASK, &m_old, nullptr);
}

std::string SslErrors()
{
    std::string out;
    unsigned long e = 0;
    while ((e = ERR_get_error()) != 0) {
        const char* r = ERR_reason_error_string(e);
        if (!out.empty())
            out += "; ";
        out += r != nullptr ? r : "unknown TLS error";
    }
    return out;
}

// The operator's words for a TLS failure; empties the error queue.
std::string TlsFailureText(const std::string& where)
{
    const unsigned long first = ERR_peek_error();
    if (first != 0 && RefusedOurCertificate(first)) {
        ERR_clear_error();
        return "The server refused our certificate";
    }
    const std::string detail = SslErrors();
    return "TLS with " + where + " failed" + (detail.empty() ? std::string() : ": " + detail);
}

} // namespace corvan::detail
