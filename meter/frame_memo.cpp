#include "meter/frame_memo.h"

namespace kx::meter {

void FrameMemo::append(std::string_view line)
{
    lines_[next_].assign(line);
    next_ = (next_ + 1) % kLines;
    if (count_ < kLines)
        ++count_;
}

} // namespace kx::meter
