// console_app.cpp - the application object.
#include "console_app.h"

#include <QImageWriter>
#include <QPixmap>

#include <cstdio>

ConsoleApp::ConsoleApp(ConsoleOptions options, Runner runner)
    : m_options(std::move(options)), m_runner(std::move(runner)) {
    if (!m_runner) {
        m_runner = [](ConsoleDialog& console) { return console.exec(); };
    }
}

ConsoleApp::~ConsoleApp() { ExitInstance(); }

int ConsoleApp::InitInstance() {
    m_instance = std::make_unique<platform::SingleInstance>();
    if (!m_instance->acquired()) {
        m_instance.reset();
        return 0; // another console runs: end silently
    }
    platform::InitApplication();
    {
        ConsoleDialog console(m_options);
        m_runner(console);
        console.DestroyWindow();
    }
    ExitInstance();
    return 0;
}

void ConsoleApp::ExitInstance() { m_instance.reset(); }

bool ConsoleApp::HoldsInstance() const { return m_instance != nullptr && m_instance->acquired(); }

bool RenderConsole(const QString& path, bool showLayout) {
    ConsoleOptions options;
    options.showSplash = false;
    options.persistent = false;
    options.keepTemplateTexts = showLayout;
    ConsoleDialog console(options);
    const QPixmap picture = console.grab();
    QImageWriter writer(path, "png");
    if (picture.isNull() || !writer.write(picture.toImage())) {
        std::fprintf(stderr, "zephyra: cannot write %s: %s\n", qPrintable(path),
                     qPrintable(writer.errorString()));
        return false;
    }
    return true;
}
