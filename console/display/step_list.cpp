// SPDX-License-Identifier: GPL-3.0-or-later
// step_list.cpp - the channel-step list beside the tuning controls: its
// entries follow the mode class, its selection the radio's ST reports.
#include "console_display.h"
#include "display_controls.h"

#include "console_controls.h"
#include "console_ids.h"

#include <corvan.h>

#include <QComboBox>
#include <QSignalBlocker>
#include <QStringList>

#include <array>

namespace {

constexpr std::array<int, 4> kSsbSteps{1000, 2500, 5000, 10000};
constexpr std::array<int, 10> kFmSteps{5000, 6250, 10000, 12500, 15000,
                                       20000, 25000, 30000, 50000, 100000};
constexpr int kBroadcastStep = 9000;

QStringList SsbEntries() {
    return {QStringLiteral("    1.00 "), QStringLiteral("    2.50 "), QStringLiteral("    5.00 "),
            QStringLiteral("   10.00 ")};
}

QStringList FmEntries() {
    return {QStringLiteral("    5.00 "), QStringLiteral("    6.25 "), QStringLiteral("   10.00 "),
            QStringLiteral("   12.50 "), QStringLiteral("   15.00 "), QStringLiteral("   20.00 "),
            QStringLiteral("   25.00 "), QStringLiteral("   30.00 "), QStringLiteral("   50.00 "),
            QStringLiteral("  100.00 ")};
}

} // namespace

int ConsoleDisplay::ModeClass() {
    std::uint32_t mode = 0;
    bool read = false;
    for (int attempt = 0; attempt < 10 && !read; ++attempt)
        read = link.RcvDataMD(&mode) == 1;
    if (!read || mode == 0) {
        link.ConnMD("R", 0);
        const QComboBox* list = controls.comboBox(idc::StepList);
        return list && list->count() == 4 ? 1 : 2;
    }
    switch (mode) {
    case 4:
        return 2;
    case 5: {
        const zephyra::ConsoleState& s = state;
        const bool broadcast = s.amBroadcastStep && s.controlBand == 0 &&
                               s.mainFrequency >= 522'000 && s.mainFrequency <= 1'710'000 &&
                               !s.transmitting[0];
        return broadcast ? 3 : 2;
    }
    case 1: case 2: case 3: case 6: case 7: case 9:
        return 1;
    default:
        return 0;
    }
}

int ConsoleDisplay::ChannelStep() {
    const int modeClass = ModeClass();
    if (modeClass == 3)
        return kBroadcastStep;
    if (modeClass != 1 && modeClass != 2) {
        link.ConnMD("R", 0);
        return 10000;
    }
    const QComboBox* list = controls.comboBox(idc::StepList);
    const int index = list ? list->currentIndex() : -1;
    if (index < 0)
        return 0;
    // The hertz of the entry the list really holds.
    if (list->count() == static_cast<int>(kSsbSteps.size()))
        return kSsbSteps[static_cast<std::size_t>(index)];
    if (list->count() == static_cast<int>(kFmSteps.size()))
        return kFmSteps[static_cast<std::size_t>(index)];
    return 0;
}

void ConsoleDisplay::FillStepList(int index) {
    QComboBox* list = controls.comboBox(idc::StepList);
    if (!list)
        return;
    // Filling the list is the display's business: nothing goes on the wire.
    const QSignalBlocker quiet(list);
    const int modeClass = ModeClass();
    if (modeClass == 1) {
        if (list->count() != 4) {
            list->clear();
            list->addItems(SsbEntries());
            if (state.radioIdentification == 18)
                list->setCurrentIndex(3);
        }
    } else if (modeClass == 2) {
        if (list->count() != 10) {
            list->clear();
            list->addItems(FmEntries());
            if (state.radioIdentification == 18)
                list->setCurrentIndex(2);
        }
    }
    // An index the list does not hold selects nothing new.
    if (state.radioIdentification == 19 && index >= 0 && index < list->count())
        list->setCurrentIndex(index);
}
