#include "tools/decode/input.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>

namespace kx::tools {

namespace {

struct FileCloser {
    void operator()(std::FILE *file) const { std::fclose(file); }
};

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::variant<std::vector<std::uint8_t>, std::string> parseHex(const std::string &text)
{
    std::vector<std::uint8_t> bytes;
    std::size_t i = 0;
    while (i < text.size()) {
        if (std::isspace(static_cast<unsigned char>(text[i]))) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && !std::isspace(static_cast<unsigned char>(text[end])))
            ++end;
        const std::string token = text.substr(i, end - i);
        if (token.size() != 2 || hexDigit(token[0]) < 0 || hexDigit(token[1]) < 0)
            return "'" + token + "' is not a two-digit hex byte";
        bytes.push_back(static_cast<std::uint8_t>(hexDigit(token[0]) << 4 | hexDigit(token[1])));
        i = end;
    }
    return bytes;
}

} // namespace

std::variant<std::vector<std::uint8_t>, std::string> readInput(const std::string &path, bool hex)
{
    const bool standardInput = path.empty() || path == "-";
    std::unique_ptr<std::FILE, FileCloser> owned;
    std::FILE *file = stdin;
    if (!standardInput) {
        owned.reset(std::fopen(path.c_str(), "rb"));
        if (!owned)
            return path + ": " + std::strerror(errno);
        file = owned.get();
    }
    std::string data;
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        data.append(buffer, got);
    if (std::ferror(file))
        return (standardInput ? std::string("standard input") : path) + ": " + std::strerror(errno);
    if (hex)
        return parseHex(data);
    return std::vector<std::uint8_t>(data.begin(), data.end());
}

} // namespace kx::tools
