// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup_devices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pandor {

namespace {

SerialEnvironment& Environment() {
    static SerialEnvironment env;
    return env;
}

// "ttyUSB12" of kind "ttyUSB" gives 12; anything else nothing.
std::optional<int> NumberAfter(const QString& name, const QString& kind) {
    if (!name.startsWith(kind) || name.size() == kind.size() || name.size() > kind.size() + 4) {
        return std::nullopt;
    }
    bool ok = false;
    const int number = name.mid(kind.size()).toInt(&ok);
    if (!ok || !name.at(kind.size()).isDigit() || name.mid(kind.size()) != QString::number(number)) {
        return std::nullopt;
    }
    return number;
}

// A ttyS line the kernel created without a UART behind it.
bool HasNoUart(const QString& sysTtyDir, const QString& name) {
    QFile type(QDir(sysTtyDir).filePath(name + QStringLiteral("/type")));
    if (!type.open(QIODevice::ReadOnly)) {
        return false; // nothing to tell: keep the device
    }
    return type.readAll().trimmed() == "0";
}

} // namespace

std::vector<SerialDevice> ScanSerialDevices(const SerialEnvironment& env) {
    std::vector<QString> paths;

    const QDir byId(env.byIdDir);
    for (const QString& name : byId.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString path = byId.filePath(name);
        if (QFileInfo::exists(path)) { // a link left behind by an unplugged adapter is not offered
            paths.push_back(path);
        }
    }

    const QDir dev(env.devDir);
    const QStringList names = dev.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& kind : {QStringLiteral("ttyUSB"), QStringLiteral("ttyACM"), QStringLiteral("ttyS")}) {
        std::vector<std::pair<int, QString>> found;
        for (const QString& name : names) {
            if (const auto number = NumberAfter(name, kind)) {
                if (kind == QLatin1String("ttyS") && HasNoUart(env.sysTtyDir, name)) {
                    continue;
                }
                found.emplace_back(*number, dev.filePath(name));
            }
        }
        std::sort(found.begin(), found.end());
        for (const auto& [number, path] : found) {
            paths.push_back(path);
        }
    }

    std::vector<SerialDevice> devices;
    devices.reserve(paths.size());
    for (const QString& path : paths) {
        devices.push_back({path, env.access ? env.access(path) : CheckDeviceAccess(path)});
    }
    return devices;
}

DeviceAccess CheckDeviceAccess(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    DeviceAccess result;
    if (::access(native.constData(), R_OK | W_OK) == 0 || (errno != EACCES && errno != EPERM)) {
        return result;
    }
    result.permitted = false;
    struct stat info {};
    if (::stat(native.constData(), &info) == 0) {
        result.group = GroupToJoin(info.st_mode, info.st_gid);
    }
    return result;
}

QString GroupToJoin(unsigned mode, unsigned gid) {
    // Joining a group helps only when it may both read and write; the
    // superuser's group is never one to hand out for a serial line.
    if ((mode & S_IRGRP) == 0 || (mode & S_IWGRP) == 0 || gid == 0) {
        return {};
    }
    const group* owner = ::getgrgid(static_cast<gid_t>(gid));
    return owner != nullptr ? QString::fromLocal8Bit(owner->gr_name) : QString::number(gid);
}

QString PermissionMessage(const QString& path, const QString& group, const QString& user) {
    const QString who = user.isEmpty() ? QStringLiteral("$USER") : user;
    if (group.isEmpty()) {
        return QStringLiteral("You may not open %1: its permissions do not allow it.\n\n"
                              "Ask the administrator of this computer for read and write access to it.")
            .arg(path);
    }
    return QStringLiteral("You may not open %1: its permissions allow it only to the group \"%2\".\n\n"
                          "To use it, join that group:\n    sudo usermod -aG %2 %3\n"
                          "then log out and log in again.")
        .arg(path, group, who);
}

std::optional<int> TraditionalPortNumber(const QString& path, const QString& devDir) {
    const QFileInfo info(path);
    if (QDir::cleanPath(info.path()) != QDir::cleanPath(devDir)) {
        return std::nullopt;
    }
    const auto number = NumberAfter(info.fileName(), QStringLiteral("ttyS"));
    if (!number) {
        return std::nullopt;
    }
    return *number + 1;
}

QString TraditionalPortPath(int portNumber, const QString& devDir) {
    return QDir(devDir).filePath(QStringLiteral("ttyS%1").arg(std::max(portNumber, 1) - 1));
}

const SerialEnvironment& CurrentSerialEnvironment() {
    return Environment();
}

void SetSerialEnvironment(const SerialEnvironment& env) {
    Environment() = env;
}

} // namespace pandor
