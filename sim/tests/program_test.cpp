// SPDX-License-Identifier: GPL-3.0-or-later
// zephyra-sim as a program: prints its device, answers on it, stops on
// SIGTERM, and refuses bad options with a message.
#include "wire.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Child {
    pid_t pid = -1;
    int out = -1;
};

Child spawn(const std::vector<std::string>& args)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(fds[1], 1);
        ::dup2(fds[1], 2);
        ::close(fds[0]);
        std::vector<char*> argv;
        for (const auto& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(ZEPHYRA_SIM_PATH, argv.data());
        ::_exit(127);
    }
    ::close(fds[1]);
    return {pid, fds[0]};
}

std::string readLine(int fd)
{
    std::string line;
    char c;
    while (::read(fd, &c, 1) == 1 && c != '\n')
        line += c;
    return line;
}

std::string readAll(int fd)
{
    std::string text;
    char buf[512];
    ssize_t n;
    while ((n = ::read(fd, buf, sizeof buf)) > 0)
        text.append(buf, static_cast<std::size_t>(n));
    return text;
}

int exitCode(pid_t pid)
{
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(Program, ServesItsDeviceUntilTerminated)
{
    Child c = spawn({"zephyra-sim", "--quiet", "--identity", "18"});
    ASSERT_GT(c.pid, 0);
    const std::string path = readLine(c.out);
    ASSERT_EQ(path.rfind("/dev/", 0), 0u) << path;
    {
        qxsim_test::Wire wire(path);
        ASSERT_TRUE(wire.isOpen());
        EXPECT_EQ(wire.ask("ID;"), "ID018;");
        // Still there a while later, and still answering: it serves until
        // it is told to stop, not until its first client is done.
        ::usleep(300 * 1000);
        int status = 0;
        EXPECT_EQ(::waitpid(c.pid, &status, WNOHANG), 0) << "the program ended on its own";
        EXPECT_EQ(wire.ask("ID;"), "ID018;");
    }
    ::kill(c.pid, SIGTERM);
    EXPECT_EQ(exitCode(c.pid), 0);
    ::close(c.out);
}

TEST(Program, HelpAndBadOptions)
{
    Child help = spawn({"zephyra-sim", "--help"});
    const std::string text = readAll(help.out);
    EXPECT_EQ(exitCode(help.pid), 0);
    EXPECT_NE(text.find("--faults NAME"), std::string::npos);
    EXPECT_NE(text.find("--identity N"), std::string::npos);
    ::close(help.out);

    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"zephyra-sim", "--faults", "storm"},
          std::vector<std::string>{"zephyra-sim", "--baud", "1234"},
          std::vector<std::string>{"zephyra-sim", "--identity"},
          std::vector<std::string>{"zephyra-sim", "--frobnicate"}}) {
        Child c = spawn(bad);
        const std::string err = readAll(c.out);
        EXPECT_EQ(exitCode(c.pid), 2) << bad.back();
        EXPECT_NE(err.find("zephyra-sim: "), std::string::npos) << err;
        ::close(c.out);
    }
}

TEST(Program, SaysATraceItCannotWrite)
{
    Child c = spawn({"zephyra-sim", "--quiet", "--trace", "/nonexistent-folder/line.txt"});
    ASSERT_GT(c.pid, 0);
    std::string said;
    std::string line;
    while ((line = readLine(c.out)).rfind("/dev/", 0) != 0 && !line.empty())
        said += line + "\n";
    EXPECT_EQ(line.rfind("/dev/", 0), 0u) << said << line;
    EXPECT_NE(said.find("zephyra-sim: cannot write the trace to /nonexistent-folder/line.txt: "), std::string::npos)
        << said;
    ::kill(c.pid, SIGTERM);
    EXPECT_EQ(exitCode(c.pid), 0);
    ::close(c.out);
}

}  // namespace
