#pragma once

#include "meter/profile.h"
#include "tools/decode/decode_session.h"

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <variant>

namespace kx::tools {

extern const char *const kPortUsage;

// Live decoding from a serial port: --port NAME (a COM name or a device path), ended by
// --frames N (decoded frames printed) or --seconds S.
struct PortOptions {
    std::string port;
    int frames = 0;
    int seconds = 0;
};

// Takes the port options out of argv (argc shrinks) so the rest parses as before; the message says
// what is wrong with them.
std::variant<PortOptions, std::string> takePortOptions(int &argc, char **argv);

// Reads the port for a decode session. out() is where the session prints: the given stream, cut
// off after --frames lines so that a block holding several frames cannot print more.
class PortInput {
public:
    PortInput(const PortOptions &options, std::ostream &out);
    ~PortInput();

    bool wanted() const { return !options_.port.empty(); }
    std::ostream &out();

    // Reads through the serial driver at the profile's speed, each block into the session as the
    // window's receiver would get it, until the run ends. The message says why it failed.
    std::optional<std::string> run(DecodeSession &session, meter::ProfileFlags flags);

private:
    class LineLimit;
    PortOptions options_;
    std::ostream &direct_;
    std::unique_ptr<LineLimit> limit_;
    std::unique_ptr<std::ostream> limited_;
};

} // namespace kx::tools
