// SPDX-License-Identifier: GPL-3.0-or-later
// single_instance.cpp - the program-wide lock held for the program's life.
#include "platform.h"

#include <QDir>
#include <QLockFile>
#include <QRegularExpression>
#include <QStandardPaths>

#include <cstdio>

namespace platform {

namespace {

QString lockFileName(const QString& name) {
    QString file = name;
    static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9._-]"));
    file.replace(unsafe, QStringLiteral("_"));
    return file + QStringLiteral(".lock");
}

QStringList lockFolders() {
    QStringList folders;
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty()) {
        folders << runtime;
    }
    folders << QDir::tempPath();
    return folders;
}

} // namespace

SingleInstance::SingleInstance(const QString& name) {
    for (const QString& folder : lockFolders()) {
        m_lock = std::make_unique<QLockFile>(QDir(folder).filePath(lockFileName(name)));
        // Only a lock whose owner process is gone counts as stale, however old.
        m_lock->setStaleLockTime(0);
        if (m_lock->tryLock(0)) {
            m_acquired = true;
            return;
        }
        if (m_lock->error() == QLockFile::LockFailedError) {
            return; // another instance runs
        }
        // The folder is unusable (permissions, missing): try the next one.
    }
    // No folder can hold the lock at all. Refusing to start would lock the
    // operator out for good, so the program runs without the guard.
    std::fprintf(stderr, "Zephyra: cannot create the single-instance lock; running without it\n");
    m_acquired = true;
}

SingleInstance::~SingleInstance() {
    if (m_lock && m_acquired) {
        m_lock->unlock();
    }
}

bool SingleInstance::acquired() const { return m_acquired; }

QString SingleInstance::lockPath() const { return m_lock ? m_lock->fileName() : QString(); }

} // namespace platform
