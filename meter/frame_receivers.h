#pragma once

#include "meter/meter.h"

#include <cstdint>

namespace kx::meter {

// Adds one byte's two hex digits to the frame accumulators; digits beyond kMaxFrameDigits are not
// kept.
void accumulateByte(ReadingState &state, std::uint8_t byte);

// Whether the carriage-return line in FrameDigits starts with the line feed's "A" and has the
// carriage return's "D" at position 11.
bool isCarriageReturnLine(const ReadingState &state);

// Empties the accumulators at a frame end, whether or not the frame passed its test.
void endFrame(ReadingState &state);

// Runs END_OF_FRAME for every frame end in the block; a failed frame ends the block there.
template <typename IsFrameEnd, typename OnFrameEnd>
Failure receiveBlock(Meter &meter, const std::uint8_t *data, std::int32_t size, IsFrameEnd isEnd,
                     OnFrameEnd onEnd)
{
    for (std::int32_t i = 0; i < size; ++i) {
        accumulateByte(meter.state, data[i]);
        if (!isEnd(data[i]))
            continue;
        Failure failure = onEnd(meter);
        endFrame(meter.state);
        if (failure)
            return failure;
    }
    return std::nullopt;
}

} // namespace kx::meter
