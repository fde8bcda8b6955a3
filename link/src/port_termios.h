// SPDX-License-Identifier: GPL-3.0-or-later
// The termios settings of a port, apart so that they can be checked
// without a device (a pseudo-terminal ignores parity and character size).
#pragma once

#include "port.h"

#include <termios.h>

namespace corvan::detail {

// Raw mode with the given speed, character size, parity and stop bits; no
// hardware or software flow control; reads return as soon as a byte is there.
void FillTermios(termios& t, const PortSettings& s);

} // namespace corvan::detail
