// SPDX-License-Identifier: GPL-3.0-or-later
// kestrin_edit.cpp - the edit field.
#include "kestrin.h"
#include "kestrin_paint.h"

#include <QPalette>

CEditEx::CEditEx(QWidget* parent, int id, const QRect& rect)
    : QLineEdit(parent), CKestrinControl(id, rect) {
    trackGeometry(this);
}

int CEditEx::SetTextSize(unsigned pixelHeight) {
    return kestrin_detail::setPixelHeight(this, pixelHeight);
}

int CEditEx::SetTextBold(int on) { return kestrin_detail::setBold(this, on != 0); }

int CEditEx::SetBackColor(COLORREF color) {
    QPalette pal = palette();
    pal.setColor(QPalette::Base, KestrinColor(color));
    setPalette(pal);
    update();
    return 1;
}

COLORREF CEditEx::backColor() const { return KestrinRef(palette().color(QPalette::Base)); }
