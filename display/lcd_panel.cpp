#include "display/lcd_panel.h"

#include "display/lcd_element_view.h"
#include "display/lcd_readout.h"

namespace kx::display {

namespace {

const QColor kLcdBackground(0xE8, 0xE8, 0xE8);

} // namespace

LcdPanel::LcdPanel(LcdBuild build, QWidget *parent)
    : BevelPanel(kLcdBackground, true, parent)
    , m_build(build)
{
    setObjectName(QStringLiteral("Panel1"));
    resize(lcdPanelSize(build));
    for (const LcdElementRow &row : lcdElementRows()) {
        const std::optional<LcdPlace> place = row.placeIn(build);
        if (!place)
            continue;
        auto *view = new LcdElementView(row, *place, this);
        view->hide();
        m_slots.push_back({row.element, lcdDigitOf(row.element), view});
    }
    // As the window opens: the sign and the layout's digits.
    render(meter::LcdModel());
}

void LcdPanel::render(const meter::LcdModel &model)
{
    bool changed = false;
    for (Slot &slot : m_slots) {
        const bool shown = model.shown(slot.element);
        if (shown != slot.shown) {
            slot.shown = shown;
            slot.view->setVisible(shown);
            changed = true;
        }
        if (slot.digit) {
            const std::string_view caption = model.caption(*slot.digit);
            const char glyph = caption.empty() ? 0 : caption.front();
            if (glyph != slot.glyph) {
                slot.glyph = glyph;
                slot.view->setGlyph(glyph);
                changed = true;
            }
        }
    }
    if (changed) {
        const QString readout = lcdReadout(model, m_build);
        if (readout != accessibleName())
            setAccessibleName(readout);
    }
}

} // namespace kx::display
