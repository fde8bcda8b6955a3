// SPDX-License-Identifier: GPL-3.0-or-later
#include "format.h"

#include <cstdio>

namespace zlink {

namespace {

std::string Quote(const std::string& s)
{
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c > 0x7E) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", c);
            out += esc;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string ValueText(const Value& v)
{
    if (const auto* n = std::get_if<std::uint32_t>(&v))
        return std::to_string(*n);
    return Quote(std::get<std::string>(v));
}

} // namespace

std::string FormatJson(std::uint32_t message, const std::string& code, const Reading& r)
{
    std::string out = "{\"msg\":" + std::to_string(message) + ",\"code\":" + Quote(code) +
                      ",\"ok\":" + std::to_string(r.ok) + ",\"values\":[";
    for (std::size_t i = 0; i < r.values.size(); ++i) {
        if (i > 0)
            out += ',';
        out += ValueText(r.values[i]);
    }
    return out + "]}";
}

std::string FormatText(std::uint32_t message, const std::string& code, std::uintptr_t wParam,
                       std::intptr_t lParam, const Reading& r)
{
    std::string out = code;
    out.append(" ").append(std::to_string(message));
    if (wParam != 0 || lParam != 0)
        out.append(" (").append(std::to_string(wParam)).append(",").append(std::to_string(lParam)).append(")");
    out.append(" ok=").append(std::to_string(r.ok)).append(":");
    for (const Value& v : r.values)
        out.append(" ").append(ValueText(v));
    return out;
}

} // namespace zlink
