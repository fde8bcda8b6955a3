// SPDX-License-Identifier: GPL-3.0-or-later
// memory_panel.h - the memory channel editor ("Memory").
//
// Holds one memory channel as the console loaded it and as the operator
// edits it: two frequency rows whose digits step with the mouse (left down,
// right up, repeated while held), the mode and step lists of each row, the
// common parameters, the tone settings, name, lock-out and group. OK and
// Cancel tell the console through UM_MEMORY_EDIT_END (wParam 1 and 0). The
// editor sends nothing to the radio; its link object only gives the version
// type for the name check.
#pragma once

#include "panel_base.h"

#include <QByteArray>

#include <array>
#include <cstdint>

class CEditEx;
class CStaticEx;
class CStaticFrameEx;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QTimer;

namespace pandor {

struct MemoryChannel {
    static constexpr std::size_t kNameSize = 10; // 9 characters and the zero
    std::int64_t rxFreq = 0;
    std::uint32_t rxMode = 0;
    std::uint32_t rxStep = 0;
    std::int64_t txFreq = 0; // 0: no separate transmit frequency
    std::uint32_t txMode = 0;
    std::uint32_t txStep = 0;
    std::uint32_t offset = 0;
    std::uint32_t shift = 0;
    std::uint32_t reverse = 0;
    std::uint32_t toneNumber = 0;
    std::uint32_t ctcssNumber = 0;
    std::uint32_t dcsCode = 0;
    std::uint32_t toneType = 0; // 0 OFF, 1 TONE, 2 CTCSS, 3 DCS
    std::uint32_t group = 0;
    std::array<char, kNameSize> name{};
    std::uint32_t lockout = 0;
};

// Two 32-bit words, low first, as one signed 64-bit frequency.
std::int64_t JoinWords(std::uint32_t low, std::uint32_t high);
// Copies at most size - 1 bytes of a zero-terminated text (null reads as
// empty) and terminates the copy.
void CopyName(char* destination, std::size_t size, const char* source);

class CMemoryPanel final : public CPanelBase {
    Q_OBJECT
public:
    enum Row { kRx = 0, kTx = 1 };
    // The name field takes as many characters as a channel name holds.
    static constexpr int kNameFieldLimit = 8;
    static constexpr int kFirstRepeatMs = 400;
    static constexpr int kRepeatMs = 100;

    explicit CMemoryPanel(QWidget* parent);

    void SetChannel(const MemoryChannel& channel);
    // The channel as it stands in the editor now.
    MemoryChannel channel() const { return m_channel; }

    // ---- what the operator does, reachable for tests
    // A press on digit `digit` (0 = 1 Hz .. 10 = 10 GHz) of `row`: the left
    // button steps down, the right one up; the step repeats while held.
    void PressDigit(Row row, int digit, Qt::MouseButton button);
    void ReleaseButtons();
    // One tick of a row's repeat timer.
    void RepeatTick(Row row);
    bool Repeating(Row row) const;
    // The eleven digit texts and three dot texts of a row as shown.
    QString RowText(Row row) const;
    bool RowEnabled(Row row) const;
    QComboBox* modeList(Row row) const { return m_mode[row]; }
    QComboBox* stepList(Row row) const { return m_step[row]; }
    QComboBox* offsetList() const { return m_offset; }
    QComboBox* shiftList() const { return m_shift; }
    QComboBox* reverseList() const { return m_reverse; }
    QComboBox* toneList() const { return m_tone; }
    QComboBox* ctcssList() const { return m_ctcss; }
    QComboBox* dcsList() const { return m_dcs; }
    QComboBox* groupList() const { return m_group; }
    CEditEx* nameField() const { return m_name; }
    QCheckBox* lockoutBox() const { return m_lockout; }
    QByteArray storedName() const;

protected:
    void OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct DigitRow {
        CStaticFrameEx* frame = nullptr;
        std::array<CStaticEx*, 11> digits{}; // [0] = 10 GHz .. [10] = 1 Hz, as shown
        std::array<CStaticEx*, 3> dots{};
        std::array<CStaticEx*, 4> labels{}; // "Freq.", "Hz", "Mode", "Step"
        QTimer* repeat = nullptr;
        std::int64_t stepAmount = 0;
    };

    void BuildRow(Row row, int top, int modeId, int stepId, const QString& caption);
    QComboBox* AddList(int id, const QRect& rect, const QStringList& entries);
    void FillSteps(Row row, std::uint32_t modeCode, int keepIndex);
    void ShowRow(Row row);
    void ApplyStep(Row row);
    void EnableTransmitRow(bool enabled);
    void OnModeChosen(Row row, int index);
    void OnNameChanged();
    std::int64_t& RowFrequency(Row row);
    // Whether any receiver of the radio has a band for `hz` (its version's
    // band lookup); true without a link.
    bool Receivable(std::int64_t hz) const;
    static void Select(QComboBox* list, std::int64_t index);

    MemoryChannel m_channel;
    bool m_loading = false;
    std::array<DigitRow, 2> m_rows{};
    std::array<QComboBox*, 2> m_mode{};
    std::array<QComboBox*, 2> m_step{};
    QComboBox* m_offset = nullptr;
    QComboBox* m_shift = nullptr;
    QComboBox* m_reverse = nullptr;
    QComboBox* m_tone = nullptr;
    QComboBox* m_ctcss = nullptr;
    QComboBox* m_dcs = nullptr;
    QComboBox* m_group = nullptr;
    QButtonGroup* m_toneType = nullptr;
    CEditEx* m_name = nullptr;
    QCheckBox* m_lockout = nullptr;
};

} // namespace pandor
