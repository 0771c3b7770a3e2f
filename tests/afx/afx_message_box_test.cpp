// The message box: caption, icon, buttons, modality and owner.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <afx/Testing.h>

#include "AfxTestDialog.h"
#include "ModalDriver.h"

using namespace afxtest;

TEST_F(AfxTest, WarningBoxHasTheDefaultCaptionOneOkButtonAndIsModalOverTheActiveWindow) {
    struct Case {
        const char* caption;
        const char* expectedCaption;
    } const cases[] = {{nullptr, "Error"}, {"Link", "Link"}};
    for (const Case& c : cases) {
        RecordingDialog dlg;
        int answer = 0;
        RunModal(dlg, [&](CDialog& d) {
            OnNextModal([&](QWidget* w) {
                auto* box = qobject_cast<QMessageBox*>(w);
                ASSERT_NE(box, nullptr);
                EXPECT_EQ(afx::testing::OpenMessageBoxes(), std::vector<QWidget*>{box});
                EXPECT_EQ(box->windowTitle(), c.expectedCaption);
                EXPECT_EQ(box->text(), "Port not found");
                EXPECT_EQ(box->icon(), QMessageBox::Warning);
                EXPECT_EQ(box->buttons().size(), 1);
                EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
                EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
                EXPECT_EQ(QApplication::activeModalWidget(), box);
                EXPECT_EQ(box->parentWidget(), d.GetSafeQWidget()) << "owned by the active window";
                DismissMessageBox(box);
            });
            answer = ::MessageBox(GetActiveWindow(), "Port not found", c.caption,
                                  MB_OK | MB_ICONEXCLAMATION);
            EXPECT_TRUE(afx::testing::OpenMessageBoxes().empty());
            d.EndDialog(IDCANCEL);
        });
        EXPECT_EQ(answer, IDOK);
    }
}

TEST_F(AfxTest, AfxMessageBoxWithoutAWindowAndOtherKinds) {
    struct Case {
        UINT flags;
        QMessageBox::Icon icon;
        int buttons;
    } const cases[] = {
        {MB_OK | MB_ICONEXCLAMATION, QMessageBox::Warning, 1},
        {MB_OKCANCEL | MB_ICONHAND, QMessageBox::Critical, 2},
        {MB_YESNO | MB_ICONQUESTION, QMessageBox::Question, 2},
        {MB_OK, QMessageBox::NoIcon, 1},
    };
    for (const Case& c : cases) {
        OnNextModal([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->windowTitle(), "Error");
            EXPECT_EQ(box->icon(), c.icon);
            EXPECT_EQ(box->buttons().size(), c.buttons);
            EXPECT_EQ(box->parentWidget(), nullptr);
            box->buttons().front()->click();
        });
        const int answer = AfxMessageBox("text", c.flags);
        EXPECT_NE(answer, 0);
    }
}
