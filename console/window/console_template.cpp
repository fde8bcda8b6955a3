// SPDX-License-Identifier: GPL-3.0-or-later
// console_template.cpp - every control of the console: class, caption and
// rectangle (left, top, width, height in client pixels).
//
// The display area fills the top; the groups sit below it like the radio's
// front panel. A few rectangles are fixed by the radio's own layout and must
// not move: the display background, the first and last digits of both
// displays, both text lines, the main S meter, "POWER", "CONTROL", the
// picture beside the PM group, the tuning dial, the channel-step list and the
// RF GAIN bar.
#include "console_template.h"

#include "console_ids.h"

#include <algorithm>
#include <array>

namespace {

using K = ControlKind;

constexpr ControlRow kTemplate[] = {
    // =============================================================== display
    {idc::DisplayBack, K::Static, "", {9, 2, 737, 135}},

    // ---- main frequency: 2 GHz digits, separator, 3 MHz, separator, 3 kHz,
    // separator, 3 Hz digits, closing separator
    {idc::MainDigit0 + 0, K::Static, "0", {114, 40, 20, 37}, kCentre},
    {idc::MainDigit0 + 1, K::Static, "0", {134, 40, 20, 37}, kCentre},
    {idc::MainSep0 + 0, K::Static, ".", {154, 40, 6, 37}, kCentre},
    {idc::MainDigit0 + 2, K::Static, "0", {160, 40, 20, 37}, kCentre},
    {idc::MainDigit0 + 3, K::Static, "0", {180, 40, 20, 37}, kCentre},
    {idc::MainDigit0 + 4, K::Static, "0", {200, 40, 20, 37}, kCentre},
    {idc::MainSep0 + 1, K::Static, ".", {220, 40, 6, 37}, kCentre},
    {idc::MainDigit0 + 5, K::Static, "0", {226, 40, 20, 37}, kCentre},
    {idc::MainDigit0 + 6, K::Static, "0", {246, 40, 20, 37}, kCentre},
    {idc::MainDigit0 + 7, K::Static, "0", {266, 40, 20, 37}, kCentre},
    {idc::MainSep0 + 2, K::Static, ".", {286, 40, 6, 37}, kCentre},
    {idc::MainDigit0 + 8, K::Static, "0", {292, 40, 20, 37}, kCentre},
    {idc::MainDigit0 + 9, K::Static, "0", {312, 40, 20, 37}, kCentre},
    {idc::MainDigit0 + 10, K::Static, "0", {332, 40, 20, 37}, kCentre},
    {idc::MainSep0 + 3, K::Static, " ", {352, 40, 6, 37}, kCentre},
    // main memory channel: prefix, "M.CH", hundreds, separator, tens, units
    {idc::MainChPrefix, K::Static, "", {360, 62, 8, 14}},
    {idc::MainMch, K::Static, "M.CH", {368, 60, 50, 18}},
    {idc::MainChDigit0 + 0, K::Static, "0", {420, 54, 16, 26}, kCentre},
    {idc::MainChSep, K::Static, "-", {436, 54, 6, 26}, kCentre},
    {idc::MainChDigit0 + 1, K::Static, "0", {442, 54, 16, 26}, kCentre},
    {idc::MainChDigit0 + 2, K::Static, "0", {458, 54, 16, 26}, kCentre},
    {idc::MainStar, K::Static, "*", {474, 52, 15, 24}, kCentre},
    {idc::MainLockOut, K::Static, "L .OUT", {420, 82, 60, 14}},

    // ---- sub frequency
    {idc::SubDigit0 + 0, K::Static, "0", {491, 42, 19, 32}, kCentre},
    {idc::SubDigit0 + 1, K::Static, "0", {510, 42, 19, 32}, kCentre},
    {idc::SubSep0 + 0, K::Static, ".", {529, 42, 5, 32}, kCentre},
    {idc::SubDigit0 + 2, K::Static, "0", {534, 42, 19, 32}, kCentre},
    {idc::SubDigit0 + 3, K::Static, "0", {553, 42, 19, 32}, kCentre},
    {idc::SubDigit0 + 4, K::Static, "0", {572, 42, 19, 32}, kCentre},
    {idc::SubSep0 + 1, K::Static, ".", {591, 42, 5, 32}, kCentre},
    {idc::SubDigit0 + 5, K::Static, "0", {596, 42, 19, 32}, kCentre},
    {idc::SubDigit0 + 6, K::Static, "0", {615, 42, 19, 32}, kCentre},
    {idc::SubDigit0 + 7, K::Static, "0", {634, 42, 19, 32}, kCentre},
    {idc::SubSep0 + 2, K::Static, ".", {653, 42, 5, 32}, kCentre},
    {idc::SubDigit0 + 8, K::Static, "0", {658, 42, 19, 32}, kCentre},
    {idc::SubDigit0 + 9, K::Static, "0", {677, 42, 19, 32}, kCentre},
    {idc::SubDigit0 + 10, K::Static, "0", {696, 42, 19, 32}, kCentre},
    {idc::SubSep0 + 3, K::Static, " ", {715, 42, 5, 32}, kCentre},
    {idc::SubStar, K::Static, "*", {722, 44, 20, 24}, kCentre},
    // sub memory channel
    {idc::SubChPrefix, K::Static, "", {491, 84, 6, 14}},
    {idc::SubMch, K::Static, "M.CH", {497, 82, 44, 17}},
    {idc::SubChDigit0 + 0, K::Static, "0", {543, 78, 17, 28}, kCentre},
    {idc::SubChSep, K::Static, "-", {560, 78, 5, 28}, kCentre},
    {idc::SubChDigit0 + 1, K::Static, "0", {565, 78, 17, 28}, kCentre},
    {idc::SubChDigit0 + 2, K::Static, "0", {582, 78, 17, 28}, kCentre},
    {idc::SubLockOut, K::Static, "L .OUT", {497, 100, 46, 13}},

    // ---- main status words, top row
    {idc::MainPtt, K::Static, "PTT", {14, 4, 30, 15}, kCentre},
    {idc::MainCtrl, K::Static, "CTRL", {45, 4, 40, 15}, kCentre},
    {idc::MainAtt, K::Static, "ATT", {86, 4, 30, 15}, kCentre},
    {idc::MainPre, K::Static, "PRE", {117, 4, 30, 15}, kCentre},
    {idc::Agc, K::Static, "AGC", {148, 4, 36, 15}, kCentre},
    {idc::Nb, K::Static, "NB", {185, 4, 22, 15}, kCentre},
    {idc::Fine, K::Static, "FINE", {208, 4, 36, 15}, kCentre},
    {idc::ANotch, K::Static, "A.NOTCH", {245, 4, 64, 15}, kCentre},
    {idc::Mbc, K::Static, "M.B.C", {310, 4, 48, 15}, kCentre},
    // second row
    {idc::TunerRx, K::Static, "RX", {11, 20, 22, 15}, kCentre},
    {idc::TunerAt, K::Static, "AT", {34, 20, 22, 15}, kCentre},
    {idc::TunerTx, K::Static, "TX", {57, 20, 21, 15}, kCentre},
    {idc::MainTone, K::Static, "DCS", {78, 20, 48, 15}, kCentre},
    {idc::MainShift, K::Static, "+", {127, 20, 14, 16}, kCentre},
    {idc::MainReverse, K::Static, "R", {142, 20, 24, 15}, kCentre},
    {idc::MainNr, K::Static, "NR. 2", {167, 20, 48, 15}, kCentre},
    {idc::MainTnc, K::Static, "TNC", {216, 20, 32, 15}, kCentre},
    {idc::Alt, K::Static, "ALT", {249, 20, 30, 15}, kCentre},
    {idc::Auto, K::Static, "AUTO", {280, 20, 40, 15}, kCentre},
    // left column
    {idc::MainBusy, K::Static, "ONAIR", {14, 38, 58, 16}, kCentre},
    {idc::Ant, K::Static, "ANT", {14, 56, 32, 16}, kCentre},
    {idc::AntNumber, K::Static, "1", {48, 56, 14, 16}, kCentre},
    {idc::Ext, K::Static, "EXT", {14, 72, 34, 14}, kCentre},
    // VFO marks: "<" receive, letter, ">" transmit
    {idc::VfoMark0 + 0, K::Static, "<", {78, 36, 11, 13}, kCentre},
    {idc::VfoMark0 + 1, K::Static, "A", {89, 36, 14, 13}, kCentre},
    {idc::VfoMark0 + 2, K::Static, ">", {103, 36, 11, 13}, kCentre},
    {idc::VfoMark0 + 3, K::Static, "<", {78, 49, 11, 13}, kCentre},
    {idc::VfoMark0 + 4, K::Static, "B", {89, 49, 14, 13}, kCentre},
    {idc::VfoMark0 + 5, K::Static, ">", {103, 49, 11, 13}, kCentre},
    {idc::VfoMark0 + 6, K::Static, "<", {78, 62, 11, 13}, kCentre},
    {idc::VfoMark0 + 7, K::Static, "M", {89, 62, 14, 13}, kCentre},
    {idc::VfoMark0 + 8, K::Static, ">", {103, 62, 11, 13}, kCentre},
    // meters: scale above, name beside
    {idc::MainScale, K::Static, "--1--3--5--7--9---20---40---60dB", {50, 77, 174, 13}},
    {idc::MainMeterName, K::Static, "S", {10, 90, 40, 14}, kCentre},
    {idc::SecondMeterIcon, K::Static, "", {14, 106, 18, 9}},
    {idc::SecondScale, K::Static, "     1.5     2    3", {54, 105, 166, 12}},
    {idc::SecondMeterName, K::Static, "SWR", {9, 118, 44, 12}, kCentre},
    {idc::MainMode, K::Static, " MODE Group ? ", {221, 115, 134, 18}},

    // ---- middle column
    {idc::FLock, K::Static, "F.LOCK", {360, 4, 62, 15}, kCentre},
    {idc::Split, K::Static, "SPLIT", {424, 4, 50, 15}, kCentre},
    {idc::TfSet, K::Static, "TF-SET", {360, 20, 62, 15}, kCentre},
    {idc::Trans, K::Static, "TRANS", {424, 20, 58, 15}, kCentre},
    {idc::Eq, K::Static, "EQ", {360, 38, 26, 16}, kCentre},
    {idc::TxEq, K::Static, "T", {388, 38, 14, 16}, kCentre},
    {idc::RxEq, K::Static, "R", {404, 38, 14, 16}, kCentre},
    {idc::Trace, K::Static, "TRACE", {360, 98, 60, 15}, kCentre},
    {idc::Pct, K::Static, "P.C.T.", {422, 98, 60, 15}, kCentre},
    {idc::Dcd, K::Static, "DCD", {360, 116, 32, 14}, kCentre},
    {idc::Sta, K::Static, "STA", {393, 116, 30, 14}, kCentre},
    {idc::Con, K::Static, "CON", {424, 116, 32, 14}, kCentre},
    {idc::Pkt, K::Static, "PKT", {457, 116, 30, 14}, kCentre},

    // ---- sub status words
    {idc::SubPtt, K::Static, "PTT", {491, 4, 30, 15}, kCentre},
    {idc::SubCtrl, K::Static, "CTRL", {522, 4, 40, 15}, kCentre},
    {idc::SubAtt, K::Static, "ATT", {563, 4, 30, 15}, kCentre},
    {idc::SubPre, K::Static, "PRE", {594, 4, 30, 15}, kCentre},
    {idc::SubNr, K::Static, "NR. 2", {625, 4, 50, 15}, kCentre},
    {idc::SubTnc, K::Static, "TNC", {714, 20, 31, 15}, kCentre},
    {idc::SubTone, K::Static, "DCS", {676, 4, 50, 15}, kCentre},
    {idc::ZulLine, K::Static, " ZUL : COMMAND ", {491, 20, 222, 18}},
    {idc::SubShift, K::Static, "+", {727, 4, 18, 16}, kCentre},
    {idc::SubReverse, K::Static, "R", {722, 94, 24, 16}, kCentre},
    {idc::SubBusy, K::Static, "BUSY", {691, 120, 52, 15}, kCentre},
    {idc::SubMode, K::Static, " MODE Group ? ", {602, 76, 142, 17}},
    {idc::SubScale, K::Static, "--1--3--5--7--9---20---40---60dB", {509, 113, 180, 12}},
    {idc::SubMeterName, K::Static, "S", {488, 124, 20, 12}, kCentre},

    // ---- meters and text lines of the display
    {idc::MainMeter, K::Meter, "", {50, 90, 66, 14}},
    {idc::MainMeterOver, K::Meter, "", {118, 90, 100, 14}},
    {idc::SecondMeter, K::Meter, "", {54, 118, 166, 12}},
    {idc::SubMeter, K::Meter, "", {509, 125, 88, 11}},
    {idc::SubMeterOver, K::Meter, "", {599, 125, 88, 11}},
    {idc::MainText, K::Edit, "", {221, 93, 134, 20}},
    {idc::SubText, K::Edit, "", {602, 93, 120, 20}},

    // ============================================================ front panel
    // ---- power row
    {idc::FramePower, K::Frame, "", {9, 140, 150, 48}},
    {idc::Power, K::Button, "POWER", {15, 147, 83, 25}},
    {idc::Control, K::Button, "CONTROL", {107, 147, 48, 25}},
    {idc::ConnectLamp, K::Lamp, "", {100, 150, 5, 5}, kHidden},
    {idc::AuxLamp, K::Lamp, "", {100, 160, 5, 5}, kHidden},

    {idc::FrameTx, K::Frame, "", {163, 140, 111, 48}},
    {idc::Vox, K::Button, "VOX", {167, 143, 40, 20}},
    {idc::VoxLamp, K::Static, "", {208, 148, 8, 10}},
    {idc::Proc, K::Button, "PROC", {218, 143, 44, 20}},
    {idc::ProcLamp, K::Static, "", {263, 148, 8, 10}},
    {idc::Send, K::Button, "SEND", {167, 165, 48, 20}},
    {idc::Voice, K::Button, "VOICE", {217, 165, 54, 20}},

    {idc::FrameAntenna, K::Frame, "", {278, 140, 136, 48}},
    {idc::AntButton, K::Button, "ANT", {282, 143, 60, 20}},
    {idc::AtIn, K::Button, "AT IN", {344, 143, 66, 20}},
    {idc::AtTune, K::Button, "AT TUNE", {282, 165, 128, 20}},

    {idc::FramePm, K::Frame, "PM Operation", {418, 140, 100, 48}},
    {idc::Pm, K::CButton, "PM", {424, 158, 40, 24}},
    {idc::PmIn, K::CButton, "PM IN", {466, 158, 48, 24}},

    {idc::BrandPlate, K::Static, "", {522, 147, 223, 37}},

    // ---- mode, tune, band, VFO
    {idc::FrameMode, K::Frame, "Mode", {9, 190, 146, 68}},
    {idc::LsbUsb, K::CButton, "LSB / USB", {13, 206, 70, 22}},
    {idc::CwFsk, K::CButton, "CW / FSK", {85, 206, 66, 22}},
    {idc::FmAm, K::CButton, "FM / AM", {13, 230, 70, 22}},

    {idc::FrameTune, K::Frame, "TUNE", {157, 190, 98, 68}},
    {idc::TuneUp, K::Button, "TUNE UP", {161, 206, 90, 22}},
    {idc::TuneDown, K::Button, "TUNE DOWN", {161, 230, 90, 22}},

    {idc::FrameBand, K::Frame, "Band", {257, 190, 100, 68}},
    {idc::BandUp, K::Button, "BAND UP", {261, 206, 92, 22}},
    {idc::BandDown, K::Button, "BAND DOWN", {261, 230, 92, 22}},

    {idc::FrameVfo, K::Frame, "", {359, 190, 157, 68}},
    {idc::AEqualsB, K::Button, "A = B", {363, 206, 50, 22}},
    {idc::ASlashB, K::Button, "A / B", {415, 206, 50, 22}},
    {idc::SplitButton, K::Button, "SPLIT", {467, 206, 46, 22}},
    {idc::Menu, K::Button, "MENU", {363, 230, 50, 22}},
    {idc::Multi, K::Button, "MULTI", {415, 230, 50, 22}},
    {idc::PctButton, K::Button, "P.C.T.", {467, 230, 46, 22}},

    // ---- DSP
    {idc::FrameDsp, K::Frame, "DSP Operation", {9, 264, 259, 94}},
    {idc::Filter, K::Button, "FILTER", {13, 280, 54, 22}},
    {idc::DspMonitor, K::Button, "DSP M.", {69, 280, 52, 22}},
    {idc::Nr1, K::Button, "N.R. 1", {123, 280, 46, 22}, kCheckable},
    {idc::Nr2, K::Button, "N.R. 2", {171, 280, 46, 22}, kCheckable},
    {idc::RxMonitor, K::Button, "RX M.", {219, 280, 47, 22}},
    {idc::ANotchButton, K::Button, "A.NOTCH", {13, 304, 68, 22}, kCheckable},
    {idc::BeatCancel, K::Button, "BEAT CANCEL", {83, 304, 98, 22}, kCheckable},
    {idc::BcPointCaption, K::Static, "B.C. POINT", {185, 308, 78, 14}, kCentre},
    {idc::BcAuto, K::Button, "AUTO", {13, 328, 46, 22}, kCheckable},
    {idc::BcManual, K::Button, "MANUAL", {61, 328, 68, 22}, kCheckable},
    {idc::BcPointBar, K::ScrollBar, "", {133, 331, 129, 16}},

    // ---- click encoder and step
    {idc::FrameClickEnc, K::Frame, "      Click Enc. / Step", {272, 264, 244, 98}},
    {idc::ClickEncIcon, K::Static, "", {284, 265, 18, 13}},
    {idc::MultiDown, K::Button, "MULTI DOWN", {280, 282, 96, 22}},
    {idc::TuningDial, K::Static, "", {399, 279, 30, 35}},
    {idc::MultiUp, K::Button, "MULTI UP", {436, 282, 74, 22}},
    {idc::StepCaption, K::Static, "STEP", {280, 316, 60, 14}},
    {idc::StepList, K::ComboBox, "", {278, 333, 72, 22}},
    {idc::StepUnit, K::Static, "kHz", {354, 337, 30, 14}},
    {idc::DialCaption, K::Static, "DIAL", {390, 316, 48, 14}, kCentre},

    // ---- keypad: CH1 CH2 CH3 / TONE METER CTCSS / NB AGC FINE / DCS SHIFT
    // ENT, with FUNC, TF-SET, DISP, CLR beside them
    {idc::FramePf, K::Frame, "PF Operation", {9, 366, 220, 116}},
    {idc::Ch1, K::CButton, "CH1", {15, 382, 45, 22}},
    {idc::Ch2, K::CButton, "CH2", {62, 382, 55, 22}},
    {idc::Ch3, K::CButton, "CH3", {119, 382, 50, 22}},
    {idc::Func, K::Button, "FUNC", {171, 382, 53, 22}},
    {idc::Tone, K::CButton, "TONE", {15, 406, 45, 22}},
    {idc::Meter, K::CButton, "METER", {62, 406, 55, 22}},
    {idc::Ctcss, K::CButton, "CTCSS", {119, 406, 50, 22}},
    {idc::TfSetButton, K::CButton, "TF-SET", {171, 406, 53, 22}},
    {idc::NbButton, K::CButton, "NB", {15, 430, 45, 22}},
    {idc::AgcButton, K::CButton, "AGC", {62, 430, 55, 22}},
    {idc::FineButton, K::CButton, "FINE", {119, 430, 50, 22}},
    {idc::Disp, K::CButton, "DISP", {171, 430, 53, 22}},
    {idc::Dcs, K::CButton, "DCS", {15, 454, 45, 22}},
    {idc::Shift, K::CButton, "SHIFT", {62, 454, 55, 22}},
    {idc::Ent, K::Button, "ENT", {119, 454, 50, 22}},
    {idc::Clear, K::Button, "CLR", {171, 454, 53, 22}},

    // ---- memory
    {idc::FrameMemory, K::Frame, "Memory Operation", {233, 366, 179, 66}},
    {idc::MemoryLamp, K::Lamp, "", {396, 370, 10, 10}},
    {idc::MemoryIn, K::Button, "M. IN", {239, 382, 44, 22}},
    {idc::MemoryToVfo, K::Button, "M > VFO", {285, 382, 62, 22}},
    {idc::VfoMemory, K::CButton, "VFO / M", {349, 382, 58, 22}},
    {idc::Call, K::CButton, "CALL", {239, 406, 44, 22}},
    {idc::Scan, K::CButton, "SCAN", {285, 406, 62, 22}},
    {idc::VScan, K::Button, "V.SCAN", {349, 406, 58, 22}},

    {idc::FrameQuickMemory, K::Frame, "Quick Memory", {416, 366, 100, 66}},
    {idc::QuickMr, K::Button, "MR", {422, 382, 88, 22}},
    {idc::QuickMemoryIn, K::Button, "M. IN", {422, 406, 88, 22}},

    // ---- RIT / XIT / SUB
    {idc::FrameRit, K::Frame, "RIT / XIT / SUB", {233, 436, 283, 68}},
    {idc::Rit, K::Button, "RIT", {239, 452, 42, 22}, kCheckable},
    {idc::Xit, K::Button, "XIT", {283, 452, 42, 22}, kCheckable},
    {idc::SubButton, K::Button, "Sub", {327, 452, 42, 22}, kCheckable},
    {idc::RitClear, K::Button, "CLR", {371, 452, 42, 22}},
    {idc::RitBar, K::ScrollBar, "", {417, 455, 93, 16}, kHidden},
    {idc::RitMinus, K::Static, "-", {239, 478, 12, 18}, kCentre},
    {idc::RitDown, K::Button, "<", {253, 476, 32, 22}},
    {idc::RitDownFast, K::Button, "<<", {287, 476, 32, 22}},
    {idc::RitUp, K::Button, ">", {321, 476, 32, 22}},
    {idc::RitUpFast, K::Button, ">>", {355, 476, 32, 22}},
    {idc::RitPlus, K::Static, "+", {389, 478, 12, 18}, kCentre},
    {idc::ScanSpeedBar, K::ScrollBar, "", {417, 479, 93, 16}, kHidden},

    // ---- right column: bands, front end, gains, satellite
    {idc::FrameMainSubControl, K::Frame, "Main / Sub / Control", {520, 188, 126, 48}},
    {idc::MainSub, K::CButton, "M / S", {526, 204, 56, 24}},
    {idc::CtrlButton, K::CButton, "CTRL", {584, 204, 56, 24}},

    {idc::FrameFrontEnd, K::Frame, "", {650, 188, 100, 48}},
    {idc::AttButton, K::CButton, "ATT", {656, 204, 44, 24}},
    {idc::PreButton, K::CButton, "PRE", {701, 204, 44, 24}},

    {idc::FrameMain, K::Frame, "Main", {520, 238, 230, 116}},
    {idc::AfMainCaption, K::Static, "AF GAIN", {560, 254, 147, 14}, kCentre},
    {idc::AfMainMin, K::Static, "MIN", {524, 270, 34, 14}, kRight},
    {idc::AfMainBar, K::ScrollBar, "", {560, 269, 147, 16}},
    {idc::AfMainMax, K::Static, "MAX", {710, 270, 35, 14}},
    {idc::SqlMainCaption, K::Static, "SQUELCH", {560, 285, 147, 14}, kCentre},
    {idc::SqlMainMin, K::Static, "MIN", {524, 300, 34, 14}, kRight},
    {idc::SqlMainBar, K::ScrollBar, "", {560, 299, 147, 16}},
    {idc::SqlMainMax, K::Static, "MAX", {710, 300, 35, 14}},
    {idc::RfGainCaption, K::Static, "RF GAIN", {560, 315, 147, 14}, kCentre},
    {idc::RfGainMin, K::Static, "MIN", {524, 330, 34, 14}, kRight},
    {idc::RfGainBar, K::ScrollBar, "", {560, 329, 147, 16}},
    {idc::RfGainMax, K::Static, "MAX", {710, 330, 35, 14}},

    {idc::FrameSubGain, K::Frame, "", {520, 358, 230, 66}},
    {idc::AfSubCaption, K::Static, "AF GAIN", {560, 362, 147, 14}, kCentre},
    {idc::AfSubMin, K::Static, "MIN", {524, 377, 34, 14}, kRight},
    {idc::AfSubBar, K::ScrollBar, "", {560, 376, 147, 16}},
    {idc::AfSubMax, K::Static, "MAX", {710, 377, 35, 14}},
    {idc::SqlSubCaption, K::Static, "SQUELCH", {560, 392, 147, 14}, kCentre},
    {idc::SqlSubMin, K::Static, "MIN", {524, 407, 34, 14}, kRight},
    {idc::SqlSubBar, K::ScrollBar, "", {560, 406, 147, 16}},
    {idc::SqlSubMax, K::Static, "MAX", {710, 407, 35, 14}},

    {idc::FrameSatellite, K::Frame, "Satellite Operation", {520, 428, 230, 76}},
    {idc::Satellite, K::Button, "SATELLITE", {526, 444, 78, 22}},
    {idc::SatMainSub, K::Button, "M / S", {606, 444, 44, 22}},
    {idc::SatReverse, K::Button, "REV", {652, 444, 38, 22}},
    {idc::SatTrace, K::Button, "TRACE", {692, 444, 54, 22}},
    {idc::SatVfoCh, K::Button, "VFO / CH", {526, 470, 76, 22}},
};

} // namespace

std::span<const ControlRow> ConsoleTemplate() { return kTemplate; }

const ControlRow* FindControlRow(int id) {
    const auto it = std::find_if(std::begin(kTemplate), std::end(kTemplate),
                                 [id](const ControlRow& entry) { return entry.id == id; });
    return it == std::end(kTemplate) ? nullptr : &*it;
}
