// SPDX-License-Identifier: GPL-3.0-or-later
// network_radio.h - the bench's radio served on the network: what the tests
// of a network port share.
#pragma once

#include "harness.h"

#include <platform.h>
#include <ser2net_server.h>

#include <gtest/gtest.h>

#include <string>

namespace zephyra::test {

// A bench whose radio a ser2net server serves on the loopback, its address
// (tcp://127.0.0.1:PORT) named as the console's port; skipped where ser2net
// is not installed.
class NetworkRadio : public testing::Test {
protected:
    void SetUp() override {
        if (Ser2netServer::Program().empty())
            GTEST_SKIP() << "ser2net is not installed (scripts/deps.sh installs it)";
        server.add({"", bench.radio.devicePath(), 0, ""});
        std::string error;
        ASSERT_TRUE(server.start(&error)) << error;
        platform::WriteProfileString(QStringLiteral("Setting"), QStringLiteral("PortName"),
                                     QString::fromStdString("tcp://127.0.0.1:" + std::to_string(server.port(0))));
    }
    Bench bench;
    Ser2netServer server;
};

} // namespace zephyra::test
