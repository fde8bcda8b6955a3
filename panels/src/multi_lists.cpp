// SPDX-License-Identifier: GPL-3.0-or-later
#include "multi_lists.h"

#include <corvan.h>

#include <cstdio>

namespace pandor {

namespace {

const std::array<MultiListSpec, kMultiListCount> kSpecs{{
    {MultiList::VG, 24006, "VOX GAIN", "", false},
    {MultiList::VD, 24010, "VOX DELAY TIME", "ms", false},
    {MultiList::PLOut, 24012, "PROC OUT LEVEL", "", true},
    {MultiList::PLIn, 24014, "PROC IN LEVEL", "", true},
    {MultiList::RL, 24016, "N.R. LEVEL", "", true},
    {MultiList::AL, 24018, "A.NOTCH LEVEL", "", true},
    {MultiList::TN, 24020, "TONE", "Hz", false},
    {MultiList::CN, 24022, "CTCSS", "Hz", false},
    {MultiList::NL, 24024, "NB LEVEL", "", true},
    {MultiList::QC, 24026, "DCS CODE", "", true},
    {MultiList::OF, 24028, "OFFSET", "", true},
    {MultiList::MG, 24030, "MIC GAIN", "", false},
    {MultiList::PC, 24032, "POWER", "", false},
    {MultiList::KS, 24034, "KEYING SPEED", "", false},
    {MultiList::ML, 24036, "TX MONITOR", "", true},
    {MultiList::CG, 24038, "CAR LEVEL", "", true},
    {MultiList::SD, 24040, "CW BREAK-IN", "ms", false},
}};

QString Printf(const char* format, auto value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return QString::fromLatin1(text);
}

QString TenthsEntry(int tenths) {
    return Printf("%9.1f ", tenths / 10.0);
}

QStringList Numbers(int first, int last, int step = 1) {
    QStringList entries;
    for (int v = first; v <= last; v += step) {
        entries.append(NumberEntry(v));
    }
    return entries;
}

} // namespace

const std::array<MultiListSpec, kMultiListCount>& MultiListSpecs() {
    return kSpecs;
}

const MultiListSpec& SpecOf(MultiList list) {
    return kSpecs[static_cast<std::size_t>(list)];
}

QString NumberEntry(int value) {
    return Printf(" %8d ", value);
}

QString OffsetEntry(std::int64_t hertz) {
    const QString digits = Printf("%8lld", static_cast<long long>(hertz));
    QString text = digits.left(2) + QLatin1Char('.') + digits.mid(2, 3) + QLatin1Char('.') + digits.mid(5);
    // A dot with a blank before it is a blank itself.
    for (qsizetype i = 1; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('.') && text[i - 1] == QLatin1Char(' ')) {
            text[i] = QLatin1Char(' ');
        }
    }
    return text;
}

QStringList CtcssEntries() {
    QStringList entries;
    for (int tenths : corvan::kCtcssTenths) {
        entries.append(TenthsEntry(tenths));
    }
    return entries;
}

QStringList ToneEntries() {
    QStringList entries = CtcssEntries();
    entries.append(TenthsEntry(corvan::kToneBurstTenths));
    return entries;
}

QStringList DcsEntries() {
    QStringList entries;
    for (int code : corvan::kDcsCodes) {
        entries.append(Printf("    %03d", code));
    }
    return entries;
}

QStringList FixedEntries(MultiList list) {
    switch (list) {
    case MultiList::VG:
        return Numbers(0, 9);
    case MultiList::VD:
        return Numbers(0, 3000, 150);
    case MultiList::PLOut:
    case MultiList::PLIn:
    case MultiList::MG:
    case MultiList::CG:
        return Numbers(0, 100);
    case MultiList::AL:
        return QStringList{QStringLiteral("      FIX ")} + Numbers(1, 4);
    case MultiList::TN:
        return ToneEntries();
    case MultiList::CN:
        return CtcssEntries();
    case MultiList::NL:
        return Numbers(1, 10);
    case MultiList::QC:
        return DcsEntries();
    case MultiList::OF: {
        QStringList entries;
        entries.reserve(kOffsetEntryCount);
        for (int i = 0; i < kOffsetEntryCount; ++i) {
            entries.append(OffsetEntry(static_cast<std::int64_t>(i) * kOffsetStep));
        }
        return entries;
    }
    case MultiList::KS:
        return Numbers(10, 60);
    case MultiList::ML:
        return QStringList{QStringLiteral("      OFF ")} + Numbers(1, 9);
    case MultiList::SD:
        return QStringList{QStringLiteral("     FBK")} + Numbers(50, 1000, 50);
    case MultiList::RL:
    case MultiList::PC:
    case MultiList::Count:
        break;
    }
    return {};
}

std::optional<NoiseReductionList> NoiseReductionEntries(std::uint32_t state) {
    switch (state) {
    case 0:
        return NoiseReductionList{{QStringLiteral(" N.R. OFF")}, QString(), true};
    case 1:
        return NoiseReductionList{QStringList{QStringLiteral("    AUTO")} + Numbers(1, 9), QString(), false};
    case 2:
        return NoiseReductionList{Numbers(2, 20, 2), QStringLiteral("ms"), false};
    default:
        return std::nullopt;
    }
}

