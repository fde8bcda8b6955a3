// SPDX-License-Identifier: GPL-3.0-or-later
// tonwell-render: opens the samples window headless for each type and writes
// it to <folder>/tonwell_samples_<type>.png, and every sample's picture to
// <folder>/tonwell_sample_<type>_<sample>.png, to look at them.
//
//   QT_QPA_PLATFORM=offscreen tonwell-render /tmp/equaliser
#include "eqg_picture.h"
#include "eqg_window.h"
#include "samples.h"

#include <platform.h>
#include <tonwell.h>

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QPixmap>
#include <QWidget>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tonwell-render <folder>\n");
        return 2;
    }
    QApplication app(argc, argv);
    platform::InitApplication();
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "tonwell-render: cannot create %s\n", argv[1]);
        return 1;
    }
    QWidget console; // the windows take the console's font
    QFont consoleFont(QStringLiteral("Times New Roman"));
    consoleFont.setPixelSize(13);
    console.setFont(consoleFont);
    platform::SetMainWindow(&console);

    int failures = 0;
    auto saved = [&failures](bool ok, const QString& path) {
        if (ok) {
            std::printf("%s\n", qPrintable(path));
        } else {
            std::fprintf(stderr, "tonwell-render: %s failed\n", qPrintable(path));
            ++failures;
        }
    };
    for (int type = 1; type <= tonwell::kSampleTypes; ++type) {
        for (int sample = 1; sample <= tonwell::kSamplesPerType; ++sample) {
            const QString path = folder.filePath(QStringLiteral("tonwell_sample_%1_%2.png").arg(type).arg(sample));
            saved(tonwell::SamplePicture(tonwell::SampleTapText(type, sample), type).save(path), path);
        }
    }
    RadioEqgView(nullptr);
    tonwell::CEqgWindow* window = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* found = qobject_cast<tonwell::CEqgWindow*>(widget)) window = found;
    }
    if (window == nullptr) {
        std::fprintf(stderr, "tonwell-render: no samples window\n");
        return 1;
    }
    for (int type = 1; type <= tonwell::kSampleTypes; ++type) {
        window->SelectType(type);
        window->SelectSample(type % tonwell::kSamplesPerType + 1);
        QApplication::processEvents();
        const QString path = folder.filePath(QStringLiteral("tonwell_samples_%1.png").arg(type));
        saved(window->grab().save(path), path);
    }
    RadioEqgDestroy();
    RadioEqsView(nullptr);
    QApplication::processEvents();
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->windowTitle() == QLatin1String("Audio Editor - Design")) {
            const QString path = folder.filePath(QStringLiteral("tonwell_design.png"));
            saved(widget->grab().save(path), path);
        }
    }
    RadioEqsDestroy();
    platform::SetMainWindow(nullptr);
    return failures == 0 ? 0 : 1;
}
