#include "tools/decode/decode_session.h"

#include "meter/integer_text.h"
#include "tools/decode/json_line.h"

#include <memory>
#include <ostream>

namespace kx::tools {

DecodeSession::DecodeSession(const DecodeOptions &options, std::ostream &out)
    : out_(out), meter_(window_, options.flags), started_(meter::startProfile(meter_))
{
    window_.MinText = started_.limitTexts.MinText;
    window_.MaxText = started_.limitTexts.MaxText;
    window_.setChartLeftAxis(-meter_.state.FullScale, meter_.state.FullScale);
    window_.onFrameStart = [this] { frameStarted(); };
}

std::variant<std::unique_ptr<DecodeSession>, std::string> DecodeSession::create(const DecodeOptions &options,
                                                                               std::ostream &out)
{
    std::unique_ptr<DecodeSession> session(new DecodeSession(options, out));
    if (!session->started_.receiver)
        return std::string("these profile flags bind no frame receiver");
    const struct {
        const std::optional<std::string> &text;
        float &limit;
        bool &box;
    } limits[] = {
        {options.setmax, session->meter_.state.MaxLimit, session->window_.SetMaxB},
        {options.setmin, session->meter_.state.MinLimit, session->window_.SetMinB},
    };
    for (const auto &l : limits) {
        if (!l.text)
            continue;
        const std::optional<float> limit = meter::parseLimit(*l.text);
        if (!limit)
            return meter::notIntegerMessage(*l.text);
        l.limit = *limit;
        l.box = true;
    }
    return session;
}

void DecodeSession::feed(const std::uint8_t *data, std::int32_t size)
{
    const meter::Failure failure = started_.receiver(meter_, data, size);
    if (pending_)
        print(failure);
}

void DecodeSession::frameStarted()
{
    if (pending_)
        print(std::nullopt);
    pending_ = meter_.state.LastFrame;
}

void DecodeSession::print(const meter::Failure &error)
{
    out_ << jsonLine(*pending_, meter_, window_, error) << '\n';
    pending_.reset();
}

} // namespace kx::tools
