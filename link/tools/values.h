// SPDX-License-Identifier: GPL-3.0-or-later
// What the accessor of a notification's code returns, as a list of values.
#pragma once

#include <corvan.h>

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace zlink {

using Value = std::variant<std::uint32_t, std::string>;

struct Reading {
    std::int32_t ok = 0;
    std::vector<Value> values;
};

// Calls the accessor of `code` (record index from wParam where the code has
// several records) and collects its out-parameters in order. Codes without an
// accessor give ok 0 and no values.
Reading ReadValues(CCorvan& link, const std::string& code, std::uintptr_t wParam);

} // namespace zlink
