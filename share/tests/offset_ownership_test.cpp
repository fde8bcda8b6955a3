// offset_ownership_test.cpp - the radio's one RIT/XIT offset moves the
// transmit frequency while XIT is on: while one client's transmission is on
// the air, another client neither switches XIT on nor moves the offset; the
// owner still may.
#include "fake_radio.h"
#include "line_client.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

namespace {

using namespace std::chrono_literals;
using share_test::FakeRadio;
using share_test::LineClient;

void Pump() { QCoreApplication::processEvents(QEventLoop::AllEvents, 5); }

class OffsetOwner : public ::testing::Test {
protected:
    void SetUp() override {
        zshare::ServerSettings s;
        s.enabled = true;
        s.port = 0;
        ASSERT_TRUE(rigctl.Apply(s));
        ASSERT_TRUE(a.Connect(rigctl.Status().port));
        ASSERT_TRUE(b.Connect(rigctl.Status().port));
    }
    std::string Ask(LineClient& c, const std::string& line) { return c.Ask(line, 1, 3s, Pump); }
    bool Touched(const char* what) const {
        return std::any_of(radio.calls.begin(), radio.calls.end(),
                           [&](const std::string& call) { return call.rfind(what, 0) == 0; });
    }
    FakeRadio radio;
    zshare::RequestQueue queue{radio};
    zshare::RigctlServer rigctl{queue};
    LineClient a, b;
};

TEST_F(OffsetOwner, AnotherClientLeavesTheOffsetOfATransmissionAlone) {
    EXPECT_EQ(Ask(a, "T 1"), "RPRT 0\n");
    radio.calls.clear();
    EXPECT_EQ(Ask(b, "Z 100"), "RPRT -9\n");
    EXPECT_EQ(Ask(b, "J 200"), "RPRT -9\n"); // the same offset moves XIT's
    EXPECT_FALSE(Touched("SetXit"));
    EXPECT_FALSE(Touched("SetRit"));
    // Reading stays open to everyone; the owner may move its own offset.
    EXPECT_EQ(Ask(b, "z"), std::to_string(radio.xit) + "\n");
    EXPECT_EQ(Ask(a, "Z 100"), "RPRT 0\n");
    EXPECT_TRUE(Touched("SetXit 100"));
    EXPECT_EQ(Ask(a, "T 0"), "RPRT 0\n");
    EXPECT_EQ(Ask(b, "J 50"), "RPRT 0\n");
    EXPECT_TRUE(Touched("SetRit 50"));
}

} // namespace
