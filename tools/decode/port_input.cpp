#include "tools/decode/port_input.h"

#include "link/port_session.h"
#include "meter/integer_text.h"

#include <streambuf>
#include <string_view>

namespace kx::tools {

const char *const kPortUsage =
    "With --port NAME [--frames N] [--seconds S] it reads the meter live from serial port NAME\n"
    "(COM1 to COM4, see KX52B_COM1..KX52B_COM4, or a device path) at the build's speed, until N\n"
    "frames are printed or S seconds have passed.\n";

// Passes characters on until `lines` newlines went through, then swallows the rest.
class PortInput::LineLimit : public std::streambuf {
public:
    LineLimit(std::streambuf *target, int lines) : target_(target), left_(lines) {}
    bool full() const { return left_ == 0; }

protected:
    int_type overflow(int_type c) override
    {
        if (traits_type::eq_int_type(c, traits_type::eof()) || full())
            return traits_type::not_eof(c);
        if (traits_type::to_char_type(c) == '\n')
            --left_;
        return target_->sputc(traits_type::to_char_type(c));
    }
    int sync() override { return target_->pubsync(); }

private:
    std::streambuf *target_;
    int left_;
};

std::variant<PortOptions, std::string> takePortOptions(int &argc, char **argv)
{
    PortOptions options;
    bool limits = false;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg != "--port" && arg != "--frames" && arg != "--seconds") {
            argv[kept++] = argv[i];
            continue;
        }
        if (i + 1 >= argc)
            return std::string(arg) + " needs a value";
        const std::string value = argv[++i];
        if (arg == "--port") {
            if (value.empty())
                return std::string("--port needs a port name");
            options.port = value;
            continue;
        }
        const std::optional<std::int32_t> number = meter::parseInteger(value);
        if (!number)
            return meter::notIntegerMessage(value);
        if (*number <= 0)
            return std::string(arg) + " must be at least 1";
        (arg == "--frames" ? options.frames : options.seconds) = *number;
        limits = true;
    }
    argc = kept;
    argv[argc] = nullptr;
    if (limits && options.port.empty())
        return std::string("--frames and --seconds go with --port");
    return options;
}

PortInput::PortInput(const PortOptions &options, std::ostream &out) : options_(options), direct_(out)
{
    if (options_.frames > 0) {
        limit_ = std::make_unique<LineLimit>(out.rdbuf(), options_.frames);
        limited_ = std::make_unique<std::ostream>(limit_.get());
    }
}

PortInput::~PortInput() = default;

std::ostream &PortInput::out() { return limited_ ? *limited_ : direct_; }

std::optional<std::string> PortInput::run(DecodeSession &session, meter::ProfileFlags flags)
{
    link::PortSession port;
    port.portName = options_.port;
    port.speed = meter::evaluateProfile(flags).speed19200 ? link::TComPortBaudRate::br19200
                                                          : link::TComPortBaudRate::br2400;
    port.receiver = [&](link::TSerialPortDriver *, const char *data, std::int32_t size) {
        session.feed(reinterpret_cast<const std::uint8_t *>(data), size);
        out().flush();
    };
    port.finished = [this] { return limit_ && limit_->full(); };
    port.seconds = options_.seconds;
    return link::runPortSession(port);
}

} // namespace kx::tools
