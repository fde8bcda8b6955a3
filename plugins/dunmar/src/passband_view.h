// SPDX-License-Identifier: GPL-3.0-or-later
// passband_view.h - a picture of the receive passband on its frequency axis.
#pragma once

#include "filter_rules.h"

#include <QWidget>

namespace dunmar {

class PassbandView final : public QWidget {
    Q_OBJECT
public:
    explicit PassbandView(QWidget* parent);
    void setPassband(const Passband& band);
    const Passband& passband() const { return m_band; }
    QSize sizeHint() const override { return {344, 70}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Passband m_band;
};

} // namespace dunmar
