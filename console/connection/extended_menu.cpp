// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the extended-menu items the console needs, one after another, each
// waited for until the radio has answered that very item.
#include "console_link.h"

namespace zephyra {

namespace {

enum class Condition { Always, ExtendedOptions, ExtendedOptionsBeforeType10 };

struct MenuItem {
    std::uint32_t menu;
    std::uint32_t sub;
    Condition condition;
};

constexpr MenuItem kItems[] = {
    {4, 0, Condition::Always},   {5, 0, Condition::Always},   {6, 1, Condition::Always},
    {6, 2, Condition::Always},   {18, 0, Condition::Always},  {19, 1, Condition::Always},
    {20, 0, Condition::Always},  {21, 0, Condition::Always},  {23, 0, Condition::Always},
    {25, 0, Condition::Always},  {44, 0, Condition::Always},  {46, 0, Condition::Always},
    {50, 1, Condition::Always},  {61, 1, Condition::ExtendedOptions},
    {61, 5, Condition::ExtendedOptionsBeforeType10},
    {62, 5, Condition::ExtendedOptionsBeforeType10},
};

} // namespace

void ConsoleLink::ReadExtendedMenu() {
    ++m_menuReadDepth;
    ++m_sequenceDepth;
    const std::uint32_t version = m_link.GetType();
    OperationGuard guard(*this);
    m_peers.OrlintSetScrollLock(1);

    // The item the radio and the menu window showed last.
    std::uint32_t lastMenu = 0, lastSub = 0, lastThird = 0, lastFourth = 0;
    char lastText[20] = {};
    m_link.RcvDataEX(&lastMenu, &lastSub, &lastThird, &lastFourth, lastText);

    for (const MenuItem& item : kItems) {
        if (ConnectionLost())
            break;
        const bool wanted =
            item.condition == Condition::Always ||
            (m_state.extendedOptions == 1 &&
             (item.condition == Condition::ExtendedOptions || version < 10));
        if (!wanted)
            continue;
        m_link.ConnEX("R", item.menu, item.sub, 0, 0, "");
        for (int attempt = 0; attempt < 10; ++attempt) {
            const bool answered = SleepUntilHandled(100, corvan::MessageOf("EX"), [&] {
                std::uint32_t menu = 0, sub = 0, third = 0, fourth = 0;
                char text[20] = {};
                return m_link.RcvDataEX(&menu, &sub, &third, &fourth, text) == 1 &&
                       menu == item.menu && sub == item.sub && third == 0 && fourth == 0;
            });
            Pump();
            if (answered || ConnectionLost())
                break;
        }
    }

    m_peers.OrlintSetScrollLock(0);
    guard.End();
    // Ask for the former item again so the last answer names it; sub-item 1
    // of menu 45 is asked with its fourth number 0.
    if (lastMenu == 45 && lastSub == 1)
        lastFourth = 0;
    m_link.ConnEX("R", lastMenu, lastSub, lastThird, lastFourth, "");
    --m_menuReadDepth;
    --m_sequenceDepth;

    if (m_menuReadPending && m_menuReadDepth == 0 && m_settingsReadDepth == 0) {
        m_menuReadPending = false;
        ReadExtendedMenu();
    }
}

} // namespace zephyra
