#include "app/window_layout.h"

#include <array>
#include <cmath>

namespace kx::app {

namespace {

using A = Anchor;

// Client pixels at design size. The lower rows (the USB lists, "Connect", "Exit") lie below what
// the fixed window shows; "Read", "Clear" and "Info" lie behind the chart.
constexpr std::array kPlaces40k{
    ControlPlace{"BtCOM1", {5, 3, 61, 24}},        ControlPlace{"BtCOM2", {5, 3, 61, 24}},
    ControlPlace{"BtCOM3", {5, 3, 61, 24}},        ControlPlace{"BtCOM4", {5, 3, 61, 24}},
    ControlPlace{"COMCon", {67, 5, 94, 25}, A::LeftOnly},
    ControlPlace{"USBCon", {170, 5, 94, 25}, A::LeftOnly},
    ControlPlace{"BitBtn1", {648, 3, 57, 25}},
    ControlPlace{"Panel1", {2, 31, 334, 129}},     ControlPlace{"PBar2", {2, 161, 334, 12}},
    ControlPlace{"Panel3", {3, 175, 334, 56}},
    ControlPlace{"RepeatSet", {3, 234, 54, 20}},   ControlPlace{"RecordSI", {57, 234, 143, 20}},
    ControlPlace{"RecordSITime", {159, 234, 27, 21}},
    ControlPlace{"RecordNew", {248, 234, 23, 21}}, ControlPlace{"OpenDataFiles", {270, 234, 23, 21}},
    ControlPlace{"saveas", {292, 234, 23, 21}},    ControlPlace{"BtPrint", {314, 234, 22, 21}},
    ControlPlace{"DBGrid1", {3, 254, 334, 209}},
    ControlPlace{"KD", {339, 31, 371, 143}},       ControlPlace{"Chtshow", {338, 175, 371, 287}},
    ControlPlace{"BTCon", {72, 506, 105, 26}},     ControlPlace{"BtDiscon", {48, 506, 105, 26}},
    ControlPlace{"BtExit", {264, 514, 65, 26}},
    ControlPlace{"ReadBtn", {520, 440, 81, 22}, A::LeftOnly},
    ControlPlace{"ClearBtn", {567, 476, 81, 21}, A::LeftBottom},
    ControlPlace{"InfoBtn", {648, 472, 57, 22}, A::LeftBottom},
    ControlPlace{"SetFeature", {483, 476, 81, 21}},
    ControlPlace{"DevListBox", {336, 482, 97, 25}, A::LeftTopRight},
    ControlPlace{"HistoryListBox", {336, 506, 315, 49}, A::AllSides},
    ControlPlace{"USBtxt", {312, 11, 40, 14}},
    ControlPlace{"FrameFailures", {270, 8, 372, 18}},
};

constexpr std::array kPlaces4k{
    ControlPlace{"BtCOM1", {5, 3, 61, 24}},        ControlPlace{"BtCOM2", {5, 3, 61, 24}},
    ControlPlace{"BtCOM3", {5, 3, 61, 24}},        ControlPlace{"BtCOM4", {5, 3, 61, 24}},
    ControlPlace{"COMCon", {68, 8, 94, 25}, A::LeftOnly},
    ControlPlace{"USBCon", {170, 8, 94, 25}, A::LeftOnly},
    ControlPlace{"BitBtn1", {552, 3, 57, 25}},
    ControlPlace{"Panel1", {3, 31, 285, 129}},     ControlPlace{"PBar2", {3, 161, 284, 12}},
    ControlPlace{"Panel3", {3, 175, 285, 56}},
    ControlPlace{"RepeatSet", {3, 234, 54, 20}},   ControlPlace{"RecordSI", {57, 234, 143, 20}},
    ControlPlace{"RecordSITime", {159, 234, 27, 21}},
    ControlPlace{"RecordNew", {200, 234, 23, 21}}, ControlPlace{"OpenDataFiles", {222, 234, 23, 21}},
    ControlPlace{"saveas", {244, 234, 23, 21}},    ControlPlace{"BtPrint", {266, 234, 22, 21}},
    ControlPlace{"DBGrid1", {3, 254, 284, 150}},
    ControlPlace{"KD2", {294, 39, 316, 134}},
    ControlPlace{"KD", {290, 31, 318, 139}},       ControlPlace{"Chtshow", {288, 171, 329, 233}},
    ControlPlace{"BTCon", {72, 506, 105, 26}},     ControlPlace{"BtDiscon", {48, 506, 105, 26}},
    ControlPlace{"BtExit", {104, 466, 65, 26}},
    ControlPlace{"ReadBtn", {520, 449, 81, 22}, A::LeftOnly},
    ControlPlace{"ClearBtn", {520, 489, 81, 22}, A::LeftBottom},
    ControlPlace{"InfoBtn", {520, 513, 57, 22}, A::LeftBottom},
    ControlPlace{"SetFeature", {520, 416, 81, 25}},
    ControlPlace{"DevListBox", {296, 424, 217, 33}, A::LeftTopRight},
    ControlPlace{"HistoryListBox", {296, 455, 217, 88}, A::AllSides},
    ControlPlace{"USBtxt", {296, 409, 40, 14}},
    ControlPlace{"FrameFailures", {270, 8, 278, 18}},
};

// The visible client area is the outer size less the title bar, menu bar and borders.
const WindowLayout kLayout40k{
    .outer = {720, 520}, .designClient = {712, 537}, .visibleClient = {712, 466}, .places = kPlaces40k,
    .gridHeightLess = 312, .chartWidthLess = 0, .gaugeWidthLess = 0, .pictureWidthLess = 0, .chartHeightLess = 235,
    .barMaximum = 40, .barStart = 20, .usbTextShown = false, .chartAxis = 41000, .gridWidths = log::kGridWidths40k};

// An overload sets the bar to 40, which fills two thirds of this bar.
const WindowLayout kLayout4k{
    .outer = {622, 463}, .designClient = {614, 548}, .visibleClient = {614, 409}, .places = kPlaces4k,
    .gridHeightLess = 311, .chartWidthLess = 300, .gaugeWidthLess = 303, .pictureWidthLess = 305, .chartHeightLess = 0,
    .barMaximum = 60, .barStart = 30, .usbTextShown = true, .chartAxis = 4100, .gridWidths = log::kGridWidths4k};

} // namespace

const WindowLayout &windowLayout40k() { return kLayout40k; }
const WindowLayout &windowLayout4k() { return kLayout4k; }

const WindowLayout &buildWindowLayout()
{
#if defined(KX52B_BUILD_40K)
    return kLayout40k;
#else
    return kLayout4k;
#endif
}

QRect anchoredPlace(const ControlPlace &place, QSize designClient, QSize client)
{
    QRect r = place.design;
    const int bottomGap = designClient.height() - r.bottom() - 1;
    const int rightGap = designClient.width() - r.right() - 1;
    switch (place.anchor) {
    case Anchor::TopLeft:
        break;
    case Anchor::LeftOnly: {
        const double centre = (r.top() + r.height() / 2.0) * client.height() / designClient.height();
        r.moveTop(static_cast<int>(std::lround(centre - r.height() / 2.0)));
        break;
    }
    case Anchor::LeftBottom:
        r.moveTop(client.height() - bottomGap - r.height());
        break;
    case Anchor::AllSides:
        r.setHeight(std::max(0, client.height() - bottomGap - r.top()));
        [[fallthrough]];
    case Anchor::LeftTopRight:
        r.setWidth(std::max(0, client.width() - rightGap - r.left()));
        break;
    }
    return r;
}

ResizedPlaces FormResize(const WindowLayout &layout, int gaugeHeight)
{
    const int W = layout.outer.width();
    const int H = layout.outer.height();
    const auto less = [](int size, int by) { return by ? size - by : 0; };
    ResizedPlaces r{};
    r.BtExitLeft = W - 80;
    r.BTConLeft = W - 190;
    r.DBGrid1Height = H - layout.gridHeightLess;
    r.ChtshowWidth = less(W, layout.chartWidthLess);
    r.KDWidth = less(W, layout.gaugeWidthLess);
    if (layout.pictureWidthLess)
        r.KD2Size = {W - layout.pictureWidthLess, gaugeHeight - 6};
    r.ChtshowTop = gaugeHeight + 34;
    r.ChtshowHeight = less(H, layout.chartHeightLess);
    return r;
}

} // namespace kx::app
