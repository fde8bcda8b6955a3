// SPDX-License-Identifier: GPL-3.0-or-later
// pictures.h - the console's pictures, drawn once at start.
//
// Every picture is painted here with QPainter in the radio's front-panel
// look; nothing is loaded from files. Sizes are the ones the console's
// controls and windows are laid out for.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

#include <array>

inline constexpr QSize kSplashSize{594, 225};
inline constexpr QSize kPowerImageSize{77, 23};
inline constexpr QSize kMeterIconSize{18, 9};
inline constexpr QSize kControlImageSize{44, 21};
inline constexpr int kDialPictures = 9; // selection 0 (off) and 1..8

struct ConsolePictures {
    QPixmap splash;                    // start-up picture and About picture
    std::array<QPixmap, 2> power;      // "POWER": 0 radio off, 1 on
    std::array<QPixmap, 2> meterIcons; // 0 SWR, 1 the other meters
    std::array<QPixmap, 2> control;    // "CONTROL": 0 connected, 1 disconnected
    std::array<QPixmap, kDialPictures> dial; // the tuning dial, by wheel selection
    QPixmap clickEncoder;              // beside the "Click Enc. / Step" caption
    QPixmap brandPlate;                // beside the PM group
    QIcon arrowDownFast;               // "<<"
    QIcon arrowUpFast;                 // ">>"
    QIcon appIcon;                     // window icon

    static ConsolePictures Draw();
};

QPixmap DrawSplashPicture();
QPixmap DrawPowerImage(bool on);
QPixmap DrawControlImage(bool connected);
QPixmap DrawMeterIcon(bool swr);
QPixmap DrawDialPicture(int selection);
QPixmap DrawClickEncoderPicture();
QPixmap DrawBrandPlate(QSize size);
QIcon DrawArrowIcon(bool up);
QIcon DrawAppIcon();
