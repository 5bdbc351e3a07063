#pragma once

#include "display/bevel_panel.h"
#include "display/lcd_layout.h"

#include <optional>
#include <vector>

namespace kx::display {

class LcdElementView;

// `Panel1`: the meter's LCD on screen, one child per element of the build's layout, each named as
// the element. The decoders fill an LcdModel; `render` shows it. The panel's accessible name is
// the reading as text.
class LcdPanel : public BevelPanel {
public:
    explicit LcdPanel(LcdBuild build, QWidget *parent = nullptr);

    // Called after every decoded frame: only the elements whose visibility or glyph changed are
    // touched, and the accessible name only when the reading's text changed.
    void render(const meter::LcdModel &model);

    LcdBuild build() const { return m_build; }

private:
    struct Slot {
        meter::LcdElement element;
        std::optional<meter::LcdDigit> digit;
        LcdElementView *view;
        bool shown = false;
        char glyph = 0;
    };

    LcdBuild m_build;
    std::vector<Slot> m_slots;
};

} // namespace kx::display
