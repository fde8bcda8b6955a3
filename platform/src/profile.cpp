// SPDX-License-Identifier: GPL-3.0-or-later
// profile.cpp - the per-user profile: four operations with explicit defaults.
//
// The store is QSettings in its native format for company "BRAVELL" and
// product "Zephyra" ($XDG_CONFIG_HOME/BRAVELL/Zephyra.conf), shared by every
// library of the process. Sections are groups. A value that a person edited
// into something unreadable reads as the caller's default.
#include "platform.h"

#include <QRegularExpression>
#include <QSettings>
#include <QVariant>

#include <limits>

namespace platform {

namespace {

QSettings profileStore() { return QSettings(QStringLiteral("BRAVELL"), QStringLiteral("Zephyra")); }

bool usableName(const QString& name) { return !name.trimmed().isEmpty(); }

// The stored text of a value. A hand-written value with commas reads back
// as a list: join it again.
std::optional<QString> storedText(const QString& section, const QString& key) {
    if (!usableName(section) || !usableName(key)) {
        return std::nullopt;
    }
    QSettings store = profileStore();
    const QVariant value = store.value(section + QLatin1Char('/') + key);
    if (!value.isValid()) {
        return std::nullopt;
    }
    if (value.typeId() == QMetaType::QStringList) {
        return value.toStringList().join(QStringLiteral(", "));
    }
    if (!value.canConvert<QString>()) {
        return std::nullopt;
    }
    return value.toString();
}

bool store(const QString& section, const QString& key, const QVariant& value) {
    if (!usableName(section) || !usableName(key)) {
        return false;
    }
    QSettings settings = profileStore();
    settings.setValue(section + QLatin1Char('/') + key, value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace

int GetProfileInt(const QString& section, const QString& key, int defaultValue) {
    const std::optional<QString> text = storedText(section, key);
    if (!text) {
        return defaultValue;
    }
    static const QRegularExpression decimal(QStringLiteral("^[+-]?[0-9]{1,18}$"));
    const QString trimmed = text->trimmed();
    if (!decimal.match(trimmed).hasMatch()) {
        return defaultValue;
    }
    bool ok = false;
    const qlonglong number = trimmed.toLongLong(&ok, 10);
    if (!ok || number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max()) {
        return defaultValue;
    }
    return static_cast<int>(number);
}

QString GetProfileString(const QString& section, const QString& key, const QString& defaultValue) {
    return storedText(section, key).value_or(defaultValue);
}

bool WriteProfileInt(const QString& section, const QString& key, int value) {
    return store(section, key, value);
}

bool WriteProfileString(const QString& section, const QString& key, const QString& value) {
    return store(section, key, value);
}

} // namespace platform
