// display_state.cpp - the indicators of the front-panel display.
#include "console_display.h"

#include "../console_controls.h"
#include "../console_ids.h"

#include <ConsoleLink.h>
#include <corvan.h>
#include <platform.h>

QString ConsoleDisplay::ModeName(int /*mode*/) { return {}; }
void ConsoleDisplay::OnAC(int /*rxTuner*/, int /*txTuner*/, int /*state*/) {}
void ConsoleDisplay::OnAG(int /*band*/, int /*level*/) {}
void ConsoleDisplay::OnAI(int /*value*/) {}
void ConsoleDisplay::OnAM(int /*value*/) {}
void ConsoleDisplay::OnAN(int /*value*/) {}
void ConsoleDisplay::OnAR(int /*band*/, int /*checkOn*/, int /*checkRunning*/) {}
void ConsoleDisplay::OnBC(int /*value*/) {}
void ConsoleDisplay::OnBP(int /*value*/) {}
void ConsoleDisplay::OnBY(int /*mainBusy*/, int /*subBusy*/) {}
void ConsoleDisplay::OnCA(int /*value*/) {}
void ConsoleDisplay::OnCM(int /*value*/) {}
void ConsoleDisplay::OnCT(int /*value*/) {}
void ConsoleDisplay::OnDC(int /*transmitBand*/, int /*controlBand*/) {}
void ConsoleDisplay::OnDQ(int /*value*/) {}
void ConsoleDisplay::OnFS(int /*value*/) {}
void ConsoleDisplay::OnFW(int /*value*/) {}
void ConsoleDisplay::OnGT(int /*value*/) {}
void ConsoleDisplay::OnLK(int /*first*/, int /*second*/) {}
void ConsoleDisplay::OnLM(int /*value*/) {}
void ConsoleDisplay::OnLT(int /*value*/) {}
void ConsoleDisplay::OnMD(int /*mode*/) {}
void ConsoleDisplay::OnNB(int /*value*/) {}
void ConsoleDisplay::OnNR(int /*value*/) {}
void ConsoleDisplay::OnNT(int /*value*/) {}
void ConsoleDisplay::OnOF(int /*value*/) {}
void ConsoleDisplay::OnOS(int /*value*/) {}
void ConsoleDisplay::OnPA(int /*mainValue*/, int /*subValue*/) {}
void ConsoleDisplay::OnPB(int /*value*/) {}
void ConsoleDisplay::OnPM(int /*value*/) {}
void ConsoleDisplay::OnPR(int /*value*/) {}
void ConsoleDisplay::OnRA(int /*mainValue*/, int /*subValue*/) {}
void ConsoleDisplay::OnRG(int /*value*/) {}
void ConsoleDisplay::OnSB(int /*value*/) {}
void ConsoleDisplay::OnSQ(int /*band*/, int /*level*/) {}
void ConsoleDisplay::OnSS(int /*value*/) {}
void ConsoleDisplay::OnTI(int /*first*/, int /*second*/, int /*third*/) {}
void ConsoleDisplay::OnTO(int /*value*/) {}
void ConsoleDisplay::OnTS(int /*value*/) {}
void ConsoleDisplay::OnVX(int /*value*/) {}
void ConsoleDisplay::ShowModeLabel(int /*band*/) {}
void ConsoleDisplay::ShowMainStatus() {}
void ConsoleDisplay::UpdateMemoryLamp() {}
void ConsoleDisplay::OnTimer(int /*id*/) {}
