// SPDX-License-Identifier: GPL-3.0-or-later
// What the operator is told about the port: why an open failed, how an open
// link went away, and the certificates for TLS.
#pragma once

#include <corvan.h>

#include <cstdint>
#include <string>

namespace corvan::detail {

void SetOpenError(std::string text);
// Records the loss once: the first reason given after a Conn stays.
void SetLossText(std::string text);
void ClearLossText();
void SetRoundTripMs(std::uint32_t ms);
TlsOptions CurrentTlsOptions();

} // namespace corvan::detail
