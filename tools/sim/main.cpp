// kx52b-sim: plays a meter on a pseudo-terminal. The first line of standard output is the path of
// the pty's slave side, the port the programs open; frames follow once a program has it open.

#include "meter/integer_text.h"
#include "tools/common/tool_text.h"
#include "tools/sim/frames.h"
#include "tools/sim/meter_pty.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string_view>
#include <thread>

namespace {

using kx::sim::Family;
using kx::sim::Frame;

constexpr const char *kUsage =
    "usage: kx52b-sim [--help] [--family segment|line|five-digit] [--frames-file FILE] [--interval MS]\n"
    "                 [--baud N] [--fast] [--count N] [--log FILE]\n"
    "  --family       frame family (default five-digit, the 40000-count meter; segment is the\n"
    "                 4000-count meter's, line the 4000-count carriage-return family)\n"
    "  --frames-file  frames to send instead of the built-in sweep: one a line, as the digits a\n"
    "                 receiver keeps (e.g. 123452101DA) or as hex bytes (e.g. 0A 31 32 0D)\n"
    "  --interval     milliseconds from one frame to the next (default 500)\n"
    "  --baud         pace the bytes as a line at this rate carries them (default 2400; 0: at once)\n"
    "  --fast         --interval 0 --baud 0\n"
    "  --count        stop after N frames, once the reader has closed the port or 5 s have\n"
    "                 passed (default: repeat for ever)\n"
    "  --log          write each frame sent as a JSON line: LastFrame, and for the built-in\n"
    "                 sweep the DisplayText and UnitText the meter shows\n";

struct Options {
    Family family = Family::FiveDigit;
    std::string framesFile;
    std::string logFile;
    int intervalMs = 500;
    int baud = 2400;
    int count = 0;
};

int usageError(const std::string &message)
{
    std::cerr << "kx52b-sim: " << message << "\n" << kUsage;
    return 2;
}

std::optional<std::string> parseOptions(int argc, char **argv, Options &options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--fast") {
            options.intervalMs = 0;
            options.baud = 0;
            continue;
        }
        if (i + 1 >= argc)
            return "unknown option or missing value: " + arg;
        const std::string value = argv[++i];
        if (arg == "--family") {
            const auto family = kx::sim::familyFromName(value);
            if (!family)
                return "unknown family '" + value + "'";
            options.family = *family;
        } else if (arg == "--frames-file") {
            options.framesFile = value;
        } else if (arg == "--log") {
            options.logFile = value;
        } else if (arg == "--interval" || arg == "--baud" || arg == "--count") {
            const auto number = kx::meter::parseInteger(value);
            if (!number || *number < 0)
                return number ? arg + " must not be negative" : kx::meter::notIntegerMessage(value);
            (arg == "--interval" ? options.intervalMs : arg == "--baud" ? options.baud : options.count) = *number;
        } else {
            return "unknown option " + arg;
        }
    }
    return std::nullopt;
}

std::optional<std::string> hexBytes(const std::string &line)
{
    std::istringstream in(line);
    std::string pair;
    std::string bytes;
    while (in >> pair) {
        if (pair.size() != 2 || !std::isxdigit(static_cast<unsigned char>(pair[0]))
            || !std::isxdigit(static_cast<unsigned char>(pair[1])))
            return std::nullopt;
        bytes += static_cast<char>(std::stoi(pair, nullptr, 16));
    }
    return bytes;
}

std::optional<std::string> readFramesFile(const Options &options, std::vector<Frame> &frames)
{
    std::ifstream in(options.framesFile);
    if (!in)
        return "cannot read " + options.framesFile;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back())))
            line.pop_back();
        if (line.empty() || line.front() == '#')
            continue;
        std::optional<Frame> frame;
        if (line.find(' ') != std::string::npos) {
            if (auto bytes = hexBytes(line))
                frame = Frame{*bytes, {}, {}, {}};
        } else {
            frame = kx::sim::frameFromDigits(options.family, line);
        }
        if (!frame)
            return options.framesFile + ":" + std::to_string(number) + ": not a frame of this family: " + line;
        frames.push_back(*frame);
    }
    if (frames.empty())
        return options.framesFile + " holds no frames";
    return std::nullopt;
}

void logFrame(std::ostream &log, const Frame &frame)
{
    std::string line = "{\"LastFrame\":";
    kx::tools::appendJsonString(line, frame.lastFrame);
    if (!frame.displayText.empty()) {
        line += ",\"DisplayText\":";
        kx::tools::appendJsonString(line, frame.displayText);
        line += ",\"UnitText\":";
        kx::tools::appendJsonString(line, frame.unitText);
    }
    line += ",\"bytes\":";
    kx::tools::appendJsonString(line, kx::tools::hexBytes(frame.bytes));
    log << line << "}\n" << std::flush;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 2 && std::string_view(argv[1]) == "--help") {
        std::cout << kUsage;
        return 0;
    }
    Options options;
    if (const auto error = parseOptions(argc, argv, options))
        return usageError(*error);

    std::vector<Frame> frames;
    if (options.framesFile.empty()) {
        frames = kx::sim::builtInScenario(options.family);
    } else if (const auto error = readFramesFile(options, frames)) {
        std::cerr << "kx52b-sim: " << *error << "\n";
        return 2;
    }
    std::ofstream log;
    if (!options.logFile.empty()) {
        log.open(options.logFile, std::ios::trunc);
        if (!log) {
            std::cerr << "kx52b-sim: cannot write " << options.logFile << "\n";
            return 2;
        }
    }

    kx::sim::MeterPty pty;
    if (const std::string error = pty.open(); !error.empty()) {
        std::cerr << "kx52b-sim: cannot open a pseudo-terminal: " << error << "\n";
        return 1;
    }
    std::cout << pty.slavePath() << std::endl;

    const auto interval = std::chrono::milliseconds(options.intervalMs);
    int sent = 0;
    for (std::size_t next = 0; options.count == 0 || sent < options.count; next = (next + 1) % frames.size()) {
        pty.waitForReader();
        const auto start = std::chrono::steady_clock::now();
        const Frame &frame = frames[next];
        if (!pty.writeFrame(frame.bytes, static_cast<unsigned>(options.baud)))
            continue; // nobody took it; the next reader starts afresh
        ++sent;
        if (log.is_open())
            logFrame(log, frame);
        std::this_thread::sleep_until(start + interval);
    }
    pty.waitForReaderToLeave(std::chrono::seconds(5));
    return 0;
}
