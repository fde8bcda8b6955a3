// SPDX-License-Identifier: GPL-3.0-or-later
// orlint.h - the menu window: browses the radio's extended menu (EX), shows
// each item's value as the radio reports it and lets the operator change one.
//
// The console calls these plain functions. There is one window per process:
// OrlintView creates it on its first call and shows the existing one on
// later calls; it returns non-zero when the window exists afterwards.
// OrlintDestroy destroys it (its position is kept under "WindowPos"/"Orlint")
// and may be called when none exists. Every message function accepts its
// values at any time; the menu values and the radio's state are kept while
// no window exists, so a window opened later starts from them.
//
// The window follows the item the radio last reported (the EX reply), except
// while the scroll lock is on: the console sets it while it reads the menu
// itself, and the window then keeps its item and holds back reads of its own.
// Changes go out as EX set commands through a link object of the window's
// own; they are not offered while the radio transmits, scans, is in terminal
// mode or in P.C.T. mode, or while the console reads the menu.
//
// Threading: UI thread only.
#pragma once

#include <cstdint>

class QWidget;

// Creates (first call) or shows and activates the "Menu" window. Non-zero
// when the window exists.
std::int32_t OrlintView(QWidget* parent);
void OrlintDestroy();

// The ZUL state (menu 62 sub-item 5), the repeater mode (61/1) and the remote
// control (61/5) as the console keeps them.
void OrlintSetZulParams(std::uint32_t zul, std::uint32_t repeater, std::uint32_t remote);
// 1 while the console reads the extended menu, 0 after.
void OrlintSetScrollLock(std::uint32_t on);

// Forwarded reports of the radio.
void OrlintMsgCM(std::uint32_t pct);
void OrlintMsgEX(std::uint32_t menu, std::uint32_t sub, std::uint32_t a, std::uint32_t b,
                 const char* text);
void OrlintMsgMF(std::uint32_t bank);
void OrlintMsgRX(std::uint32_t band);
void OrlintMsgSC(std::uint32_t scan);
void OrlintMsgTC(std::uint32_t terminal);
void OrlintMsgTX(std::uint32_t band);
