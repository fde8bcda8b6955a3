// SPDX-License-Identifier: GPL-3.0-or-later
// Port addresses: what is a device and what a server, the errors an
// operator sees for a mistyped address, loopback detection, writing back.
#include <corvan.h>
#include <gtest/gtest.h>

using corvan::PortAddress;
using Kind = corvan::PortAddress::Kind;

namespace {

PortAddress Parse(const char* text)
{
    std::string error;
    const auto a = corvan::ParsePortAddress(text, &error);
    EXPECT_TRUE(a.has_value()) << text << ": " << error;
    return a.value_or(PortAddress{});
}

std::string ErrorOf(const char* text)
{
    std::string error;
    const auto a = corvan::ParsePortAddress(text, &error);
    EXPECT_FALSE(a.has_value()) << text;
    EXPECT_FALSE(error.empty()) << text;
    return error;
}

TEST(PortAddressTest, SchemesAndDevices)
{
    const auto r = Parse("rfc2217://radio.example:3334");
    EXPECT_EQ(r.kind, Kind::Rfc2217);
    EXPECT_FALSE(r.tls);
    EXPECT_EQ(r.host, "radio.example");
    EXPECT_EQ(r.port, 3334);

    const auto rt = Parse("RFC2217+TLS://10.0.0.7:65535");
    EXPECT_EQ(rt.kind, Kind::Rfc2217);
    EXPECT_TRUE(rt.tls);
    EXPECT_EQ(rt.port, 65535);

    const auto t = Parse("tcp://127.0.0.1:1");
    EXPECT_EQ(t.kind, Kind::Tcp);
    EXPECT_FALSE(t.tls);
    EXPECT_EQ(t.port, 1);
    EXPECT_TRUE(Parse("tcp+tls://h:2").tls);

    const auto v6 = Parse("tcp://[fe80::1]:2000");
    EXPECT_EQ(v6.host, "fe80::1");
    EXPECT_EQ(v6.port, 2000);

    // No scheme: a device path as before, colons and all.
    for (const char* path : {"/dev/ttyUSB0", "/dev/serial/by-id/usb-x:y-port0", "ttyS0", "/tmp/a://b"}) {
        const auto d = Parse(path);
        EXPECT_EQ(d.kind, Kind::Device) << path;
        EXPECT_EQ(d.path, path);
    }
}

TEST(PortAddressTest, MistypedAddressesSayWhatIsWrong)
{
    EXPECT_NE(ErrorOf("rfc2217://host").find("No port"), std::string::npos);
    EXPECT_NE(ErrorOf("rfc2217://host:").find("No port"), std::string::npos);
    EXPECT_NE(ErrorOf("tcp://host:0").find("out of range"), std::string::npos);
    EXPECT_NE(ErrorOf("tcp://host:65536").find("out of range"), std::string::npos);
    EXPECT_NE(ErrorOf("tcp://host:99999999999999999999").find("out of range"), std::string::npos);
    EXPECT_NE(ErrorOf("tcp://host:12a").find("not a number"), std::string::npos);
    EXPECT_NE(ErrorOf("tcp://host:-1").find("not a number"), std::string::npos);
    EXPECT_NE(ErrorOf("telnet://host:23").find("Unknown scheme"), std::string::npos);
    EXPECT_NE(ErrorOf("tcp://:2000").find("No host"), std::string::npos);
    EXPECT_NE(ErrorOf("tcp://[]:2000").find("No host"), std::string::npos);
    EXPECT_NE(ErrorOf("tcp://fe80::1:2000").find("brackets"), std::string::npos);
    EXPECT_NE(ErrorOf("tcp://[fe80::1:2000").find("]"), std::string::npos);
    EXPECT_NE(ErrorOf("tcp://[fe80::1]").find("No port"), std::string::npos);
    EXPECT_NE(ErrorOf("tcp://[nothex]:1").find("IPv6"), std::string::npos);
    EXPECT_NE(ErrorOf("tcp://ho st:1").find("host name"), std::string::npos);
    ErrorOf("tcp://user@host:1");
    ErrorOf("tcp://host:1/path");
    ErrorOf("");
}

TEST(PortAddressTest, Loopback)
{
    for (const char* text : {"tcp://localhost:1", "tcp://LOCALHOST:1", "tcp://127.0.0.1:1",
                             "tcp://127.255.3.4:1", "tcp://[::1]:1", "tcp://[::ffff:127.0.0.1]:1",
                             "/dev/ttyUSB0"})
        EXPECT_TRUE(corvan::IsLoopback(Parse(text))) << text;
    for (const char* text : {"tcp://10.0.0.1:1", "tcp://128.0.0.1:1", "tcp://radio.example:1",
                             "tcp://[fe80::1]:1", "tcp://[::ffff:10.0.0.1]:1", "tcp://localhost.example:1",
                             "tcp://[::]:1", "tcp://0.0.0.0:1"})
        EXPECT_FALSE(corvan::IsLoopback(Parse(text))) << text;
}

TEST(PortAddressTest, DescribedAndWrittenBack)
{
    EXPECT_EQ(corvan::DescribePort(Parse("rfc2217+tls://radio.example:3334")), "radio.example:3334");
    EXPECT_EQ(corvan::DescribePort(Parse("tcp://[::1]:3333")), "[::1]:3333");
    EXPECT_EQ(corvan::DescribePort(Parse("/dev/ttyS0")), "/dev/ttyS0");
    for (const char* text : {"rfc2217://h:1", "rfc2217+tls://[::1]:2", "tcp://10.1.2.3:65535",
                             "tcp+tls://radio.example:3334", "/dev/ttyUSB1"})
        EXPECT_EQ(corvan::PortAddressText(Parse(text)), text);
}

} // namespace
