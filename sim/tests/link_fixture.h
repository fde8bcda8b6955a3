// SPDX-License-Identifier: GPL-3.0-or-later
// The link connected to a radio on its pseudo-terminal, for tests of the two
// together: the notifications the link posts and a bounded wait for values.
#pragma once

#include <corvan.h>
#include <gtest/gtest.h>
#include <qxsim.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace qxsim_test {

// Records every notification the link posts.
class Notes : public CorvanTarget {
public:
    void post(std::uint32_t message, std::uintptr_t, std::intptr_t) override;
    bool waitFor(std::uint32_t message, std::chrono::milliseconds timeout);
    std::size_t count(std::uint32_t message) const;
    void clear();

private:
    mutable std::mutex m_;
    std::condition_variable cv_;
    std::vector<std::uint32_t> messages_;
};

// Polls `done` until it is true or the timeout passes (the accessors have no
// wait of their own; a notification may come before the value is copied).
bool until(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(3));

// A radio and the link connected to it; Close on destruction.
class Linked {
public:
    explicit Linked(qxsim::Options options = {}, const char* model = "QR-7730");
    ~Linked();
    bool connected() const { return connected_; }

    qxsim::Radio radio;
    CCorvan link;
    Notes notes;

private:
    bool connected_ = false;
};

// A parameterised test whose cases share one radio and link, made once for
// the whole suite.
template <class Case>
class SharedLinkTest : public ::testing::TestWithParam<Case> {
protected:
    static void SetUpTestSuite() { linked = std::make_unique<Linked>(); }
    static void TearDownTestSuite() { linked.reset(); }
    static inline std::unique_ptr<Linked> linked;
};

}  // namespace qxsim_test
