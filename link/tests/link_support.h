// SPDX-License-Identifier: GPL-3.0-or-later
// Small helpers the link's tests share: waiting for a condition, reading a
// terminal's settings, catching the link's message boxes, and a file of the
// test's own.
#pragma once

#include <corvan.h>

#include <chrono>
#include <string>
#include <termios.h>
#include <thread>
#include <vector>

// Polls `f` every 5 ms until it holds (true) or `limit` has passed (false).
template <class F>
bool WaitUntil(F f, std::chrono::milliseconds limit = std::chrono::seconds(5))
{
    const auto until = std::chrono::steady_clock::now() + limit;
    while (!f()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// The line settings of the terminal at `path`, as the device holds them now.
termios TermiosOf(const std::string& path);

// Records the texts of the message boxes the link shows while it lives.
class MessageBoxes {
public:
    MessageBoxes();
    ~MessageBoxes();
    std::vector<std::string> shown;
};

// A new empty file made from `pattern` (ending in "XXXXXX"), for a trace or a
// path that is no terminal; removed again when the test is done with it.
class TempFile {
public:
    explicit TempFile(std::string pattern);
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    bool made() const { return m_made; }
    const char* path() const { return m_path.c_str(); }
    // All the file holds now.
    std::string text() const;

private:
    std::string m_path;
    bool m_made = false;
};
