#include "meter/frame_receivers.h"

#include "meter/frame_text.h"

#include <string_view>

namespace kx::meter {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
// The high digits of a well-formed segment frame: each byte carries its position 1 to E.
constexpr std::string_view kSegmentPositions = "123456789ABCDE";
constexpr std::uint8_t kCarriageReturn = 0x0D;

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
    const FrameText digits(state.FrameDigits);
    return digits.at(1) == 'A' && digits.at(11) == 'D';
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
