#pragma once

#include <string>
#include <string_view>

namespace kx::tools {

inline constexpr char kHexDigits[] = "0123456789ABCDEF";

// The value of a hex digit of either case, or -1 for any other character.
int hexDigitValue(char c);

// Bytes as upper-case two-digit hex, separated by single spaces ("0A 31 0D").
std::string hexBytes(std::string_view bytes);

// Appends VALUE as a quoted JSON string, with quotes, backslashes and control characters escaped.
void appendJsonString(std::string &out, std::string_view value);

} // namespace kx::tools
