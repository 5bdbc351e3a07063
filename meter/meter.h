#pragma once

#include "meter/failure.h"
#include "meter/lcd_model.h"
#include "meter/meter_window.h"
#include "meter/profile.h"
#include "meter/reading_state.h"

#include <cstdint>

namespace kx::meter {

// The data path of one main window: the shared reading state, the LCD it drives, the build's
// profile flags and the window controls each frame reaches.
struct Meter {
    Meter(MeterWindow &window, ProfileFlags flags) : flags(flags), window(window) {}

    ReadingState state;
    LcdModel lcd;
    ProfileFlags flags;
    MeterWindow &window;
};

// A frame receiver: takes a block of bytes from the serial line (nothing to do for size <= 0) and
// runs its decoder for every well-formed frame. A failed frame ends the block; its message is the
// result.
using ReceiveHandler = Failure (*)(Meter &meter, const std::uint8_t *data, std::int32_t size);

Failure H38BRData(Meter &meter, const std::uint8_t *data, std::int32_t size);
Failure H52BRData(Meter &meter, const std::uint8_t *data, std::int32_t size);
#if defined(KX52B_BUILD_40K)
Failure H53ARData(Meter &meter, const std::uint8_t *data, std::int32_t size);
#endif

// The receiver a profile binds, or nullptr for none.
ReceiveHandler receiveHandler(Receiver receiver);

// The decoders, run on LastFrame; the USB link runs them directly.
Failure LcdDisplay38B(Meter &meter);
Failure LcdDisplay52B(Meter &meter);
#if defined(KX52B_BUILD_40K)
Failure LcdDisplay53A(Meter &meter);
#endif

} // namespace kx::meter
