// SPDX-License-Identifier: GPL-3.0-or-later
// The network stream's TLS handshake through OpenSSL: the server's
// certificate checked (against the CA or a pinned copy), and a client
// certificate offered when one is set.
#include "net_stream.h"
#include "net_tcp.h"
#include "tls_support.h"

#include "trace.h"

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <poll.h>

namespace corvan::detail {

bool Stream::StartTls(const TlsOptions& options, Clock::time_point deadline, std::string& why)
{
    m_ctx = SSL_CTX_new(TLS_client_method());
    if (m_ctx == nullptr) {
        why = "TLS is not available: " + SslErrors();
        return false;
    }
    SSL_CTX_set_min_proto_version(m_ctx, TLS1_2_VERSION);
    // A server going away without close_notify is a lost connection like
    // any other, not a TLS fault (the radio's commands carry their own end).
    SSL_CTX_set_options(m_ctx, SSL_OP_IGNORE_UNEXPECTED_EOF);
    const bool pinned = !options.pinnedCertificateFile.empty();
    if (pinned) {
        // The chain is not checked: the pinned certificate is compared after
        // the handshake, which proves the server holds its key.
        SSL_CTX_set_verify(m_ctx, SSL_VERIFY_NONE, nullptr);
    } else {
        if (!options.caFile.empty()) {
            if (SSL_CTX_load_verify_locations(m_ctx, options.caFile.c_str(), nullptr) != 1) {
                why = "The CA file " + options.caFile + " could not be read: " + SslErrors();
                return false;
            }
        } else {
            SSL_CTX_set_default_verify_paths(m_ctx);
        }
        SSL_CTX_set_verify(m_ctx, SSL_VERIFY_PEER, nullptr);
    }
    if (!options.clientCertificateFile.empty() || !options.clientKeyFile.empty()) {
        if (options.clientCertificateFile.empty() || options.clientKeyFile.empty()) {
            why = "A client certificate needs both its certificate file and its key file";
            return false;
        }
        if (SSL_CTX_use_certificate_chain_file(m_ctx, options.clientCertificateFile.c_str()) != 1) {
            why = "The client certificate " + options.clientCertificateFile + " could not be read: " + SslErrors();
            return false;
        }
        if (SSL_CTX_use_PrivateKey_file(m_ctx, options.clientKeyFile.c_str(), SSL_FILETYPE_PEM) != 1 ||
            SSL_CTX_check_private_key(m_ctx) != 1) {
            why = "The client key " + options.clientKeyFile + " could not be read or does not match: " + SslErrors();
            return false;
        }
        m_presented = true;
    }
    m_ssl = SSL_new(m_ctx);
    if (m_ssl == nullptr || SSL_set_fd(m_ssl, m_fd) != 1) {
        why = "TLS is not available: " + SslErrors();
        return false;
    }
    SSL_set_mode(m_ssl, SSL_MODE_ENABLE_PARTIAL_WRITE | SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
    if (!IsIpLiteral(m_address.host))
        SSL_set_tlsext_host_name(m_ssl, m_address.host.c_str());
    if (!pinned) {
        X509_VERIFY_PARAM* param = SSL_get0_param(m_ssl);
        if (IsIpLiteral(m_address.host))
            X509_VERIFY_PARAM_set1_ip_asc(param, m_address.host.c_str());
        else
            X509_VERIFY_PARAM_set1_host(param, m_address.host.c_str(), 0);
    }
    const auto started = Clock::now();
    for (;;) {
        ERR_clear_error();
        const NoSigpipe guard;
        const int r = SSL_connect(m_ssl);
        if (r == 1)
            break;
        const int e = SSL_get_error(m_ssl, r);
        short events = 0;
        if (e == SSL_ERROR_WANT_READ)
            events = POLLIN;
        else if (e == SSL_ERROR_WANT_WRITE)
            events = POLLOUT;
        if (events == 0) {
            const long verify = SSL_get_verify_result(m_ssl);
            if (!pinned && verify != X509_V_OK) {
                ERR_clear_error();
                why = std::string("The server's certificate did not verify: ") +
                      X509_verify_cert_error_string(verify);
            } else if (e == SSL_ERROR_SYSCALL && ERR_peek_error() == 0) {
                why = m_where + " closed the connection during the TLS handshake (is TLS on there?)";
            } else {
                why = TlsFailureText(m_where);
            }
            return false;
        }
        pollfd pfd{m_fd, events, 0};
        const int ms = PollMs(deadline);
        if (ms == 0 || ::poll(&pfd, 1, ms) == 0) {
            why = "No TLS answer from " + m_where + " (is TLS on there?)";
            return false;
        }
    }
    m_rttMs = static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started).count() / 2);
    if (pinned) {
        X509* pin = nullptr;
        if (FILE* f = std::fopen(options.pinnedCertificateFile.c_str(), "r")) {
            pin = PEM_read_X509(f, nullptr, nullptr, nullptr);
            std::fclose(f);
        }
        if (pin == nullptr) {
            why = "The pinned certificate " + options.pinnedCertificateFile + " could not be read";
            return false;
        }
        X509* peer = SSL_get1_peer_certificate(m_ssl);
        const bool same = peer != nullptr && X509_cmp(peer, pin) == 0;
        X509_free(peer);
        X509_free(pin);
        if (!same) {
            why = "The server's certificate did not verify: it is not the pinned certificate";
            return false;
        }
    }
    TraceNote("TLS with %s: %s %s", m_where.c_str(), SSL_get_version(m_ssl), SSL_get_cipher_name(m_ssl));
    return true;
}

} // namespace corvan::detail
