// Dialog units to pixels, control placement, client size, tab order and caption fitting.
#include <QApplication>
#include <QLabel>
#include <QStyle>
#include <QWidget>

#include <afx/DialogUnits.h>
#include <afx/Fonts.h>
#include <afx/Resources.h>

#include "AfxTestDialog.h"
#include "ModalDriver.h"

using namespace afxtest;

TEST(DialogUnits, RoundHalfAwayFromZeroLikeMulDiv) {
    struct Case {
        int units;
        int x, y;
    } const cases[] = {
        {0, 0, 0},       {1, 2, 2},        // 1.5 -> 2, 1.625 -> 2
        {3, 5, 5},       {4, 6, 7},        // 4.5 -> 5, 4.875 -> 5; 6, 6.5 -> 7
        {13, 20, 21},    {111, 167, 180},  // 19.5 -> 20, 21.125; 166.5 -> 167, 180.375
        {286, 429, 465}, {218, 327, 354},  // the main dialog's size
        {-3, -5, -5},                      // negative halves round away from zero too
    };
    for (const Case& c : cases) {
        EXPECT_EQ(afx::DialogUnitsToPixelsX(c.units), c.x) << c.units;
        EXPECT_EQ(afx::DialogUnitsToPixelsY(c.units), c.y) << c.units;
    }
}

TEST_F(AfxTest, ClientAreaAndControlsSitAtTheTemplateRectangles) {
    RecordingDialog dlg(IDD_SIZED);
    const int result = RunModal(dlg, [](CDialog& d) {
        CRect client;
        d.GetClientRect(&client);
        EXPECT_EQ(client, CRect(0, 0, 429, 354));
        QWidget* window = d.GetSafeQWidget();
        EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "the size is fixed";
        // 13, 111, 41, 14 units: each field converted on its own.
        EXPECT_EQ(ControlWidget(d, IDOK)->geometry(), QRect(20, 180, 62, 23));
        d.EndDialog(IDOK);
    });
    EXPECT_EQ(result, IDOK);
}

TEST_F(AfxTest, EveryProbeControlAtItsRectangleAndTheBitmapStaticAtItsBitmapsSize) {
    RecordingDialog dlg;
    RunModal(dlg, [](CDialog& d) {
        const afx::DialogTemplate* tmpl = afx::FindDialogTemplate(IDD_PROBE);
        for (const afx::DialogItemTemplate& item : tmpl->items) {
            if (item.id == IDC_STATIC) continue;
            const CRect r = afx::DialogRectToPixels(item.x, item.y, item.cx, item.cy);
            QRect expected(r.left, r.top, r.Width(), r.Height());
            if (item.id == IDC_PICTURE) expected.setSize(QSize(20, 10));
            EXPECT_EQ(ControlWidget(d, item.id)->geometry(), expected) << item.id;
        }
        d.EndDialog(IDCANCEL);
    });
}

