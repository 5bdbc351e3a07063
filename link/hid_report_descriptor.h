#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace kx::link {

// What the reader needs to know of a device's input reports.
struct HidInputReports {
    // Bytes of the longest input report with the report-ID byte in front (0 when the device has no
    // input reports). The ID byte is counted even for a device that does not number its reports,
    // where the reader puts 0 there itself.
    std::size_t InputReportLength = 0;
    // Whether reports start with their report ID on the wire.
    bool numbered = false;
};

// The kernel's largest report; a descriptor that claims more is cut to it.
inline constexpr std::size_t kMaxInputReportLength = 16384 + 1;

// Reads the input reports' size from a HID report descriptor: the sizes and counts of the Input
// items of each report ID. None for a descriptor whose last item runs past its end.
std::optional<HidInputReports> parseReportDescriptor(std::span<const std::uint8_t> descriptor);

} // namespace kx::link
