// Painting: OnPaint between the background and the children, bitmaps through a memory DC, the
// icon, and what tests can observe of it.
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <afx/Testing.h>

#include "AfxTestDialog.h"
#include "ModalDriver.h"

using namespace afxtest;
using afx::testing::PaintRecord;

namespace {

// Paints bitmap id at (x, y) as the console paints its logo: a w x h block from the origin.
void BlitBitmap(CPaintDC& dc, UINT id, int x, int y, int w, int h) {
    CBitmap bitmap;
    CDC memory;
    ASSERT_TRUE(bitmap.LoadBitmap(id));
    memory.CreateCompatibleDC(&dc);
    CBitmap* previous = memory.SelectObject(&bitmap);
    EXPECT_EQ(previous, nullptr);
    dc.BitBlt(x, y, w, h, &memory, 0, 0, SRCCOPY);
    EXPECT_EQ(memory.SelectObject(previous), &bitmap);
    memory.DeleteDC();
    bitmap.DeleteObject();
}

// The dialog's client area as painted once it shows, and its background colour.
struct Picture {
    QImage image;
    QColor background;
};
Picture PictureOf(CDialog& dlg) {
    Picture picture;
    RunModal(dlg, [&](CDialog& d) {
        picture.image = afx::testing::Render(d);
        picture.background = d.GetSafeQWidget()->palette().window().color();
        d.EndDialog(IDCANCEL);
    });
    return picture;
}

struct PaintFixture : AfxTest {
    void SetUp() override {
        AfxTest::SetUp();
        afx::testing::StartPaintLog();
    }
    void TearDown() override { afx::testing::StopPaintLog(); }
};

}  // namespace

TEST_F(PaintFixture, OnPaintDrawsOverTheBackgroundAndUnderTheChildren) {
    RecordingDialog dlg;
    dlg.onPaint = [](RecordingDialog&, CPaintDC& dc) {
        ASSERT_NE(dc.GetQPainter(), nullptr);
        dc.GetQPainter()->fillRect(0, 0, 400, 400, Qt::magenta);
    };
    const QImage image = PictureOf(dlg).image;
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(dlg.paints, 0);
    // Background area: magenta from OnPaint. Inside the Apply button: the button, drawn after.
    EXPECT_EQ(image.pixelColor(280, 60), QColor(Qt::magenta));
    const QPoint inButton = QRect(8, 8, 60, 23).center();
    EXPECT_NE(image.pixelColor(inButton), QColor(Qt::magenta));
}

TEST_F(PaintFixture, BitBltCopiesTheBitmapAndLeavesTheAreaBeyondItAlone) {
    RecordingDialog dlg;
    dlg.onPaint = [](RecordingDialog&, CPaintDC& dc) {
        BlitBitmap(dc, IDB_PICTURE, 150, 120, 30, 15);
    };
    const auto [image, background] = PictureOf(dlg);
    // The bitmap is 20 x 10; the block asked for is 30 x 15.
    EXPECT_EQ(image.pixelColor(150, 120), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(169, 129), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(175, 125), background);
    EXPECT_EQ(image.pixelColor(155, 132), background);

    const auto log = afx::testing::PaintLog();
    ASSERT_FALSE(log.empty());
    const PaintRecord& blit = log.back();
    EXPECT_EQ(blit.kind, PaintRecord::Kind::BitBlt);
    EXPECT_EQ(blit.window, &dlg);
    EXPECT_EQ(QRect(blit.x, blit.y, blit.w, blit.h), QRect(150, 120, 30, 15));
    EXPECT_EQ(QPoint(blit.srcX, blit.srcY), QPoint(0, 0));
    EXPECT_EQ(blit.resourceId, static_cast<UINT>(IDB_PICTURE));
    EXPECT_EQ(QSize(blit.srcWidth, blit.srcHeight), QSize(20, 10));
}

