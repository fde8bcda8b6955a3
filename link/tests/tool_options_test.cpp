// SPDX-License-Identifier: GPL-3.0-or-later
// zephyra-link's options and failures as a user meets them: every usage
// error exits 2 with a message naming the option, a port that does not open
// exits 1 saying why, and a trace that cannot be written is said.
#include "pty_radio.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct ToolRun {
    int status = -1;
    std::string output; // standard output and error
};

// Runs the tool through the shell; `prefix` goes before it (environment,
// or a command that runs it as another user).
ToolRun Tool(const std::string& arguments, const std::string& prefix = "")
{
    const std::string command = prefix + std::string(ZEPHYRA_LINK_TOOL) + " " + arguments + " 2>&1";
    ToolRun run;
    FILE* out = ::popen(command.c_str(), "r");
    if (out == nullptr)
        return run;
    char chunk[1024];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, out)) > 0)
        run.output.append(chunk, n);
    const int status = ::pclose(out);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

struct UsageCase {
    const char* name;
    const char* arguments;
    const char* mentions; // the option the message names
};
void PrintTo(const UsageCase& c, std::ostream* out) { *out << c.name; }

class UsageErrors : public testing::TestWithParam<UsageCase> {};

TEST_P(UsageErrors, ExitTwoWithAMessageAndOpenNothing)
{
    PtyRadio radio;
    const UsageCase& c = GetParam();
    std::string arguments = c.arguments;
    const auto at = arguments.find("DEVICE");
    if (at != std::string::npos)
        arguments.replace(at, 6, radio.path());
    const ToolRun run = Tool(arguments);
    EXPECT_EQ(run.status, 2) << run.output;
    EXPECT_EQ(run.output.rfind("zephyra-link: ", 0), 0u) << run.output;
    EXPECT_NE(run.output.find(c.mentions), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("Error opening"), std::string::npos) << run.output;
    // Nothing reached the radio.
    EXPECT_EQ(radio.received(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Options, UsageErrors,
    testing::Values(UsageCase{"RateTheRadioHasNot", "--baud 1234 DEVICE 'ID;'", "--baud"},
                    UsageCase{"RateNotANumber", "--baud fast DEVICE", "--baud"},
                    UsageCase{"RateWithSign", "--baud +9600 DEVICE", "--baud"},
                    UsageCase{"NegativeWait", "--wait -5 DEVICE", "--wait"},
                    UsageCase{"WaitPastAnHour", "--wait 3600001 DEVICE", "--wait"},
                    UsageCase{"OverflowingGap", "--gap 18446744073709551617 DEVICE", "--gap"},
                    UsageCase{"GapWithUnit", "--gap 10ms DEVICE", "--gap"},
                    UsageCase{"EmptyGap", "--gap '' DEVICE", "--gap"},
                    UsageCase{"UnknownParity", "--parity x DEVICE", "--parity"},
                    UsageCase{"ParityWord", "--parity even DEVICE", "--parity"},
                    UsageCase{"UnknownModel", "--model FOO DEVICE", "--model"},
                    UsageCase{"OptionWithoutValue", "DEVICE --wait", "--wait"},
                    UsageCase{"UnknownOption", "--speed 9600 DEVICE", "--speed"},
                    UsageCase{"UnknownShortOption", "-x DEVICE 'ID;'", "-x"},
                    UsageCase{"LongOptionWithOneDash", "-json DEVICE", "-json"},
                    UsageCase{"NoDevice", "--json", "no device"},
                    UsageCase{"AddressWithoutPort", "rfc2217://radio.example 'ID;'", "No port number"},
                    UsageCase{"AddressPortZero", "tcp://radio.example:0 'ID;'", "out of range"},
                    UsageCase{"AddressUnknownScheme", "telnet://radio.example:23 'ID;'", "Unknown scheme"},
                    UsageCase{"AddressEmptyHost", "tcp+tls://:3334 'ID;'", "No host"},
                    UsageCase{"CertificatesWithoutTls", "--ca /tmp/ca.crt tcp://127.0.0.1:1 'ID;'", "--ca"},
                    UsageCase{"CertificateWithoutKey", "--cert /tmp/c.crt tcp+tls://127.0.0.1:1 'ID;'", "--cert"},
                    UsageCase{"CaAndPinTogether", "--ca /tmp/a --pin /tmp/b tcp+tls://127.0.0.1:1", "--pin"},
                    UsageCase{"EmptyCertificateName", "--key '' tcp+tls://127.0.0.1:1", "--key"}),
    [](const testing::TestParamInfo<UsageCase>& row) { return std::string(row.param.name); });

TEST(ToolOptions, EveryAllowedValueIsTaken)
{
    // Valid options get as far as the device (which is not there: exit 1).
    for (const std::string options : {"--baud 4800 --wait 0 --gap 0 --parity N --model QX-620",
                                      "--baud 57600 --wait 3600000 --gap 3600000 --parity s --model QR-7730",
                                      "--baud 19200 --parity e --model QX-410", "--baud 38400 --parity M"}) {
        const ToolRun run = Tool(options + " /dev/ttyUSB-not-there 'MD;'");
        EXPECT_EQ(run.status, 1) << options << "\n" << run.output;
    }
}

// A pseudo-terminal of the test's own whose permissions it may change.
class OwnTerminal {
public:
    OwnTerminal()
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master >= 0 && ::grantpt(m_master) == 0 && ::unlockpt(m_master) == 0)
            m_path = ::ptsname(m_master);
    }
    ~OwnTerminal()
    {
        if (m_slave >= 0)
            ::close(m_slave);
        if (m_master >= 0)
            ::close(m_master);
    }
    const std::string& path() const { return m_path; }
    // Holds the terminal open for exclusive use, as a program using it does.
    bool holdExclusive()
    {
        m_slave = ::open(m_path.c_str(), O_RDWR | O_NOCTTY);
        return m_slave >= 0 && ::ioctl(m_slave, TIOCEXCL) == 0;
    }

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_path;
};

