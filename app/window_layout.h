#pragma once

#include "log/log_grid_view.h"

#include <QRect>
#include <QSize>

#include <span>
#include <string_view>

namespace kx::app {

// How a control follows the client area when it is smaller than the area it was placed on.
enum class Anchor {
    TopLeft,      // keeps its distances to the top and left edges
    LeftOnly,     // keeps its vertical centre at the same fraction of the client height
    LeftBottom,   // keeps its distance to the bottom edge
    LeftTopRight, // keeps its distances to the left, top and right edges; its width follows
    AllSides,     // keeps its distances to all four edges; its size follows
};

// Where a control sits on the design client area of its build.
struct ControlPlace {
    std::string_view name;
    QRect design;
    Anchor anchor = Anchor::TopLeft;
};

// The window of one build: its outer size, the client area its controls are placed on, the client
// area the user sees at the fixed size, and every control's place.
struct WindowLayout {
    QSize outer;
    QSize designClient;
    QSize visibleClient;
    std::span<const ControlPlace> places;
    // The resize rule's sizes, from the outer width W and height H.
    int gridHeightLess;        // `DBGrid1` height H - this
    int chartWidthLess;        // `Chtshow` width W - this; 0: unchanged
    int gaugeWidthLess;        // `KD` width W - this; 0: unchanged
    int pictureWidthLess;      // `KD2` width W - this; 0: no `KD2`
    int chartHeightLess;       // `Chtshow` height H - this; 0: unchanged
    // The bar `PBar2`: its full position and where it starts, which no reading changes.
    int barMaximum;
    int barStart;
    bool usbTextShown;         // `USBtxt` shows in the four-digit window only
    // The chart's value axis until start-up sets it: +-41000 or +-4100.
    double chartAxis;
    log::GridWidths gridWidths;
};

const WindowLayout &windowLayout40k();
const WindowLayout &windowLayout4k();
// The layout of the build being compiled.
const WindowLayout &buildWindowLayout();

// The control's place on the visible client area, after its anchoring.
QRect anchoredPlace(const ControlPlace &place, QSize designClient, QSize client);

// The resize rule: the places of the controls it moves or sizes, given the gauge panel's height.
struct ResizedPlaces {
    int BtExitLeft;
    int BTConLeft; // also `BtDiscon`
    int DBGrid1Height;
    int ChtshowWidth;  // 0: unchanged
    int KDWidth;       // 0: unchanged
    QSize KD2Size;     // empty: no `KD2`
    int ChtshowTop;
    int ChtshowHeight; // 0: unchanged
};
ResizedPlaces FormResize(const WindowLayout &layout, int gaugeHeight);

} // namespace kx::app
