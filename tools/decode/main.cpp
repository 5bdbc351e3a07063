// kx52b-40k-decode / kx52b-4k-decode: the build's data path on recorded meter bytes.
#include "tools/decode/decode_session.h"
#include "tools/decode/input.h"
#include "tools/decode/options.h"
#include "tools/decode/port_input.h"

#include <cstdio>
#include <iostream>

namespace {

int fail(const char *program, const std::string &message)
{
    std::fprintf(stderr, "%s: %s\n", program, message.c_str());
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    using namespace kx::tools;
    auto portOptions = takePortOptions(argc, argv);
    if (auto *error = std::get_if<std::string>(&portOptions))
        return fail(argv[0], *error);
    auto parsed = parseDecodeOptions(argc, argv);
    if (auto *error = std::get_if<std::string>(&parsed))
        return fail(argv[0], *error);
    const DecodeOptions &options = std::get<DecodeOptions>(parsed);
    if (options.help) {
        std::printf(kDecodeUsage, argv[0]);
        std::fputs(kPortUsage, stdout);
        return 0;
    }
    PortInput port(std::get<PortOptions>(portOptions), std::cout);
    if (port.wanted() && !options.input.empty())
        return fail(argv[0], "read a port or a file, not both");
    auto created = DecodeSession::create(options, port.out());
    if (auto *error = std::get_if<std::string>(&created))
        return fail(argv[0], *error);
    if (port.wanted()) {
        if (const auto error = port.run(*std::get<std::unique_ptr<DecodeSession>>(created), options.flags))
            return fail(argv[0], *error);
        std::cout.flush();
        return std::cout ? 0 : fail(argv[0], "cannot write the output");
    }
    // A file is handed over one byte per block, so that a failed frame never costs the frames
    // after it (a serial block would lose its rest).
    DecodeSession &session = *std::get<std::unique_ptr<DecodeSession>>(created);
    const auto error = readInput(options.input, options.hex, [&](std::span<const std::uint8_t> bytes) {
        for (const std::uint8_t &byte : bytes)
            session.feed(&byte, 1);
        std::cout.flush();
    });
    if (error)
        return fail(argv[0], *error);
    return std::cout ? 0 : fail(argv[0], "cannot write the output");
}
