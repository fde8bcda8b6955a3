// SPDX-License-Identifier: GPL-3.0-or-later
// ser2net for the tests, started and stopped by process id.
#include "ser2net_server.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <netinet/in.h>
#include <sstream>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

bool Accepts(std::uint16_t port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(port);
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    ::close(fd);
    return ok;
}

} // namespace

Ser2netServer::~Ser2netServer()
{
    stop();
    if (!m_dir.empty()) {
        for (const char* f : {"/ser2net.yaml", "/ser2net.log", "/ser2net.pid"})
            ::unlink((m_dir + f).c_str());
        ::rmdir(m_dir.c_str());
    }
}

std::string Ser2netServer::Program()
{
    for (const char* p : {"/usr/sbin/ser2net", "/usr/bin/ser2net", "/usr/local/sbin/ser2net", "/usr/local/bin/ser2net"})
        if (::access(p, X_OK) == 0)
            return p;
    return {};
}

std::uint16_t Ser2netServer::FreePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    std::uint16_t port = 0;
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) == 0)
        port = ntohs(a.sin_port);
    if (fd >= 0)
        ::close(fd);
    return port;
}

std::size_t Ser2netServer::add(Line line)
{
    if (line.port == 0)
        line.port = FreePort();
    m_lines.push_back(std::move(line));
    return m_lines.size() - 1;
}

bool Ser2netServer::start(std::string* error)
{
    const std::string program = Program();
    if (program.empty()) {
        if (error)
            *error = "ser2net is not installed";
        return false;
    }
    if (m_dir.empty()) {
        char dir[] = "/tmp/zephyra-ser2net-XXXXXX";
        if (::mkdtemp(dir) == nullptr) {
            if (error)
                *error = "no temporary directory";
            return false;
        }
        m_dir = dir;
    }
    std::ofstream yaml(m_dir + "/ser2net.yaml");
    int n = 0;
    for (const auto& l : m_lines) {
        yaml << "connection: &line" << n++ << "\n"
             << "  accepter: " << (l.accepter.empty() ? "" : l.accepter + ",") << "tcp,127.0.0.1," << l.port << "\n"
             << "  connector: serialdev," << l.device << ",9600n81,local\n"
             << "  options:\n    kickolduser: true\n";
        std::istringstream extra(l.options);
        for (std::string line; std::getline(extra, line);)
            if (!line.empty())
                yaml << "    " << line << "\n";
    }
    yaml.close();
    const std::string config = m_dir + "/ser2net.yaml";
    const std::string pidFile = m_dir + "/ser2net.pid";
    const std::string logFile = m_dir + "/ser2net.log";
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int out = ::open(logFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        if (out >= 0) {
            ::dup2(out, 1);
            ::dup2(out, 2);
        }
        ::execl(program.c_str(), program.c_str(), "-n", "-d", "-u", "-P", pidFile.c_str(), "-c", config.c_str(),
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    if (pid < 0) {
        if (error)
            *error = "fork failed";
        return false;
    }
    m_pid = pid;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (;;) {
        bool all = true;
        for (const auto& l : m_lines)
            all = all && Accepts(l.port);
        if (all)
            return true;
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            if (error)
                *error = "ser2net ended at start: " + log();
            return false;
        }
        if (std::chrono::steady_clock::now() > until) {
            if (error)
                *error = "ser2net did not listen within 5 s: " + log();
            stop();
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

void Ser2netServer::stop()
{
    if (m_pid <= 0)
        return;
    ::kill(m_pid, SIGTERM);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    int status = 0;
    while (::waitpid(m_pid, &status, WNOHANG) != m_pid) {
        if (std::chrono::steady_clock::now() > until) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    m_pid = -1;
}

std::string Ser2netServer::log() const
{
    std::ifstream in(m_dir + "/ser2net.log");
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}
