// transmit_display.cpp - transmit, split and the RIT/XIT offset.
#include "console_display.h"

#include "../console_controls.h"
#include "../console_ids.h"

#include <ConsoleLink.h>
#include <corvan.h>
#include <platform.h>

void ConsoleDisplay::OnIF(const IfReport& /*report*/) {}
void ConsoleDisplay::OnOI(const IfReport& /*report*/) {}
void ConsoleDisplay::OnTX(int /*band*/) {}
void ConsoleDisplay::OnRX(int /*band*/) {}
void ConsoleDisplay::OnFT(int /*vfo*/) {}
void ConsoleDisplay::OnRT(int /*on*/) {}
void ConsoleDisplay::OnXT(int /*on*/) {}
void ConsoleDisplay::ShowRitXitOffset(int /*offset*/) {}
