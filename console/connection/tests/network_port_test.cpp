// SPDX-License-Identifier: GPL-3.0-or-later
// A radio on the network as the console sees it: the open-line warning once
// per address, the words for a connection that went, why an open failed.
#include "harness.h"

#include <platform.h>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <vector>

namespace zephyra::test {
namespace {

const QString kSetting = QStringLiteral("Setting");

class NetworkPort : public ::testing::Test {
protected:
    void SetUp() override { platform::WriteProfileString(kSetting, QStringLiteral("OpenLineWarned"), QString()); }
};

TEST_F(NetworkPort, OpenLineWarningOnceForEachAddressThatLeavesTheMachineWithoutTls) {
    const std::string open = "rfc2217://radio.example:3333";
    ASSERT_TRUE(OpenLineWarningDue(open));
    NoteOpenLineWarned(open);
    EXPECT_FALSE(OpenLineWarningDue(open)) << "told once";
    EXPECT_TRUE(OpenLineWarningDue("tcp://radio.example:3333")) << "another address is told too";
    EXPECT_TRUE(OpenLineWarningDue("rfc2217://192.0.2.7:3333"));
    EXPECT_TRUE(OpenLineWarningDue("tcp://[2001:db8::7]:3333"));
    // What needs no warning.
    EXPECT_FALSE(OpenLineWarningDue("rfc2217+tls://radio.example:3334"));
    EXPECT_FALSE(OpenLineWarningDue("tcp+tls://radio.example:3334"));
    EXPECT_FALSE(OpenLineWarningDue("rfc2217://localhost:3333"));
    EXPECT_FALSE(OpenLineWarningDue("rfc2217://127.0.0.1:3333"));
    EXPECT_FALSE(OpenLineWarningDue("tcp://[::1]:3333"));
    EXPECT_FALSE(OpenLineWarningDue("/dev/ttyUSB0"));
    EXPECT_FALSE(OpenLineWarningDue("rfc2217://radio.example")) << "not an address the link opens";
    // Kept in the profile: a new run does not tell again.
    EXPECT_TRUE(platform::GetProfileString(kSetting, QStringLiteral("OpenLineWarned"), QString())
                    .contains(QStringLiteral("rfc2217://radio.example:3333")));
    NoteOpenLineWarned("tcp://radio.example:3333");
    EXPECT_FALSE(OpenLineWarningDue(open));
    EXPECT_FALSE(OpenLineWarningDue("tcp://radio.example:3333"));
    const QString text = OpenLineWarningText(open);
    EXPECT_TRUE(text.contains(QStringLiteral("radio.example:3333"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("TLS"))) << text.toStdString();
}

TEST_F(NetworkPort, AConnectionThatWentIsSaidWithItsHostAndPort) {
    EXPECT_TRUE(IsNetworkPort("rfc2217+tls://radio.example:3334"));
    EXPECT_TRUE(IsNetworkPort("tcp://10.0.0.2:2000"));
    EXPECT_FALSE(IsNetworkPort("/dev/ttyUSB0"));
    EXPECT_FALSE(IsNetworkPort(kBuiltInSimulatorPort));
    EXPECT_EQ(NetworkLossText("rfc2217+tls://radio.example:3334").toStdString(),
              "The connection to radio.example:3334 has gone");
    EXPECT_EQ(NetworkLossText("tcp://[2001:db8::7]:3333").toStdString(),
              "The connection to [2001:db8::7]:3333 has gone");
}

TEST_F(NetworkPort, AnOpenThatFailsSaysWhy) {
    Bench bench;
    bench.link->SetPortOverride(QStringLiteral("/nonexistent/ttyQX"));
    EXPECT_EQ(bench.link->ConnectRadio(1), 0);
    EXPECT_FALSE(bench.link->State().connected);
    const std::string note = bench.link->ConnectionNote().toStdString();
    EXPECT_FALSE(note.empty()) << "the status line says why the port did not open";
    EXPECT_NE(note.find("/nonexistent/ttyQX"), std::string::npos) << note;
    // A bad address does not open either, and says what is wrong with it.
    bench.link->SetPortOverride(QStringLiteral("rfc2217://radio.example"));
    EXPECT_EQ(bench.link->ConnectRadio(1), 0);
    EXPECT_FALSE(bench.link->ConnectionNote().isEmpty());
}

// An address of this machine that is not a loopback one, or empty.
std::string OwnNonLoopbackAddress() {
    ifaddrs* all = nullptr;
    if (::getifaddrs(&all) != 0)
        return {};
    std::string found;
    for (const ifaddrs* a = all; a && found.empty(); a = a->ifa_next) {
        if (!a->ifa_addr || a->ifa_addr->sa_family != AF_INET || (a->ifa_flags & IFF_LOOPBACK))
            continue;
        char text[INET_ADDRSTRLEN] = {};
        const auto* in = reinterpret_cast<const sockaddr_in*>(a->ifa_addr);
        if (::inet_ntop(AF_INET, &in->sin_addr, text, sizeof text))
            found = text;
    }
    ::freeifaddrs(all);
    return found;
}

TEST_F(NetworkPort, ConnectingWithoutTlsOffThisMachineWarnsOnceAndARefusalSaysWhy) {
    const std::string own = OwnNonLoopbackAddress();
    if (own.empty())
        GTEST_SKIP() << "this machine has no address but loopback";
    // Nobody listens there: the server refuses at once.
    const std::string address = "tcp://" + own + ":1";
    Bench bench;
    std::vector<QString> warnings;
    QObject::connect(bench.link.get(), &ConsoleLink::openLineWarning,
                     [&](const QString&, const QString& text) { warnings.push_back(text); });
    bench.link->SetPortOverride(QString::fromStdString(address));
    EXPECT_EQ(bench.link->ConnectRadio(1), 0);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_TRUE(warnings[0].contains(QString::fromStdString(own + ":1"))) << warnings[0].toStdString();
    const std::string note = bench.link->ConnectionNote().toStdString();
    EXPECT_NE(note.find(own), std::string::npos) << "the refusal is said: " << note;
    EXPECT_EQ(bench.link->ConnectRadio(1), 0);
    EXPECT_EQ(warnings.size(), 1u) << "once per address";
    // With TLS nothing is said before connecting.
    bench.link->SetPortOverride(QString::fromStdString("tcp+tls://" + own + ":1"));
    EXPECT_EQ(bench.link->ConnectRadio(1), 0);
    EXPECT_EQ(warnings.size(), 1u);
}

} // namespace
} // namespace zephyra::test
