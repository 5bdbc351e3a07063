#include "log/chart_paging.h"

#include "meter/integer_text.h"

#include <algorithm>

namespace kx::log {

namespace {

// The sample point a reset leaves in every series; its value means nothing, 0 sits mid-axis.
constexpr float kSampleValue = 0.0F;

} // namespace

ChartPaging::ChartPaging()
{
    reset();
}

void ChartPaging::reset()
{
    for (ChartPoints &series : m_series) {
        series.clear();
        series.append(kSampleValue);
    }
}

std::size_t ChartPaging::activePoints() const
{
    const bool known = m_active >= 0 && m_active < static_cast<int>(m_series.size());
    return known ? m_series[static_cast<std::size_t>(m_active)].size() : 0;
}

std::optional<std::string> ChartPaging::setPointsPerPageText(std::string_view text)
{
    const std::optional<std::int32_t> value = meter::parseInteger(text);
    if (!value)
        return meter::notIntegerMessage(text);
    // The field takes digits only, but a pasted sign can get through: a negative size pages like
    // 0, one page of everything, instead of dividing by a negative page size.
    m_pointsPerPage = std::max<std::int32_t>(*value, 0);
    if (m_page > pageCount())
        m_page = pageCount();
    return std::nullopt;
}

std::int64_t ChartPaging::pageCount() const
{
    if (m_pointsPerPage <= 0)
        return 1;
    const auto points = static_cast<std::int64_t>(activePoints());
    return std::max<std::int64_t>(1, (points + m_pointsPerPage - 1) / m_pointsPerPage);
}

void ChartPaging::setPage(std::int64_t page)
{
    m_page = std::clamp<std::int64_t>(page, 1, pageCount());
}

PageSpan ChartPaging::pageSpan() const
{
    const auto count = static_cast<std::int64_t>(activePoints());
    PageSpan span;
    if (m_pointsPerPage <= 0) {
        span.lastX = std::max<std::int64_t>(count - 1, 0);
    } else {
        // The last page is laid out as a full page, however few points it holds.
        span.firstX = (m_page - 1) * m_pointsPerPage;
        span.lastX = span.firstX + m_pointsPerPage - 1;
    }
    const std::int64_t first = std::min(span.firstX, count);
    const std::int64_t end = std::min(span.lastX + 1, count);
    span.firstPoint = static_cast<std::size_t>(first);
    span.pointCount = static_cast<std::size_t>(end - first);
    return span;
}

void ChartPaging::first()
{
    m_page = 1;
    m_enabled = {false, false, true, true};
    finishNavigation(false);
}

void ChartPaging::previous()
{
    if (m_page <= 1) {
        m_enabled = {false, false, true, true};
    } else {
        setPage(m_page - 1);
        m_enabled.next = true;
        m_enabled.last = true;
    }
    finishNavigation(false);
}

void ChartPaging::next()
{
    // After a reset the page can lie beyond the last one; Next then lands on the last page
    // instead of staying on an empty one.
    if (m_page >= pageCount()) {
        setPage(m_page);
        m_enabled = {true, true, false, false};
    } else {
        setPage(m_page + 1);
        m_enabled.first = true;
        m_enabled.previous = true;
    }
    finishNavigation(false);
}

void ChartPaging::last()
{
    m_page = pageCount();
    m_enabled = {true, true, false, false};
    finishNavigation(true);
}

void ChartPaging::finishNavigation(bool live)
{
    m_caption = std::to_string(m_page);
    m_live = live;
}

} // namespace kx::log
