// SPDX-License-Identifier: GPL-3.0-or-later
// The single-instance lock: one holder, a stale lock taken over.
#include <platform.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace {

// A process id that belonged to a process that has ended.
pid_t deadPid() {
    const pid_t child = fork();
    if (child == 0) {
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return child;
}

// A lock file as a run of this program leaves it: process id, program
// name, host.
void writeLockFile(const QString& path, qint64 pid) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    file.write(QByteArray::number(pid) + '\n' + program.toUtf8() + '\n' +
               QSysInfo::machineHostName().toUtf8() + '\n');
}

TEST(PlatformInstance, SecondHolderIsRefusedUntilTheFirstEnds) {
    QString path;
    {
        platform::SingleInstance first("Zephyra Test One");
        ASSERT_TRUE(first.acquired());
        path = first.lockPath();
        EXPECT_TRUE(QFileInfo::exists(path));
        platform::SingleInstance second("Zephyra Test One");
        EXPECT_FALSE(second.acquired());
        platform::SingleInstance other("Zephyra Test Other");
        EXPECT_TRUE(other.acquired()); // a different name is a different lock
    }
    EXPECT_FALSE(QFileInfo::exists(path));
    platform::SingleInstance again("Zephyra Test One");
    EXPECT_TRUE(again.acquired());
}

TEST(PlatformInstance, LockLivesInTheRuntimeFolder) {
    // Not the program's own name: test processes may share the folder.
    platform::SingleInstance lock("BRAVELL Zephyra platform-test");
    ASSERT_TRUE(lock.acquired());
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    ASSERT_FALSE(runtime.isEmpty());
    EXPECT_TRUE(lock.lockPath().startsWith(runtime)) << lock.lockPath().toStdString();
    EXPECT_TRUE(lock.lockPath().endsWith("/BRAVELL_Zephyra_platform-test.lock"));
}

TEST(PlatformInstance, LockOfACrashedRunIsTakenOver) {
    QString path;
    {
        platform::SingleInstance probe("Zephyra Test Stale");
        ASSERT_TRUE(probe.acquired());
        path = probe.lockPath();
    }
    writeLockFile(path, deadPid());
    platform::SingleInstance next("Zephyra Test Stale");
    EXPECT_TRUE(next.acquired());
    platform::SingleInstance another("Zephyra Test Stale");
    EXPECT_FALSE(another.acquired());
}

TEST(PlatformInstance, LockOfARunningProcessHoldsHoweverOld) {
    QString path;
    {
        platform::SingleInstance probe("Zephyra Test Live");
        ASSERT_TRUE(probe.acquired());
        path = probe.lockPath();
    }
    writeLockFile(path, QCoreApplication::applicationPid());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addDays(-30), QFileDevice::FileModificationTime));
    file.close();
    platform::SingleInstance next("Zephyra Test Live");
    EXPECT_FALSE(next.acquired());
    QFile::remove(path);
}

} // namespace