TEST_F(AfxTest, TabVisitsTabStopsInTemplateOrderAndWraps) {
    RecordingDialog dlg;
    RunModal(dlg, [](CDialog& d) {
        // OnInitDialog returned TRUE: the first tab stop has the focus.
        EXPECT_EQ(FocusedControlId(d), IDC_APPLY);
        const std::vector<int> order = {IDC_OTHER, IDC_ALPHA, IDC_BETA, IDC_SPIN,
                                        IDOK,      IDCANCEL,  IDC_NAME, IDC_APPLY};
        for (int expected : order) {
            PressKey(d, Qt::Key_Tab);
            EXPECT_EQ(FocusedControlId(d), expected);
        }
        PressKey(d, Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(FocusedControlId(d), IDC_NAME);
        d.EndDialog(IDCANCEL);
    });
}

TEST_F(AfxTest, DisabledFirstTabStopIsSkippedForTheInitialFocus) {
    RecordingDialog dlg;
    dlg.onInit = [](RecordingDialog& d) { d.GetDlgItem(IDC_APPLY)->EnableWindow(FALSE); };
    RunModal(dlg, [](CDialog& d) {
        EXPECT_EQ(FocusedControlId(d), IDC_OTHER);
        d.EndDialog(IDCANCEL);
    });
}

TEST(Fonts, TemplateFacesMapToInstalledStandIns) {
    struct Case {
        const char* face;
        int points;
        const char* family;
        int pixels;
    } const cases[] = {
        {"MS Sans Serif", 8, "Liberation Sans", 10},
        {"Arial", 8, "Liberation Sans", 11},
        {"Arial", 10, "Liberation Sans", 13},
        {"Unknown Face", 8, "Liberation Sans", 10},
    };
    for (const Case& c : cases) {
        const QFont font = afx::MapTemplateFont(c.face, c.points);
        EXPECT_EQ(QFontInfo(font).family(), c.family) << c.face;
        EXPECT_EQ(font.pixelSize(), c.pixels) << c.face << " " << c.points;
    }
}

TEST(Fonts, CaptionFitAccountsForEachControlsDecoration) {
    using afx::ControlClass;
    const afx::DialogItemTemplate items[] = {
        // caption, kind and style, rectangle; whether it fits
        {1, ControlClass::Button, "Upon Request", BS_AUTORADIOBUTTON, 0, 0, 66, 10},
        {2, ControlClass::Button, "Upon Request", BS_AUTORADIOBUTTON, 0, 0, 45,
         10},  // text alone would fit
        {3, ControlClass::Button, "Exit", BS_DEFPUSHBUTTON, 0, 0, 40, 14},
        {4, ControlClass::Button, "A long button caption", BS_PUSHBUTTON, 0, 0, 40, 14},
        {5, ControlClass::Button, "Hysteresis Filter", BS_GROUPBOX, 0, 0, 79, 28},
        {6, ControlClass::Button, "Hysteresis Filter", BS_GROUPBOX, 0, 0, 50, 28},
        {7, ControlClass::Static, "Two words", SS_LEFT, 0, 0, 20, 20},  // wraps onto 2 lines
        {8, ControlClass::Static, "Two words", SS_LEFT, 0, 0, 20, 8},   // 2 lines, room for 1
        {9, ControlClass::Static, "Port Output", SS_LEFTNOWORDWRAP, 0, 0, 40, 10},
        {10, ControlClass::Static, "Port Output", SS_LEFTNOWORDWRAP, 0, 0, 25, 10},
        {11, ControlClass::Static, "#133", SS_BITMAP, 0, 0, 1, 1},  // takes its bitmap's size
    };
    const bool fits[] = {true, false, true, false, true, false, true, false, true, false, true};
    const afx::DialogTemplate dialog{1, "", "MS Sans Serif", 8, 0, 0, 100, 100, DS_SETFONT, items};
    for (size_t i = 0; i < std::size(items); ++i) {
        const afx::CaptionFit fit = afx::MeasureCaptionFit(dialog, items[i]);
        EXPECT_EQ(fit.fits, fits[i])
            << "item " << items[i].id << ": needs " << fit.neededWidth << " x " << fit.neededHeight
            << " in " << fit.width << " x " << fit.height;
    }
    // The radio's decoration is part of the need.
    const afx::CaptionFit radio = afx::MeasureCaptionFit(dialog, items[0]);
    EXPECT_GT(
        radio.neededWidth,
        QFontMetrics(afx::MapTemplateFont("MS Sans Serif", 8)).horizontalAdvance("Upon Request"));
}

TEST_F(AfxTest, StaticsShowTextWithoutMnemonicsAndControlsUseTheTemplateFont) {
    RecordingDialog dlg;
    RunModal(dlg, [](CDialog& d) {
        d.SetDlgItemText(IDC_OUTPUT, "A&&B &Cd");
        auto* label = qobject_cast<QLabel*>(ControlWidget(d, IDC_OUTPUT));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), "A&B Cd");
        CString text;
        d.GetDlgItemText(IDC_OUTPUT, text);
        EXPECT_STREQ(text, "A&&B &Cd") << "the text reads back as set";
        EXPECT_EQ(ControlWidget(d, IDC_APPLY)->font().pixelSize(), 10);
        EXPECT_EQ(QApplication::style()->name().toLower(), "windows");
        d.EndDialog(IDCANCEL);
    });
}
