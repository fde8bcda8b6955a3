// SPDX-License-Identifier: GPL-3.0-or-later
// The traffic trace.
#include "trace.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>

namespace corvan::detail {

namespace {

std::mutex g_traceMu;
std::FILE* g_trace = nullptr; // guarded by g_traceMu
std::atomic<bool> g_active{false};
std::once_flag g_envOnce;

void Stamp(std::FILE* f, char direction)
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t secs = std::chrono::system_clock::to_time_t(now);
    const auto micros =
        std::chrono::duration_cast<std::chrono::microseconds>(now.time_since_epoch()).count() % 1000000;
    std::tm tm{};
    ::gmtime_r(&secs, &tm);
    char when[32];
    std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", &tm);
    std::fprintf(f, "%s.%06lld %c ", when, static_cast<long long>(micros), direction);
}

} // namespace

std::string Visible(const void* data, std::size_t length)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(length + 8);
    const auto* p = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < length; ++i) {
        const unsigned char c = p[i];
        if (c < 0x20 || c > 0x7E || c == '<') {
            out += '<';
            out += kHex[c >> 4];
            out += kHex[c & 15];
            out += '>';
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

void TraceInit()
{
    std::call_once(g_envOnce, [] {
        const char* path = std::getenv("ZEPHYRA_TRACE");
        if (path != nullptr && path[0] != '\0' && !TraceOpen(path)) {
            // Asked for and not written: the one place this can be said is
            // the program's standard error.
            std::fprintf(stderr, "%s: cannot write the trace to %s (ZEPHYRA_TRACE): %s\n",
                         program_invocation_short_name, path, std::strerror(errno));
        }
    });
}

bool TraceOpen(const char* path)
{
    std::lock_guard lock(g_traceMu);
    if (g_trace != nullptr) {
        std::fclose(g_trace);
        g_trace = nullptr;
    }
    g_active.store(false);
    if (path == nullptr || path[0] == '\0')
        return true;
    g_trace = std::fopen(path, "ae");
    if (g_trace == nullptr)
        return false;
    g_active.store(true);
    Stamp(g_trace, '!');
    std::fputs("trace started\n", g_trace);
    std::fflush(g_trace);
    return true;
}

bool TraceActive() { return g_active.load(std::memory_order_relaxed); }

void TraceBytes(char direction, const void* data, std::size_t length)
{
    if (!TraceActive())
        return;
    const std::string text = Visible(data, length);
    std::lock_guard lock(g_traceMu);
    if (g_trace == nullptr)
        return;
    Stamp(g_trace, direction);
    std::fputs(text.c_str(), g_trace);
    std::fputc('\n', g_trace);
    std::fflush(g_trace);
}

void TraceNote(const char* format, ...)
{
    if (!TraceActive())
        return;
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    std::lock_guard lock(g_traceMu);
    if (g_trace == nullptr)
        return;
    Stamp(g_trace, '!');
    std::fputs(text, g_trace);
    std::fputc('\n', g_trace);
    std::fflush(g_trace);
}

} // namespace corvan::detail
