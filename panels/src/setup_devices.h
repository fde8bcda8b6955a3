// SPDX-License-Identifier: GPL-3.0-or-later
// setup_devices.h - the serial devices the setup panel offers.
//
// The list holds the devices found on the machine: the names under
// /dev/serial/by-id first (a USB adapter keeps that name when it is plugged
// in again), then /dev/ttyUSBn, /dev/ttyACMn and /dev/ttySn in number order.
// A ttyS device whose driver reports no UART behind it (type 0 under
// /sys/class/tty) is left out. The folders are injectable, so the scan can
// be checked on a folder of stand-in files.
//
// The profile keeps the choice in "Setting"/"PortName" (a device path, or
// "Built-in simulator"); "PortNo" n is the traditional name /dev/ttyS(n-1).
#pragma once

#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace pandor {

// The port choice that runs the console on its in-process transceiver.
inline constexpr const char* kBuiltInSimulatorChoice = "Built-in simulator";

struct DeviceAccess {
    bool permitted = true; // false: the file permissions refuse this user
    QString group;         // the group to join for access (name, or number); empty: none will do
};

struct SerialEnvironment {
    QString byIdDir = QStringLiteral("/dev/serial/by-id");
    QString devDir = QStringLiteral("/dev");
    QString sysTtyDir = QStringLiteral("/sys/class/tty");
    // Whether this user may open a device; CheckDeviceAccess when empty.
    std::function<DeviceAccess(const QString& path)> access;
};

struct SerialDevice {
    QString path;
    DeviceAccess access;
};

// The devices in list order.
std::vector<SerialDevice> ScanSerialDevices(const SerialEnvironment& env);

// Read and write access for the calling user; refused only for a permission
// reason (EACCES or EPERM), anything else counts as permitted.
DeviceAccess CheckDeviceAccess(const QString& path);

// The group whose members may read and write a device of this mode and
// group: its name (or number), empty when the group's permissions lack read
// or write, or when it is the superuser's group (then only the administrator
// can help).
QString GroupToJoin(unsigned mode, unsigned gid);

// The message for a device this user may not open, naming the group to join
// (empty group: asking the administrator for access).
QString PermissionMessage(const QString& path, const QString& group, const QString& user);

// The traditional mapping: <devDir>/ttyS(n-1) is port number n.
std::optional<int> TraditionalPortNumber(const QString& path, const QString& devDir);
QString TraditionalPortPath(int portNumber, const QString& devDir);

// The environment the setup panel scans (the machine's own unless replaced,
// for tests, before the panel opens).
const SerialEnvironment& CurrentSerialEnvironment();
void SetSerialEnvironment(const SerialEnvironment& env);

} // namespace pandor
