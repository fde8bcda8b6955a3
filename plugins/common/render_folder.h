// SPDX-License-Identifier: GPL-3.0-or-later
// The render tools' folder of pictures: <folder>/<prefix>_<case>.png, one a
// case, and whether every picture was written; the frame of a tool that
// writes there; and the frame of a tool that writes one picture.
#pragma once

#include <platform.h>

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QWidget>

#include <cstdio>

namespace plugin_exports {

class RenderFolder {
public:
    RenderFolder(const char* folder, const char* prefix)
        : m_folder(QString::fromLocal8Bit(folder)), m_prefix(QLatin1String(prefix)) {
        QDir().mkpath(m_folder);
    }

    // Lets the window settle, then writes it as the picture of `name`.
    void Save(QWidget* window, const char* name) {
        QApplication::processEvents();
        m_ok = window->grab().save(m_folder + QStringLiteral("/%1_%2.png").arg(m_prefix, QLatin1String(name))) && m_ok;
    }
    // The tool's exit status: 0 when every picture was written.
    int ExitCode() const { return m_ok ? 0 : 1; }

private:
    QString m_folder;
    QString m_prefix;
    bool m_ok = true;
};

// Runs the render tool `name`-render, whose one argument is the folder: a
// widget application, then `draw` with the folder's pictures. Returns the
// tool's exit status (2 with the usage line when the folder is not given).
template <typename Draw>
int RunRenderTool(int argc, char** argv, const char* name, Draw draw) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s-render <folder>\n", name);
        return 2;
    }
    QApplication app(argc, argv);
    RenderFolder pictures(argv[1], name);
    draw(pictures);
    return pictures.ExitCode();
}

// Runs the render tool `name`-render, whose one argument is the picture to
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
    QApplication app(argc, argv);
    platform::InitApplication();
    QWidget* window = draw();
    QApplication::processEvents();
    const bool ok = window->grab().save(QString::fromLocal8Bit(argv[1]));
    destroy();
    return ok ? 0 : 1;
}

} // namespace plugin_exports
