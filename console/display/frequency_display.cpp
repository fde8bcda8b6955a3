// frequency_display.cpp - the two frequency displays and the receive VFO.
#include "console_display.h"

#include "../console_controls.h"
#include "../console_ids.h"

#include <ConsoleLink.h>
#include <corvan.h>
#include <platform.h>

void ConsoleDisplay::ShowMainFrequency(std::int64_t /*frequency*/) {}
void ConsoleDisplay::ShowSubFrequency(std::int64_t /*frequency*/) {}
void ConsoleDisplay::SelectRxVfo(int /*vfo*/) {}
void ConsoleDisplay::OnFA(std::int64_t /*frequency*/) {}
void ConsoleDisplay::OnFB(std::int64_t /*frequency*/) {}
void ConsoleDisplay::OnFC(std::int64_t /*frequency*/) {}
void ConsoleDisplay::OnFR(int /*vfo*/) {}
void ConsoleDisplay::UpdateExtLabel() {}
void ConsoleDisplay::RedrawFrequencies() {}
