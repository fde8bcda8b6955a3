// SPDX-License-Identifier: GPL-3.0-or-later
// What the operator is told about the port, kept under one lock.
#include "status.h"

#include <atomic>
#include <mutex>

namespace corvan::detail {

namespace {

std::mutex g_mu;
std::string g_openError;  // guarded by g_mu
std::string g_lossText;   // guarded by g_mu
TlsOptions g_tls;         // guarded by g_mu
std::atomic<std::uint32_t> g_roundTripMs{0};

} // namespace

void SetOpenError(std::string text)
{
    std::lock_guard lock(g_mu);
    g_openError = std::move(text);
}

void SetLossText(std::string text)
{
    std::lock_guard lock(g_mu);
    if (g_lossText.empty())
        g_lossText = std::move(text);
}

void ClearLossText()
{
    std::lock_guard lock(g_mu);
    g_lossText.clear();
}

void SetRoundTripMs(std::uint32_t ms) { g_roundTripMs.store(ms); }

TlsOptions CurrentTlsOptions()
{
    std::lock_guard lock(g_mu);
    return g_tls;
}

} // namespace corvan::detail

namespace corvan {

void SetTlsOptions(const TlsOptions& options)
{
    std::lock_guard lock(detail::g_mu);
    detail::g_tls = options;
}

std::string LastOpenError()
{
    std::lock_guard lock(detail::g_mu);
    return detail::g_openError;
}

std::string LinkLossText()
{
    std::lock_guard lock(detail::g_mu);
    return detail::g_lossText;
}

std::uint32_t NetworkRoundTripMs() { return detail::g_roundTripMs.load(); }

} // namespace corvan
