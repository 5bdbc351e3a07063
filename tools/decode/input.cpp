#include "tools/decode/input.h"

#include "tools/common/tool_text.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <unistd.h>

namespace kx::tools {

namespace {

struct FileCloser {
    void operator()(std::FILE *file) const { std::fclose(file); }
};

// Hex text cut into tokens across reads: a token may end in the next read, or at the end of input.
class HexTokens {
public:
    // The bytes of the tokens TEXT completes, or the message about the first bad token.
    std::optional<std::string> add(std::string_view text, std::vector<std::uint8_t> &bytes)
    {
        for (char c : text) {
            if (!std::isspace(static_cast<unsigned char>(c))) {
                // A token longer than a byte is already bad; keep only what the message shows.
                if (token_.size() < kShown)
                    token_ += c;
                ++length_;
                continue;
            }
            if (std::optional<std::string> error = finish(bytes))
                return error;
        }
        return std::nullopt;
    }

    std::optional<std::string> finish(std::vector<std::uint8_t> &bytes)
    {
        if (length_ == 0)
            return std::nullopt;
        if (length_ != 2 || hexDigitValue(token_[0]) < 0 || hexDigitValue(token_[1]) < 0)
            return "'" + token_ + (length_ > token_.size() ? "...'" : "'") + " is not a two-digit hex byte";
        bytes.push_back(static_cast<std::uint8_t>(hexDigitValue(token_[0]) << 4 | hexDigitValue(token_[1])));
        token_.clear();
        length_ = 0;
        return std::nullopt;
    }

private:
    static constexpr std::size_t kShown = 16;
    std::string token_;
    std::size_t length_ = 0;
};

} // namespace

std::optional<std::string> readInput(const std::string &path, bool hex,
                                     const std::function<void(std::span<const std::uint8_t>)> &consume)
{
    const bool standardInput = path.empty() || path == "-";
    const std::string name = standardInput ? std::string("standard input") : path;
    std::unique_ptr<std::FILE, FileCloser> owned;
    int fd = STDIN_FILENO;
    if (!standardInput) {
        owned.reset(std::fopen(path.c_str(), "rb"));
        if (!owned)
            return path + ": " + std::strerror(errno);
        fd = fileno(owned.get());
    }
    HexTokens tokens;
    std::vector<std::uint8_t> bytes;
    char buffer[65536];
    for (;;) {
        // read() rather than stdio: it returns what a pipe or terminal holds now instead of waiting
        // for a full buffer.
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return name + ": " + std::strerror(errno);
        const std::string_view text(buffer, static_cast<std::size_t>(got));
        bytes.clear();
        std::optional<std::string> error;
        if (!hex)
            bytes.assign(text.begin(), text.end());
        else
            error = got == 0 ? tokens.finish(bytes) : tokens.add(text, bytes);
        if (!bytes.empty())
            consume(bytes);
        if (error)
            return error;
        if (got == 0)
            return std::nullopt;
    }
}

} // namespace kx::tools
