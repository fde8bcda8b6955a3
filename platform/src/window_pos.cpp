// SPDX-License-Identifier: GPL-3.0-or-later
// window_pos.cpp - saved window positions, "%05d%05d" of top then left.
#include "platform.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace platform {

namespace {
constexpr int kLargestField = 99999; // five digits
const QString kSection = QStringLiteral("WindowPos");
} // namespace

QString FormatWindowPos(int top, int left) {
    // Clamped into five digits so the text always has ten characters.
    top = std::clamp(top, 0, kLargestField);
    left = std::clamp(left, 0, kLargestField);
    return QStringLiteral("%1%2").arg(top, 5, 10, QLatin1Char('0')).arg(left, 5, 10, QLatin1Char('0'));
}

std::optional<QPoint> ParseWindowPos(const QString& text, const QRect& desktop) {
    if (text.size() != 10) {
        return std::nullopt;
    }
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            return std::nullopt;
        }
    }
    const int top = text.left(5).toInt();
    const int left = text.mid(5).toInt();
    if (top <= 0 || left <= 0) {
        return std::nullopt;
    }
    const int bottom = desktop.y() + desktop.height();
    const int right = desktop.x() + desktop.width();
    if (top >= bottom || left >= right) {
        return std::nullopt;
    }
    return QPoint(left, top);
}

QRect DesktopRect() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect available = screen->availableGeometry();
            if (available.isValid()) {
                return available;
            }
        }
    }
    return QRect(0, 0, 1024, 768);
}

void SaveWindowPos(const QString& key, const QWidget* window) {
    if (window == nullptr) {
        return;
    }
    const QRect frame = window->frameGeometry();
    WriteProfileString(kSection, key, FormatWindowPos(frame.y(), frame.x()));
}

bool RestoreWindowPos(const QString& key, QWidget* window) {
    if (window == nullptr) {
        return false;
    }
    const std::optional<QPoint> pos =
        ParseWindowPos(GetProfileString(kSection, key, QString()), DesktopRect());
    if (!pos) {
        return false;
    }
    window->move(*pos);
    return true;
}

} // namespace platform
