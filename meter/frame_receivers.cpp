#include "meter/frame_receivers.h"

#include <string_view>

namespace kx::meter {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
// The high digits of a well-formed segment frame: each byte carries its position 1 to E.
constexpr std::string_view kSegmentPositions = "123456789ABCDE";
constexpr std::uint8_t kCarriageReturn = 0x0D;

char positionOrNothing(const std::string &digits, std::size_t position)
{
    return position <= digits.size() ? digits[position - 1] : 0;
}

} // namespace

void accumulateByte(ReadingState &state, std::uint8_t byte)
{
    if (state.FrameDigits.size() >= kMaxFrameDigits)
        return;
    state.FrameIndexDigits += kHexDigits[byte >> 4];
    state.FrameDigits += kHexDigits[byte & 0x0F];
}

bool isCarriageReturnLine(const ReadingState &state)
{
    return positionOrNothing(state.FrameDigits, 1) == 'A' && positionOrNothing(state.FrameDigits, 11) == 'D';
}

void endFrame(ReadingState &state)
{
    state.FrameIndexDigits.clear();
    state.FrameDigits.clear();
}

Failure H38BRData(Meter &meter, const std::uint8_t *data, std::int32_t size)
{
    return receiveBlock(
        meter, data, size, [](std::uint8_t byte) { return (byte >> 4) == 0xE; },
        [](Meter &m) -> Failure {
            m.state.LastFrame = m.state.FrameDigits;
            if (m.state.FrameIndexDigits != kSegmentPositions)
                return std::nullopt;
            return LcdDisplay38B(m);
        });
}

Failure H52BRData(Meter &meter, const std::uint8_t *data, std::int32_t size)
{
    return receiveBlock(
        meter, data, size, [](std::uint8_t byte) { return byte == kCarriageReturn; },
        [](Meter &m) -> Failure {
            m.state.LastFrame = m.state.FrameDigits;
            if (!isCarriageReturnLine(m.state))
                return std::nullopt;
            return LcdDisplay52B(m);
        });
}

ReceiveHandler receiveHandler(Receiver receiver)
{
    switch (receiver) {
    case Receiver::None:
        return nullptr;
    case Receiver::H38BRData:
        return &H38BRData;
    case Receiver::H52BRData:
        return &H52BRData;
#if defined(KX52B_BUILD_40K)
    case Receiver::H53ARData:
        return &H53ARData;
#endif
    }
    return nullptr;
}

} // namespace kx::meter
