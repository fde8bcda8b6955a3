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

    // The bars stand at `f1` and `f2` (Hz) and `attenuation` (dB), and the
    // values shown beside them read the same.
    void ExpectBars(int f1, int f2, int attenuation) const {
        EXPECT_EQ(Bar(tonwell::kIdF1Bar)->value(), f1);
        EXPECT_EQ(Bar(tonwell::kIdF2Bar)->value(), f2);
        EXPECT_EQ(Bar(tonwell::kIdAttenuationBar)->value(), attenuation);
        EXPECT_EQ(Label(tonwell::kIdF1Value), QString::number(f1));
        EXPECT_EQ(Label(tonwell::kIdF2Value), QString::number(f2));
        EXPECT_EQ(Label(tonwell::kIdAttenuationValue), QString::number(attenuation));
    }

    std::shared_ptr<platform::ScriptedDialogs> dialogs;
    tonwell::CEqsWindow* window = nullptr;
};

} // namespace testing_tonwell
