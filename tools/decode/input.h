#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace kx::tools {

// All bytes of a file ("" or "-" for standard input); with HEX, the file holds whitespace-separated
// two-digit hex bytes. The message says why the input could not be read.
std::variant<std::vector<std::uint8_t>, std::string> readInput(const std::string &path, bool hex);

} // namespace kx::tools
