// SPDX-License-Identifier: GPL-3.0-or-later
// daemon_process.h - the rig-control daemon of the sharing tests (started on
// a free loopback port, waited for until it accepts connections).
#pragma once

#include "line_client.h"

#include <QHostAddress>
#include <QProcess>
#include <QStringList>
#include <QTcpServer>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <memory>
#include <set>
#include <sstream>
#include <string>

namespace share_test {

// Whether process `pid` holds the socket listening on loopback `port`: the
// free port found for a daemon can be taken by another test's server before
// the daemon binds it, and a connection then reaches that server instead.
// True when the system does not say (no /proc).
inline bool ListensOn(qint64 pid, std::uint16_t port) {
    std::set<std::string> inodes;
    bool readable = false;
    for (const char* table : {"/proc/net/tcp", "/proc/net/tcp6"}) {
        std::ifstream in(table);
        readable = readable || in.is_open();
        std::string line;
        std::getline(in, line); // the heading
        while (std::getline(in, line)) {
            std::istringstream fields(line);
            std::string slot, local, remote, state, queues, timer, retransmits, uid, timeout, inode;
            fields >> slot >> local >> remote >> state >> queues >> timer >> retransmits >> uid >> timeout >> inode;
            const auto colon = local.rfind(':');
            if (state == "0A" && colon != std::string::npos &&
                std::stoul(local.substr(colon + 1), nullptr, 16) == port)
                inodes.insert("socket:[" + inode + "]");
        }
    }
    if (!readable)
        return true;
    std::error_code error;
    for (const auto& fd : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd", error)) {
        const auto target = std::filesystem::read_symlink(fd.path(), error);
        if (!error && inodes.count(target.string()) != 0)
            return true;
    }
    return false;
}

// `daemon` started in `process` with `args` and "-T 127.0.0.1 -t PORT" on a
// free port; PORT once it accepts a connection there itself (tried `tries`
// times with `pause` in between), 0 when it does not start.
inline std::uint16_t StartDaemon(std::unique_ptr<QProcess>& process, const QString& daemon, const QStringList& args,
                                 int tries, const std::function<void()>& pause) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        quint16 port = 0;
        {
            QTcpServer probe;
            if (!probe.listen(QHostAddress::LocalHost, 0))
                continue;
            port = probe.serverPort();
        }
        process = std::make_unique<QProcess>();
        process->start(daemon, args + QStringList{QStringLiteral("-T"), QStringLiteral("127.0.0.1"),
                                                  QStringLiteral("-t"), QString::number(port)});
        if (!process->waitForStarted(5000))
            continue;
        for (int i = 0; i < tries; ++i) {
            LineClient c;
            if (c.Connect(port) && ListensOn(process->processId(), port))
                return port;
            if (process->state() == QProcess::NotRunning)
                break;
            pause();
        }
        process->kill();
        process->waitForFinished(3000);
    }
    return 0;
}

// Each of `processes` still there killed, waited for (up to `waitMs`) and dropped.
inline void StopProcesses(std::initializer_list<std::unique_ptr<QProcess>*> processes, int waitMs) {
    for (std::unique_ptr<QProcess>* p : processes) {
        if (*p) {
            (*p)->kill();
            (*p)->waitForFinished(waitMs);
            p->reset();
        }
    }
}

} // namespace share_test
