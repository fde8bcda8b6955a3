// eqg_window.h - the samples window "Audio Editor - Samples": the frame with
// its title, size, saved position, help and link object.
#pragma once

#include "eq_window.h"

namespace tonwell {

class CEqgWindow : public CEqWindow {
    Q_OBJECT
public:
    explicit CEqgWindow(QWidget* parent) : CEqWindow(kSamplesWindow, parent) {}
};

} // namespace tonwell
