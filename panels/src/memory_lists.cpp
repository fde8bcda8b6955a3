// SPDX-License-Identifier: GPL-3.0-or-later
#include "memory_lists.h"

#include <corvan.h>

#include <QByteArray>

namespace pandor {

namespace {

constexpr std::array<std::uint32_t, 8> kModeCodes{1, 2, 3, 4, 5, 6, 7, 9};

bool WideSteps(std::uint32_t modeCode) {
    return modeCode == 4 || modeCode == 5;
}

QString ToneText(int tenths) {
    // One decimal, right-aligned in nine characters, then one blank.
    return QStringLiteral("%1 ").arg(QStringLiteral("%1.%2").arg(tenths / 10).arg(tenths % 10), 9);
}

} // namespace

QStringList MemoryModeTexts() {
    return {QStringLiteral("     LSB"), QStringLiteral("     USB"), QStringLiteral("     CW"),
            QStringLiteral("     FM"),  QStringLiteral("     AM"),  QStringLiteral("     FSK"),
            QStringLiteral("    CW-R"), QStringLiteral("    FSK-R")};
}

int ModeIndexOf(std::uint32_t modeCode) {
    for (std::size_t i = 0; i < kModeCodes.size(); ++i) {
        if (kModeCodes[i] == modeCode) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

std::uint32_t ModeCodeAt(int index) {
    if (index < 0 || index >= static_cast<int>(kModeCodes.size())) {
        return kModeCodes[0];
    }
    return kModeCodes[static_cast<std::size_t>(index)];
}

QStringList StepTexts(std::uint32_t modeCode) {
    static const char* const kWide[] = {"5.00",  "6.25",  "10.00", "12.50", "15.00",
                                        "20.00", "25.00", "30.00", "50.00", "100.00"};
    static const char* const kNarrow[] = {"1.00", "2.50", "5.00", "10.00"};
    QStringList texts;
    if (WideSteps(modeCode)) {
        for (const char* text : kWide) {
            texts << QStringLiteral("%1").arg(QLatin1String(text), 7);
        }
    } else {
        for (const char* text : kNarrow) {
            texts << QStringLiteral("%1").arg(QLatin1String(text), 7);
        }
    }
    return texts;
}

int StepCount(std::uint32_t modeCode) {
    return WideSteps(modeCode) ? 10 : 4;
}

QStringList OffsetTexts() {
    QStringList texts;
    texts.reserve(kOffsetEntries);
    for (int i = 0; i < kOffsetEntries; ++i) {
        texts << QStringLiteral("%1").arg(static_cast<qint64>(i) * kOffsetStepHz, 10);
    }
    return texts;
}

QStringList ShiftTexts() {
    return {QStringLiteral("   OFF"), QStringLiteral("     +"), QStringLiteral("     -"),
            QStringLiteral("     =")};
}

QStringList ReverseTexts() {
    return {QStringLiteral("    OFF"), QStringLiteral("    ON")};
}

QStringList CtcssTexts() {
    QStringList texts;
    for (int tenths : corvan::kCtcssTenths) {
        texts << ToneText(tenths);
    }
    return texts;
}

QStringList ToneTexts() {
    QStringList texts = CtcssTexts();
    texts << ToneText(corvan::kToneBurstTenths);
    return texts;
}

QStringList DcsTexts() {
    QStringList texts;
    for (int code : corvan::kDcsCodes) {
        texts << QStringLiteral("%1").arg(QStringLiteral("%1").arg(code, 3, 10, QLatin1Char('0')), 7);
    }
    return texts;
}

QStringList GroupTexts() {
    QStringList texts;
    for (int i = 0; i < 10; ++i) {
        texts << QStringLiteral("   %1").arg(i);
    }
    return texts;
}

FrequencyDigits ShowFrequency(std::int64_t hz, bool emptyWhenZero) {
    FrequencyDigits shown;
    shown.digits.fill(' ');
    if (emptyWhenZero && hz == 0) {
        return shown;
    }
    if (hz < 0) {
        hz = 0;
    }
    if (hz > kMemoryFreqMax) {
        hz = kMemoryFreqMax;
    }
    const QByteArray text = QByteArray::number(static_cast<qint64>(hz)).rightJustified(kMemoryDigits, '0');
    int firstNonZero = kMemoryDigits;
    for (int i = 0; i < kMemoryDigits; ++i) {
        if (text[i] != '0') {
            firstNonZero = i;
            break;
        }
    }
    for (int i = 0; i < kMemoryDigits; ++i) {
        shown.digits[static_cast<std::size_t>(i)] = i < firstNonZero ? ' ' : text[i];
    }
    // The dots follow positions 1 (1 GHz), 4 (1 MHz) and 7 (1 kHz).
    constexpr std::array<int, 3> kDotAfter{1, 4, 7};
    for (std::size_t d = 0; d < kDotAfter.size(); ++d) {
        shown.dots[d] = firstNonZero <= kDotAfter[d];
    }
    return shown;
}

std::int64_t StepFrequency(std::int64_t hz, std::int64_t amount) {
    std::int64_t next = hz + amount;
    if (next > kMemoryFreqMax) {
        next = kMemoryFreqMax;
    }
    if (next < kMemoryFreqMin) {
        return hz;
    }
    return next;
}

bool NameAllowed(const QByteArray& text, std::uint32_t version) {
    const bool wide = version >= 5 && version <= 9;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == ';' || (!wide && byte > 0x7F)) {
            return false;
        }
    }
    return true;
}

} // namespace pandor
