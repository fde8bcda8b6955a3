// SPDX-License-Identifier: GPL-3.0-or-later
// The visual scan window opened against the virtual radio, headless.
#pragma once

#include "glimra_internal.h"
#include "graph_widget.h"
#include "sim_fixture.h"
#include "vscan_window.h"

#include <glimra.h>
#include <kestrin.h>
#include <main_window_recorder.h>
#include <platform.h>

#include <QApplication>
#include <QComboBox>
#include <QRadioButton>
#include <QSlider>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace glimra::testing {

using MainWindowStub = testsupport::MainWindowRecorder;

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sim().connected());
        sim().resetRadio();
        // The console keeps auto-information on while connected.
        sim().radio().modify([](qxsim::State& s) { s.ai = 2; });
        dialogs = std::make_shared<platform::ScriptedDialogs>();
        platform::SetDialogProvider(dialogs);
        mainWindow = std::make_unique<MainWindowStub>();
        platform::SetMainWindow(mainWindow.get());
        prime();
    }

    void TearDown() override {
        GlimraDestroy();
        platform::SetMainWindow(nullptr);
        platform::SetDialogProvider(nullptr);
        mainWindow.reset();
        sim().resetRadio();
    }

    static SimLink& sim() { return SimLink::instance(); }
    CCorvan& link() { return sim().link(); }

    // Asks the radio for what the window reads from the store, and waits
    // until every answer is stored.
    void prime() {
        CCorvan& l = link();
        AskStartReadings(l);
        l.ConnFA("R", "");
        l.ConnFC("R", "");
        ASSERT_TRUE(sim().sync());
        sim().radio().clearReceived();
    }

    CVisualScanDlg* open() {
        GlimraView(nullptr);
        window = TheWindow();
        return window;
    }

    const CVisualScanDlg::Controls& ui() const { return window->controls(); }

    // Runs the event loop until `done` holds or `limitMs` passes.
    static bool pumpUntil(const std::function<bool()>& done, int limitMs = 10000) {
        return platform::PumpUntil(done, std::chrono::milliseconds(limitMs));
    }
    static void pumpFor(int ms) { platform::PumpFor(std::chrono::milliseconds(ms)); }

    // A short interval for sweeps under test (the list's own entries start
    // at 100 ms).
    void shortInterval(int ms) {
        ui().intervalList->addItem(QString::number(ms));
        ui().intervalList->setCurrentIndex(ui().intervalList->count() - 1);
    }

    std::int64_t channel(int i) const {
        const auto& c = window->control();
        return ChannelFrequency(c.centre.load(), c.step.load(), c.span.load(), i);
    }

    bool stopped() const { return window->control().stopped.load() != 0; }
    bool scanning() const { return window->control().scanning.load() != 0; }

    std::shared_ptr<platform::ScriptedDialogs> dialogs;
    std::unique_ptr<MainWindowStub> mainWindow;
    CVisualScanDlg* window = nullptr;
};

} // namespace glimra::testing
