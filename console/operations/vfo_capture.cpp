// SPDX-License-Identifier: GPL-3.0-or-later
// vfo_capture.cpp - the VFO copied into the control band's memory record
// before "M. IN" writes it: frequency (with the RIT offset), mode, tones,
// shift and step from the stored replies, and in split the transmit VFO's
// frequency, mode and step (read by swapping the VFOs for a moment).
#include "console_operations.h"
#include "read_toggle.h"

#include "console_controls.h"
#include "console_ids.h"
#include "../display/display_controls.h"

#include <console_link.h>
#include <corvan.h>

#include <cstdlib>
#include <string>

using namespace display_controls;
using namespace operations;

namespace {

using TextRead = std::int32_t (CCorvan::*)(char*);

// A stored frequency text, or empty when none is stored.
std::string StoredText(CCorvan& link, TextRead read) {
    char text[corvan::kFrequencyTextSize + 4] = {};
    for (int attempt = 0; attempt < 10; ++attempt)
        if ((link.*read)(text) == 1)
            return text;
    return {};
}

int ToneTypeOf(const QString& word) {
    if (word == QLatin1String("TONE"))
        return 1;
    if (word == QLatin1String("CTCSS"))
        return 2;
    if (word == QLatin1String("DCS"))
        return 3;
    return 0;
}

// A value read once, or `fallback` when nothing is stored.
int Value(CCorvan& link, Read read, int fallback = 0) {
    u32 value = 0;
    return ReadOnce(link, read, value) ? static_cast<int>(value) : fallback;
}

} // namespace

void ConsoleOperations::CaptureVfoRecord() {
    zephyra::ConsoleState& s = state;
    const int band = s.controlBand == 1 ? 1 : 0;
    const zephyra::OperationGuard guard(connection);
    zephyra::MemoryRecord& record = s.record[band];
    const int rxVfo = band == 0 ? s.mainVfo : s.subVfo;

    std::string receive;
    if (band == 0 && rxVfo == 0)
        receive = StoredText(link, &CCorvan::RcvDataFA);
    else if (band == 0 && rxVfo == 1)
        receive = StoredText(link, &CCorvan::RcvDataFB);
    else if (band == 1 && rxVfo == 0)
        receive = StoredText(link, &CCorvan::RcvDataFC);
    else if (rxVfo == 2)
        receive = record.rxFrequency;
    if (Value(link, &CCorvan::RcvDataRT) == 1 && !receive.empty())
        receive = ConsoleDisplay::RecordFrequencyText(std::strtoll(receive.c_str(), nullptr, 10) + s.ritXitOffset);
    record.rxFrequency = receive;

    // The mode the radio last reported; asked for when none is stored, and
    // else the one the console shows. 0 (none known) keeps "M. IN" from
    // writing the record.
    u32 mode = 0;
    if (!ReadOnce(link, &CCorvan::RcvDataMD, mode)) {
        link.ConnMD("R", 0);
        if (!WaitFor([&] { return link.RcvDataMD(&mode) == 1; }))
            mode = static_cast<u32>(s.mode[band]);
    }
    record.rxMode = static_cast<int>(mode);
    record.toneType = ToneTypeOf(TextOf(controls, band == 0 ? idc::MainTone : idc::SubTone));
    record.toneNumber = Value(link, &CCorvan::RcvDataTN);
    record.ctcssNumber = Value(link, &CCorvan::RcvDataCN);
    record.dcsCode = Value(link, &CCorvan::RcvDataQC);
    record.reverse = record.rxMode == 4 ? Value(link, &CCorvan::RcvDataTS) : 0;
    record.shift = Value(link, &CCorvan::RcvDataOS);
    record.offset = Value(link, &CCorvan::RcvDataOF);
    record.rxStep = Value(link, &CCorvan::RcvDataST);

    if (band == 0 && s.split) {
        std::int64_t transmit = s.subFrequency;
        if (Value(link, &CCorvan::RcvDataXT) == 1)
            transmit += s.ritXitOffset;
        record.txFrequency = ConsoleDisplay::RecordFrequencyText(transmit);
        const int txVfo = s.mainTransmitVfo;
        if (txVfo != 2) {
            // The transmit VFO's mode and step: swap the VFOs for a moment.
            int txMode = record.rxMode;
            int txStep = record.rxStep;
            if (host.pump)
                host.pump();
            link.ConnFR("W", static_cast<u32>(txVfo));
            link.ConnFT("W", static_cast<u32>(rxVfo));
            if (WaitFor([&] { return Value(link, &CCorvan::RcvDataFR, -1) == txVfo; })) {
                link.ConnST("R", 0);
                u32 value = 0;
                if (WaitFor([&] { return link.RcvDataST(&value) == 1; }))
                    txStep = static_cast<int>(value);
                link.ConnMD("R", 0);
                if (WaitFor([&] { return link.RcvDataMD(&value) == 1; }))
                    txMode = static_cast<int>(value);
                link.ConnFR("W", static_cast<u32>(rxVfo));
                Pause(100);
                if (host.pump)
                    host.pump();
                link.ConnFT("W", static_cast<u32>(txVfo));
            }
            record.txMode = txMode;
            record.txStep = txStep;
        }
    } else {
        record.txFrequency = "00000000000";
    }

    record.group = 0;
    if (rxVfo != 2)
        record.name.clear();
    record.lockout = 0;
}
