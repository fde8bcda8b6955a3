// SPDX-License-Identifier: GPL-3.0-or-later
// The radio's reports (forwarded by the console), menu 015, View and Close.
#include "vscan_window.h"

#include "put_back.h"

#include <corvan.h>
#include <platform.h>

#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace glimra {

namespace {

constexpr std::uint32_t kMenuScanLock = 15; // menu 015, cleared while the window is open

// The number at the front of a menu text ("0", "12"); anything else is 0.
int MenuNumber(const char* text) {
    if (text == nullptr) {
        return 0;
    }
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || value < 0 || value > 999999) {
        return 0;
    }
    return static_cast<int>(value);
}

} // namespace

bool CVisualScanDlg::inBand(std::int64_t hz) {
    return hz > 0 && m_link->GetRcvBand(m_control.selector.load(), hz) != 0;
}

void CVisualScanDlg::readInitialState() {
    std::uint32_t first = 0;
    std::uint32_t second = 0;
    if (m_link->RcvDataDC(&first, &second) != 0) {
        m_dcFirst = static_cast<int>(first);
        m_dcSecond = static_cast<int>(second);
    } else {
        m_link->ConnDC("R", 0, 0);
        m_dcFirst = 9;
        m_dcSecond = 9;
    }
    m_band = m_dcSecond == 1 ? 1 : 0;
    std::uint32_t fr = 0;
    int value = 9;
    if (m_link->RcvDataFR(&fr) != 0) {
        value = static_cast<int>(fr);
    } else {
        m_link->ConnFR("R", 0);
    }
    if (m_band == 1) {
        m_frSub = value;
    } else {
        m_frMain = value;
    }
    m_control.selector = SelectorFor(m_band, m_band == 1 ? m_frSub : m_frMain);
}

void CVisualScanDlg::clearMenu015() {
    m_link->ConnEX("W", kMenuScanLock, 0, 0, 0, "0");
}

bool CVisualScanDlg::restoreMenu015() {
    m_menu015Given = false;
    if (m_link->ConnEX("W", kMenuScanLock, 0, 0, 0, std::to_string(m_saved015).c_str()) == 1) {
        Owed().menu015.reset();
        return true;
    }
    Owed().menu015 = m_saved015; // the radio still holds 0: given back once it is there
    return false;
}

void CVisualScanDlg::saveAndClearMenu015() {
    if (Owed().menu015) {
        // A window closed while the radio was away left menu 015 cleared
        // and owes its value: that value is the operator's, not the 0 the
        // radio holds.
        m_saved015 = *Owed().menu015;
        Owed().menu015.reset();
        clearMenu015();
        return;
    }
    std::uint32_t menu = 0;
    std::uint32_t sub = 0;
    std::uint32_t a = 0;
    std::uint32_t b = 0;
    char text[corvan::kNameTextSize] = {};
    if (m_link->RcvDataEX(&menu, &sub, &a, &b, text) != 0) {
        m_link->ConnEX("R", kMenuScanLock, 0, 0, 0, "");
        for (int i = 0; i < 10; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            std::uint32_t m = 0;
            std::uint32_t s = 0;
            std::uint32_t x = 0;
            std::uint32_t y = 0;
            char value[corvan::kNameTextSize] = {};
            if (m_link->RcvDataEX(&m, &s, &x, &y, value) != 0 && m == kMenuScanLock && s == 0 &&
                x == 0 && y == 0) {
                m_saved015 = static_cast<std::uint32_t>(MenuNumber(value));
                break;
            }
        }
        clearMenu015();
        // Ask again for the menu that was stored before, so the store holds it.
        m_link->ConnEX("R", menu, sub, a, b, "");
        return;
    }
    clearMenu015();
}

void CVisualScanDlg::applyGuardRule() {
    const bool guarded = m_guard[0] != 0 || m_guard[1] != 0 || m_guard[2] != 0;
    if (guarded && m_control.stopped.load() == 0) {
        Stop();
    }
}

void CVisualScanDlg::View(bool created) {
    show();
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        raise(); // the headless platform cannot raise, and says so
    }
    activateWindow();
    if (created) {
        m_open = true; // menu 015 was saved and cleared by the creation
        return;
    }
    if (m_open) {
        clearMenu015();
        applyGuardRule();
        return;
    }
    m_open = true;
    saveAndClearMenu015();
}

