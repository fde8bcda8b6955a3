// SPDX-License-Identifier: GPL-3.0-or-later
// window_helpers.h - reaching the equaliser windows and their controls from
// the window tests.
#pragma once

#include "eqg_window.h"
#include "eqs_window.h"

#include <kestrin.h>
#include <platform.h>
#include <tonwell.h>

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <memory>

namespace testing_tonwell {

template <class Window>
Window* FindWindow() {
    Window* found = nullptr;
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<Window*>(widget)) {
            found = window;
            ++count;
        }
    }
    return count == 1 ? found : nullptr;
}

template <class Control>
Control* Child(QWidget* window, int id) {
    return window->findChild<Control*>(QString::number(id));
}

// Opens the design window with scripted dialogs; destroys it afterwards.
class DesignWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        dialogs = std::make_shared<platform::ScriptedDialogs>();
        platform::SetDialogProvider(dialogs);
        RadioEqsView(nullptr);
        window = FindWindow<tonwell::CEqsWindow>();
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override {
        RadioEqsDestroy();
        platform::SetDialogProvider(nullptr);
    }

    QRadioButton* Radio(int id) const { return Child<QRadioButton>(window, id); }
    QScrollBar* Bar(int id) const { return Child<QScrollBar>(window, id); }
    QString Label(int id) const {
        auto* label = Child<CStaticEx>(window, id);
        return label != nullptr ? label->text() : QStringLiteral("<none>");
    }
    QPushButton* Button(int id) const { return Child<QPushButton>(window, id); }

    std::shared_ptr<platform::ScriptedDialogs> dialogs;
    tonwell::CEqsWindow* window = nullptr;
};

} // namespace testing_tonwell
