#pragma once

#include <QWidget>

namespace kx::display {

// `KD2`: the dark blue texture behind the four-digit meter's gauge panel, of which a thin strip
// shows along the panel's right and bottom edges. Purely decorative.
class GaugeBackdrop : public QWidget {
public:
    explicit GaugeBackdrop(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace kx::display
