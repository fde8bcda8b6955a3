// SPDX-License-Identifier: GPL-3.0-or-later
// --port with a network address: taken as given when the link can open it,
// refused with the reason when it cannot.
#include "command_line.h"

#include <gtest/gtest.h>

namespace {

TEST(PortAddressOption, NetworkAddressesAreTakenAndMalformedOnesRefusedWithWhy) {
    for (const char* good : {"rfc2217://radio.example:3333", "tcp://10.0.0.2:2000",
                             "rfc2217+tls://radio.example:3334", "tcp+tls://[2001:db8::7]:3334"}) {
        const CommandLine line = ParseCommandLine({"--port", good});
        EXPECT_TRUE(line.error.empty()) << good << ": " << line.error;
        EXPECT_EQ(line.port, good);
        const CommandLine joined = ParseCommandLine({std::string("--port=") + good});
        EXPECT_EQ(joined.port, good);
    }
    for (const char* bad : {"rfc2217://radio.example", "tcp://:3333", "tcp://host:0", "tcp://host:70000",
                            "telnet://host:23"}) {
        const CommandLine line = ParseCommandLine({"--port", bad});
        EXPECT_FALSE(line.error.empty()) << bad << " taken";
        EXPECT_NE(line.error.find(bad), std::string::npos) << line.error;
        EXPECT_GT(line.error.size(), std::string("--port ").size() + std::string(bad).size() + 2)
            << "says why: " << line.error;
    }
    // A device path is the device's business, as before.
    EXPECT_EQ(ParseCommandLine({"--port", "/dev/ttyUSB0"}).port, "/dev/ttyUSB0");
}

} // namespace
