// Arbitrary bytes through a receiver, its decoder and the reading update sequence, and arbitrary
// frame texts straight into the decoders as the USB link hands them over. The first byte picks the
// receiver, the profile modifiers and the check boxes; the second the block size.
#include "meter/headless_window.h"
#include "meter/meter.h"
#include "meter/startup.h"

#include <array>
#include <cstdlib>

using namespace kx::meter;

namespace {

constexpr std::array<ProfileFlag, 3> kReceiverFlags{ProfileFlag::IFKX38A, ProfileFlag::IF2485, ProfileFlag::IFRV210};

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::uint8_t pick = data[0];
    const std::int32_t blockSize = 1 + data[1] % 32;
    data += 2;
    size -= 2;

    ProfileFlags flags{kReceiverFlags[pick % 3]};
    if (pick & 0x04) flags.set(ProfileFlag::IF6270x);
    if (pick & 0x08) flags.set(ProfileFlag::IFKX964);
    if (pick & 0x10) flags.set(ProfileFlag::IFKX38D);
    if (pick & 0x20) flags.set(ProfileFlag::IFKX38E);

    HeadlessWindow window;
    window.SetMaxB = pick & 0x40;
    window.SetMinB = pick & 0x80;
    Meter meter(window, flags);
    const StartedProfile started = startProfile(meter);
    check(started.receiver != nullptr);

    for (std::size_t at = 0; at < size; at += static_cast<std::size_t>(blockSize)) {
        const auto n = static_cast<std::int32_t>(std::min<std::size_t>(blockSize, size - at));
        (void)started.receiver(meter, data + at, n);
        check(meter.state.FrameDigits.size() <= kMaxFrameDigits);
        check(meter.state.FrameIndexDigits.size() == meter.state.FrameDigits.size());
    }

    // The USB link writes LastFrame itself: hex digits of any length.
    meter.state.LastFrame.clear();
    for (std::size_t i = 0; i < size && i < kMaxFrameDigits; ++i)
        meter.state.LastFrame += "0123456789ABCDEF"[data[i] & 0x0F];
    (void)LcdDisplay38B(meter);
#if defined(KX52B_BUILD_40K)
    (void)LcdDisplay53A(meter);
#endif
    return 0;
}
