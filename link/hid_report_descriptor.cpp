// A report descriptor is a run of items. Short items: one prefix byte (bits 0-1 data size 0, 1, 2
// or 4 bytes; bits 2-3 type: main, global, local; bits 4-7 tag) and their little-endian data. A
// long item starts with 0xFE, its data size and tag. Only global state and Input items matter for
// the input reports' length.
#include "link/hid_report_descriptor.h"

#include <algorithm>
#include <array>
#include <vector>

namespace kx::link {

namespace {

enum ItemType : std::uint8_t { Main = 0, Global = 1 };
enum MainTag : std::uint8_t { Input = 0x8 };
enum GlobalTag : std::uint8_t { ReportSize = 0x7, ReportId = 0x8, ReportCount = 0x9, Push = 0xA, Pop = 0xB };
constexpr std::uint8_t kLongItem = 0xFE;
constexpr std::array<std::size_t, 4> kDataSizes{0, 1, 2, 4};

struct GlobalState {
    std::uint32_t size = 0;
    std::uint32_t count = 0;
    std::uint8_t id = 0;
};

} // namespace

std::optional<HidInputReports> parseReportDescriptor(std::span<const std::uint8_t> descriptor)
{
    std::array<std::uint64_t, 256> inputBits{};
    GlobalState global;
    std::vector<GlobalState> pushed;
    bool numbered = false;

    for (std::size_t at = 0; at < descriptor.size();) {
        const std::uint8_t prefix = descriptor[at];
        if (prefix == kLongItem) {
            if (at + 1 >= descriptor.size())
                return std::nullopt;
            at += 3 + std::size_t{descriptor[at + 1]};
            if (at > descriptor.size())
                return std::nullopt;
            continue;
        }
        const std::size_t dataSize = kDataSizes[prefix & 0x3];
        if (at + 1 + dataSize > descriptor.size())
            return std::nullopt;
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < dataSize; ++i)
            value |= std::uint32_t{descriptor[at + 1 + i]} << (8 * i);
        at += 1 + dataSize;

        const auto type = static_cast<std::uint8_t>((prefix >> 2) & 0x3);
        const auto tag = static_cast<std::uint8_t>(prefix >> 4);
        if (type == Main && tag == Input) {
            inputBits[global.id] += std::uint64_t{global.size} * global.count;
        } else if (type == Global) {
            switch (tag) {
            case ReportSize: global.size = value; break;
            case ReportCount: global.count = value; break;
            case ReportId:
                global.id = static_cast<std::uint8_t>(value);
                numbered = true;
                break;
            case Push: pushed.push_back(global); break;
            case Pop:
                if (!pushed.empty()) {
                    global = pushed.back();
                    pushed.pop_back();
                }
                break;
            default: break;
            }
        }
    }

    const std::uint64_t longest = *std::max_element(inputBits.begin(), inputBits.end());
    HidInputReports reports;
    reports.numbered = numbered;
    if (longest > 0)
        reports.InputReportLength = static_cast<std::size_t>(std::min<std::uint64_t>((longest + 7) / 8 + 1, kMaxInputReportLength));
    return reports;
}

} // namespace kx::link
