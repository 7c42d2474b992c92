#include <gtest/gtest.h>

#include "ui/FailureReport.h"
#include "ui/RemovalWatch.h"
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

TEST(ProgressText, CountsInGroupsOfThreeWithTheTotalOnceKnown) {
  using Phase = qvn::RemovalProgress::Phase;
  struct Case {
    qvn::RemovalProgress progress;
    const wchar_t* text;
  };
  for (const Case& c : {Case{{Phase::Checking, 0, 0}, L"Checking files: 0"},
                        Case{{Phase::Checking, 1200, 0}, L"Checking files: 1,200"},
                        Case{{Phase::Checking, 10004, 10004}, L"Checking files: 10,004 of 10,004"},
                        Case{{Phase::Removing, 1200, 10000}, L"Removing files: 1,200 of 10,000"},
                        Case{{Phase::Removing, 999, 1000}, L"Removing files: 999 of 1,000"},
                        Case{{Phase::Removing, 5, 0}, L"Removing files: 5"},
                        Case{{Phase::Removing, 50000, 1234567}, L"Removing files: 50,000 of 1,234,567"}}) {
    SCOPED_TRACE(testing::Message() << c.progress.done << " of " << c.progress.total);
    EXPECT_EQ(qvn::ProgressText(c.progress), c.text);
  }
}

}  // namespace
