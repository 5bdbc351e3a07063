#include "tools/decode/options.h"

#include <string_view>

namespace kx::tools {

const char *const kDecodeUsage =
    "usage: %s [--hex] [--flags NAME[,NAME...]] [--setmax TEXT] [--setmin TEXT] [FILE]\n"
    "Decodes meter bytes from FILE (or standard input) with this build's data path and prints one\n"
    "JSON object per decoded frame.\n";

namespace {

std::variant<meter::ProfileFlags, std::string> parseFlags(std::string_view list)
{
    meter::ProfileFlags flags;
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const std::string_view name = list.substr(0, comma);
        const std::optional<meter::ProfileFlag> flag = meter::profileFlagNamed(name);
        if (!flag)
            return "unknown profile flag '" + std::string(name) + "'";
        flags.set(*flag);
        list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
    }
    return flags;
}

} // namespace

std::variant<DecodeOptions, std::string> parseDecodeOptions(int argc, char **argv)
{
    DecodeOptions options;
    bool haveInput = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= argc)
                return std::nullopt;
            return std::string(argv[++i]);
        };
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--hex") {
            options.hex = true;
        } else if (arg == "--flags" || arg == "--setmax" || arg == "--setmin") {
            const std::optional<std::string> text = value();
            if (!text)
                return std::string(arg) + " needs a value";
            if (arg == "--flags") {
                auto flags = parseFlags(*text);
                if (auto *error = std::get_if<std::string>(&flags))
                    return *error;
                options.flags = std::get<meter::ProfileFlags>(flags);
            } else {
                (arg == "--setmax" ? options.setmax : options.setmin) = *text;
            }
        } else if (arg.starts_with("--")) {
            return "unknown option " + std::string(arg);
        } else if (haveInput) {
            return "only one input file, please";
        } else {
            options.input = arg;
            haveInput = true;
        }
    }
    return options;
}

} // namespace kx::tools
