// Paints the live plot: a background of axes, grid, labels, legend and the compass face, kept
// as a picture until the size changes, then on each paint the three series, the attitude disc,
// the compass needle and the figures.
#pragma once

#include <QFont>
#include <QPixmap>
#include <QSize>

#include "PlotLayout.h"
#include "SampleHistory.h"

class QPainter;

namespace gyrodesk {

class PlotPainter {
public:
    PlotPainter();

    void Paint(QPainter& painter, const QSize& size, const SampleHistory& history);

private:
    void PaintBackground(QPainter& painter, const PlotLayout& layout) const;
    void PaintSeries(QPainter& painter, const PlotLayout& layout,
                     const SampleHistory& history) const;
    void PaintAttitude(QPainter& painter, const PlotLayout& layout, const Reading* sample) const;
    void PaintHeading(QPainter& painter, const PlotLayout& layout, const Reading* sample) const;

    QFont font_, boldFont_;
    QPixmap background_;
    QSize backgroundSize_;
    qreal backgroundRatio_ = 0;
};

}  // namespace gyrodesk
