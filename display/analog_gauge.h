#pragma once

#include "display/bevel_panel.h"
#include "display/gauge_geometry.h"

#include <QImage>

#include <cstdint>
#include <functional>

class QLabel;

namespace kx::display {

class LinkIcon;

// `KD`: the analog gauge. A white panel whose image `KD1` shows the drawing surface stretched; the
// scale and the needle are drawn into that surface, which is made at `KD1`'s size the first time
// the gauge draws and keeps that size. The geometry follows the panel's current size. The panel
// also carries the link icons `CONok` / `CONokN` and the over-limit banner `oltext`.
class AnalogGauge : public BevelPanel {
public:
    // `inputs` is asked for the reading state and limit settings at every KDsetup and KDrun.
    explicit AnalogGauge(std::function<GaugeInputs()> inputs, QWidget *parent = nullptr);

    // Draws the scale afresh (the argument has no effect). The needle is not redrawn: it comes
    // back with the next KDrun.
    void KDsetup(std::int32_t mode);
    // Moves the needle: paints the old one over in white, then draws the new one. Whatever the old
    // needle crossed stays blank until the scale is next drawn.
    void KDrun(std::int32_t position);

    // The "OL !!" banner of the limit alarm.
    void setOltextVisible(bool visible);
    // The link icons: `CONok` while frames arrive, `CONokN` once they stop.
    void showCONok();
    void showCONokN();

    // The drawing surface; null until the gauge first draws.
    const QImage &surface() const { return m_surface; }
    GaugePoint NeedleTip() const { return m_needle.tip; }
    GaugePoint NeedleBase() const { return m_needle.base; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void ensureSurface();
    void placeChildren();

    std::function<GaugeInputs()> m_inputs;
    QImage m_surface;
    Needle m_needle;  // (0, 0) to (0, 0) until the first KDrun
    QWidget *m_face;  // KD1
    QLabel *m_oltext;
    LinkIcon *m_conOk;
    LinkIcon *m_conOkN;
    NeedlePlacement m_shownPlacement{{}, -1, -1};
};

} // namespace kx::display
