// SPDX-License-Identifier: GPL-3.0-or-later
// Hooks for the link's own tests.
#include "testing.h"

#include "block.h"
#include "decoder.h"

namespace corvan::testing {

void Decode(const char* text, std::size_t length) { detail::ConstituteData(text, length, detail::Global()); }

void SetModelType(std::uint32_t model) { detail::Global().modelType.store(model); }

void ClearStore() { detail::Global().Clear(); }

void SetDirectMode(bool on) { detail::Global().directMode.store(on ? 1u : 0u); }

} // namespace corvan::testing
