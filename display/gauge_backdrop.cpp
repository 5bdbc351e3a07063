#include "display/gauge_backdrop.h"

#include <QImage>
#include <QPainter>

#include <cstdint>

namespace kx::display {

namespace {

constexpr int kTextureSize = 256;

// A fixed grain for each pixel, so the texture looks the same on every run.
int grain(int x, int y)
{
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<int>((h ^ (h >> 16)) & 31u);
}

// Dark blue with a fine grain and a faint diagonal weave; drawn once, shown stretched.
const QImage &darkBlueTexture()
{
    static const QImage texture = [] {
        QImage image(kTextureSize, kTextureSize, QImage::Format_RGB32);
        for (int y = 0; y < kTextureSize; ++y) {
            auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < kTextureSize; ++x) {
                const int weave = ((x + y) / 4) % 2 == 0 ? 8 : 0;
                const int g = grain(x, y) + weave;
                line[x] = qRgb(8 + g / 4, 16 + g / 2, 72 + g);
            }
        }
        return image;
    }();
    return texture;
}

} // namespace

GaugeBackdrop::GaugeBackdrop(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("KD2"));
    setAccessibleName(QStringLiteral("Gauge backdrop"));
}

void GaugeBackdrop::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(rect(), darkBlueTexture());
}

} // namespace kx::display
