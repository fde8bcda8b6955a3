// SPDX-License-Identifier: GPL-3.0-or-later
// pictures_test.cpp - the drawn pictures have their sizes and are pictures.
#include "pictures.h"

#include <QImage>

#include <gtest/gtest.h>

#include <set>

namespace {

// Distinct colours in an image: a blank or single-colour placeholder has few.
int ColourCount(const QPixmap& pixmap) {
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            colours.insert(image.pixel(x, y));
        }
    }
    return static_cast<int>(colours.size());
}

TEST(Pictures, HaveTheirSizesAndRealContent) {
    const ConsolePictures pictures = ConsolePictures::Draw();
    struct Row {
        const QPixmap& pixmap;
        QSize size;
        int minimumColours;
        const char* what;
    } rows[] = {
        {pictures.splash, QSize(594, 225), 200, "start-up picture"},
        {pictures.power[0], QSize(77, 23), 20, "POWER off"},
        {pictures.power[1], QSize(77, 23), 20, "POWER on"},
        {pictures.control[0], QSize(44, 21), 10, "CONTROL connected"},
        {pictures.control[1], QSize(44, 21), 10, "CONTROL disconnected"},
        {pictures.meterIcons[0], QSize(18, 9), 3, "SWR picture"},
        {pictures.meterIcons[1], QSize(18, 9), 3, "meter picture"},
        {pictures.brandPlate, QSize(223, 37), 30, "picture beside the PM group"},
        {pictures.dial[0], QSize(30, 35), 20, "dial off"},
        {pictures.dial[8], QSize(30, 35), 20, "dial at 8"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.pixmap.size(), row.size) << row.what;
        EXPECT_GE(ColourCount(row.pixmap), row.minimumColours) << row.what;
    }
}

TEST(Pictures, StatesLookDifferent) {
    const ConsolePictures pictures = ConsolePictures::Draw();
    EXPECT_NE(pictures.power[0].toImage(), pictures.power[1].toImage());
    EXPECT_NE(pictures.control[0].toImage(), pictures.control[1].toImage());
    EXPECT_NE(pictures.meterIcons[0].toImage(), pictures.meterIcons[1].toImage());
    for (int i = 1; i < kDialPictures; ++i) {
        EXPECT_NE(pictures.dial[static_cast<std::size_t>(i)].toImage(),
                  pictures.dial[static_cast<std::size_t>(i - 1)].toImage())
            << i;
    }
    EXPECT_FALSE(pictures.appIcon.isNull());
}

} // namespace
