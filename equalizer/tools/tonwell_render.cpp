// SPDX-License-Identifier: GPL-3.0-or-later
// tonwell-render: opens the samples window headless for each type and writes
// it to <folder>/tonwell_samples_<type>.png, and every sample's picture to
// <folder>/tonwell_sample_<type>_<sample>.png, to look at them.
//
//   QT_QPA_PLATFORM=offscreen tonwell-render /tmp/equaliser
#include "eqg_picture.h"
#include "eqg_window.h"
#include "samples.h"

#include <render_tool.h>
#include <tonwell.h>

#include <QApplication>

int main(int argc, char** argv) {
    return render_tool::RunRenderTool(argc, argv, "tonwell", [](render_tool::RenderFolder& pictures) {
        const render_tool::ConsoleStandIn console; // the windows take the console's font
        for (int type = 1; type <= tonwell::kSampleTypes; ++type) {
            for (int sample = 1; sample <= tonwell::kSamplesPerType; ++sample) {
                pictures.Save(tonwell::SamplePicture(tonwell::SampleTapText(type, sample), type),
                              QStringLiteral("sample_%1_%2").arg(type).arg(sample));
            }
        }
        RadioEqgView(nullptr);
        tonwell::CEqgWindow* window = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* found = qobject_cast<tonwell::CEqgWindow*>(widget)) window = found;
        }
        if (window == nullptr) {
            pictures.Fail(QStringLiteral("no samples window"));
            return;
        }
        for (int type = 1; type <= tonwell::kSampleTypes; ++type) {
            window->SelectType(type);
            window->SelectSample(type % tonwell::kSamplesPerType + 1);
            pictures.Save(window, QStringLiteral("samples_%1").arg(type));
        }
        RadioEqgDestroy();
        RadioEqsView(nullptr);
        QApplication::processEvents();
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->isVisible() && widget->windowTitle() == QLatin1String("Audio Editor - Design")) {
                pictures.Save(widget, QStringLiteral("design"));
            }
        }
        RadioEqsDestroy();
    });
}
