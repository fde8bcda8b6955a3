// SPDX-License-Identifier: GPL-3.0-or-later
// render_tool.h - the frame every render tool shares: the tools that draw a
// window headless to PNG for a person to look at.
//
// A folder tool (`name`-render FOLDER) writes <FOLDER>/<name>_<case>.png,
// one picture a case, prints each picture's path as it is written, names on
// standard error each one that could not be, and exits 1 if any could not.
// A file tool (`name`-render OUT.png) writes one picture, and says so alike.
// Both run on a profile of their own, made empty for the run: the windows
// start from their defaults, and the operator's saved positions and
// settings are neither read nor written.
#pragma once

#include <platform.h>

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>
#include <QWidget>

#include <cstdio>

namespace render_tool {

class RenderFolder {
public:
    // The pictures of the tool `tool`-render; their names start with the
    // tool's name, "-" written "_".
    RenderFolder(const QString& folder, const char* tool)
        : m_folder(folder), m_tool(QLatin1String(tool)), m_prefix(QString(m_tool).replace(QLatin1Char('-'), QLatin1Char('_'))) {}

    // <folder>/<prefix>_<name>.png; <folder>/<prefix>.png for an empty name.
    QString path(const QString& name) const {
        const QString file = name.isEmpty() ? m_prefix : QStringLiteral("%1_%2").arg(m_prefix, name);
        return QDir(m_folder).filePath(file + QStringLiteral(".png"));
    }

    // Lets the window settle, then writes it as the picture of `name`. A
    // missing window is a picture not written.
    bool Save(QWidget* window, const QString& name) {
        QApplication::processEvents();
        return Note(window != nullptr && window->grab().save(path(name)), name);
    }
    bool Save(const QImage& picture, const QString& name) { return Note(picture.save(path(name)), name); }

    // Counts the picture of `name`, written (or not) by the caller's own means.
    bool Note(bool written, const QString& name) {
        if (written) {
            std::printf("%s\n", qPrintable(path(name)));
        } else {
            std::fprintf(stderr, "%s-render: %s not written\n", qPrintable(m_tool), qPrintable(path(name)));
            m_ok = false;
        }
        return written;
    }

    // A step the pictures needed that went wrong: said, and the run fails.
    void Fail(const QString& why) {
        std::fprintf(stderr, "%s-render: %s\n", qPrintable(m_tool), qPrintable(why));
        m_ok = false;
    }

    // The tool's exit status: 0 when every picture was written.
    int ExitCode() const { return m_ok ? 0 : 1; }

private:
    QString m_folder;
    QString m_tool;
    QString m_prefix;
    bool m_ok = true;
};

// Stands in for the console's main window while it lives: the windows take
// its font (Times New Roman, 13 pixels) as they take the console's.
class ConsoleStandIn {
public:
    ConsoleStandIn() {
        QFont font(QStringLiteral("Times New Roman"));
        font.setPixelSize(13);
        m_window.setFont(font);
        platform::SetMainWindow(&m_window);
    }
    ~ConsoleStandIn() { platform::SetMainWindow(nullptr); }
    ConsoleStandIn(const ConsoleStandIn&) = delete;
    ConsoleStandIn& operator=(const ConsoleStandIn&) = delete;

private:
    QWidget m_window;
};

// The application set up as the program's, on an empty profile of its own
// that lives as long as this object.
class ToolApplication {
public:
    ToolApplication(int& argc, char** argv) : m_app(argc, argv) {
        platform::InitApplication();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_profile.path());
    }

private:
    QTemporaryDir m_profile; // outlives the application: windows save on its end
    QApplication m_app;
};

// Runs the folder tool `name`-render: a widget application set up as the
// program's, the folder made, then `draw` with its pictures. Returns the
// tool's exit status (2 with the usage line when the folder is not given,
// 1 when it cannot be made or a picture was not written).
template <typename Draw>
int RunRenderTool(int argc, char** argv, const char* name, Draw draw) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s-render <folder>\n", name);
        return 2;
    }
    ToolApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "%s-render: cannot create %s\n", name, argv[1]);
        return 1;
    }
    RenderFolder pictures(folder, name);
    draw(pictures);
    return pictures.ExitCode();
}

// Runs the file tool `name`-render, whose one argument is the picture to
// write: a widget application set up as the program's, then `draw`, which
// opens the window and returns it; once events have settled the window is
// written and `destroy` closes it. Returns the tool's exit status (2 with
// the usage line when no picture is given).
template <typename Draw>
int RunRenderToFile(int argc, char** argv, const char* name, Draw draw, void (*destroy)()) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s-render OUT.png\n", name);
        return 2;
    }
    ToolApplication app(argc, argv);
    QWidget* window = draw();
    QApplication::processEvents();
    const bool ok = window != nullptr && window->grab().save(QString::fromLocal8Bit(argv[1]));
    destroy();
    if (ok) {
        std::printf("%s\n", argv[1]);
    } else {
        std::fprintf(stderr, "%s-render: %s not written\n", name, argv[1]);
    }
    return ok ? 0 : 1;
}

} // namespace render_tool
