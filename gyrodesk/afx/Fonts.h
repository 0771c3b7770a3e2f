// Fonts: the faces that templates name are mapped to installed free fonts that are close in
// their metrics, at the pixel size the template's point size has at 96 dots per inch, so that
// captions take about the room they were laid out for.
#pragma once

#include <QFont>
#include <QString>

#include <afx/DialogTemplate.h>

namespace afx {

// The font that stands in for face at pointSize.
QFont MapTemplateFont(const char* face, int pointSize);

// How a control's caption fits its rectangle: the room the caption needs (its text plus the
// control's own decoration: a radio button's indicator and gap, a button's bevel, a sunken
// frame, a group box's indent) against the control's rectangle in pixels.
struct CaptionFit {
    bool fits = true;
    int neededWidth = 0;
    int neededHeight = 0;
    int width = 0;
    int height = 0;
    QString text;  // the caption as shown (mnemonic '&' removed)
};

// The fit of item's caption in dialog with its template font and the current widget style.
CaptionFit MeasureCaptionFit(const DialogTemplate& dialog, const DialogItemTemplate& item);

}  // namespace afx
