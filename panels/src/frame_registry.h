// SPDX-License-Identifier: GPL-3.0-or-later
// frame_registry.h - the library's module state: one pointer per panel, null
// while that panel does not exist, and the band kept for the multi-function
// panel until it opens.
//
// The pointers are guarded: a panel deleted behind the library's back (with
// the parent window it was given) reads as absent instead of dangling.
#pragma once

#include "agc_panel.h"
#include "mem_group_panel.h"
#include "memory_panel.h"
#include "multi_panel.h"
#include "sat_name_panel.h"
#include "scan_group_panel.h"
#include "setup_panel.h"

#include <QPointer>

#include <cstdint>

namespace pandor {

struct Registry {
    QPointer<CAgcPanel> agc;
    QPointer<CMemoryPanel> memory;
    QPointer<CMemGroupPanel> memGroup;
    QPointer<CMultiPanel> multi;
    QPointer<CSetupPanel> setup;
    QPointer<CScanGroupPanel> scanGroup;
    QPointer<CSatNamePanel> satName;
    std::uint32_t pendingBand = 0;
};

Registry& Panels();

} // namespace pandor
