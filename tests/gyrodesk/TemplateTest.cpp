// The three dialog templates: every caption fits its control with the fonts that stand in for
// the templates' faces, and the main dialog keeps its radio groups and tab order.
#include <gtest/gtest.h>

#include <afx/Fonts.h>
#include <afx/Resources.h>

#include "Templates.h"
#include "resource.h"

namespace gyrotest {
namespace {

class CaptionFitTest : public ::testing::TestWithParam<const afx::DialogTemplate*> {};

TEST_P(CaptionFitTest, EveryCaptionFitsItsControl) {
    const afx::DialogTemplate& dialog = *GetParam();
    for (const afx::DialogItemTemplate& item : dialog.items) {
        const afx::CaptionFit fit = afx::MeasureCaptionFit(dialog, item);
        EXPECT_TRUE(fit.fits) << "\"" << item.caption << "\" (id " << item.id << ") needs "
                              << fit.neededWidth << " x " << fit.neededHeight << " in " << fit.width
                              << " x " << fit.height;
    }
}

INSTANTIATE_TEST_SUITE_P(Templates, CaptionFitTest,
                         ::testing::Values(&gyrodesk::kMainDialogTemplate,
                                           &gyrodesk::kAboutBoxTemplate,
                                           &gyrodesk::kHelpBoxTemplate),
                         [](const auto& info) { return std::to_string(info.param->id); });

TEST(ResourceTableTest, HoldsEveryResourceByItsId) {
    for (UINT id : {IDD_ABOUTBOX, IDD_GYRODESK_DIALOG, IDD_HELP})
        EXPECT_NE(afx::FindDialogTemplate(id), nullptr) << id;
    for (UINT id : {IDB_LOGO_LARGE, IDB_LOGO_SMALL})
        EXPECT_NE(afx::FindBitmapResource(id), nullptr) << id;
    EXPECT_NE(afx::LoadIconResource(IDR_MAINFRAME), nullptr);
    EXPECT_STREQ(afx::FindStringResource(IDS_ABOUTBOX), "&About Gyrodesk...");
    EXPECT_EQ(gyrodesk::kMainDialogTemplate.items.size(), 47u);
}

}  // namespace
}  // namespace gyrotest
