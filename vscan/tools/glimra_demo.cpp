// SPDX-License-Identifier: GPL-3.0-or-later
// glimra-demo: the visual scan window against the built-in virtual radio.
//
//   glimra-demo [--span 31|61|91|181] [--step TEXT] [--interval MS]
//               [--centre HZ] [--mode 1|2|3] [--sub] [--render PATH]
//               [--typing DIGITS]
//
// Without --render the window opens for use. With --render it sweeps once
// (repeat off), writes the window to PATH as PNG and exits; headless runs
// need QT_QPA_PLATFORM=offscreen. --typing starts the frequency entry and
// types DIGITS (digits and ".") instead of sweeping, with the dial on, to
// show the entry fields.
#include <glimra.h>

#include "glimra_internal.h"
#include "graph_widget.h"
#include "vscan_window.h"

#include <corvan.h>
#include <platform.h>
#include <qxsim.h>
#include <render_tool.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QRadioButton>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace {

// Stands in for the console: hands the radio's reports to the window.
class Forwarder : public QObject {
public:
    bool event(QEvent* event) override {
        const auto type = static_cast<std::uint32_t>(event->type());
        const char* code = corvan::MessageCode(type);
        if (code == nullptr) {
            return QObject::event(event);
        }
        CCorvan link;
        std::uint32_t a = 0;
        std::uint32_t b = 0;
        std::uint32_t c = 0;
        std::uint32_t d = 0;
        char text[corvan::kNameTextSize] = {};
        const std::string what = code;
        if (what == "DC" && link.RcvDataDC(&a, &b) != 0) {
            GlimraMsgDC(static_cast<std::int32_t>(a), static_cast<std::int32_t>(b));
        } else if (what == "FR" && link.RcvDataFR(&a) != 0) {
            GlimraMsgFR(static_cast<std::int32_t>(a));
        } else if (what == "SC" && link.RcvDataSC(&a) != 0) {
            GlimraMsgSC(static_cast<std::int32_t>(a));
        } else if (what == "EX" && link.RcvDataEX(&a, &b, &c, &d, text) != 0) {
            GlimraMsgEX(static_cast<std::int32_t>(a), static_cast<std::int32_t>(b),
                        static_cast<std::int32_t>(c), static_cast<std::int32_t>(d), text);
        } else if (what == "TX") {
            GlimraMsgTX(0);
        } else if (what == "RX") {
            GlimraMsgRX(0);
        }
        return true;
    }
};

void Usage() {
    std::fprintf(stderr,
                 "usage: glimra-demo [--span 31|61|91|181] [--step TEXT] [--interval MS]\n"
                 "                   [--centre HZ] [--mode 1|2|3] [--sub] [--render PATH]\n"
                 "                   [--typing DIGITS]\n");
}

bool WaitFor(const std::function<bool()>& done, int ms) {
    return platform::PumpUntil(done, std::chrono::milliseconds(ms));
}

