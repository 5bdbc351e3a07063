#pragma once

#include "log/chart_points.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kx::log {

// The two series in their chart order: the order is the index `ShowSeries` takes.
enum class ChartSeries : int { Area = 0, Line = 1 };

// Enabled state of the navigation buttons First, Previous, Next, Last.
struct NavigationEnabled {
    bool first = true;
    bool previous = true;
    bool next = true;
    bool last = true;
    bool operator==(const NavigationEnabled &) const = default;
};

// What the current page lays out: the x range of a full page, and the points that fall in it.
struct PageSpan {
    std::int64_t firstX = 0;
    std::int64_t lastX = 0;
    std::size_t firstPoint = 0;
    std::size_t pointCount = 0;
};

// The trend chart's points, pages and navigation, free of any widget: the chart view only draws
// what this says. A reading reaches the line series first and the area series after the live jump
// to the last page, so the two can differ by a point while the pages are counted.
class ChartPaging {
public:
    static constexpr int kStartPointsPerPage = 100;

    ChartPaging();

    // A point at the next x of one series: `Series1Add` and `Series2Add`.
    void add(ChartSeries series, float value) { store(series).append(value); }
    // `BtNewClick`'s data step: every series holds one sample point at x = 0, so the next reading
    // gets x = 1. Page, page caption, live state and the active series stay as they are.
    void reset();
    // Deactivates every series, then activates the one with this index, if there is one.
    void showSeries(int index) { m_active = index; }
    int activeSeries() const { return m_active; }
    const ChartPoints &points(ChartSeries series) const { return m_series[index(series)]; }

    int pointsPerPage() const { return m_pointsPerPage; }
    // `MaxrecordExit`: the field's text becomes the points per page, or the conversion message
    // comes back and nothing changes. A page beyond the new page count moves to the last page.
    std::optional<std::string> setPointsPerPageText(std::string_view text);
    std::int64_t page() const { return m_page; }
    // Counted on the active series only; at least 1.
    std::int64_t pageCount() const;
    // Clamped into 1 .. page count.
    void setPage(std::int64_t page);
    PageSpan pageSpan() const;

    // The navigation commands; each sets the page caption and the live state.
    void first();
    void previous();
    void next();
    void last();
    bool live() const { return m_live; }
    // The text of the page counter `Bt10`; a reset or a new page size leaves it as it is.
    const std::string &caption() const { return m_caption; }
    void setCaption(std::string_view caption) { m_caption = caption; }
    NavigationEnabled enabled() const { return m_enabled; }

private:
    static std::size_t index(ChartSeries series) { return static_cast<std::size_t>(series); }
    ChartPoints &store(ChartSeries series) { return m_series[index(series)]; }
    std::size_t activePoints() const;
    void finishNavigation(bool live);

    std::array<ChartPoints, 2> m_series;
    int m_active = static_cast<int>(ChartSeries::Area);
    int m_pointsPerPage = kStartPointsPerPage;
    std::int64_t m_page = 1;
    std::string m_caption = "1";
    bool m_live = true;
    NavigationEnabled m_enabled;
};

} // namespace kx::log
