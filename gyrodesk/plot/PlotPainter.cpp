#include "PlotPainter.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>

namespace gyrodesk {

namespace {

constexpr int kFontPixels = 12;
const QColor kGraphBackground(255, 255, 255);
const QColor kFrame(150, 150, 150);
const QColor kMajorGrid(205, 205, 205);
const QColor kMinorGrid(232, 232, 232);
const QColor kText(40, 40, 40);
const QColor kHint(120, 120, 120);
const QColor kSky(74, 144, 226);
const QColor kGround(150, 106, 60);
const QColor kAircraft(255, 196, 0);

QString Degrees(int value) { return QString::number(value) + QChar(0x00B0); }

// The angle a series shows for a sample.
int ValueOf(Series series, const Reading& r) {
    switch (series) {
    case Series::Pitch: return r.pitch;
    case Series::Yaw: return FoldYaw(r.yaw);
    case Series::Roll: return r.roll;
    }
    return 0;
}

}  // namespace

PlotPainter::PlotPainter() {
    font_ = QApplication::font();
    font_.setPixelSize(kFontPixels);
    boldFont_ = font_;
    boldFont_.setBold(true);
}

void PlotPainter::Paint(QPainter& painter, const QSize& size, const SampleHistory& history) {
    const PlotLayout layout = PlotLayout::For(size.width(), size.height());
    const qreal ratio = painter.device()->devicePixelRatioF();
    if (background_.isNull() || backgroundSize_ != size || backgroundRatio_ != ratio) {
        background_ = QPixmap(size * ratio);
        background_.setDevicePixelRatio(ratio);
        QPainter p(&background_);
        PaintBackground(p, layout);
        backgroundSize_ = size;
        backgroundRatio_ = ratio;
    }
    painter.drawPixmap(0, 0, background_);

    painter.setRenderHint(QPainter::Antialiasing, true);
    PaintSeries(painter, layout, history);
    if (!layout.side.isEmpty()) {
        const Reading* sample = history.LatestGood();
        PaintAttitude(painter, layout, sample);
        PaintHeading(painter, layout, sample);
        painter.setFont(font_);
        painter.setPen(kText);
        const double rate = history.RateReached();
        painter.drawText(layout.rate, Qt::AlignCenter,
                         rate > 0 ? QString("Rate reached: %1 /s").arg(rate, 0, 'f', 1)
                                  : QString("Rate reached: -"));
    }
}

void PlotPainter::PaintBackground(QPainter& p, const PlotLayout& l) const {
    p.fillRect(l.client, QApplication::palette().window());
    p.fillRect(l.graph, kGraphBackground);
    p.setFont(font_);
    const QFontMetrics metrics(font_);
    const int textHeight = metrics.height();

    // Degrees: a line every 45, a label every 90.
    for (int d = kMinDegrees; d <= kMaxDegrees; d += kDegreeGridStep) {
        const int y = static_cast<int>(std::lround(l.YFor(d)));
        const bool major = d % kDegreeLabelStep == 0;
        p.setPen(major ? kMajorGrid : kMinorGrid);
        p.drawLine(l.graph.left(), y, l.graph.right(), y);
        if (!major) continue;
        p.setPen(kText);
        p.drawText(QRect(0, y - textHeight / 2, l.graph.left() - 6, textHeight),
                   Qt::AlignRight | Qt::AlignVCenter, QString::number(d));
    }
    // Time: a line every second, a label every two.
    for (int s = 0; s <= kSecondsShown; ++s) {
        const int x = static_cast<int>(std::lround(l.XFor(-s)));
        p.setPen(s % kSecondsLabelStep == 0 ? kMajorGrid : kMinorGrid);
        p.drawLine(x, l.graph.top(), x, l.graph.bottom());
        if (s % kSecondsLabelStep != 0) continue;
        p.setPen(kText);
        p.drawText(QRect(x - 30, l.graph.bottom() + 4, 60, textHeight),
                   Qt::AlignHCenter | Qt::AlignTop, QString::number(-s));
    }
    p.setPen(kFrame);
    p.drawRect(l.graph.adjusted(0, 0, -1, -1));

    // Axis titles.
    p.setPen(kText);
    const QString timeTitle =
        metrics.horizontalAdvance("seconds before the latest read") <= l.graph.width()
            ? "seconds before the latest read"
            : "seconds";
    p.drawText(
        QRect(l.graph.left(), l.graph.bottom() + 6 + textHeight, l.graph.width(), textHeight),
        Qt::AlignHCenter | Qt::AlignTop, timeTitle);
    p.save();
    p.translate(4, l.graph.center().y());
    p.rotate(-90);
    // The longest title that fits the graph's height.
    QString title;
    for (const char* text : {"degrees (yaw folded to 0..359)", "deg (yaw 0..359)", "deg"}) {
        title = text;
        if (metrics.horizontalAdvance(title) <= l.graph.height()) break;
    }
    p.drawText(QRect(-l.graph.height() / 2, 0, l.graph.height(), textHeight), Qt::AlignCenter,
               title);
    p.restore();

    // Legend: a stroke of each series' colour and its name.
    int x = l.legend.left();
    const int y = l.legend.center().y();
    p.setRenderHint(QPainter::Antialiasing, true);
    for (Series series : kAllSeries) {
        p.setPen(QPen(SeriesColour(series), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(x, y, x + 22, y);
        p.setPen(kText);
        const QString name = SeriesName(series);
        p.drawText(
            QRect(x + 28, l.legend.top(), metrics.horizontalAdvance(name) + 4, l.legend.height()),
            Qt::AlignLeft | Qt::AlignVCenter, name);
        x += 28 + metrics.horizontalAdvance(name) + 24;
    }

    if (l.side.isEmpty()) return;
    p.setFont(boldFont_);
    p.drawText(l.attitudeTitle, Qt::AlignCenter, "Attitude (pitch, roll)");
    p.drawText(l.headingTitle, Qt::AlignCenter, "Heading (yaw)");

    // The compass face: north up, a tick every 30 degrees, the cardinal letters inside.
    const QRectF dial = QRectF(l.heading).adjusted(1, 1, -1, -1);
    const QPointF centre = dial.center();
    const double radius = dial.width() / 2;
    p.setPen(QPen(kFrame, 2));
    p.setBrush(kGraphBackground);
    p.drawEllipse(dial);
    p.setBrush(Qt::NoBrush);
    p.setFont(boldFont_);
    const char* const letters[] = {"N", "E", "S", "W"};
    for (int a = 0; a < 360; a += 30) {
        const double rad = a * M_PI / 180;
        const QPointF dir(std::sin(rad), -std::cos(rad));
        const bool cardinal = a % 90 == 0;
        p.setPen(QPen(cardinal ? kText : kFrame, cardinal ? 2 : 1));
        p.drawLine(centre + dir * (radius - (cardinal ? 9 : 6)), centre + dir * (radius - 1));
        if (!cardinal) continue;
        p.setPen(kText);
        const QPointF at = centre + dir * (radius - 20);
        p.drawText(QRectF(at.x() - 10, at.y() - 9, 20, 18), Qt::AlignCenter, letters[a / 90]);
    }
}

void PlotPainter::PaintSeries(QPainter& p, const PlotLayout& l,
                              const SampleHistory& history) const {
    if (history.Empty()) {
        p.setFont(font_);
        p.setPen(kHint);
        p.drawText(l.graph.adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap,
                   "No samples yet: press Poll, or choose Continuous and Start.");
        return;
    }
    p.save();
    p.setClipRect(l.graph.adjusted(1, 1, -1, -1));
    const auto latest = history.Latest();
    std::vector<QPointF> run;
    run.reserve(history.Readings().size());
    for (Series series : kAllSeries) {
        const QColor colour = SeriesColour(series);
        // A run of good samples is one line; a single sample between failed reads is a dot.
        auto flush = [&] {
            if (run.size() == 1) {
                p.setPen(QPen(colour, 4, Qt::SolidLine, Qt::RoundCap));
                p.drawPoint(run.front());
            } else if (run.size() > 1) {
                p.setPen(QPen(colour, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                p.drawPolyline(run.data(), static_cast<int>(run.size()));
            }
            run.clear();
        };
        int previous = 0;
        for (const Reading& r : history.Readings()) {
            if (!r.good) {
                flush();
                continue;
            }
            const int value = ValueOf(series, r);
            // Folded yaw crossing north would draw a line across the whole graph: break it.
            if (!run.empty() && series == Series::Yaw && std::abs(value - previous) > 180) flush();
            const double seconds = std::chrono::duration<double>(r.time - latest).count();
            run.emplace_back(l.XFor(seconds), l.YFor(value));
            previous = value;
        }
        flush();
    }
    p.restore();
}

void PlotPainter::PaintAttitude(QPainter& p, const PlotLayout& l, const Reading* sample) const {
    const QRectF dial = QRectF(l.attitude).adjusted(1, 1, -1, -1);
    const double radius = dial.width() / 2;
    const int pitch = sample ? sample->pitch : 0;
    const int roll = sample ? sample->roll : 0;

    // Sky and ground meet at the horizon, which tilts against the roll and sinks as the nose
    // comes up (a quarter turn of pitch moves it by the disc's radius).
    p.save();
    QPainterPath disc;
    disc.addEllipse(dial);
    p.setClipPath(disc);
    p.translate(dial.center());
    p.rotate(-roll);
    const double shift = std::clamp(pitch * radius / 90.0, -1.5 * radius, 1.5 * radius);
    const double big = 3 * radius;
    p.fillRect(QRectF(-big, -big, 2 * big, big + shift), sample ? kSky : kSky.lighter(150));
    p.fillRect(QRectF(-big, shift, 2 * big, big), sample ? kGround : kGround.lighter(160));
    p.setPen(QPen(Qt::white, 2));
    p.drawLine(QPointF(-big, shift), QPointF(big, shift));
    p.setPen(QPen(Qt::white, 1));
    for (int mark : {-60, -30, 30, 60}) {
        const double y = shift - mark * radius / 90.0;
        const double half = radius * (std::abs(mark) == 30 ? 0.25 : 0.15);
        p.drawLine(QPointF(-half, y), QPointF(half, y));
    }
    p.restore();

    // The ring and the fixed aircraft symbol.
    p.setPen(QPen(kFrame, 2));
    p.drawEllipse(dial);
    const QPointF c = dial.center();
    p.setPen(QPen(kAircraft, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-0.6 * radius, 0), c + QPointF(-0.2 * radius, 0));
    p.drawLine(c + QPointF(0.2 * radius, 0), c + QPointF(0.6 * radius, 0));
    p.drawPoint(c);

    p.setFont(font_);
    p.setPen(kText);
    p.drawText(l.attitudeCaption, Qt::AlignCenter,
               sample ? QString("Pitch %1   Roll %2").arg(Degrees(pitch), Degrees(roll))
                      : QString("Pitch -   Roll -"));
}

void PlotPainter::PaintHeading(QPainter& p, const PlotLayout& l, const Reading* sample) const {
    p.setFont(font_);
    p.setPen(kText);
    if (!sample) {
        p.drawText(l.headingCaption, Qt::AlignCenter, "Yaw -");
        return;
    }
    const int heading = FoldYaw(sample->yaw);
    const QRectF dial = QRectF(l.heading).adjusted(1, 1, -1, -1);
    const QPointF c = dial.center();
    const double radius = dial.width() / 2;
    const double rad = heading * M_PI / 180;
    const QPointF dir(std::sin(rad), -std::cos(rad));
    p.setPen(QPen(kFrame, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, c - dir * radius * 0.35);
    p.setPen(QPen(SeriesColour(Series::Yaw), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, c + dir * (radius - 12));
    p.setBrush(kText);
    p.setPen(Qt::NoPen);
    p.drawEllipse(c, 3.5, 3.5);
    p.setBrush(Qt::NoBrush);

    p.setPen(kText);
    const QString caption =
        heading == sample->yaw ? QString("Yaw %1").arg(Degrees(heading))
                               : QString("Yaw %1 (read %2)").arg(Degrees(heading)).arg(sample->yaw);
    p.drawText(l.headingCaption, Qt::AlignCenter, caption);
}

}  // namespace gyrodesk
