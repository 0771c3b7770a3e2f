#include <afx/Fonts.h>

#include <cmath>
#include <cstring>
#include <strings.h>

#include <QApplication>
#include <QFontMetrics>
#include <QStyle>

#include <afx/Constants.h>
#include <afx/DialogUnits.h>

#include "Controls.h"

namespace afx {

namespace {

struct FontStandIn {
    const char* face;    // as templates name it
    const char* family;  // the installed stand-in
    double scale;        // of the face's pixel size at 96 dpi
};

// Liberation Sans has Arial's metrics. MS Sans Serif 8 is a bitmap face whose letters average
// about 5.8 pixels at 96 dpi (base unit 6); Liberation Sans at 10 pixels matches that average.
constexpr FontStandIn kStandIns[] = {
    {"MS Sans Serif", "Liberation Sans", 0.9375}, {"MS Shell Dlg", "Liberation Sans", 0.9375},
    {"System", "Liberation Sans", 0.9375},        {"Arial", "Liberation Sans", 1.0},
    {"Helvetica", "Liberation Sans", 1.0},        {"Times New Roman", "Liberation Serif", 1.0},
    {"Courier New", "Liberation Mono", 1.0},
};

}  // namespace

QFont MapTemplateFont(const char* face, int pointSize) {
    const FontStandIn* standIn = &kStandIns[0];
    for (const FontStandIn& s : kStandIns)
        if (face && strcasecmp(face, s.face) == 0) standIn = &s;
    QFont font(QString::fromLatin1(standIn->family));
    font.setStyleHint(QFont::SansSerif);
    const int points = pointSize > 0 ? pointSize : 8;
    font.setPixelSize(
        std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0 * standIn->scale))));
    return font;
}

CaptionFit MeasureCaptionFit(const DialogTemplate& dialog, const DialogItemTemplate& item) {
    CaptionFit fit;
    const CRect r = DialogRectToPixels(item.x, item.y, item.cx, item.cy);
    fit.width = r.Width();
    fit.height = r.Height();

    const QFont font = (dialog.style & DS_SETFONT)
                           ? MapTemplateFont(dialog.fontFace, dialog.pointSize)
                           : QApplication::font();
    const QFontMetrics fm(font);
    QStyle* style = QApplication::style();
    fit.text = detail::StripMnemonic(item.caption);
    const int textWidth = fm.horizontalAdvance(fit.text);
    const int lineHeight = fm.height();

    switch (item.kind) {
    case ControlClass::Button: {
        const DWORD type = item.style & BS_TYPEMASK;
        if (type == BS_GROUPBOX) {
            // The title sits 8 pixels in from each side of the frame.
            fit.neededWidth = 8 + textWidth + 1 + 8;
            fit.neededHeight = lineHeight;
        } else if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
            const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth);
            fit.neededWidth = textWidth + 2 * frame + 2;  // bevel and focus rectangle
            fit.neededHeight = lineHeight + 2 * frame;
        } else {  // a radio button
            const int indicator = style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth);
            const int indicatorHeight = style->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight);
            const int spacing = style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
            fit.neededWidth = indicator + spacing + textWidth;
            fit.neededHeight = std::max(indicatorHeight, lineHeight);
        }
        break;
    }
    case ControlClass::Static: {
        const DWORD type = item.style & SS_TYPEMASK;
        if (type == SS_BITMAP || fit.text.isEmpty()) break;  // a bitmap takes its own size
        const int frame = (item.style & SS_SUNKEN) ? 2 : 0;
        if (type == SS_LEFTNOWORDWRAP) {
            fit.neededWidth = textWidth + frame;
            fit.neededHeight = lineHeight + frame;
        } else {
            const QRect room(0, 0, std::max(1, fit.width - frame), 100000);
            const QRect wrapped = fm.boundingRect(room, Qt::TextWordWrap | Qt::AlignLeft, fit.text);
            fit.neededWidth = wrapped.width() + frame;
            fit.neededHeight = wrapped.height() + frame;
        }
        break;
    }
    case ControlClass::Edit: {
        if (fit.text.isEmpty()) break;
        const int frame =
            (item.style & WS_BORDER) ? 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
        fit.neededWidth = textWidth + frame + 4;  // the line edit's own text margins
        fit.neededHeight = lineHeight + frame;
        break;
    }
    case ControlClass::UpDown: break;  // shows no caption
    }
    fit.fits = fit.neededWidth <= fit.width && fit.neededHeight <= fit.height;
    return fit;
}

}  // namespace afx
