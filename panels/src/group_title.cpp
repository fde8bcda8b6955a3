// SPDX-License-Identifier: GPL-3.0-or-later
#include "group_title.h"

namespace pandor {

QString BandTitle(const char* title, std::uint32_t controlBand) {
    const QString bare = QString::fromLatin1(title);
    switch (controlBand) {
    case 0:
        return QStringLiteral("%1  -Main Band-").arg(bare);
    case 1:
        return QStringLiteral("%1  -Sub Band-").arg(bare);
    default:
        return bare;
    }
}

void ApplyGroupValue(std::optional<bool>& group, std::uint32_t value) {
    if (value == 0 || value == 1) {
        group = value == 1;
    }
}

} // namespace pandor
