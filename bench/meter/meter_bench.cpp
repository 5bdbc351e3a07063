// Frames per second through receiver, decoder and reading update sequence for each frame family of
// the build, and heap allocations per frame once running (counted by the replaced operator new).
#include "meter/headless_window.h"
#include "meter/meter.h"
#include "meter/startup.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string_view>
#include <vector>

namespace {

std::atomic<std::size_t> allocations{0};

using namespace kx::meter;
using Bytes = std::vector<std::uint8_t>;

std::uint8_t hexValue(char c)
{
    return static_cast<std::uint8_t>(c <= '9' ? c - '0' : c - 'A' + 10);
}

Bytes segmentFrames(std::initializer_list<std::string_view> frames)
{
    Bytes bytes;
    for (std::string_view nibbles : frames)
        for (std::size_t i = 0; i < nibbles.size(); ++i)
            bytes.push_back(static_cast<std::uint8_t>(((i + 1) << 4) | hexValue(nibbles[i])));
    return bytes;
}

// Lines of nine data digits; "A" + digits + "D" is the carriage-return frame, digits + "DA" the
// extended one.
Bytes lines(std::initializer_list<std::string_view> frames)
{
    Bytes bytes;
    for (std::string_view digits : frames) {
        bytes.push_back(0x0A);
        for (char c : digits)
            bytes.push_back(static_cast<std::uint8_t>(0x30 | hexValue(c)));
        bytes.push_back(0x0D);
    }
    return bytes;
}

// A meter on one range with the readings moving, a change of range now and then, the serial
// driver handing over blocks of about a dozen bytes.
void run(benchmark::State &state, ProfileFlags flags, const Bytes &stream)
{
    HeadlessWindow window;
    window.SetMaxB = window.SetMinB = true;
    Meter meter(window, flags);
    const StartedProfile started = startProfile(meter);
    constexpr std::int32_t kBlock = 12;
    const auto feedAll = [&] {
        for (std::size_t at = 0; at < stream.size(); at += kBlock) {
            const auto n = static_cast<std::int32_t>(std::min<std::size_t>(kBlock, stream.size() - at));
            benchmark::DoNotOptimize(started.receiver(meter, stream.data() + at, n));
        }
    };
    for (int i = 0; i < 2000; ++i)
        feedAll();

    std::int64_t runsBefore = window.decoderRuns;
    for (auto _ : state)
        feedAll();
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(window.decoderRuns - runsBefore), benchmark::Counter::kIsRate);

    // Counted apart from the timed loop, so that the benchmark library's own bookkeeping stays out.
    runsBefore = window.decoderRuns;
    const std::size_t allocationsBefore = allocations.load();
    for (int i = 0; i < 2000; ++i)
        feedAll();
    state.counters["allocs/frame"] = static_cast<double>(allocations.load() - allocationsBefore)
                                     / static_cast<double>(window.decoderRuns - runsBefore);
}

void SegmentFrames(benchmark::State &state)
{
    run(state, {ProfileFlag::IFKX38A},
        segmentFrames({"685DB1F2700040", "07D3E7E1500040", "685DB1F2700040", "0007D680000040",
                       "07D3E7E1500020"}));
}

void CarriageReturnLines(benchmark::State &state)
{
    run(state, {ProfileFlag::IFKX52B},
        lines({"20123B00A", "20456B00A", "21234B00A", "20000B100", "20789B40A", "01234B010"}));
}

#if defined(KX52B_BUILD_40K)
void ExtendedLines(benchmark::State &state)
{
    run(state, buildProfileFlags(),
        lines({"123452101", "123462101", "A00003101", "123452105", "012341400", "123B52131"}));
}
BENCHMARK(ExtendedLines);
#endif

BENCHMARK(SegmentFrames);
BENCHMARK(CarriageReturnLines);

} // namespace

// Counting every allocation of the program; malloc and free pair up underneath new and delete.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void *operator new(std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void *p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void *p) noexcept
{
    std::free(p);
}

void operator delete(void *p, std::size_t) noexcept
{
    std::free(p);
}

BENCHMARK_MAIN();
