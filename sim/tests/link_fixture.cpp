// SPDX-License-Identifier: GPL-3.0-or-later
#include "link_fixture.h"

#include <algorithm>
#include <thread>

namespace qxsim_test {

void Notes::post(std::uint32_t message, std::uintptr_t, std::intptr_t)
{
    {
        std::lock_guard lock(m_);
        messages_.push_back(message);
    }
    cv_.notify_all();
}

bool Notes::waitFor(std::uint32_t message, std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_);
    return cv_.wait_for(lock, timeout, [&] {
        return std::find(messages_.begin(), messages_.end(), message) != messages_.end();
    });
}

std::size_t Notes::count(std::uint32_t message) const
{
    std::lock_guard lock(m_);
    return static_cast<std::size_t>(std::count(messages_.begin(), messages_.end(), message));
}

void Notes::clear()
{
    std::lock_guard lock(m_);
    messages_.clear();
}

bool until(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

Linked::Linked(qxsim::Options options, const char* model) : radio(options)
{
    if (!radio.start())
        return;
    const auto path = radio.devicePath();
    connected_ = link.Conn(model, path.c_str(), 9600, "n", 8, 1, 1) == 1;
    link.WinMsgSendReg(&notes);
}

Linked::~Linked()
{
    link.WinMsgSendReg(nullptr);
    if (connected_)
        link.Close();
    radio.stop();
}

}  // namespace qxsim_test
