#pragma once

#include <QIcon>

namespace kx::app {

// The pictures of the log toolbar's flat buttons.
enum class ToolbarIcon { CloseData, Open, Save, Print };

QIcon toolbarIcon(ToolbarIcon icon);

} // namespace kx::app