void CVisualScanDlg::MsgEX(std::int32_t menu, std::int32_t item, std::int32_t, std::int32_t,
                           const char* text) {
    const int number = MenuNumber(text);
    if (menu == 61 && item == 1) {
        m_guard[0] = number;
    } else if (menu == 61 && item == 5) {
        m_guard[1] = number;
    } else if (menu == 62 && item == 5) {
        m_guard[2] = number;
    } else if (menu == static_cast<std::int32_t>(kMenuScanLock) && m_open && number > 0) {
        clearMenu015();
    }
    applyGuardRule();
}

void CVisualScanDlg::MsgDC(std::int32_t first, std::int32_t second) {
    if (first == m_dcFirst && second == m_dcSecond) {
        return;
    }
    m_dcFirst = first;
    if (second == m_dcSecond) {
        return;
    }
    m_dcSecond = second;
    const int band = second == 1 ? 1 : 0;
    const int oldBand = m_band;
    m_band = band;
    if (m_control.stopped.load() == 0) {
        return;
    }
    if (band != oldBand) {
        const int old = m_ui.stepList->count() == 0 ? -1 : m_ui.stepList->currentIndex();
        fillStepList(band, RefillStepIndex(old, band == 1));
    }
    Reset();
}

void CVisualScanDlg::MsgFR(std::int32_t value) {
    const std::uint32_t selector = m_control.selector.load();
    if (m_control.stopped.load() == 0) {
        if (selector <= 1 && m_band == 0 && value != static_cast<std::int32_t>(selector)) {
            m_link->ConnFR("W", selector);
        } else if (selector == 2 && m_band == 1 && value != 0) {
            m_link->ConnFR("W", 0);
        }
        return;
    }
    if (m_band == 0) {
        m_frMain = (value == 0 || value == 1) ? value : 0;
        m_control.selector = SelectorFor(0, m_frMain);
    } else {
        m_frSub = value;
        if (value == 0) {
            m_control.selector = 2;
        }
    }
}

void CVisualScanDlg::MsgSC(std::int32_t value) {
    if (m_control.stopped.load() != 0) {
        return;
    }
    const std::uint32_t selector = m_control.selector.load();
    const bool sweptReceiver = (m_band == 0 && selector <= 1) || (m_band == 1 && selector == 2);
    if (value == 3 || (value != 0 && sweptReceiver)) {
        Stop();
    }
}

void CVisualScanDlg::MsgTX(std::int32_t) {
    m_transmit = 1;
    Stop();
}

void CVisualScanDlg::MsgRX(std::int32_t) {
    m_transmit = 0;
}

void CVisualScanDlg::OnClose() {
    m_open = false;
    // Given back already when the link closed: the radio holds it.
    if (!m_menu015Given) {
        restoreMenu015();
    }
    m_menu015Given = false;
    restoreRadioStep();
    if (QWidget* main = platform::MainWindow()) {
        main->activateWindow();
    }
    platform::PostToMainWindow(platform::kUmVscanClosed, 0, 0);
    hide();
}

void CVisualScanDlg::LinkClosing(bool writable) {
    // Without the console the radio is the operator's own: it gets its menu
    // 015 back now, while the line is open (a Close or Exit later, with the
    // link closed, could not give it). A device already gone takes nothing;
    // the window keeps the value and gives it back when it closes.
    if (!m_open || !writable || m_menu015Given) {
        return;
    }
    if (restoreMenu015()) {
        m_menu015Given = true;
    } else {
        Owed().menu015.reset(); // still the window's to give back
    }
}

void CVisualScanDlg::RadioMayBeBack() {
    if (!m_open || !m_menu015Given || !RadioTakesPutBack(*m_link)) {
        return;
    }
    if (m_link->ConnEX("W", kMenuScanLock, 0, 0, 0, "0") == 1) {
        m_menu015Given = false;
    }
}

void CVisualScanDlg::closeEvent(QCloseEvent* event) {
    // The window manager's close acts as the Close button; a sweep still
    // running is stopped first (a hidden window does not sweep on).
    event->ignore();
    if (!isVisible()) {
        return;
    }
    Stop();
    OnClose();
}

} // namespace glimra
