#include "tools/decode/json_line.h"

#include "tools/common/tool_text.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace kx::tools {

namespace {

using meter::LcdDigit;
using meter::LcdElement;

class JsonWriter {
public:
    JsonWriter &key(std::string_view name)
    {
        text_ += first_ ? "" : ", ";
        first_ = false;
        string(name);
        text_ += ": ";
        return *this;
    }
    JsonWriter &string(std::string_view value)
    {
        appendJsonString(text_, value);
        return *this;
    }
    // Readings, gauge, bar and chart values are whole counts.
    JsonWriter &number(double value)
    {
        text_ += std::to_string(static_cast<long long>(value));
        return *this;
    }
    template <typename T> JsonWriter &optional(const std::optional<T> &value)
    {
        if (value)
            return number(static_cast<double>(*value));
        text_ += "null";
        return *this;
    }
    JsonWriter &boolean(bool value)
    {
        text_ += value ? "true" : "false";
        return *this;
    }
    JsonWriter &raw(std::string_view value)
    {
        text_ += value;
        return *this;
    }
    void open() { text_ += '{', first_ = true; }
    void close() { text_ += '}', first_ = false; }
    std::string take() { return std::move(text_); }

private:
    std::string text_;
    bool first_ = true;
};

} // namespace

std::string jsonLine(const std::string &frame, const meter::Meter &meter, const meter::HeadlessWindow &window,
                     const meter::Failure &error)
{
    const meter::ReadingState &s = meter.state;
    JsonWriter json;
    json.open();
    json.key("frame").string(frame);
    json.key("DisplayText").string(s.DisplayText);
    json.key("ReadingValue").number(s.ReadingValue);
    json.key("UnitText").string(s.UnitText);
    json.key("CouplingText").string(s.CouplingText);
    json.key("RangeModeText").string(s.RangeModeText);

    json.key("captions");
    json.open();
    for (LcdDigit digit : {LcdDigit::D0, LcdDigit::Da, LcdDigit::Db, LcdDigit::Dc, LcdDigit::Dd}) {
        const LcdElement element = meter::lcdDigitElement(digit);
        if (meter::lcdElementInBuild(element))
            json.key(meter::lcdElementName(element)).string(meter.lcd.caption(digit));
    }
    json.close();

    std::vector<std::string_view> shown;
    for (std::size_t i = 0; i < meter::kLcdElementCount; ++i) {
        const auto element = static_cast<LcdElement>(i);
        if (meter::lcdElementInBuild(element) && meter.lcd.shown(element))
            shown.push_back(meter::lcdElementName(element));
    }
    std::sort(shown.begin(), shown.end());
    json.key("shown").raw("[");
    for (std::size_t i = 0; i < shown.size(); ++i)
        json.raw(i ? ", " : "").string(shown[i]);
    json.raw("]");

    json.key("gauge").optional(window.frame.gauge);
    json.key("bar").optional(window.frame.bar);
    json.key("chart").optional(window.frame.chart);
    json.key("reset").boolean(window.frame.reset);
    json.key("alarm").boolean(window.oltextVisible);
    json.key("MaxText").string(window.MaxText);
    json.key("MinText").string(window.MinText);
    json.key("MaxTextU").string(window.MaxTextU);
    json.key("MinTextU").string(window.MinTextU);
    json.key("FrequencyMode").boolean(s.FrequencyMode);
    json.key("axis").raw("[").number(window.axisMinimum).raw(", ").number(window.axisMaximum).raw("]");
    json.key("error");
    if (error)
        json.string(*error);
    else
        json.raw("null");
    json.close();
    return json.take();
}

} // namespace kx::tools
