#include "meter/frame_receivers.h"

namespace kx::meter {

// The five-digit meter's lines: the decoder gets the nine data digits with the end mark "DA".
Failure H53ARData(Meter &meter, const std::uint8_t *data, std::int32_t size)
{
    return receiveBlock(
        meter, data, size, [](std::uint8_t byte) { return byte == 0x0D; },
        [](Meter &m) -> Failure {
            ReadingState &s = m.state;
            s.LastFrame.assign(s.FrameDigits, 1, 9);
            s.LastFrame += "DA";
            m.window.setUSBtxt(s.LastFrame);
            if (!isCarriageReturnLine(s))
                return std::nullopt;
            return LcdDisplay53A(m);
        });
}

} // namespace kx::meter
