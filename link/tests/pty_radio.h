// SPDX-License-Identifier: GPL-3.0-or-later
// A scripted radio on the far side of a pseudo-terminal pair: the link opens
// the terminal side by path, the test reads and writes the other side.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <corvan.h>

class PtyRadio {
public:
    PtyRadio();
    ~PtyRadio();
    PtyRadio(const PtyRadio&) = delete;
    PtyRadio& operator=(const PtyRadio&) = delete;

    const std::string& path() const { return m_path; }

    // Identity sent in answer to "ID;" (-1: the radio stays silent).
    void setIdentity(int identity);
    // Sends `reply` whenever `query` arrives.
    void answer(std::string query, std::string reply);
    // Writes bytes to the link as the radio.
    void send(std::string_view bytes);
    // Everything the link wrote since the last take().
    std::string take();
    // Waits until at least `count` bytes arrived since the last take(), or
    // two seconds passed; then takes them.
    std::string takeAtLeast(std::size_t count);
    // Waits until `text` is among the bytes received since the last take().
    bool waitFor(std::string_view text);
    // Closes the radio's side: the device vanishes under the link.
    void hangUp();
    // Bytes received in total.
    std::size_t received() const;

private:
    void serve();

    int m_master = -1;
    int m_slave = -1; // kept open so the terminal survives the link's Close
    std::string m_path;
    mutable std::mutex m_mu;
    std::condition_variable m_cv;
    std::string m_inbox;
    std::size_t m_total = 0;
    std::string m_scan;
    std::vector<std::pair<std::string, std::string>> m_script;
    int m_identity = 19;
    bool m_stop = false;
    int m_wake[2] = {-1, -1};
    std::thread m_thread;
};

// Records the notifications the link posts.
class RecordingTarget final : public CorvanTarget {
public:
    struct Message {
        std::uint32_t message;
        std::uintptr_t wParam;
        std::intptr_t lParam;
        bool operator==(const Message&) const = default;
    };
    void post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
    std::vector<Message> take();
    // Waits until `count` messages are queued (two seconds at most).
    bool waitCount(std::size_t count);
    // Waits until a `message` is queued, whatever came before it.
    bool waitFor(std::uint32_t message, std::chrono::milliseconds limit);

private:
    std::mutex m_mu;
    std::condition_variable m_cv;
    std::vector<Message> m_messages;
};

// Opens the link on a scripted radio with short connect pauses; closes it
// and clears the store at the end.
class LinkOnPty {
public:
    explicit LinkOnPty(int identity = 19, const char* model = "QR-7730");
    ~LinkOnPty();
    PtyRadio radio;
    CCorvan link;
    std::int32_t connected = 0;
    // The model type as the connect left it, before any late identity reply.
    std::uint32_t modelAtConnect = 0;
};
