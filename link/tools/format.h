// SPDX-License-Identifier: GPL-3.0-or-later
// How zephyra-link prints one notification.
#pragma once

#include "values.h"

#include <cstdint>
#include <string>

namespace zlink {

// One JSON object: {"msg":4126,"code":"IF","ok":1,"values":[...]}; texts are
// JSON strings (bytes outside printable ASCII as \u00XX), numbers as numbers.
std::string FormatJson(std::uint32_t message, const std::string& code, const Reading& r);
// One line for a person: IF 4126 ok=1: "00014195000" 100 0 ...
std::string FormatText(std::uint32_t message, const std::string& code, std::uintptr_t wParam,
                       std::intptr_t lParam, const Reading& r);

} // namespace zlink
