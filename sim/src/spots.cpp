// SPDX-License-Identifier: GPL-3.0-or-later
// The packet cluster: DX spots the radio's packet controller hears are
// reported as PK, in the layout of the PK reply.
#include "radio_impl.h"

#include <cstdio>
#include <string>

namespace qxsim {

namespace {

// `text` cut or padded with spaces to `width`.
std::string Field(const std::string& text, std::size_t width)
{
    std::string out = text.substr(0, width);
    out.resize(width, ' ');
    return out;
}

}  // namespace

void Radio::reportSpot(std::int64_t hz, const std::string& call, const std::string& comment,
                       const std::string& time)
{
    impl_->panel([&](auto& e, auto& r, auto) {
        const State& s = e.state();
        if (e.family() != 3 || s.ai != 2 || s.power == 0 || s.terminal == 0)
            return;
        char frequency[16];
        std::snprintf(frequency, sizeof frequency, "%011lld", static_cast<long long>(hz));
        r.push_back("PK" + Field(frequency, 11) + Field(call, 12) + Field(comment, 20) + Field(time, 5));
    });
}

}  // namespace qxsim
