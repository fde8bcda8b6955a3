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
#include <functional>
#include <initializer_list>
#include <memory>

namespace share_test {

// `daemon` started in `process` with `args` and "-T 127.0.0.1 -t PORT" on a
// free port; PORT once it accepts a connection (tried `tries` times with
// `pause` in between), 0 when it does not start.
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
            if (c.Connect(port))
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
