// SPDX-License-Identifier: GPL-3.0-or-later
// pandor.h - the panels the console opens beside its main window.
//
// Seven modeless panels, each reached only through the functions below:
//
//   panel                    view            destroy          profile key  help
//   AGC time constant        RadioAgcView    RadioAgcDestroy  "Agc"        214
//   memory channel editor    RadioMchView    RadioMchDestroy  "Mch"        215
//   memory group use         RadioMgrView    RadioMgrDestroy  "Mgr"        216
//   multi-function levels    PandorView      PandorDestroy    "Mlt"        217
//   setup                    QuorelView      QuorelDestroy    "Set"        218
//   scan group set           RadioSgrView    RadioSgrDestroy  "Sgr"        219
//   satellite memory name    RadioSmnView    RadioSmnDestroy  "Smn"        220
//
// Lifecycle. A view function creates its panel (restoring the position saved
// under "WindowPos"/key) or shows the existing one and brings it to the front.
// Close, OK and Cancel only hide a panel and activate the main window; its
// state stays until the destroy function saves the position and deletes it.
// Every function may be called at any time: forwarding functions and the
// Set/Get functions do nothing while their panel does not exist (except
// PandorFreqChg, which keeps the band for the multi-function panel, and
// PandorGetMemVal, which clears its outputs). View functions do nothing while
// no QApplication exists.
//
// Messages to the main window (platform::PostToMainWindow, lParam 0):
//   0x1100 UM_MEMORY_EDIT_END  memory editor: wParam 1 OK, 0 Cancel
//   0x1101 UM_RADIO_RESET      setup panel:   wParam 2 full reset, 1 VFO reset
//   0x1102 UM_SAT_NAME_END     satellite name: wParam 1 OK, 0 Cancel
//   0x1103 UM_SETUP_SAVED      setup panel:   OK wrote the profile (wParam 0);
//                              the main window takes the section "Sharing" over
//
// End of the program: destroy the panels (the destroy functions, or
// PandorUnload for all that are left) before the QApplication is destroyed.
// PandorUnload destroys in the order AGC, memory group, memory editor,
// multi-function, setup, scan group, satellite name. As a safety net the
// library runs the same unload from the QApplication's destructor (its
// post routines run before any widget is torn down), so positions are saved
// and no widget outlives the application.
//
// Threading: the UI thread only.
#pragma once

#include <cstdint>

class QWidget;

namespace pandor {
inline constexpr unsigned kUmSetupSaved = 0x1103;
}

// AGC time-constant panel.
void RadioAgcView(QWidget* parent);
void RadioAgcDestroy();
void RadioAgcMsgMD(std::uint32_t mode);

// Memory channel editor. Frequencies are hertz; the 64-bit ones travel as
// low and high words into the editor and as one number out of it. `name` is
// a zero-terminated text (up to 9 characters are kept); the name buffer of
// PandorGetMemVal holds at least 10 bytes. Null output pointers are skipped.
void RadioMchView(QWidget* parent);
void RadioMchDestroy();
void PandorSetMemVal(std::uint32_t rxFreqLow, std::uint32_t rxFreqHigh, std::uint32_t rxMode,
                     std::uint32_t rxStep, std::uint32_t txFreqLow, std::uint32_t txFreqHigh,
                     std::uint32_t txMode, std::uint32_t txStep, std::uint32_t offset,
                     std::uint32_t shift, std::uint32_t reverse, std::uint32_t toneNumber,
                     std::uint32_t ctcssNumber, std::uint32_t dcsCode, std::uint32_t toneType,
                     std::uint32_t group, const char* name, std::uint32_t lockout);
void PandorGetMemVal(std::int64_t* rxFreq, std::uint32_t* rxMode, std::uint32_t* rxStep,
                     std::int64_t* txFreq, std::uint32_t* txMode, std::uint32_t* txStep,
                     std::uint32_t* offset, std::uint32_t* shift, std::uint32_t* reverse,
                     std::uint32_t* toneNumber, std::uint32_t* ctcssNumber,
                     std::uint32_t* dcsCode, std::uint32_t* toneType, std::uint32_t* group,
                     char* name, std::uint32_t* lockout);