int IndexOfReply(MultiList list, std::uint32_t value, int count) {
    const auto v = static_cast<std::int64_t>(value);
    std::int64_t index = -1;
    switch (list) {
    case MultiList::VD:
        index = v / 150;
        break;
    case MultiList::TN:
    case MultiList::CN:
    case MultiList::NL:
        index = v - 1;
        break;
    case MultiList::OF:
        index = v / kOffsetStep;
        break;
    case MultiList::KS:
        index = v - 10;
        break;
    case MultiList::SD:
        index = v / 50;
        break;
    case MultiList::PC:
    case MultiList::Count:
        return -1;
    default:
        index = v;
        break;
    }
    return index >= 0 && index < count ? static_cast<int>(index) : -1;
}

std::uint32_t ValueOfIndex(MultiList list, int index) {
    const auto i = static_cast<std::uint32_t>(index < 0 ? 0 : index);
    switch (list) {
    case MultiList::VD:
        return i * 150;
    case MultiList::TN:
    case MultiList::CN:
    case MultiList::NL:
        return i + 1;
    case MultiList::OF:
        return i * kOffsetStep;
    case MultiList::KS:
        return i + 10;
    case MultiList::SD:
        return i * 50;
    default:
        return i;
    }
}

// ------------------------------------------------------------ power list

int BandClass(std::uint32_t band, std::uint32_t versionType) {
    int bandClass = 0;
    switch (band) {
    case 11:
        bandClass = 1;
        break;
    case 12:
    case 15:
        bandClass = 2;
        break;
    case 13:
    case 16:
        bandClass = 3;
        break;
    case 14:
        bandClass = 4;
        break;
    default:
        bandClass = 0; // 1..10 and anything unknown
        break;
    }
    if (versionType == 7 && band == 2) {
        bandClass = 5;
    }
    return bandClass;
}

int PowerMaximum(const PowerInputs& in) {
    const bool am = in.mode == kModeAm;
    const int c = in.bandClass;
    if (c == 4) {
        return am ? 3 : 10;
    }
    if (c == 5) {
        return 10;
    }
    const std::uint32_t t = in.versionType;
    if (t >= 1 && t <= 9) {
        if (am) {
            return c == 3 ? 13 : 25;
        }
        return c == 3 ? 50 : 100;
    }
    if (t == 10) {
        if (am) {
            return c == 3 ? 13 : 25;
        }
        switch (c) {
        case 0:
        case 1:
            return in.flagA ? 50 : 100;
        case 2:
            return in.flagA ? 50 : (in.flagB ? 100 : 50);
        default:
            return 50;
        }
    }
    if (t == 11) {
        if (am) {
            return 5;
        }
        return c == 0 ? 10 : 20;
    }
    return 100;
}

int PowerMinimum(const PowerInputs& in) {
    const int c = in.bandClass;
    if (c == 4) {
        return 1;
    }
    const std::uint32_t t = in.versionType;
    const bool hfToUhf = c >= 0 && c <= 3;
    if (t >= 1 && t <= 7) {
        if (c == 5) {
            return 10;
        }
        if (hfToUhf) {
            return 5;
        }
    } else if (t >= 8 && t <= 10) {
        if (hfToUhf) {
            return 5;
        }
    } else if (t == 11) {
        if (hfToUhf) {
            return 1;
        }
    }
    return 100;
}

int PowerStep(const PowerInputs& in) {
    if (in.versionType == 7 && in.bandClass == 5) {
        return 10;
    }
    if (in.fineStep) {
        return 1;
    }
    if (in.bandClass == 4) {
        return 1;
    }
    if (in.versionType == 11) {
        return 1;
    }
    if (in.mode == kModeAm && in.bandClass == 3) {
        return 1;
    }
    return 5;
}

PowerLimits ComputePowerLimits(const PowerInputs& in) {
    return {PowerMaximum(in), PowerMinimum(in), PowerStep(in)};
}

QStringList PowerEntries(const PowerLimits& limits, int bandClass, std::uint32_t mode) {
    QStringList entries;
    if (limits.step <= 0) {
        return entries;
    }
    const bool am = mode == kModeAm;
    for (int i = limits.minimum / limits.step; i <= limits.maximum / limits.step; ++i) {
        const int watts = i * limits.step;
        if (am && bandClass == 4 && watts == 3) {
            entries.append(Printf(" %8.1f ", 2.5));
        } else if (am && bandClass == 3 && watts == 13) {
            entries.append(Printf(" %8.1f ", 12.5));
        } else {
            entries.append(NumberEntry(watts));
        }
    }
    return entries;
}

int PowerIndexOf(std::uint32_t watts, const PowerLimits& limits, int count) {
    if (limits.step <= 0) {
        return -1;
    }
    const std::int64_t index =
        static_cast<std::int64_t>(watts) / limits.step - static_cast<std::int64_t>(limits.minimum / limits.step);
    return index >= 0 && index < count ? static_cast<int>(index) : -1;
}

std::optional<std::uint32_t> PowerValueOf(int index, const PowerLimits& limits) {
    if (index < 0) {
        return std::nullopt;
    }
    const std::int64_t watts = static_cast<std::int64_t>(index) * limits.step + limits.minimum;
    if (watts < limits.minimum || watts > limits.maximum) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(watts);
}

} // namespace pandor
