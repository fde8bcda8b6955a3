// SPDX-License-Identifier: GPL-3.0-or-later
#include "pty_radio.h"

#include <algorithm>

#include "testing.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

using namespace std::chrono_literals;

PtyRadio::PtyRadio()
{
    char name[128] = {};
    if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0)
        std::perror("openpty");
    m_path = name;
    termios t{};
    ::tcgetattr(m_slave, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(m_slave, TCSANOW, &t);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    if (::pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) != 0)
        std::perror("pipe2");
    m_thread = std::thread([this] { serve(); });
}

PtyRadio::~PtyRadio()
{
    {
        std::lock_guard lock(m_mu);
        m_stop = true;
    }
    [[maybe_unused]] const ssize_t w = ::write(m_wake[1], "x", 1);
    m_thread.join();
    if (m_master >= 0)
        ::close(m_master);
    ::close(m_slave);
    ::close(m_wake[0]);
    ::close(m_wake[1]);
}

void PtyRadio::setIdentity(int identity)
{
    std::lock_guard lock(m_mu);
    m_identity = identity;
}

void PtyRadio::send(std::string_view bytes)
{
    std::lock_guard lock(m_mu);
    std::size_t done = 0;
    while (m_master >= 0 && done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EAGAIN) {
            // Nobody reads the other side (the link is closed): give up.
            pollfd p{m_master, POLLOUT, 0};
            if (::poll(&p, 1, 100) <= 0)
                break;
        } else {
            break;
        }
    }
}

void PtyRadio::serve()
{
    char buffer[4096];
    for (;;) {
        int master;
        {
            std::lock_guard lock(m_mu);
            if (m_stop)
                return;
            master = m_master;
        }
        pollfd fds[2] = {{m_wake[0], POLLIN, 0}, {master, POLLIN, 0}};
        ::poll(fds, master >= 0 ? 2 : 1, -1);
        if ((fds[0].revents & POLLIN) != 0) {
            char drain[16];
            while (::read(m_wake[0], drain, sizeof drain) > 0) {
            }
            continue;
        }
        if (master < 0)
            continue;
        std::lock_guard lock(m_mu);
        if (m_master < 0)
            continue;
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n <= 0) {
            if (n < 0 && errno != EAGAIN && errno != EIO)
                return;
            continue;
        }
        m_inbox.append(buffer, static_cast<std::size_t>(n));
        m_total += static_cast<std::size_t>(n);
        m_scan.append(buffer, static_cast<std::size_t>(n));
        for (;;) {
            // The earliest query of the script (and the identity query) in what came in.
            std::size_t best = std::string::npos, bestLen = 0;
            std::string reply;
            auto consider = [&](const std::string& query, const std::string& text) {
                const std::size_t at = m_scan.find(query);
                if (at < best) {
                    best = at;
                    bestLen = query.size();
                    reply = text;
                }
            };
            if (m_identity >= 0) {
                char id[16];
                std::snprintf(id, sizeof id, "ID%03d;", m_identity);
                consider("ID;", id);
            } else {
                consider("ID;", "");
            }
            for (const auto& [query, text] : m_script)
                consider(query, text);
            if (best == std::string::npos)
                break;
            m_scan.erase(0, best + bestLen);
            if (!reply.empty()) {
                [[maybe_unused]] const ssize_t w = ::write(m_master, reply.data(), reply.size());
            }
        }
        if (m_scan.size() > 256)
            m_scan.erase(0, m_scan.size() - 256);
        m_cv.notify_all();
    }
}

void PtyRadio::answer(std::string query, std::string reply)
{
    std::lock_guard lock(m_mu);
    m_script.emplace_back(std::move(query), std::move(reply));
}

std::string PtyRadio::take()
{
    std::lock_guard lock(m_mu);
    std::string out;
    out.swap(m_inbox);
    return out;
}

std::string PtyRadio::takeAtLeast(std::size_t count)
{
    std::unique_lock lock(m_mu);
    m_cv.wait_for(lock, 2s, [&] { return m_inbox.size() >= count; });
    std::string out;
    out.swap(m_inbox);
    return out;
}

bool PtyRadio::waitFor(std::string_view text)
{
    std::unique_lock lock(m_mu);
    return m_cv.wait_for(lock, 2s, [&] { return m_inbox.find(text) != std::string::npos; });
}

void PtyRadio::hangUp()
{
    {
        std::lock_guard lock(m_mu);
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }
    [[maybe_unused]] const ssize_t w = ::write(m_wake[1], "x", 1);
}

std::size_t PtyRadio::received() const
{
    std::lock_guard lock(m_mu);
    return m_total;
}

void RecordingTarget::post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam)
{
    std::lock_guard lock(m_mu);
    m_messages.push_back({message, wParam, lParam});
    m_cv.notify_all();
}

std::vector<RecordingTarget::Message> RecordingTarget::take()
{
    std::lock_guard lock(m_mu);
    std::vector<Message> out;
    out.swap(m_messages);
    return out;
}

bool RecordingTarget::waitCount(std::size_t count)
{
    std::unique_lock lock(m_mu);
    return m_cv.wait_for(lock, 2s, [&] { return m_messages.size() >= count; });
}

bool RecordingTarget::waitFor(std::uint32_t message, std::chrono::milliseconds limit)
{
    std::unique_lock lock(m_mu);
    return m_cv.wait_for(lock, limit, [&] {
        return std::any_of(m_messages.begin(), m_messages.end(),
                           [&](const Message& m) { return m.message == message; });
    });
}

LinkOnPty::LinkOnPty(int identity, const char* model)
{
    corvan::testing::SetConnPauses(0, 200);
    corvan::testing::ClearStore();
    corvan::testing::SetModelType(0);
    radio.setIdentity(identity);
    connected = link.Conn(model, radio.path().c_str(), 9600, "n", 8, 1, 1);
    modelAtConnect = CCorvan::GetModelType();
    radio.waitFor("ID;");
    radio.take();
    // The probe gives up after its short pause, so on a loaded machine the
    // identity may still be on its way: let it land now, not in the middle
    // of the test that follows, where it would be one message too many.
    std::uint32_t id = 0;
    for (int i = 0; identity >= 0 && connected == 1 && link.RcvDataID(&id) != 1 && i < 2000; ++i)
        std::this_thread::sleep_for(1ms);
}

LinkOnPty::~LinkOnPty()
{
    link.WinMsgSendReg(nullptr);
    link.Close();
    corvan::testing::ClearStore();
    corvan::testing::SetModelType(0);
    corvan::testing::UseRealClock();
}
