// SPDX-License-Identifier: GPL-3.0-or-later
// The setup panel's tests' fixture: a profile without a "Setting" section,
// made-up serial devices, scripted dialogs, and the panel's controls found
// by their numbers, keys and mouse presses sent as the operator's.
#pragma once

#include "setup_panel.h"
#include "test_helpers.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>

namespace pandor::test {

inline const QString kSetting = QStringLiteral("Setting");

inline QString Stored(const char* key) {
    return platform::GetProfileString(kSetting, QString::fromLatin1(key), QStringLiteral("<missing>"));
}
inline void Store(const char* key, const QString& value) {
    platform::WriteProfileString(kSetting, QString::fromLatin1(key), value);
}

class SetupPanelTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        // The profile starts without a "Setting" section.
        QSettings(QStringLiteral("BRAVELL"), QStringLiteral("Zephyra")).remove(kSetting);
        ASSERT_TRUE(root.isValid());
        ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("dev/serial/by-id")));
        env.devDir = root.filePath(QStringLiteral("dev"));
        env.byIdDir = root.filePath(QStringLiteral("dev/serial/by-id"));
        env.sysTtyDir = root.filePath(QStringLiteral("sys"));
        for (const char* name : {"ttyS0", "ttyS1", "ttyS2", "ttyUSB0", "ttyACM0"}) {
            QFile file(QDir(env.devDir).filePath(QString::fromLatin1(name)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        ASSERT_TRUE(QFile::link(QStringLiteral("../../ttyUSB0"), StableName()));
        env.access = [](const QString& path) {
            return path.endsWith(QLatin1String("ttyS1")) ? DeviceAccess{false, QStringLiteral("dialout")}
                                                         : DeviceAccess{};
        };
        SetSerialEnvironment(env);
        dialogs = std::make_shared<platform::ScriptedDialogs>();
        platform::SetDialogProvider(dialogs);
    }
    void TearDown() override {
        PanelTest::TearDown();
        SetSerialEnvironment(SerialEnvironment{});
    }

    CSetupPanel* Open() {
        QuorelView(nullptr);
        return Panels().setup.data();
    }
    QString Dev(const char* name) const { return QDir(env.devDir).filePath(QString::fromLatin1(name)); }
    QString StableName() const { return QDir(env.byIdDir).filePath(QStringLiteral("usb-Maker_Serial-if00-port0")); }

    template <class T>
    T* Control(int id) const {
        return Panels().setup->findChild<T*>(QString::number(id));
    }
    QComboBox* PortList() const { return Control<QComboBox>(24047); }
    QComboBox* BaudList() const { return Control<QComboBox>(24053); }
    QComboBox* DialList() const { return Control<QComboBox>(24128); }
    QPushButton* Ent(int row) const { return Control<QPushButton>(24130 + row); }
    QPushButton* Ok() const { return Control<QPushButton>(24134); }
    QPushButton* Cancel() const { return Control<QPushButton>(24007); }
    QPushButton* ResetAll() const { return Control<QPushButton>(24008); }
    QPushButton* ResetVfo() const { return Control<QPushButton>(24009); }
    QWidget* Digit(int row, int position) const {
        return Panels().setup->findChild<QWidget*>(QStringLiteral("digit%1_%2").arg(row).arg(position));
    }
    QString PortShown() const { return PortList()->currentData().toString(); }

    // Keys go to the widget with the focus, as the operator's do.
    void Type(const char* keys, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = Panels().setup->focusWidget() != nullptr ? Panels().setup->focusWidget()
                                                                    : Panels().setup.data();
        for (const char* k = keys; *k != '\0'; ++k) {
            const int key = *k == '.' ? Qt::Key_Period : Qt::Key_0 + (*k - '0');
            QKeyEvent press(QEvent::KeyPress, key, modifiers, QString(QLatin1Char(*k)));
            QCoreApplication::sendEvent(target, &press);
            target = Panels().setup->focusWidget() != nullptr ? Panels().setup->focusWidget()
                                                               : Panels().setup.data();
        }
    }
    void Key(int key) {
        QWidget* target = Panels().setup->focusWidget() != nullptr ? Panels().setup->focusWidget()
                                                                    : Panels().setup.data();
        PressKey(target, key);
    }
    void Mouse(QWidget* widget, QEvent::Type type, Qt::MouseButton button) {
        const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
        QMouseEvent event(type, at, widget->mapToGlobal(at), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &event);
    }

    QTemporaryDir root;
    SerialEnvironment env;
    std::shared_ptr<platform::ScriptedDialogs> dialogs;
};

} // namespace pandor::test
