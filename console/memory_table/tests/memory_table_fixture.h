// SPDX-License-Identifier: GPL-3.0-or-later
// memory_table_fixture.h - the "Memory Channels" window on the virtual
// transceiver's link: dialogs scripted, backups in a folder of the test's
// own, the write's preview answered and remembered, and the steps of a read
// or write run to their end.
#pragma once

#include "memory_fixture.h"

#include <memory_table.h>
#include <platform.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace memory_test {

// Writes `bytes` to the file at `path`; false when it cannot be opened.
inline bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(bytes);
    return true;
}

class TableTest : public RadioTest {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(RadioTest::SetUp());
        dialogs = std::make_shared<platform::ScriptedDialogs>();
        platform::SetDialogProvider(dialogs);
        ASSERT_TRUE(folder.isValid());
        memory_table::ConsoleHooks hooks;
        hooks.link = [this] { return &link; };
        hooks.operationRunning = [this] { return operationRunning; };
        hooks.identification = [] { return 19; };
        window = std::make_unique<memory_table::MemoryTableWindow>(hooks);
        window->SetBackupFolder(folder.path());
        window->SetWriteConfirmation([this](const QString& changes, const QString& backup) {
            shownChanges = changes;
            shownBackup = backup;
            return confirmWrite;
        });
    }
    void TearDown() override {
        window.reset();
        platform::SetDialogProvider(nullptr);
        RadioTest::TearDown();
    }
    void ReadAll() {
        window->ReadFromRadio();
        window->RunToEnd();
        ASSERT_TRUE(window->HasRead()) << window->statusText().toStdString();
    }
    void WriteAll() {
        window->WriteToRadio();
        window->RunToEnd();
    }
    // A file of the test's folder holding `bytes`.
    QString File(const QString& name, const QByteArray& bytes) {
        const QString path = QDir(folder.path()).filePath(name);
        EXPECT_TRUE(WriteFile(path, bytes));
        return path;
    }
    // Lets the window's steps run until `done` holds or the time is up.
    bool PumpUntil(const std::function<bool()>& done, int milliseconds = 5000) {
        return platform::PumpUntil(done, std::chrono::milliseconds(milliseconds));
    }

    std::shared_ptr<platform::ScriptedDialogs> dialogs;
    QTemporaryDir folder;
    std::unique_ptr<memory_table::MemoryTableWindow> window;
    bool operationRunning = false; // the console's operation guard, as the window asks it
    bool confirmWrite = true;      // the answer to the write's preview
    QString shownChanges;
    QString shownBackup;
};

} // namespace memory_test
