#include <gtest/gtest.h>

#include "ui/FailureReport.h"
#include "ui/Twips.h"

namespace {

TEST(Twips, BecomePixelsAtTheDisplaysResolution) {
  struct Case {
    int twips, dpi, pixels;
  };
  for (const Case& c : {Case{6780, 96, 452}, Case{4290, 96, 286}, Case{6705, 96, 447}, Case{4320, 96, 288},
                        Case{240, 96, 16}, Case{15, 96, 1}, Case{7, 96, 0}, Case{8, 96, 1}, Case{6780, 120, 565},
                        Case{2415, 120, 201}, Case{0, 144, 0}}) {
    SCOPED_TRACE(testing::Message() << c.twips << " twips at " << c.dpi);
    EXPECT_EQ(qvn::TwipsToPixels(c.twips, c.dpi), c.pixels);
  }
}

TEST(Twips, FontPointsBecomeCharacterHeights) {
  EXPECT_EQ(qvn::FontHeightForPoints(14.25, 96), -19);
  EXPECT_EQ(qvn::FontHeightForPoints(8.25, 96), -11);
  EXPECT_EQ(qvn::FontHeightForPoints(12, 96), -16);
  EXPECT_EQ(qvn::FontHeightForPoints(8.25, 120), -14);
}

TEST(FailureReport, GivesTheNumberTheDescriptionAndTheItem) {
  qvn::Failure failure(70, L"Permission denied");
  qvn::FailureReport report = qvn::DescribeFailure(failure);
  EXPECT_NE(report.text.find(L"Error 70: Permission denied"), std::wstring::npos);
  EXPECT_EQ(report.text.find(L"Could not remove"), std::wstring::npos);

  failure.WithItem(L"C:\\Program Files\\Quorvane");
  report = qvn::DescribeFailure(failure);
  EXPECT_NE(report.text.find(L"Could not remove: C:\\Program Files\\Quorvane"), std::wstring::npos);
  EXPECT_EQ(report.title, L"QvnRemove");
}

}  // namespace
