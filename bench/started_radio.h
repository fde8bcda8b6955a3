// SPDX-License-Identifier: GPL-3.0-or-later
// started_radio.h - the simulator the link benchmarks measure against,
// started at a baud rate and paced as asked.
#pragma once

#include <qxsim.h>

#include <cstdio>
#include <memory>

namespace bench {

// A started simulator at `baud`; null, with the reason on stderr, when it
// could not open its pseudo-terminal.
inline std::unique_ptr<qxsim::Radio> StartRadio(unsigned baud, bool pace) {
    qxsim::Options options;
    options.pace = pace;
    options.baud = baud;
    auto radio = std::make_unique<qxsim::Radio>(options);
    if (!radio->start()) {
        std::fprintf(stderr, "no pseudo-terminal: %s\n", radio->lastError().c_str());
        return nullptr;
    }
    return radio;
}

} // namespace bench
