// SPDX-License-Identifier: GPL-3.0-or-later
// sliders.cpp - the RIT/XIT slider and the scan speed bar.
//
// (When a level bar sends is decided in level_bars.cpp.)
//
// The RIT/XIT slider keeps a working value of its own (hertz) and, at the
// end of a scroll, sends the difference to the radio's reported offset.
#include "console_operations.h"

#include "console_controls.h"
#include "console_ids.h"
#include "../display/display_controls.h"

#include <corvan.h>

#include <QScrollBar>

#include <algorithm>
#include <cstdlib>

using namespace display_controls;

namespace {

using u32 = std::uint32_t;

constexpr int kRitLimit = 20000;

} // namespace

void ConsoleOperations::OnScroll(int barId, ScrollCode code) {
    QScrollBar* bar = controls.scrollBar(barId);
    if (!bar || OperationRunning())
        return;
    zephyra::ConsoleState& s = state;
    if (barId == idc::ScanSpeedBar) {
        if (code == ScrollCode::LineLeft || code == ScrollCode::PageLeft)
            link.ConnRD("W", 1);
        else if (code == ScrollCode::LineRight || code == ScrollCode::PageRight)
            link.ConnRU("W", 1);
        return;
    }
    if (barId == idc::RitBar) {
        if (!RitOrXit(s))
            return;
        const bool fine = !TextOf(controls, idc::Fine).isEmpty();
        const int line = fine ? 1 : 10;
        const int page = fine ? 10 : 100;
        int working = s.ritXitWorking;
        switch (code) {
        case ScrollCode::LineLeft: working -= line; break;
        case ScrollCode::LineRight: working += line; break;
        case ScrollCode::PageLeft: working -= page; break;
        case ScrollCode::PageRight: working += page; break;
        case ScrollCode::Thumb: working = bar->sliderPosition(); break;
        case ScrollCode::End: break;
        }
        working = std::clamp(working, -kRitLimit, kRitLimit);
        s.ritXitWorking = working;
        bar->setSliderPosition(std::clamp(working, bar->minimum(), bar->maximum()));
        if (code != ScrollCode::End || s.scanRunning[s.controlBand == 1 ? 1 : 0])
            return;
        if (!fine)
            working -= working % 10; // towards zero
        s.ritXitWorking = working;
        int reported = s.ritXitOffset;
        if ((reported >= 1 && working < 0) || (working >= 1 && reported < 0)) {
            link.ConnRC();
            reported = 0;
        }
        const int difference = working - reported;
        if (difference < 0)
            link.ConnRD("W", static_cast<u32>(-difference));
        else if (difference > 0)
            link.ConnRU("W", static_cast<u32>(difference));
        return;
    }
    // The level bars send from their own module (level_bars.cpp), which
    // sees every way a bar moves, not only the scroll actions.
}