// The window as the picture `path`: its path printed once written, or why
// it was not on standard error.
bool SavePicture(QWidget* window, const QString& path) {
    QString why;
    if (!render_tool::WritePng(render_tool::PictureOf(window), path, &why)) {
        std::fprintf(stderr, "glimra-demo: %s not written: %s\n", qPrintable(path), qPrintable(why));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::InitApplication();

    QString span = QStringLiteral("61");
    QString step;
    QString interval = QStringLiteral("100");
    QString render;
    QString typing;
    long long centre = 0;
    int mode = 1;
    bool sub = false;
    // The options whose value is kept as text.
    const std::pair<std::string_view, QString*> texts[] = {
        {"--span", &span}, {"--step", &step}, {"--interval", &interval}, {"--render", &render}, {"--typing", &typing}};
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--sub") {
            sub = true;
            continue;
        }
        if (i + 1 >= argc) { // every other option takes a value
            Usage();
            return 2;
        }
        const char* value = argv[++i];
        const auto text = std::find_if(std::begin(texts), std::end(texts), [&](const auto& t) { return t.first == arg; });
        if (text != std::end(texts)) {
            *text->second = QString::fromLocal8Bit(value);
        } else if (arg == "--centre") {
            centre = std::atoll(value);
        } else if (arg == "--mode") {
            mode = std::atoi(value);
        } else {
            Usage();
            return 2;
        }
    }

    // A picture starts from the window's defaults and leaves the operator's
    // profile alone.
    std::optional<render_tool::OwnProfile> ownProfile;
    if (!render.isEmpty())
        ownProfile.emplace();

    qxsim::Radio radio;
    if (!radio.start()) {
        std::fprintf(stderr, "glimra-demo: no virtual radio: %s\n", radio.lastError().c_str());
        return 1;
    }
    if (centre > 0) {
        radio.modify([&](qxsim::State& s) {
            if (sub) {
                s.subFrequency = centre;
            } else {
                s.vfoA = centre;
            }
        });
    }
    if (sub) {
        radio.modify([](qxsim::State& s) {
            s.controlBand = 1;
            s.values["SB"] = {1}; // the sub receiver on
        });
    }
    CCorvan link;
    if (link.Conn("QR-7730", radio.devicePath().c_str(), 9600, "n", 8, 1, 1) == 0) {
        std::fprintf(stderr, "glimra-demo: cannot open %s\n", radio.devicePath().c_str());
        return 1;
    }
    Forwarder forwarder;
    platform::QtLinkTarget target(&forwarder);
    link.WinMsgSendReg(&target);
    glimra::AskStartReadings(link);
    WaitFor([&] {
        std::uint32_t v = 0;
        return link.RcvDataPS(&v) != 0;
    }, 2000);

    GlimraView(nullptr);
    glimra::CVisualScanDlg* window = glimra::TheWindow();
    const auto& ui = window->controls();
    if (!step.isEmpty()) {
        ui.stepList->setCurrentText(step);
    }
    ui.spanList->setCurrentText(span);
    ui.intervalList->setCurrentText(interval);
    ui.graphList->setCurrentIndex(std::clamp(mode, 1, 3) - 1);

    if (render.isEmpty()) {
        const int rc = app.exec();
        GlimraDestroy();
        link.WinMsgSendReg(nullptr);
        link.Close();
        return rc;
    }

    if (!typing.isEmpty()) {
        window->DialClicked();
        window->EntToggle();
        for (QChar c : typing) {
            const int key = c == QLatin1Char('.') ? Qt::Key_Period : Qt::Key_0 + (c.unicode() - '0');
            window->HandleKey(key, QString(c));
        }
        const bool saved = SavePicture(window, render);
        GlimraDestroy();
        link.WinMsgSendReg(nullptr);
        link.Close();
        return saved ? 0 : 1;
    }

    ui.repeatOff->setChecked(true);
    window->Start();
    if (window->control().stopped.load() != 0) {
        std::fprintf(stderr, "glimra-demo: the sweep did not start\n");
    } else {
        QElapsedTimer timer;
        timer.start();
        const int channels = window->control().span.load();
        WaitFor([&] { return window->control().stopped.load() != 0; },
                channels * (window->control().interval.load() + 200) + 5000);
        std::printf("sweep of %d channels took %lld ms\n", channels,
                    static_cast<long long>(timer.elapsed()));
        // What the graph shows beside what the radio's band model holds.
        const auto& c = window->control();
        const bool doubled = c.selector.load() == 2;
        int agree = 0;
        for (int i = 0; i < channels; ++i) {
            const std::int64_t hz = glimra::ChannelFrequency(c.centre.load(), c.step.load(), channels, i);
            // The sub receiver's meter reads half the scale (rounded up).
            const int reading = doubled ? (radio.sMeterAt(hz) + 1) / 2 : radio.sMeterAt(hz);
            const int model = reading * (doubled ? 2 : 1);
            const int shown = ui.graph->level(i);
            agree += shown == model ? 1 : 0;
            if (model >= 9 || shown != model) {
                std::printf("  channel %3d  %s Hz  bar %2d  band model %2d\n", i,
                            glimra::FormatDotted(hz).c_str(), shown, model);
            }
        }
        std::printf("bars equal to the band model: %d of %d\n", agree, channels);
    }
    QCoreApplication::processEvents();
    const bool saved = SavePicture(window, render);
    GlimraDestroy();
    link.WinMsgSendReg(nullptr);
    link.Close();
    radio.stop();
    return saved ? 0 : 1;
}
