// Modeless top-level windows of one's own (CWnd::CreateEx): painting at any size, the close
// box, an owner's modal loop, the owner taking them along, posted messages and bringing one to
// the front.
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <afx/Testing.h>

#include "AfxTestDialog.h"
#include "ModalDriver.h"

using namespace afxtest;

namespace {

// A window that fills its client area with one colour and records its messages.
class ColourWnd : public CWnd {
public:
    ~ColourWnd() override { DestroyWindow(); }
    std::vector<std::string> events;
    int paints = 0;
    QSize paintedSize;
    bool keepOnClose = false;

    using CWnd::SendMessage;

protected:
    void OnPaint() {
        CPaintDC dc(this);
        ++paints;
        CRect client;
        GetClientRect(&client);
        paintedSize = QSize(client.Width(), client.Height());
        if (QPainter* p = dc.GetQPainter())
            p->fillRect(0, 0, client.Width(), client.Height(), Qt::darkCyan);
    }
    void OnClose() {
        events.push_back("close");
        if (!keepOnClose) CWnd::OnClose();
    }
    void OnDestroy() { events.push_back("destroy"); }
    void OnTimer(UINT id) { events.push_back("timer " + std::to_string(id)); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ColourWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_TIMER()
END_MESSAGE_MAP()

constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_VISIBLE;

// Counts the mouse presses that reach a widget.
struct PressCounter : QObject {
    int presses = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonPress) ++presses;
        return false;
    }
};

}  // namespace

TEST_F(AfxTest, TopLevelWindowPaintsItsClientAreaAtEverySize) {
    ColourWnd wnd;
    ASSERT_TRUE(wnd.CreateEx("Colours", kStyle, CRect(40, 30, 340, 230)));
    EXPECT_FALSE(wnd.CreateEx("Again", kStyle, CRect(0, 0, 10, 10))) << "the window exists";
    QWidget* widget = wnd.GetSafeQWidget();
    ASSERT_NE(widget, nullptr);
    EXPECT_TRUE(widget->isWindow());
    EXPECT_TRUE(wnd.IsWindowVisible());
    CString title;
    wnd.GetWindowText(title);
    EXPECT_EQ(std::string(title), "Colours");

    for (const QSize size : {QSize(300, 200), QSize(520, 140), QSize(90, 310)}) {
        afx::testing::SetClientSize(wnd, size.width(), size.height());
        const QImage image = afx::testing::Render(wnd);
        ASSERT_EQ(image.size(), size);
        EXPECT_EQ(wnd.paintedSize, size);
        for (const QPoint at : {QPoint(0, 0), QPoint(size.width() - 1, size.height() - 1)})
            EXPECT_EQ(image.pixelColor(at), QColor(Qt::darkCyan))
                << size.width() << "x" << size.height();
    }
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(wnd.events, (std::vector<std::string>{"destroy"}));
    EXPECT_EQ(wnd.GetSafeQWidget(), nullptr);
    EXPECT_FALSE(wnd.DestroyWindow());
}

TEST_F(AfxTest, TopLevelWindowClosesAsItsCloseHandlerDecidesAndOpensAgain) {
    ColourWnd wnd;
    ASSERT_TRUE(wnd.CreateEx("Colours", kStyle, CRect(0, 0, 200, 100)));

    wnd.keepOnClose = true;
    wnd.GetSafeQWidget()->close();  // the close box
    EXPECT_EQ(wnd.events, (std::vector<std::string>{"close"}));
    EXPECT_TRUE(wnd.IsWindowVisible()) << "its handler kept it";

    wnd.keepOnClose = false;
    QPointer<QWidget> first = wnd.GetSafeQWidget();
    first->close();
    EXPECT_EQ(wnd.events, (std::vector<std::string>{"close", "close", "destroy"}));
    EXPECT_EQ(wnd.GetSafeQWidget(), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return first.isNull(); }))
        << "the widget goes once its event returned";

    ASSERT_TRUE(wnd.CreateEx("Colours", kStyle, CRect(0, 0, 200, 100)));
    EXPECT_TRUE(wnd.IsWindowVisible());
    EXPECT_EQ(afx::testing::Render(wnd).pixelColor(5, 5), QColor(Qt::darkCyan));
}

TEST_F(AfxTest, OwnedWindowTakesInputWhileItsOwnerRunsModallyAndGoesWithIt) {
    RecordingDialog dlg;
    ColourWnd owned;
    ColourWnd unowned;
    PressCounter ownedPresses;
    PressCounter unownedPresses;
    RunModal(dlg, [&](CDialog& d) {
        ASSERT_TRUE(owned.CreateEx("Owned", kStyle, CRect(0, 0, 200, 100), &d));
        ASSERT_TRUE(unowned.CreateEx("Unowned", kStyle, CRect(300, 0, 500, 100)));
        owned.GetSafeQWidget()->installEventFilter(&ownedPresses);
        unowned.GetSafeQWidget()->installEventFilter(&unownedPresses);
        // Clicks through the window system, which holds back input from windows that a modal
        // window blocks.
        QTest::mouseClick(owned.GetSafeQWidget()->windowHandle(), Qt::LeftButton, {},
                          QPoint(20, 20));
        QTest::mouseClick(unowned.GetSafeQWidget()->windowHandle(), Qt::LeftButton, {},
                          QPoint(20, 20));
        EXPECT_EQ(ownedPresses.presses, 1) << "the owner's modal loop lets the user work in it";
        EXPECT_EQ(unownedPresses.presses, 0) << "an unowned window is blocked (the check works)";
        d.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(owned.GetSafeQWidget(), nullptr) << "destroyed with its owner's window";
    EXPECT_EQ(owned.events, (std::vector<std::string>{"destroy"}));
    EXPECT_NE(unowned.GetSafeQWidget(), nullptr);
}

TEST_F(AfxTest, PostedMessageArrivesLaterAndNotAfterTheWindowWent) {
    ColourWnd wnd;
    ASSERT_TRUE(wnd.CreateEx("Colours", kStyle, CRect(0, 0, 200, 100)));
    EXPECT_TRUE(wnd.PostMessage(WM_TIMER, 7));
    EXPECT_TRUE(wnd.events.empty()) << "queued, not sent";
    EXPECT_TRUE(WaitUntil([&] { return !wnd.events.empty(); }));
    EXPECT_EQ(wnd.events, (std::vector<std::string>{"timer 7"}));

    EXPECT_TRUE(wnd.PostMessage(WM_TIMER, 8));
    wnd.DestroyWindow();
    Pump(50);
    EXPECT_EQ(wnd.events, (std::vector<std::string>{"timer 7", "destroy"}));
    EXPECT_FALSE(wnd.PostMessage(WM_TIMER, 9)) << "no window";
}

TEST_F(AfxTest, SetForegroundWindowRestoresAMinimisedWindow) {
    ColourWnd wnd;
    ASSERT_TRUE(wnd.CreateEx("Colours", kStyle, CRect(0, 0, 200, 100)));
    wnd.ShowWindow(SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return wnd.IsIconic() != FALSE; }));
    EXPECT_TRUE(wnd.SetForegroundWindow());
    EXPECT_TRUE(WaitUntil([&] { return !wnd.IsIconic(); }));
    EXPECT_TRUE(wnd.IsWindowVisible());
}
