// operating_modes.cpp - power, PLL lock, terminal mode, satellite mode and the extended menu.
#include "console_display.h"

#include "../console_controls.h"
#include "../console_ids.h"

#include <ConsoleLink.h>
#include <corvan.h>
#include <platform.h>

void ConsoleDisplay::OnPS(int /*value*/) {}
void ConsoleDisplay::OnUL(int /*value*/) {}
void ConsoleDisplay::OnTC(int /*value*/) {}
void ConsoleDisplay::OnEX(int /*menu*/, int /*sub*/, int /*third*/, int /*fourth*/, const char* /*text*/) {}
void ConsoleDisplay::OnSA(const SatelliteReport& /*report*/) {}
void ConsoleDisplay::ShowZulLine() {}
