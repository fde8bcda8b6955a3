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
// settings are neither read nor written. A picture is written whole or not
// at all: a failed write leaves whatever stood at its path. --help prints
// the usage line.
#pragma once

#include <platform.h>

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QImage>
#include <QImageWriter>
#include <QPixmap>
#include <QSaveFile>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>
#include <QWidget>

#include <cstdio>
#include <cstring>

namespace render_tool {

// Writes `picture` to `path` as PNG through a temporary file beside it that
// takes the path's place only once complete. On failure `why` says why.
inline bool WritePng(const QImage& picture, const QString& path, QString* why) {
    if (picture.isNull()) {
        *why = QStringLiteral("nothing was drawn");
        return false;
    }
    if (!path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)) {
        *why = QStringLiteral("a picture's name ends in .png");
        return false;
    }
    QSaveFile file(path);
    QImageWriter writer(&file, "png");
    if (!file.open(QIODevice::WriteOnly)) {
        *why = file.errorString();
        return false;
    }
    if (!writer.write(picture)) {
        *why = writer.errorString();
        return false; // the temporary file goes with `file`
    }
    if (!file.commit()) {
        *why = file.errorString();
        return false;
    }
    return true;
}

// The window as it is drawn now, or a null picture for no window.
inline QImage PictureOf(QWidget* window) { return window != nullptr ? window->grab().toImage() : QImage(); }

// The one argument a tool takes, or its status when there is none to act on:
// 0 after --help (the usage line on standard output), 2 with the usage line
// on standard error for a missing or unknown argument. `what` names it.
inline int CheckArgument(int argc, char** argv, const char* name, const char* what) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::printf("usage: %s-render %s\n", name, what);
        return 0;
    }
    if (argc != 2 || argv[1][0] == '-' || argv[1][0] == '\0') {
        std::fprintf(stderr, "usage: %s-render %s\n", name, what);
        return 2;
    }
    return -1;
}

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
        return Save(PictureOf(window), name);
    }
    bool Save(const QImage& picture, const QString& name) {
        QString why;
        return Note(WritePng(picture, path(name), &why), name, why);
    }

    // Counts the picture of `name`, written (or not, for the reason `why`)
    // by the caller's own means.
    bool Note(bool written, const QString& name, const QString& why) {
        if (written) {
            std::printf("%s\n", qPrintable(path(name)));
        } else {
            std::fprintf(stderr, "%s-render: %s not written: %s\n", qPrintable(m_tool), qPrintable(path(name)),
                         qPrintable(why));
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

// While it lives, the program's profile is an empty one of its own, made
// for the run and removed after it.
class OwnProfile {
public:
    OwnProfile() { QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_folder.path()); }

private:
    QTemporaryDir m_folder;
};

// The application set up as the program's, on an empty profile of its own
// that lives as long as this object.
class ToolApplication {
public:
    ToolApplication(int& argc, char** argv) : m_app(argc, argv) { platform::InitApplication(); }

private:
    OwnProfile m_profile; // outlives the application: windows save on its end
    QApplication m_app;
};

// Runs the folder tool `name`-render: a widget application set up as the
// program's, the folder made, then `draw` with its pictures. Returns the
// tool's exit status (2 with the usage line when the folder is not given,
// 1 when it cannot be made or a picture was not written).
template <typename Draw>
int RunRenderTool(int argc, char** argv, const char* name, Draw draw) {
    if (const int status = CheckArgument(argc, argv, name, "<folder>"); status >= 0)
        return status;
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
// the usage line when no picture is given, 1 when it was not written).
template <typename Draw>
int RunRenderToFile(int argc, char** argv, const char* name, Draw draw, void (*destroy)()) {
    if (const int status = CheckArgument(argc, argv, name, "OUT.png"); status >= 0)
        return status;
    ToolApplication app(argc, argv);
    QWidget* window = draw();
    QApplication::processEvents();
    QString why;
    const bool ok = WritePng(PictureOf(window), QString::fromLocal8Bit(argv[1]), &why);
    destroy();
    if (ok) {
        std::printf("%s\n", argv[1]);
    } else {
        std::fprintf(stderr, "%s-render: %s not written: %s\n", name, argv[1], qPrintable(why));
    }
    return ok ? 0 : 1;
}

} // namespace render_tool
