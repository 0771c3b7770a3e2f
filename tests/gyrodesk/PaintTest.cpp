// What the main dialog paints: the logo that suits its client size, the minimised icon, and the
// drag image.
#include <QImage>

#include <afx/Testing.h>
#include <gtest/gtest.h>

#include "DialogHarness.h"
#include "GyrodeskDlg.h"
#include "resource.h"

namespace gyrotest {
namespace {

using afx::testing::PaintRecord;

class PaintableDlg : public CGyrodeskDlg {
public:
    using CGyrodeskDlg::OnQueryDragIcon;
};

class PaintTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetPorts({});
        ASSERT_TRUE(dlg.Create(IDD_GYRODESK_DIALOG));
    }
    void TearDown() override {
        afx::testing::StopPaintLog();
        dlg.DestroyWindow();
    }

    std::vector<PaintRecord> Paint(PaintRecord::Kind kind) {
        afx::testing::StartPaintLog();
        afx::testing::Render(dlg);
        std::vector<PaintRecord> found;
        for (const PaintRecord& r : afx::testing::PaintLog())
            if (r.kind == kind && r.window == &dlg) found.push_back(r);
        afx::testing::StopPaintLog();
        return found;
    }

    QuietLink quiet;
    PaintableDlg dlg;
};

TEST_F(PaintTest, ClientAreaOfTheTemplateIs429By354) {
    CRect rect;
    dlg.GetClientRect(&rect);
    EXPECT_EQ(rect.Width(), 429);
    EXPECT_EQ(rect.Height(), 354);
}

struct LogoCase {
    int width, height;
    UINT bitmap;
    int x, y, w, h;
};

class LogoChoiceTest : public PaintTest, public ::testing::WithParamInterface<LogoCase> {};

TEST_P(LogoChoiceTest, PaintsTheLogoThatSuitsTheClientSize) {
    const LogoCase& c = GetParam();
    afx::testing::SetClientSize(dlg, c.width, c.height);
    const std::vector<PaintRecord> blits = Paint(PaintRecord::Kind::BitBlt);
    ASSERT_EQ(blits.size(), 1u);
    EXPECT_EQ(blits[0].resourceId, c.bitmap);
    EXPECT_EQ(blits[0].x, c.x);
    EXPECT_EQ(blits[0].y, c.y);
    EXPECT_EQ(blits[0].w, c.w);
    EXPECT_EQ(blits[0].h, c.h);
    EXPECT_EQ(blits[0].srcX, 0);
    EXPECT_EQ(blits[0].srcY, 0);
    EXPECT_TRUE(Paint(PaintRecord::Kind::DrawIcon).empty());
}

INSTANTIATE_TEST_SUITE_P(ClientSizes, LogoChoiceTest,
                         ::testing::Values(LogoCase{429, 354, IDB_LOGO_SMALL, 25, 118, 128, 55},
                                           LogoCase{430, 354, IDB_LOGO_LARGE, 29, 145, 167, 66},
                                           LogoCase{429, 355, IDB_LOGO_LARGE, 29, 145, 167, 66},
                                           LogoCase{300, 200, IDB_LOGO_SMALL, 25, 118, 128, 55}),
                         [](const auto& info) {
                             return std::to_string(info.param.width) + "x" +
                                    std::to_string(info.param.height);
                         });

TEST_F(PaintTest, LogoBitmapsHaveTheirSizesAndShowInThePicture) {
    afx::testing::StartPaintLog();
    const QImage picture = afx::testing::Render(dlg);
    std::vector<PaintRecord> blits;
    for (const PaintRecord& r : afx::testing::PaintLog())
        if (r.kind == PaintRecord::Kind::BitBlt && r.window == &dlg) blits.push_back(r);
    ASSERT_EQ(blits.size(), 1u);
    EXPECT_EQ(blits[0].srcWidth, 118);
    EXPECT_EQ(blits[0].srcHeight, 53);
    // The emblem's rotor sits at (25, 26) in the small logo: orange, not the dialog's face.
    const QColor rotor = picture.pixelColor(25 + 25, 118 + 26);
    EXPECT_GT(rotor.red(), 200);
    EXPECT_LT(rotor.blue(), 80);
}

TEST_F(PaintTest, MinimisedDialogDrawsItsIconAtTheLowerRight) {
    dlg.ShowWindow(SW_MINIMIZE);
    ASSERT_TRUE(dlg.IsIconic());
    CRect rect;
    dlg.GetClientRect(&rect);
    const std::vector<PaintRecord> icons = Paint(PaintRecord::Kind::DrawIcon);
    ASSERT_EQ(icons.size(), 1u);
    EXPECT_EQ(icons[0].x, rect.Width() - 16);
    EXPECT_EQ(icons[0].y, rect.Height() - 16);
    EXPECT_EQ(icons[0].resourceId, static_cast<UINT>(IDR_MAINFRAME));
    EXPECT_TRUE(Paint(PaintRecord::Kind::BitBlt).empty());
}

TEST_F(PaintTest, DragImageIsTheProgramIcon) {
    ASSERT_NE(dlg.iconHandle, nullptr);
    EXPECT_EQ(dlg.OnQueryDragIcon(), dlg.iconHandle);
    EXPECT_EQ(dlg.iconHandle->large.size(), QSize(32, 32));
    EXPECT_EQ(dlg.iconHandle->small.size(), QSize(16, 16));
}

}  // namespace
}  // namespace gyrotest