// The superuser passes every permission and exclusive-use check: the tool
// then runs as the user nobody, as an ordinary user would meet the device.
std::string AsOrdinaryUser()
{
    return ::geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
}

TEST(ToolOpenFailure, SaysTheServerRefused)
{
    // Port 1 on loopback: nobody listens there.
    const ToolRun probe = Tool("tcp://127.0.0.1:1 'ID;'");
    EXPECT_EQ(probe.status, 1) << probe.output;
    EXPECT_NE(probe.output.find("cannot open tcp://127.0.0.1:1: Connection refused by 127.0.0.1:1"), std::string::npos)
        << probe.output;
}

TEST(ToolOpenFailure, SaysThereIsNoSuchDevice)
{
    const ToolRun run = Tool("/dev/ttyUSB-not-there 'ID;'");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find("cannot open /dev/ttyUSB-not-there: no such device"), std::string::npos) << run.output;
}

TEST(ToolOpenFailure, SaysAFileIsNoSerialDevice)
{
    const ToolRun run = Tool("/dev/null 'ID;'");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find("cannot open /dev/null: not a serial device"), std::string::npos) << run.output;
}

TEST(ToolOpenFailure, SaysPermissionIsDenied)
{
    OwnTerminal terminal;
    ASSERT_FALSE(terminal.path().empty());
    ASSERT_EQ(::chmod(terminal.path().c_str(), ::geteuid() == 0 ? 0600 : 0), 0);
    const ToolRun run = Tool(terminal.path() + " 'ID;'", AsOrdinaryUser());
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find("cannot open " + terminal.path() + ": permission denied"), std::string::npos)
        << run.output;
}

TEST(ToolOpenFailure, SaysTheDeviceIsBusy)
{
    OwnTerminal terminal;
    ASSERT_FALSE(terminal.path().empty());
    ASSERT_EQ(::chmod(terminal.path().c_str(), 0666), 0);
    ASSERT_TRUE(terminal.holdExclusive());
    const ToolRun run = Tool(terminal.path() + " 'ID;'", AsOrdinaryUser());
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find("cannot open " + terminal.path() + ": device busy"), std::string::npos) << run.output;
}

TEST(ToolTrace, ATraceThatCannotBeWrittenIsSaid)
{
    PtyRadio radio;
    radio.answer("MD;", "MD3;");
    const std::string nowhere = "/nonexistent-folder/trace.txt";
    const ToolRun option = Tool("--wait 200 --trace " + nowhere + " " + radio.path() + " 'MD;'");
    EXPECT_EQ(option.status, 0) << option.output;
    EXPECT_NE(option.output.find("cannot write the trace to " + nowhere + ": No such file or directory"),
              std::string::npos)
        << option.output;
    const ToolRun environment = Tool("--wait 200 " + radio.path() + " 'MD;'", "ZEPHYRA_TRACE=" + nowhere + " ");
    EXPECT_EQ(environment.status, 0) << environment.output;
    EXPECT_NE(environment.output.find("zephyra-link: cannot write the trace to " + nowhere + " (ZEPHYRA_TRACE)"),
              std::string::npos)
        << environment.output;
    // The replies are still printed.
    EXPECT_NE(environment.output.find("MD 4134 ok=1: 3"), std::string::npos) << environment.output;
}

} // namespace
