#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

namespace kx::tools {

// Reads a file ("" or "-" for standard input) as its bytes arrive and hands each run of them to
// CONSUME, so that a live stream is decoded as it comes and never piles up in memory. With HEX the
// input holds whitespace-separated two-digit hex bytes. The message says why reading stopped early
// (unreadable input, a token that is no hex byte); what was handed over before stays handed over.
std::optional<std::string> readInput(const std::string &path, bool hex,
                                     const std::function<void(std::span<const std::uint8_t>)> &consume);

} // namespace kx::tools
