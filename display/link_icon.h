#pragma once

#include <QWidget>

namespace kx::display {

// The 25 x 24 link picture: a computer beside a meter, joined by a cable. `CONok` has both screens
// lit white (frames arrive); `CONokN` has them dark.
class LinkIcon : public QWidget {
public:
    LinkIcon(bool screensLit, QWidget *parent = nullptr);

    QSize sizeHint() const override { return {25, 24}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_screensLit;
};

} // namespace kx::display
