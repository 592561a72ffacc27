// report.html as ReportHtml writes it: what the request and the end of an
// export read as, and file names that are text, never markup.

#include <gtest/gtest.h>

#include "common/DateTime.h"
#include "export/ExportReport.h"

namespace {

struct Reads {
  const char* name;
  std::uint32_t cameras, kinds;
  ExportState state;
  std::int64_t leftOut;
  std::vector<std::string> expected;  // each somewhere in the page
};

class ReportReads : public ::testing::TestWithParam<Reads> {};

TEST_P(ReportReads, RequestAndEndInWords) {
  const Reads& r = GetParam();
  ReportFacts facts;
  facts.request.cameras = r.cameras;
  facts.request.kinds = r.kinds;
  facts.request.folder = "/x/TempORX-[1] [2] [2001] 12-0-0";
  facts.request.from = MakeDateTime(2026, 12, 7, 9, 0, 0, 40);
  facts.request.to = MakeDateTime(2026, 12, 7, 9, 6, 0);
  facts.state = r.state;
  facts.framesLeftOut = r.leftOut;
  facts.machine = "<host>";
  FileTally tally;
  tally.frames = 1234;
  tally.cameras = 0x5;
  facts.files.push_back({"a&b <c>.oxa", tally, 10485760, std::string(64, 'f')});
  const std::string html = ReportHtml(facts);
  for (const std::string& text : r.expected) EXPECT_NE(html.find(text), std::string::npos) << text;
  EXPECT_NE(html.find("a&amp;b &lt;c&gt;.oxa"), std::string::npos);
  EXPECT_NE(html.find("«&lt;host&gt;»"), std::string::npos);
  EXPECT_NE(html.find(std::string(32, 'f') + "<wbr>" + std::string(32, 'f')), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReportReads,
    ::testing::Values(
        Reads{"AllOfThemComplete", 0xFFFFFFFFu, 15, ExportState::Complete, 0,
              {"все (1–32)", "непрерывная, активность, движение, история движения",
               "<td>завершён</td>", "с 07.12.2026 09:00:00.040 по 07.12.2026 09:06:00.000",
               "1\u00a0234", "10\u00a0485\u00a0760", "TempORX-[1] [2] [2001] 12-0-0"}},
        Reads{"RunsAsRangesInterrupted", 0x2F | 0x100u | 0x600u, 4, ExportState::Interrupted, 0,
              {"<td>1–4, 6, 9–11</td>", "<td>движение</td>", "прерван оператором"}},
        Reads{"PairsApartFailedWithFramesLeftOut", 0x3u, 9, ExportState::Failed, 7,
              {"<td>1, 2</td>", "непрерывная, история движения", "не завершён",
               "не вошли в видео кадров: 7"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
