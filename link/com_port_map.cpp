#include "link/com_port_map.h"

#include "meter/integer_text.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <tuple>

namespace kx::link {
namespace {

struct Candidate {
    bool builtInUart;
    std::int32_t uartNumber; // ttyS<n>: the kernel numbers the motherboard's ports first
    std::string treePosition;
    std::string name;

    // Built-in UARTs sort first, by their number; the others by where they hang.
    auto key() const
    {
        return std::make_tuple(!builtInUart, uartNumber, std::cref(treePosition), std::cref(name));
    }
};

bool hasNoHardware(const std::filesystem::path &ttyDir)
{
    // serial_core reports the UART type; 0 (unknown) marks a placeholder port.
    std::ifstream type(ttyDir / "type");
    int value = -1;
    return type >> value && value == 0;
}

} // namespace

std::string comPortName(TComPortNumber port)
{
    return "COM" + std::string(1, static_cast<char>('1' + static_cast<int>(port)));
}

std::optional<TComPortNumber> comPortFromName(std::string_view name)
{
    if (name.size() != 4 || std::toupper(static_cast<unsigned char>(name[0])) != 'C'
        || std::toupper(static_cast<unsigned char>(name[1])) != 'O'
        || std::toupper(static_cast<unsigned char>(name[2])) != 'M' || name[3] < '1' || name[3] > '4')
        return std::nullopt;
    return static_cast<TComPortNumber>(name[3] - '1');
}

std::vector<std::string> serialDevicesPresent(const std::filesystem::path &sysClassTty)
{
    std::vector<Candidate> found;
    // The error_code forms throughout: a sysfs entry vanishing mid-scan (an adapter pulled out)
    // must end the scan quietly, never throw into the caller's event loop.
    std::error_code error;
    for (std::filesystem::directory_iterator it(sysClassTty, error), end; !error && it != end;
         it.increment(error)) {
        const std::filesystem::directory_entry &entry = *it;
        const std::filesystem::path device = entry.path() / "device";
        std::error_code linkError;
        const std::filesystem::path position = std::filesystem::canonical(device, linkError);
        if (linkError || hasNoHardware(entry.path()))
            continue;
        const std::string name = entry.path().filename().string();
        const std::optional<std::int32_t> uart =
            name.starts_with("ttyS") ? meter::parseInteger(std::string_view(name).substr(4)) : std::nullopt;
        if (uart)
            found.push_back({true, *uart, {}, name});
        else
            found.push_back({false, 0, position.string(), name});
    }
    std::sort(found.begin(), found.end(),
              [](const Candidate &a, const Candidate &b) { return a.key() < b.key(); });
    std::vector<std::string> paths;
    for (const Candidate &c : found)
        paths.push_back("/dev/" + c.name);
    return paths;
}

std::string comPortDevicePath(TComPortNumber port, const std::filesystem::path &sysClassTty)
{
    const std::string variable = "KX52B_" + comPortName(port);
    if (const char *chosen = std::getenv(variable.c_str()); chosen && *chosen)
        return chosen;
    const std::vector<std::string> present = serialDevicesPresent(sysClassTty);
    const auto index = static_cast<std::size_t>(port);
    return index < present.size() ? present[index] : std::string();
}

} // namespace kx::link
