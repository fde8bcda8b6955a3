// meters_display.cpp - the meters.
#include "console_display.h"

#include "../console_controls.h"
#include "../console_ids.h"

#include <ConsoleLink.h>
#include <corvan.h>
#include <platform.h>

void ConsoleDisplay::OnSM(int /*meter*/, int /*value*/) {}
void ConsoleDisplay::OnRM(int /*selector*/, int /*value*/) {}
