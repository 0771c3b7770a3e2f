#include "PlotLayout.h"

#include <algorithm>

namespace gyrodesk {

namespace {
constexpr int kMargin = 10;
constexpr int kAxisLeft = 52;    // tick labels and the rotated axis title
constexpr int kAxisBottom = 42;  // tick labels and the axis title
constexpr int kLegendHeight = 24;
constexpr int kSideWidth = 180;
constexpr int kLine = 18;  // one line of text in the side column
constexpr int kSmallestDial = 60;
}  // namespace

QColor SeriesColour(Series series) {
    switch (series) {
    case Series::Pitch: return QColor(214, 39, 40);
    case Series::Yaw: return QColor(31, 119, 180);
    case Series::Roll: return QColor(44, 160, 44);
    }
    return Qt::black;
}

const char* SeriesName(Series series) {
    switch (series) {
    case Series::Pitch: return "Pitch";
    case Series::Yaw: return "Yaw";
    case Series::Roll: return "Roll";
    }
    return "";
}

PlotLayout PlotLayout::For(int width, int height) {
    PlotLayout l;
    l.client = QRect(0, 0, width, height);

    // The side column: two dials, each with a title and a caption, and the rate line.
    const int sideHeight = height - 2 * kMargin;
    const int dial = std::min(kSideWidth - 2 * kMargin, (sideHeight - 5 * kLine - 2 * kMargin) / 2);
    const bool withSide = dial >= kSmallestDial && width - kSideWidth >= 240;
    if (withSide) {
        l.side = QRect(width - kSideWidth, kMargin, kSideWidth - kMargin, sideHeight);
        const int x = l.side.left();
        const int w = l.side.width();
        const int dialX = x + (w - dial) / 2;
        // Centred in the column's height.
        const int used = 2 * dial + 5 * kLine + 2 * kMargin;
        int y = l.side.top() + std::max(sideHeight - used, 0) / 2;
        l.attitudeTitle = QRect(x, y, w, kLine);
        y += kLine;
        l.attitude = QRect(dialX, y, dial, dial);
        y += dial;
        l.attitudeCaption = QRect(x, y, w, kLine);
        y += kLine + kMargin;
        l.headingTitle = QRect(x, y, w, kLine);
        y += kLine;
        l.heading = QRect(dialX, y, dial, dial);
        y += dial;
        l.headingCaption = QRect(x, y, w, kLine);
        y += kLine + kMargin;
        l.rate = QRect(x, y, w, kLine);
    }

    const int right = (withSide ? l.side.left() : width) - kMargin - 8;
    const int top = kMargin + kLegendHeight;
    l.legend = QRect(kAxisLeft, kMargin, std::max(right - kAxisLeft, 0), kLegendHeight);
    l.graph = QRect(kAxisLeft, top, std::max(right - kAxisLeft, 1),
                    std::max(height - top - kAxisBottom, 1));
    return l;
}

double PlotLayout::YFor(double degrees) const {
    const double span = kMaxDegrees - kMinDegrees;
    return graph.top() + (kMaxDegrees - degrees) * graph.height() / span;
}

double PlotLayout::XFor(double secondsBeforeLatest) const {
    return graph.left() + (secondsBeforeLatest + kSecondsShown) * graph.width() / kSecondsShown;
}

}  // namespace gyrodesk
