// SPDX-License-Identifier: GPL-3.0-or-later
// The serial devices offered by the setup panel: which are found, in which
// order, the traditional port numbers, and the message for a device whose
// permissions refuse the user.
#include "setup_devices.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pandor {
namespace {

class DeviceScan : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("dev/serial/by-id")));
        ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("sys")));
        env.devDir = root.filePath(QStringLiteral("dev"));
        env.byIdDir = root.filePath(QStringLiteral("dev/serial/by-id"));
        env.sysTtyDir = root.filePath(QStringLiteral("sys"));
    }

    void Device(const QString& name) {
        QFile file(QDir(env.devDir).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << name.toStdString();
    }
    void Link(const QString& name, const QString& target) {
        ASSERT_TRUE(QFile::link(target, QDir(env.byIdDir).filePath(name))) << name.toStdString();
    }
    void UartType(const QString& name, const char* type) {
        ASSERT_TRUE(QDir(env.sysTtyDir).mkpath(name));
        QFile file(QDir(env.sysTtyDir).filePath(name + QStringLiteral("/type")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(type);
    }
    QStringList Paths(const std::vector<SerialDevice>& devices) const {
        QStringList out;
        for (const auto& d : devices) {
            out << QDir(root.path()).relativeFilePath(d.path);
        }
        return out;
    }

    QTemporaryDir root;
    SerialEnvironment env;
};

TEST_F(DeviceScan, StableNamesFirstThenUsbAcmAndSerialInNumberOrder) {
    for (const char* name : {"ttyS10", "ttyS2", "ttyS0", "ttyS1", "ttyUSB10", "ttyUSB1", "ttyUSB0", "ttyACM0",
                             "tty", "tty5", "ttyUSB", "ttyUSBx", "ttyS01", "ttyACM1a", "console", "ttyAMA0"}) {
        Device(QString::fromLatin1(name));
    }
    Link(QStringLiteral("usb-Maker_B_Serial-if00-port0"), QStringLiteral("../../ttyUSB1"));
    Link(QStringLiteral("usb-Maker_A_Serial-if00-port0"), QStringLiteral("../../ttyUSB0"));
    Link(QStringLiteral("usb-Unplugged-if00-port0"), QStringLiteral("../../ttyUSB7")); // dangling
    UartType(QStringLiteral("ttyS1"), "0\n"); // no UART behind it
    UartType(QStringLiteral("ttyS0"), "4\n");

    EXPECT_EQ(Paths(ScanSerialDevices(env)),
              QStringList({"dev/serial/by-id/usb-Maker_A_Serial-if00-port0",
                           "dev/serial/by-id/usb-Maker_B_Serial-if00-port0", "dev/ttyUSB0", "dev/ttyUSB1",
                           "dev/ttyUSB10", "dev/ttyACM0", "dev/ttyS0", "dev/ttyS2", "dev/ttyS10"}));
}

TEST_F(DeviceScan, MissingFoldersGiveAnEmptyList) {
    env.devDir = root.filePath(QStringLiteral("nothing"));
    env.byIdDir = root.filePath(QStringLiteral("nothing/either"));
    env.sysTtyDir = root.filePath(QStringLiteral("nor"));
    EXPECT_TRUE(ScanSerialDevices(env).empty());
}

TEST_F(DeviceScan, EachDeviceCarriesItsAccess) {
    Device(QStringLiteral("ttyUSB0"));
    Device(QStringLiteral("ttyS0"));
    env.access = [](const QString& path) {
        return path.endsWith(QLatin1String("ttyS0")) ? DeviceAccess{false, QStringLiteral("dialout")}
                                                     : DeviceAccess{};
    };
    const auto devices = ScanSerialDevices(env);
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_TRUE(devices[0].access.permitted);
    EXPECT_FALSE(devices[1].access.permitted);
    EXPECT_EQ(devices[1].access.group, "dialout");
}

TEST_F(DeviceScan, SystemCheckRefusesOnlyForPermissions) {
    Device(QStringLiteral("ttyUSB0"));
    const QString path = QDir(env.devDir).filePath(QStringLiteral("ttyUSB0"));
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0), 0);
    const DeviceAccess access = CheckDeviceAccess(path);
    if (::geteuid() == 0) {
        EXPECT_TRUE(access.permitted) << "the superuser opens any device";
    } else {
        EXPECT_FALSE(access.permitted);
        EXPECT_FALSE(access.group.isEmpty());
    }
    // A device that is not there is no permission problem.
    EXPECT_TRUE(CheckDeviceAccess(QDir(env.devDir).filePath(QStringLiteral("ttyUSB9"))).permitted);
}

