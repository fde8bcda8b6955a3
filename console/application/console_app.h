// SPDX-License-Identifier: GPL-3.0-or-later
// console_app.h - the application object: one running instance, the
// profile's name, and the console run until it closes.
#pragma once

#include "console_dialog.h"

#include <QString>

#include <functional>
#include <memory>

class ConsoleApp {
public:
    // How the console runs once built (RunConsole by default; tests replace it).
    using Runner = std::function<int(ConsoleDialog&)>;

    explicit ConsoleApp(ConsoleOptions options, Runner runner = {});
    ~ConsoleApp();

    // Takes the single-instance lock and runs the console. A second start
    // while another runs ends at once and silently. Returns the exit code.
    int InitInstance();
    // Releases the lock when one was taken.
    void ExitInstance();
    bool HoldsInstance() const;

private:
    ConsoleOptions m_options;
    Runner m_runner;
    std::unique_ptr<platform::SingleInstance> m_instance;
};

// Shows the console and runs the event loop until it closes; returns its
// result. The console is not modal: every secondary window (help, panels,
// equaliser, visual scan, the outside windows) is a top-level window of its
// own and takes the operator's input beside it.
int RunConsole(ConsoleDialog& console);

// Runs `run` with the program's profile a copy of the operator's made for
// the run, and returns its result: what is read is the operator's (the
// line's speed among it), and what is written, such as the places windows
// save as they close, goes to the copy and is gone with it. Every picture of
// the console is drawn in one.
bool OnProfileCopy(const std::function<bool()>& run);

// Draws the started console (no start-up picture, no lock, nothing saved)
// to a PNG file. Returns false with a message on stderr when it cannot be
// written.
bool RenderConsole(const QString& path, bool showLayout);
// The same after Control > ON on the radio at `port` (the built-in
// simulator when empty), once the initial read of every setting has ended;
// false when the console did not become ready or the file cannot be written.
bool RenderConnectedConsole(const QString& path, const QString& port = {});
