#include "log/chart_points.h"

namespace kx::log {

void ChartPoints::append(float value)
{
    const std::size_t index = m_values.size();
    m_values.push_back(value);
    if (index % kBlock == 0) {
        m_blocks.push_back({index, index});
        return;
    }
    Extremes &block = m_blocks.back();
    if (value < m_values[block.low])
        block.low = index;
    if (value > m_values[block.high])
        block.high = index;
}

void ChartPoints::clear()
{
    m_values.clear();
    m_blocks.clear();
}

ChartPoints::Extremes ChartPoints::extremes(std::size_t begin, std::size_t end) const
{
    Extremes found{begin, begin};
    const auto take = [&](std::size_t low, std::size_t high) {
        if (m_values[low] < m_values[found.low])
            found.low = low;
        if (m_values[high] > m_values[found.high])
            found.high = high;
    };
    std::size_t i = begin;
    for (; i < end && i % kBlock != 0; ++i)
        take(i, i);
    for (; i + kBlock <= end; i += kBlock)
        take(m_blocks[i / kBlock].low, m_blocks[i / kBlock].high);
    for (; i < end; ++i)
        take(i, i);
    return found;
}

} // namespace kx::log