TEST_F(PaintFixture, TheClientSizeCanBeChangedForATestAndOnPaintSeesIt) {
    RecordingDialog dlg;
    dlg.onPaint = [](RecordingDialog& d, CPaintDC& dc) {
        CRect client;
        d.GetClientRect(&client);
        // Like the console: one picture up to a size, another beyond it.
        const bool large = client.Width() > 300 || client.Height() > 195;
        BlitBitmap(dc, large ? IDB_PICTURE2 : IDB_PICTURE, large ? 1 : 2, 3, 30, 20);
    };
    struct Case {
        int w, h;
        UINT bitmap;
        int x;
    } const cases[] = {
        {300, 195, IDB_PICTURE, 2}, {301, 195, IDB_PICTURE2, 1}, {300, 196, IDB_PICTURE2, 1}};
    RunModal(dlg, [&](CDialog& d) {
        for (const Case& c : cases) {
            afx::testing::SetClientSize(d, c.w, c.h);
            CRect client;
            d.GetClientRect(&client);
            EXPECT_EQ(client, CRect(0, 0, c.w, c.h));
            afx::testing::StartPaintLog();
            const QImage image = afx::testing::Render(d);
            EXPECT_EQ(image.size(), QSize(c.w, c.h));
            const auto log = afx::testing::PaintLog();
            ASSERT_EQ(log.size(), 1u) << c.w << "x" << c.h;
            EXPECT_EQ(log[0].resourceId, c.bitmap);
            EXPECT_EQ(log[0].x, c.x);
        }
        d.EndDialog(IDCANCEL);
    });
}

TEST_F(PaintFixture, MinimisedWindowErasesUnderTheIconAndDrawsIt) {
    RecordingDialog dlg;
    dlg.onPaint = [](RecordingDialog& d, CPaintDC& dc) {
        if (!d.IsIconic()) return;
        d.SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
        CRect client;
        d.GetClientRect(&client);
        const int cx = GetSystemMetrics(SM_CXICON), cy = GetSystemMetrics(SM_CYICON);
        dc.DrawIcon(client.Width() - (cx + 1) / 2, client.Height() - (cy + 1) / 2,
                    afx::LoadIconResource(IDI_PROBE));
    };
    QImage image;
    RunModal(dlg, [&](CDialog& d) {
        d.ShowWindow(SW_MINIMIZE);
        ASSERT_TRUE(d.IsIconic());
        afx::testing::StartPaintLog();
        image = afx::testing::Render(d);
        d.EndDialog(IDCANCEL);
    });
    const auto log = afx::testing::PaintLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].kind, PaintRecord::Kind::EraseBackground);
    EXPECT_EQ(log[1].kind, PaintRecord::Kind::DrawIcon);
    EXPECT_EQ(QRect(log[1].x, log[1].y, log[1].w, log[1].h), QRect(300 - 16, 195 - 16, 32, 32));
    EXPECT_EQ(log[1].resourceId, static_cast<UINT>(IDI_PROBE));
    EXPECT_EQ(image.pixelColor(300 - 16, 195 - 16), QColor(Qt::red));
    EXPECT_EQ(GetSystemMetrics(SM_CXICON), 32);
    EXPECT_EQ(GetSystemMetrics(SM_CYICON), 32);
}

TEST_F(PaintFixture, AMissingBitmapOrAPaintDcOutsideAPaintDrawsNothing) {
    CBitmap bitmap;
    EXPECT_FALSE(bitmap.LoadBitmap(12345));
    RecordingDialog dlg;
    RunModal(dlg, [](CDialog& d) {
        CPaintDC dc(&d);  // not inside a paint
        EXPECT_EQ(dc.GetQPainter(), nullptr);
        CBitmap picture;
        ASSERT_TRUE(picture.LoadBitmap(IDB_PICTURE));
        CDC memory;
        memory.CreateCompatibleDC(&dc);
        memory.SelectObject(&picture);
        EXPECT_TRUE(dc.BitBlt(0, 0, 20, 10, &memory, 0, 0, SRCCOPY));  // recorded, not drawn
        d.EndDialog(IDCANCEL);
    });
}

TEST_F(PaintFixture, UnmappedPaintLeavesThePlatformsPainting) {
    // CDialog itself maps no WM_PAINT: the window paints its background and controls only.
    struct Plain : CDialog {
        Plain() : CDialog(IDD_PROBE) {}
    } dlg;
    const auto [image, background] = PictureOf(dlg);
    EXPECT_EQ(image.pixelColor(280, 60), background);
    EXPECT_TRUE(afx::testing::PaintLog().empty());
}