// Memory group panel.
void RadioMgrView(QWidget* parent);
void RadioMgrDestroy();

// Multi-function panel. PandorView forwards `mode` as PandorMsgMD does and
// then the band last given to PandorFreqChg.
void PandorView(QWidget* parent, std::uint32_t mode);
void PandorDestroy();
void PandorFreqChg(std::uint32_t band);

// Reply forwarding to the multi-function panel.
void PandorMsgAL(std::uint32_t value);
void PandorMsgCG(std::uint32_t value);
void PandorMsgCN(std::uint32_t value);
void PandorMsgID(std::uint32_t value);
void PandorMsgKS(std::uint32_t value);
void PandorMsgMG(std::uint32_t value);
void PandorMsgML(std::uint32_t value);
void PandorMsgNL(std::uint32_t value);
void PandorMsgNR(std::uint32_t value);
void PandorMsgOF(std::uint32_t value);
void PandorMsgPC(std::uint32_t value);
void PandorMsgQC(std::uint32_t value);
void PandorMsgRL(std::uint32_t value);
void PandorMsgSD(std::uint32_t value);
void PandorMsgTN(std::uint32_t value);
void PandorMsgVD(std::uint32_t value);
void PandorMsgVG(std::uint32_t value);
void PandorMsgMD(std::uint32_t mode);
void PandorMsgPL(std::uint32_t inputLevel, std::uint32_t outputLevel);
// The fields of the EX reply; the panel uses only the value text (may be null).
void PandorMsgEX(std::uint32_t menu, std::uint32_t sub, std::uint32_t digit1,
                 std::uint32_t digit2, const char* text);

// Reply forwarding to the other panels.
void PandorMsgGT(std::uint32_t value); // AGC panel
void PandorMsgMU(std::uint32_t g0, std::uint32_t g1, std::uint32_t g2, std::uint32_t g3,
                 std::uint32_t g4, std::uint32_t g5, std::uint32_t g6, std::uint32_t g7,
                 std::uint32_t g8, std::uint32_t g9); // memory group panel
void PandorMsgSU(std::uint32_t scanType, std::uint32_t g0, std::uint32_t g1, std::uint32_t g2,
                 std::uint32_t g3, std::uint32_t g4, std::uint32_t g5, std::uint32_t g6,
                 std::uint32_t g7, std::uint32_t g8, std::uint32_t g9); // scan group panel
// Memory group panel, then scan group panel.
void PandorMsgDC(std::uint32_t transmitBand, std::uint32_t controlBand);
void PandorMsgPS(std::uint32_t powerState); // setup panel

// Setup panel. OK writes section "Setting": "PortName" (a device path, or
// "Built-in simulator"), "PortNo" n for /dev/ttyS(n-1) when that is the
// device chosen, "Baud", "DialWait" and the transverter offsets
// "TransFreqMain", "TransFreqSub", "TransFreqDown", "TransFreqUp" (each only
// when it changed, followed then by the EX read of menu 25). The full reset
// shows 9600 bps in the speed list without writing it. Its two sharing
// switches are "RigctlOn" and "FlrigOn" (1 on, 0 off) of section "Sharing",
// shown with "RigctlPort" and "FlrigPort"; OK writes both switches and posts
// UM_SETUP_SAVED, Cancel writes nothing.
void QuorelView(QWidget* parent);
void QuorelDestroy();

// Scan group panel.
void RadioSgrView(QWidget* parent);
void RadioSgrDestroy();

// Satellite memory name panel. PandorGetSmn copies at most 9 characters and
// a terminating zero into `buffer` (at least 10 bytes).
void RadioSmnView(QWidget* parent);
void RadioSmnDestroy();
void PandorGetSmn(char* buffer);
void PandorSetSmn(const char* text);

// Destroys every panel that still exists, in the unload order above.
void PandorUnload();
