#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace kx::link::test {

using Report = std::vector<std::uint8_t>;

// The meter's bytes as the USB adapter relays them: input reports of a count byte and up to seven
// meter bytes, then an idle report, which ends the frame.
inline std::vector<Report> adapterReports(std::span<const std::uint8_t> meterBytes)
{
    std::vector<Report> reports;
    for (std::size_t at = 0; at < meterBytes.size(); at += 7) {
        const std::size_t n = std::min<std::size_t>(7, meterBytes.size() - at);
        Report report(8, 0);
        report[0] = static_cast<std::uint8_t>(0xF0 | n);
        std::copy_n(meterBytes.begin() + static_cast<long>(at), n, report.begin() + 1);
        reports.push_back(std::move(report));
    }
    reports.push_back(Report{0xF0, 0, 0, 0, 0, 0, 0, 0});
    return reports;
}

inline std::vector<Report> adapterReports(std::string_view meterBytes)
{
    return adapterReports({reinterpret_cast<const std::uint8_t *>(meterBytes.data()), meterBytes.size()});
}

} // namespace kx::link::test
