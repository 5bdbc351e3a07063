#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace kx::meter {

// The hidden frame log: the last kLines frame texts, oldest first. A meter sends about 20 lines a
// second for hours, so the log keeps a recent window instead of every line; once full, each new
// line reuses the storage of the oldest one.
class FrameMemo {
public:
    static constexpr std::size_t kLines = 1000;

    void append(std::string_view line);
    std::size_t size() const { return count_; }
    // Line I, 0 being the oldest kept.
    std::string_view line(std::size_t i) const { return lines_[(next_ + kLines - count_ + i) % kLines]; }

private:
    std::array<std::string, kLines> lines_;
    std::size_t next_ = 0;
    std::size_t count_ = 0;
};

} // namespace kx::meter
