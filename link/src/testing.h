// SPDX-License-Identifier: GPL-3.0-or-later
// Hooks for the link's own tests, the fuzzer and the benchmark. Not part of
// the public interface.
#pragma once

#include <cstddef>
#include <cstdint>

namespace corvan::testing {

// Replaces the clock of the staleness rule by a fixed second count.
void SetClockSeconds(std::int64_t seconds);
void UseRealClock();

// Shortens the fixed pauses of Conn (normally 100 ms each) and the time the
// identity probe waits (normally 500 ms).
void SetConnPauses(int settleMs, int probeMs);
// Changes the time limit of connecting to a network address (normally 5 s).
void SetConnectLimit(int ms);

// Runs the decoder on `text` as if the read thread had received it.
void Decode(const char* text, std::size_t length);
// Sets the model type as an identity reply would.
void SetModelType(std::uint32_t model);
// Empties the process-wide store as a clearing connect does.
void ClearStore();
// Switches direct mode on or off as the radio's replies would.
void SetDirectMode(bool on);

// Counters of the read thread since the process started: bytes it read,
// reads that failed (hang-up, I/O error) and times it woke up. Bytes are
// counted after they are decoded, so a reply can be heard of an instant
// before its bytes are counted.
std::uint64_t BytesRead();
std::uint64_t ReadFailures();
std::uint64_t ReadWakeups();

} // namespace corvan::testing
