// SPDX-License-Identifier: GPL-3.0-or-later
// One reply through the decoder, given as the radio writes it but without its
// closing ";", for the tests of the decoder's tables.
#pragma once

#include "block.h"
#include "decoder.h"

#include <string>

inline void Decode(corvan::detail::Block& b, const std::string& piece)
{
    const std::string text = piece + ";";
    corvan::detail::ConstituteData(text.data(), text.size(), b);
}
