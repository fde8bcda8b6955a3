// SPDX-License-Identifier: GPL-3.0-or-later
// graph_widget.h - the bar graph of the visual scan.
//
// Paints only from its own members: the span, the graph mode and a copy of
// the levels, all set by the window. The picture is composed in a memory
// bitmap whenever a value changes and copied to the screen on paint.
#pragma once

#include "scan_rules.h"

#include <QImage>
#include <QWidget>

#include <array>

namespace glimra {

class GraphWidget : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 424;
    static constexpr int kHeight = 318;

    explicit GraphWidget(QWidget* parent = nullptr);

    void setSpan(int span);
    void setMode(int mode);
    // Sets one level; `show` repaints at once, otherwise at the next paint.
    void setLevel(int channel, int level, bool show = true);
    void clearLevels();
    int span() const { return m_span; }
    int mode() const { return m_mode; }
    int level(int channel) const;
    const QImage& bitmap() const { return m_bitmap; }

    QSize sizeHint() const override { return {kWidth, kHeight}; }

signals:
    // A left click on the bar of `channel`.
    void barClicked(int channel);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void compose();
    // A new value for a setting the picture is composed from: composed and
    // repainted again only when it changes.
    void recompose(int& setting, int value);

    int m_span = 61;
    int m_mode = 1;
    std::array<int, kMaxSpan> m_levels{};
    QImage m_bitmap;
};

} // namespace glimra
