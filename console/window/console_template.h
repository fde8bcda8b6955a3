// SPDX-License-Identifier: GPL-3.0-or-later
// console_template.h - the console template as data.
//
// One row per control: identifier, control class, caption and rectangle in
// client pixels. The console builds its controls from this table once at
// start; nothing else places a control.
#pragma once

#include <QRect>
#include <QString>

#include <span>

enum class ControlKind {
    Static,    // CStaticEx
    Button,    // CButtonEx
    CButton,   // CCButtonEx
    Frame,     // CStaticFrameEx
    Meter,     // CStaticMeterEx
    Lamp,      // CStaticLEDEx
    Edit,      // CEditEx
    ScrollBar, // QScrollBar (horizontal)
    ComboBox,  // QComboBox (drop-down list)
};

// Row flags.
enum ControlFlag : unsigned {
    kNone = 0,
    kCentre = 1u << 0,    // text centred (labels)
    kRight = 1u << 1,     // text right-aligned (labels)
    kCheckable = 1u << 2, // check button (keeps a check state)
    kHidden = 1u << 3,    // never shown (hidden by the layout)
};

struct ControlRect {
    int left;
    int top;
    int width;
    int height;
    QRect toRect() const { return QRect(left, top, width, height); }
};

struct ControlRow {
    int id;
    ControlKind kind;
    const char* caption;
    ControlRect rect;
    unsigned flags = kNone;
};

// The whole template in build order.
std::span<const ControlRow> ConsoleTemplate();
// The row of one identifier, or null.
const ControlRow* FindControlRow(int id);

// The console's fixed size: menu bar and client area together (the desktop's
// title bar comes on top). The client area starts below the menu bar.
inline constexpr int kConsoleWidth = 761;
inline constexpr int kConsoleHeight = 546;
inline constexpr char kConsoleCaption[] = "Radio Control Program for QX-9000/QB9000";
