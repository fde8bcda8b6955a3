// SPDX-License-Identifier: GPL-3.0-or-later
// eqg_picture.h - the picture of a sample: the magnitude response its taps
// have, drawn as a black curve on the light orange background with a
// frequency axis, computed from the tap text itself.
#pragma once

#include "samples.h"

#include <QImage>

#include <string_view>

namespace tonwell {

// A kPictureWidth x kPictureHeight picture, 24-bit colour, for the axes of
// `type`. A text that is not a tap text draws the axes without a curve.
QImage SamplePicture(std::string_view tapText, int type);

} // namespace tonwell
