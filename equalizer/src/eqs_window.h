// SPDX-License-Identifier: GPL-3.0-or-later
// eqs_window.h - the design window "Audio Editor - Design".
//
// Its operations live in files by topic: eqs_window.cpp (controls and menu),
// eqs_controls.cpp (type buttons, scroll bars, design), eqs_plot.cpp (the
// response plot), eqs_file.cpp (design-data files), eqs_write.cpp (writing
// the taps to the radio).
#pragma once

#include "design.h"
#include "eq_window.h"

#include <QImage>
#include <QRect>

#include <array>
#include <optional>

class CStaticEx;
class QButtonGroup;
class QGroupBox;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace tonwell {

class CPlotArea;

// Control ids of the window (also the controls' object names).
enum EqsControl : int {
    kIdWrite = 3,
    kIdClose = 2,
    kIdTypeFrame = 3000,
    kIdLpf = 3001,
    kIdHpf = 3002,
    kIdBpf = 3003,
    kIdBef = 3004,
    kIdCutoffLabel = 3005,
    kIdAttenuationLabel = 3006,
    kIdF1Bar = 3009,
    kIdF1Value = 3010,
    kIdF2Bar = 3011,
    kIdF2Value = 3012,
    kIdAttenuationBar = 3013,
    kIdAttenuationValue = 3014,
    kIdParamFrame = 3015,
    kIdPlot = 3017,
    kIdSetFrame = 3022,
    kIdRx = 3023,
    kIdTx = 3024,
};

// The plot area's rectangle in client coordinates, and where its two axis
// labels go.
inline constexpr QRect kPlotRect{8, 110, 351, 205};

class CEqsWindow : public CEqWindow {
    Q_OBJECT
public:
    explicit CEqsWindow(QWidget* parent);
    ~CEqsWindow() override;

    const DesignParams& design() const { return m_design; }
    const Coefficients& coefficients() const { return m_h; }
    QWidget* client() const { return m_client; }
    const QImage& surface() const { return m_surface; }

    // Menu and button actions (also what the tests drive).
    void OnFileOpen();
    void OnFileSave();
    void SelectType(int type);
    void WriteToRadio();
    void WriteFromMenu(bool receive);

protected:
    void OnInitDialog() override;
    void OnEnterKey() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum Bar { kF1 = 0, kF2 = 1, kAttenuation = 2 };

    void CreateControls();
    void CreateMenu();
    void SetDefaults();
    void EnableSecondCutoff(bool on);
    void SetBarPosition(Bar bar, int position);
    int HeldPosition(Bar bar, int position) const;
    void OnBarValue(Bar bar, int position);
    void CommitBar(Bar bar);
    void Redesign();
    void DrawResponse();
    void ApplyLoadedDesign(const DesignParams& loaded);
    QString DesignFolder() const;
    void RememberFolder(const QString& filePath);
    // Asks for a design file to load (or save) in the folder used last, and
    // remembers the folder; nothing when the operator cancelled.
    std::optional<QString> AskDesignFile(bool save);

    DesignParams m_design;
    Coefficients m_h{};
    bool m_ready = false;
    QImage m_surface;

    QMenuBar* m_menu = nullptr;
    QWidget* m_client = nullptr;
    QButtonGroup* m_types = nullptr;
    std::array<QRadioButton*, 4> m_typeButtons{};
    std::array<QScrollBar*, 3> m_bars{};
    std::array<CStaticEx*, 3> m_values{};
    std::array<bool, 3> m_barPressed{};
    CStaticEx* m_cutoffLabel = nullptr;
    CStaticEx* m_attenuationLabel = nullptr;
    QRadioButton* m_rx = nullptr;
    QRadioButton* m_tx = nullptr;
    QPushButton* m_write = nullptr;
    QPushButton* m_close = nullptr;
    CPlotArea* m_plot = nullptr;
    bool m_settingBars = false;
};

} // namespace tonwell
