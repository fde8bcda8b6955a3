// SPDX-License-Identifier: GPL-3.0-or-later
// accessible_readings.cpp - frequency, signal and power readings, and the
// announcement gate.
#include "accessible_readings.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cmath>

namespace accessible {

namespace {

constexpr int kTopLevel = 30;
// The display's places from 10 GHz down to 1 MHz.
constexpr int kMegahertzPlaces = 5;

// The power scale's figures and the levels they stand over: one character
// of "----10----25----50-------100" to a level.
struct Tick {
    int level;
    int value;
};
constexpr std::array<Tick, 5> kPowerTicks{{{0, 0}, {5, 10}, {11, 25}, {17, 50}, {28, 100}}};

} // namespace

QString FrequencyReading(const QString (&digits)[11]) {
    // The keypad's entry: a dash stands in each place not typed yet.
    bool entry = false;
    bool megahertzDone = true; // no place of the megahertz left to type
    for (int place = 0; place < 11; ++place) {
        if (digits[place].trimmed() == QLatin1String("-")) {
            entry = true;
            megahertzDone = megahertzDone && place >= kMegahertzPlaces;
        }
    }
    if (entry) {
        // Once the megahertz are all in place (the point typed, or five
        // digits), what follows is below a megahertz: "1 4 point 2" is not
        // "1 point 4 2".
        QStringList typedDigits;
        for (int place = 0; place < 11; ++place) {
            if (place == kMegahertzPlaces && megahertzDone && !typedDigits.isEmpty())
                typedDigits << QStringLiteral("point");
            const QString d = digits[place].trimmed();
            if (d.size() == 1 && d[0].isDigit())
                typedDigits << d;
        }
        QString said = QStringLiteral("frequency entry");
        if (!typedDigits.isEmpty())
            said += QLatin1Char(' ') + typedDigits.join(QLatin1Char(' '));
        return said;
    }
    long long hz = 0;
    bool leading = true;
    bool plain = true;
    QString typed;
    for (const QString& label : digits) {
        const QString d = label.trimmed();
        if (d.isEmpty()) {
            if (!leading)
                plain = false;
            hz *= 10;
            continue;
        }
        leading = false;
        typed += d;
        if (d.size() != 1 || !d[0].isDigit()) {
            plain = false;
            continue;
        }
        hz = hz * 10 + d[0].digitValue();
    }
    if (typed.isEmpty())
        return {};
    if (!plain)
        return typed;
    return QString::asprintf("%lld.%03lld.%03lld MHz", hz / 1000000, hz / 1000 % 1000, hz % 1000);
}

QString SignalReading(int level, bool identification19) {
    level = std::clamp(level, 0, kTopLevel);
    const int s9 = identification19 ? 15 : 18;
    if (level <= s9) {
        // Identification 19: S1 at level 3, two S-units every three levels;
        // the others: one S-unit every two levels.
        const double units = identification19 ? 2.0 * level / 3.0 - 1.0 : level / 2.0;
        const int s = std::clamp(static_cast<int>(std::lround(units)), 0, 9);
        return QStringLiteral("S%1").arg(s);
    }
    const int perLevel = identification19 ? 4 : 5;
    const int db = std::min(60, (level - s9) * perLevel);
    return QStringLiteral("S9+%1 dB").arg(db);
}

QString PowerReading(int level, bool percent) {
    level = std::clamp(level, 0, kTopLevel);
    int value = kPowerTicks.back().value;
    for (std::size_t i = 1; i < kPowerTicks.size(); ++i) {
        const Tick low = kPowerTicks[i - 1];
        const Tick high = kPowerTicks[i];
        if (level <= high.level) {
            const double share = static_cast<double>(level - low.level) / (high.level - low.level);
            value = static_cast<int>(std::lround(low.value + share * (high.value - low.value)));
            break;
        }
    }
    return percent ? QStringLiteral("%1 %").arg(value) : QStringLiteral("%1 W").arg(value);
}

QString ModeReading(const QString& shown) {
    static const QRegularExpression group(QStringLiteral("(^|\\s)Group\\s+\\d+\\s*$"));
    QString mode = shown.trimmed();
    mode.remove(group);
    return mode.trimmed();
}

std::chrono::milliseconds AnnounceThrottle::WaitAt(Clock::time_point now) const {
    if (!m_announced)
        return std::chrono::milliseconds(0);
    const auto since = now - m_last;
    if (since >= m_gap)
        return std::chrono::milliseconds(0);
    return std::chrono::ceil<std::chrono::milliseconds>(m_gap - since);
}

void AnnounceThrottle::Announced(Clock::time_point now) {
    m_last = now;
    m_announced = true;
}

} // namespace accessible
