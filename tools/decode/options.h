#pragma once

#include "meter/profile.h"

#include <optional>
#include <string>
#include <variant>

namespace kx::tools {

struct DecodeOptions {
    meter::ProfileFlags flags = meter::buildProfileFlags();
    std::optional<std::string> setmax;
    std::optional<std::string> setmin;
    bool hex = false;
    // Empty or "-": standard input.
    std::string input;
    bool help = false;
};

// The command line, or the message saying what is wrong with it.
std::variant<DecodeOptions, std::string> parseDecodeOptions(int argc, char **argv);

extern const char *const kDecodeUsage;

} // namespace kx::tools
