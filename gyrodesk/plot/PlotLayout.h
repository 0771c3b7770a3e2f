// Where the live plot draws what, for a client area of a given size: the graph of pitch, yaw and
// roll against time, and beside it (when the window is wide enough) the attitude disc, the
// compass and the rate reached. Also the series' colours and the graph's scales.
#pragma once

#include <QColor>
#include <QRect>

namespace gyrodesk {

enum class Series { Pitch, Yaw, Roll };
inline constexpr Series kAllSeries[] = {Series::Pitch, Series::Yaw, Series::Roll};

QColor SeriesColour(Series series);
const char* SeriesName(Series series);

// The degree scale: pitch and roll read -90..269, yaw (folded) 0..359.
inline constexpr int kMinDegrees = -90;
inline constexpr int kMaxDegrees = 360;
inline constexpr int kDegreeLabelStep = 90;
inline constexpr int kDegreeGridStep = 45;
// The time scale: seconds before the latest read.
inline constexpr int kSecondsShown = 10;
inline constexpr int kSecondsLabelStep = 2;

// The window's size when it opens.
inline constexpr int kDefaultClientWidth = 700;
inline constexpr int kDefaultClientHeight = 420;

struct PlotLayout {
    static PlotLayout For(int width, int height);

    QRect client;
    QRect graph;   // the plotting area inside the axes
    QRect legend;  // above the graph
    QRect side;    // the instruments' column; empty when the window is too narrow
    QRect attitudeTitle, attitude, attitudeCaption;
    QRect headingTitle, heading, headingCaption;
    QRect rate;

    // The height of an angle and the place of a time (seconds before the latest read, 0 or
    // less) in client pixels.
    double YFor(double degrees) const;
    double XFor(double secondsBeforeLatest) const;
};

}  // namespace gyrodesk
