// SPDX-License-Identifier: GPL-3.0-or-later
// The telnet bytes and COM-port option (RFC 2217) codes the network stream
// speaks with a terminal server.
#pragma once

namespace corvan::detail {

// Telnet bytes and the options this side takes part in.
constexpr unsigned char kIac = 255;
constexpr unsigned char kDont = 254;
constexpr unsigned char kDo = 253;
constexpr unsigned char kWont = 252;
constexpr unsigned char kWill = 251;
constexpr unsigned char kSb = 250;
constexpr unsigned char kSe = 240;
constexpr unsigned char kOptBinary = 0;
constexpr unsigned char kOptSga = 3;
constexpr unsigned char kOptComPort = 44;
// COM-PORT-OPTION commands from the client; the server answers each + 100.
constexpr unsigned char kSetBaud = 1;
constexpr unsigned char kSetDataSize = 2;
constexpr unsigned char kSetParity = 3;
constexpr unsigned char kSetStopSize = 4;
constexpr unsigned char kSetControl = 5;
constexpr unsigned char kNotifyLineState = 6;
constexpr unsigned char kNotifyModemState = 7;
constexpr unsigned char kPurgeData = 12;
constexpr unsigned char kServerOffset = 100;
// SET-CONTROL values.
constexpr unsigned char kControlNoFlow = 1;
constexpr unsigned char kControlDtrOff = 9;
constexpr unsigned char kControlRtsOn = 11;

} // namespace corvan::detail
