#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kx::meter {

// Whole-number conversion shared by the decoders and the edit fields (record limit, interval,
// points per page). Accepts an optional sign and decimal digits that fit in 32 bits; anything else,
// including an empty text or a lone sign, does not convert.
std::optional<std::int32_t> parseInteger(std::string_view text);

// The message shown when a text does not convert: "'<text>' is not a valid integer value".
std::string notIntegerMessage(std::string_view text);

} // namespace kx::meter
