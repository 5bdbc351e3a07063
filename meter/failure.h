#pragma once

#include <optional>
#include <string>

namespace kx::meter {

// The message of a frame whose processing stopped part-way, or nothing when it ran to the end.
// What the frame changed before it stopped stays.
using Failure = std::optional<std::string>;

} // namespace kx::meter
