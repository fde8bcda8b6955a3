// SPDX-License-Identifier: GPL-3.0-or-later
// Shared pieces of the command builders.
#include "builders.h"

#include "link.h"

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <thread>

namespace corvan::detail {

bool IsRead(const char* mode) { return mode != nullptr && std::strcmp(mode, "R") == 0; }

std::uint32_t Model() { return Global().modelType.load(); }

std::int32_t Send(const char* format, ...)
{
    char text[256];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (n <= 0 || static_cast<std::size_t>(n) >= sizeof text)
        return 0;
    return WriteBytes(text, static_cast<std::size_t>(n));
}

std::int32_t Query(Rec record, const char* text)
{
    Global().Reset(record);
    return WriteBytes(text, std::strlen(text));
}

void ReadBackPause() { std::this_thread::sleep_for(std::chrono::milliseconds(10)); }

bool ParseFrequency(const char* text, std::int64_t& hertz)
{
    hertz = 0;
    if (text == nullptr)
        return false;
    const char* p = text;
    while (*p == ' ')
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    constexpr std::int64_t kMax = 99999999999LL;
    std::int64_t v = 0;
    int digits = 0;
    for (; *p >= '0' && *p <= '9'; ++p, ++digits) {
        v = v * 10 + (*p - '0');
        if (v > kMax)
            return false; // also stops any overflow
    }
    while (*p == ' ')
        ++p;
    if (digits == 0 || *p != '\0')
        return false;
    if (negative && v != 0)
        return false;
    hertz = v;
    return true;
}

bool BreaksFraming(const char* text) { return text != nullptr && std::strchr(text, ';') != nullptr; }

std::size_t TextLength(const char* text) { return text == nullptr ? static_cast<std::size_t>(-1) : std::strlen(text); }

const Limit* LimitFor(const Limit* limits, std::size_t count, std::uint32_t model)
{
    for (std::size_t i = 0; i < count; ++i) {
        if (limits[i].models != 0 && HasModel(limits[i].models, model))
            return &limits[i];
    }
    return nullptr;
}

std::int32_t ValueBuilder(const ValueCommand& c, const char* mode, std::uint32_t v)
{
    if (!CanSend() || mode == nullptr)
        return 0;
    const std::uint32_t model = Model();
    if (IsRead(mode)) {
        if (!HasModel(c.readModels, model))
            return 0;
        const char query[4] = {c.code[0], c.code[1], ';', '\0'};
        return Query(c.record, query);
    }
    const Limit* limit = LimitFor(c.limits, 3, model);
    if (limit == nullptr || v < limit->lo || v > limit->hi)
        return 0;
    const std::int32_t result = Send(c.format, v);
    if (result != 0 && HasModel(c.readBackModels, model)) {
        ReadBackPause();
        ValueBuilder(c, "R", v);
    }
    return result;
}

} // namespace corvan::detail
