// SPDX-License-Identifier: GPL-3.0-or-later
// The state lamp the outside windows built on the display controls show:
// green while on, dark while off.
#pragma once

#include <kestrin.h>

#include <QRect>

namespace plugin_exports {

inline constexpr COLORREF kLampGreen = 0x0000C000;
inline constexpr COLORREF kLampDark = 0x00404040;

// A lamp of 14 by 14 pixels for a layout to place, off until lit.
inline CStaticLEDEx* StateLamp(QWidget* parent) {
    auto* lamp = new CStaticLEDEx(parent, 1, QRect(0, 0, 14, 14));
    lamp->setFixedSize(14, 14);
    lamp->SetOnColor(kLampGreen);
    lamp->SetOffColor(kLampDark);
    return lamp;
}

} // namespace plugin_exports