TEST(PermissionMessage, NamesTheDeviceTheGroupAndHowToJoinIt) {
    const QString text = PermissionMessage(QStringLiteral("/dev/ttyUSB0"), QStringLiteral("dialout"),
                                           QStringLiteral("ham"));
    EXPECT_TRUE(text.contains(QLatin1String("/dev/ttyUSB0"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QLatin1String("permissions"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QLatin1String("\"dialout\""))) << text.toStdString();
    EXPECT_TRUE(text.contains(QLatin1String("usermod -aG dialout ham"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QLatin1String("log in again"))) << text.toStdString();
    const QString unknown = PermissionMessage(QStringLiteral("/dev/ttyS0"), QString(), QStringLiteral("ham"));
    EXPECT_TRUE(unknown.contains(QLatin1String("/dev/ttyS0")));
    EXPECT_FALSE(unknown.contains(QLatin1String("usermod")));
}

struct PortNumberCase {
    const char* name;
    const char* path;
    int number; // 0: not a traditional port
};
void PrintTo(const PortNumberCase& c, std::ostream* out) { *out << c.name; }

class TraditionalPorts : public testing::TestWithParam<PortNumberCase> {};

TEST_P(TraditionalPorts, NumberTheTtySDevicesOfTheDeviceFolder) {
    const auto number = TraditionalPortNumber(QString::fromLatin1(GetParam().path), QStringLiteral("/dev"));
    EXPECT_EQ(number.value_or(0), GetParam().number);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, TraditionalPorts,
    testing::Values(PortNumberCase{"First", "/dev/ttyS0", 1}, PortNumberCase{"Tenth", "/dev/ttyS9", 10},
                    PortNumberCase{"Beyond", "/dev/ttyS31", 32}, PortNumberCase{"Usb", "/dev/ttyUSB0", 0},
                    PortNumberCase{"StableName", "/dev/serial/by-id/usb-x-port0", 0},
                    PortNumberCase{"NoNumber", "/dev/ttyS", 0}, PortNumberCase{"Letters", "/dev/ttySx", 0},
                    PortNumberCase{"LeadingZero", "/dev/ttyS01", 0},
                    PortNumberCase{"OtherFolder", "/tmp/ttyS0", 0},
                    PortNumberCase{"Simulator", "Built-in simulator", 0}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(TraditionalPorts, PortNumbersNameTheTtySDevices) {
    EXPECT_EQ(TraditionalPortPath(1, QStringLiteral("/dev")), "/dev/ttyS0");
    EXPECT_EQ(TraditionalPortPath(10, QStringLiteral("/dev")), "/dev/ttyS9");
    EXPECT_EQ(TraditionalPortPath(0, QStringLiteral("/dev")), "/dev/ttyS0");
    EXPECT_EQ(TraditionalPortPath(-3, QStringLiteral("/dev")), "/dev/ttyS0");
}

} // namespace
} // namespace pandor

namespace pandor {
namespace {

// Which group "(no access)" may tell the user to join: only one whose
// members may both read and write the device, and never the superuser's.
struct GroupCase {
    const char* name;
    unsigned mode;
    const char* group; // the device's group
    bool named;        // whether joining it is offered
};
void PrintTo(const GroupCase& c, std::ostream* out) { *out << c.name; }

class GroupToJoinCases : public testing::TestWithParam<GroupCase> {};

TEST_P(GroupToJoinCases, NamesOnlyAGroupThatMayReadAndWrite) {
    const GroupCase& c = GetParam();
    const group* entry = ::getgrnam(c.group);
    ASSERT_NE(entry, nullptr) << c.group;
    const QString joined = GroupToJoin(S_IFCHR | c.mode, entry->gr_gid);
    EXPECT_EQ(joined, c.named ? QString::fromLatin1(c.group) : QString()) << joined.toStdString();
    // What the setup panel then says.
    const QString text = PermissionMessage(QStringLiteral("/dev/ttyS0"), joined, QStringLiteral("nobody"));
    EXPECT_EQ(text.contains(QLatin1String("usermod")), c.named) << text.toStdString();
    EXPECT_EQ(text.contains(QLatin1String("administrator")), !c.named) << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Devices, GroupToJoinCases,
    testing::Values(GroupCase{"ReadWriteForDialout", 0660, "dialout", true},
                    GroupCase{"OwnerOnlyRootRoot", 0600, "root", false},
                    GroupCase{"ReadWriteForTheSuperusersGroup", 0660, "root", false},
                    GroupCase{"ConsoleWriteOnlyForTty", 0620, "tty", false},
                    GroupCase{"ReadOnlyForDialout", 0640, "dialout", false},
                    GroupCase{"OtherWriteButGroupNot", 0606, "dialout", false}),
    [](const testing::TestParamInfo<GroupCase>& row) { return std::string(row.param.name); });

} // namespace
} // namespace pandor
