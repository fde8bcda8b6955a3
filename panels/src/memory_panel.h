// memory_panel.h - the memory channel editor ("Memory").
//
// Holds one memory channel as the console loaded it; OK and Cancel tell the
// console through UM_MEMORY_EDIT_END (wParam 1 and 0).
#pragma once

#include "panel_base.h"

#include <array>
#include <cstdint>

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
    explicit CMemoryPanel(QWidget* parent);

    void SetChannel(const MemoryChannel& channel);
    const MemoryChannel& channel() const { return m_channel; }

protected:
    void OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    MemoryChannel m_channel;
};

} // namespace pandor
