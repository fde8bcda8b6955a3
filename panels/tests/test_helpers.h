// SPDX-License-Identifier: GPL-3.0-or-later
// Shared pieces of the panel tests: a main window that collects the window
// messages posted to it, and a fixture that starts every test with no panel,
// an empty "WindowPos" section and the recorded help requests cleared (and
// one that opens the memory channel editor on top).
#pragma once

#include "frame_registry.h"

#include <main_window_recorder.h>

#include <pandor.h>
#include <platform.h>

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace pandor::test {

using testsupport::Posted;

// Stands in for the console: registered as the main window, it records every
// window message of the panels.
class MessageSink : public testsupport::MainWindowRecorder {
public:
    MessageSink() : MainWindowRecorder(platform::kUmMemoryEditEnd, platform::kUmSatNameEnd) {}
};

inline const char* const kProfileKeys[] = {"Agc", "Mch", "Mgr", "Mlt", "Set", "Sgr", "Smn"};

inline void ClearSavedPositions() {
    // Every profile write reaches the disk: write only what is there.
    for (const char* key : kProfileKeys) {
        const QString name = QString::fromLatin1(key);
        if (!platform::GetProfileString(QStringLiteral("WindowPos"), name, QString()).isEmpty()) {
            platform::WriteProfileString(QStringLiteral("WindowPos"), name, QString());
        }
    }
}

inline void Deliver() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

inline void PressKey(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &release);
}

inline int CountWindowsTitled(const QString& title) {
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->windowTitle() == title) {
            ++count;
        }
    }
    return count;
}

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        PandorUnload();
        ClearSavedPositions();
        platform::SetMainWindow(&sink);
        platform::SetHelpViewer([this](int context, const QString&) { helpContexts.push_back(context); });
        Deliver();
        sink.received.clear();
    }
    void TearDown() override {
        PandorUnload();
        platform::SetMainWindow(nullptr);
        platform::SetHelpViewer(nullptr);
        platform::SetDialogProvider(nullptr);
        Deliver();
    }

    MessageSink sink;
    std::vector<int> helpContexts;
};

// The memory channel editor, opened as the console opens it.
class MemoryPanelTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        RadioMchView(nullptr);
        panel = Panels().memory.data();
        ASSERT_NE(panel, nullptr);
    }

    CMemoryPanel* panel = nullptr;
};

} // namespace pandor::test
