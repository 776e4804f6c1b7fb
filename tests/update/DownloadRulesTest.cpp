// The download's decisions: results and what is left on disk for each way a transfer ends, the
// limit on a body, the agent sent to the server and the downloaded marks.

#include "update/DownloadRules.h"

#include <gtest/gtest.h>

#include "support/RowName.h"

namespace zv {
namespace {

using namespace Qt::StringLiterals;

struct VerdictRow {
  const char* name;
  TransferEnd end;
  qint64 bytes;
  FirstLineCheck check;
  bool firstLinePasses;
  qint64 result;
  bool keepFile;
  bool reportFailure;
};

class Verdicts : public ::testing::TestWithParam<VerdictRow> {};

TEST_P(Verdicts, GiveTheResultAndWhatStays) {
  const VerdictRow& row = GetParam();
  const DownloadVerdict v = JudgeDownload({row.end, row.bytes}, row.check, row.firstLinePasses);
  EXPECT_EQ(v.result, row.result);
  EXPECT_EQ(v.keepFile, row.keepFile);
  EXPECT_EQ(v.reportFailure, row.reportFailure);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Verdicts,
    ::testing::Values(
        VerdictRow{"Complete", TransferEnd::Complete, 12345, FirstLineCheck::Off, false, 12345, true, false},
        VerdictRow{"CompleteAddressFile", TransferEnd::Complete, 40, FirstLineCheck::On, true, 40, true, false},
        VerdictRow{"HtmlInsteadOfAddresses", TransferEnd::Complete, 512, FirstLineCheck::On, false, 0, false, false},
        VerdictRow{"EmptyBody", TransferEnd::Complete, 0, FirstLineCheck::On, false, 0, true, false},
        VerdictRow{"NotOpened", TransferEnd::NotOpened, 0, FirstLineCheck::Off, false, -1, false, false},
        VerdictRow{"TruncatedOrTimedOut", TransferEnd::Failed, 20480, FirstLineCheck::Off, false, 0, false, true},
        VerdictRow{"FarTooLarge", TransferEnd::TooLarge, 1 << 22, FirstLineCheck::Off, false, 0, false, true},
        VerdictRow{"Cancelled", TransferEnd::Cancelled, 30720, FirstLineCheck::Off, false, 30720, false, false}),
    zv::test::RowName{});

TEST(DownloadRules, OnlyAWholeNonEmptyBodyIsUsable) {
  EXPECT_TRUE(JudgeDownload({TransferEnd::Complete, 1}, FirstLineCheck::Off, false).usable());
  EXPECT_FALSE(JudgeDownload({TransferEnd::Complete, 0}, FirstLineCheck::Off, false).usable());
  EXPECT_FALSE(JudgeDownload({TransferEnd::Cancelled, 10240}, FirstLineCheck::Off, false).usable());
}

TEST(DownloadRules, BodyLimitAllowsTheKilobyteRoundingNotAFloodOfData) {
  const qint64 claimed = 1234 * 1024;
  EXPECT_GT(BodyLimit(claimed), claimed + 1023);
  EXPECT_LT(BodyLimit(claimed), 10 * claimed);
  EXPECT_EQ(BodyLimit(0), kMaxUnsizedDownload);
  EXPECT_GT(BodyLimit(100), 1023);  // a tiny item still gets its rounding
  EXPECT_LE(BodyLimit(qint64{1} << 60), 3 * kMaxUnsizedDownload);  // a hostile claim cannot lift it
}

TEST(DownloadRules, ProgressOneStepPerChunk) {
  EXPECT_EQ(ProgressMaximum(10239), 0);
  EXPECT_EQ(ProgressMaximum(10240), 1);
  EXPECT_EQ(ProgressMaximum(qint64{1} << 50), std::numeric_limits<int>::max());
}

TEST(DownloadRules, UserAgentCannotBreakTheRequest) {
  EXPECT_EQ(UserAgent(u"Zorvik 1500.0.0 (Debian 12 64-bit Russian 0419, UTC+3)"_s),
            "Zorvik 1500.0.0 (Debian 12 64-bit Russian 0419, UTC+3)");
  EXPECT_EQ(UserAgent(u"Zorvik 1500.0.0 (Дебиан\r\nX-Evil: 1)"_s), "Zorvik 1500.0.0 (??????\?\?X-Evil: 1)");
}

TEST(DownloadedMarks, OnlyTheFirst256PositionsAreMarked) {
  DownloadedMarks marks;
  marks.Set(0);
  marks.Set(255);
  marks.Set(256);  // the 257th item
  marks.Set(-1);
  EXPECT_TRUE(marks.IsSet(0));
  EXPECT_TRUE(marks.IsSet(255));
  EXPECT_FALSE(marks.IsSet(256));
  EXPECT_FALSE(marks.IsSet(1));
  int set = 0;
  for (int i = 0; i < 256; ++i) set += marks.IsSet(i) ? 1 : 0;
  EXPECT_EQ(set, 2);  // the 257th changed no other mark
}

}  // namespace
}  // namespace zv
