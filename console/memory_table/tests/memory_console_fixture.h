// SPDX-License-Identifier: GPL-3.0-or-later
// memory_console_fixture.h - the memory channels from the operator's side:
// a console connected to the built-in simulator of either family, its
// questions answered OK, channel numbers typed on the keypad, the MWs the
// radio received, and a dialog that lets the radio change a channel while
// the console's question is open.
#pragma once

#include "../../operations/tests/operations_fixture.h"
#include "memory_fixture.h"

#include <platform.h>

#include <QAbstractButton>
#include <QApplication>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace memory_test {

// The keypad key that types `digit` in entry mode.
inline int KeypadKey(int digit) {
    static const int kKeys[10] = {idc::Shift, idc::Ch1,   idc::Ch2,      idc::Ch3,       idc::Tone,
                                  idc::Meter, idc::Ctcss, idc::NbButton, idc::AgcButton, idc::FineButton};
    return kKeys[digit];
}

// The channel editor while it is shown.
inline QWidget* ChannelEditor() {
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == QLatin1String("Mch") && top->isVisible())
            return top;
    return nullptr;
}

// The last button of `window` that reads `text`; null for none.
inline QAbstractButton* ButtonLabelled(QWidget* window, const QString& text) {
    QAbstractButton* found = nullptr;
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
        if (button->text() == text)
            found = button;
    return found;
}

class MemoryConsoleTest : public operations_test::OperationsTest {
protected:
    void SetUp() override {
        OperationsTest::SetUp();
        dialogs = std::make_shared<platform::ScriptedDialogs>();
        dialogs->defaultAnswer = platform::IdOk;
        platform::SetDialogProvider(dialogs);
    }
    void TearDown() override {
        platform::SetDialogProvider(nullptr);
        OperationsTest::TearDown();
    }
    // The radio of `identity` before the console connects.
    void Identity(int identity) {
        qxsim::Options options;
        options.identity = identity;
        console->connection()->Simulator().SetOptions(options);
    }
    // Digits on the keypad, as the operator types a channel number.
    void Type(const std::string& digits) {
        for (const char c : digits)
            Click(KeypadKey(c - '0'));
    }
    // The MWs the radio received since it last forgot what it received.
    std::size_t Writes() { return radio().countOf("MW"); }

    std::shared_ptr<platform::ScriptedDialogs> dialogs;
};

// Answers OK to every question, doing `during` (once) while the first is open.
class DialogsActingOnce final : public platform::DialogProvider {
public:
    int messageBox(const platform::MessageBoxRequest& request, QWidget*) override {
        texts.push_back(request.text);
        if (during) {
            const std::function<void()> now = std::move(during);
            during = nullptr;
            now();
        }
        return platform::IdOk;
    }
    std::optional<QString> fileDialog(const platform::FileDialogRequest&, QWidget*) override { return std::nullopt; }

    std::function<void()> during;
    std::vector<QString> texts;
};

} // namespace memory_test
