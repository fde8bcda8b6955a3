// SPDX-License-Identifier: GPL-3.0-or-later
// The radio's thread: the panel and the line served at once, and a stop that
// does not wait on a client that never stops writing.
#include "wire.h"

#include <qxsim.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <string>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;
using qxsim_test::Started;

namespace {

TEST(Threads, PanelAndLineAtOnce)
{
    Started s;
    ASSERT_TRUE(s.ok);
    s.wire->send("AI2;");
    std::thread panel([&] {
        for (int i = 0; i < 200; ++i) {
            s.radio.turnDial(1);
            (void)s.radio.state();
        }
    });
    for (int i = 0; i < 50; ++i)
        s.wire->send("FA;IF;");
    panel.join();
    ASSERT_TRUE(s.radio.waitFor([](const auto& r) { return r.size() >= 101; }, 5s));
    EXPECT_EQ(s.radio.state().vfoA, 14'195'000 + 200 * 10);
}

// A client that writes without pause and never reads keeps the radio's
// thread busy answering: stopping must not wait for a gap in its writing.
TEST(Threads, StopsPromptlyWhileAClientFloodsTheLine)
{
    Started s;
    ASSERT_TRUE(s.ok);
    const int fd = ::open(s.radio.devicePath().c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    std::atomic<bool> flooding{true};
    std::thread client([&] {
        std::string commands;
        while (commands.size() < 4095)
            commands += "FA;";
        while (flooding.load())
            [[maybe_unused]] auto n = ::write(fd, commands.data(), commands.size());
    });
    std::this_thread::sleep_for(2s);
    const auto before = std::chrono::steady_clock::now();
    s.radio.stop();
    const auto took = std::chrono::steady_clock::now() - before;
    flooding = false;
    client.join();
    ::close(fd);
    // A few milliseconds when the thread is told at once; the bound leaves
    // room for a loaded machine and still catches a stop that waits out the
    // flood (seconds, seen with a client that never read).
    EXPECT_LT(took, 500ms);
}

}  // namespace
