#include "net/download.h"

#include <gtest/gtest.h>

#include "fake_internet.h"

namespace setup {
namespace {

using testing::FakeFiles;
using testing::FakeInternet;

struct Report {
  int32_t contentLength, bytesSoFar, elapsedMs, bytesThisCall;
  bool operator==(const Report& o) const {
    return contentLength == o.contentLength && bytesSoFar == o.bytesSoFar &&
           elapsedMs == o.elapsedMs && bytesThisCall == o.bytesThisCall;
  }
};

void Record(void* context, int32_t a, int32_t b, int32_t c, int32_t d) {
  static_cast<std::vector<Report>*>(context)->push_back({a, b, c, d});
}

const char kUrl[] = "http://dl.example.com/app.exe";
const char kPath[] = "C:\\App\\app.exe";

struct Session {
  FakeInternet net;
  FakeFiles files;
  std::vector<Report> reports;
  Text error = "untouched";
  int32_t Download(int32_t offset = 0, bool resume = false) {
    return DownloadToFile(net, files, kUrl, kPath, Record, &reports, offset, resume, &error);
  }
};

TEST(DownloadHeaders, FixedBlockAndRangeLine) {
  EXPECT_EQ(DownloadHeaderBlock(false, 1000), kDownloadHeaders);
  EXPECT_EQ(DownloadHeaderBlock(true, 1000), Text(kDownloadHeaders) + "\r\nRange:bytes=1000-");
  EXPECT_EQ(
      Text(kDownloadHeaders),
      "Accept: */*\r\nAccept-Language: zh-cn\r\nAccept-Encoding: gzip, deflate\r\nUser-Agent: "
      "Mozilla/4.0(compatible; MSIE 6.0; Windows NT 5.0; MyIE2; .NET CLR 1.1.4322)");
}

TEST(DownloadToFile, WritesEveryChunkAndReportsProgress) {
  Session run;
  run.net.body = std::string(25000, 'd');
  run.net.contentLength = 25000;
  run.net.ticks = {777, 1000, 1000, 1250, 1500};
  EXPECT_EQ(run.Download(), 0);
  EXPECT_EQ(run.error, "untouched");
  EXPECT_EQ(run.files.files[kPath], std::string(25000, 'd'));
  EXPECT_EQ(run.files.opens, std::vector<std::string>{std::string(kPath) + " append=0"});
  EXPECT_EQ(run.files.openHandles, 0) << "file closed";
  const std::vector<Report> want = {
      {25000, 10240, 10, 10240}, {25000, 20480, 250, 20480}, {25000, 25000, 500, 25000}};
  EXPECT_EQ(run.reports, want);
  EXPECT_EQ(run.net.CallsOf("Open")[0].args,
            (std::vector<std::string>{"Agent777", "4", "<null>", "<null>"}));
  const auto open = run.net.CallsOf("OpenUrl")[0].args;
  EXPECT_EQ(open[0], kUrl);
  EXPECT_EQ(open[1], kDownloadHeaders);
  EXPECT_EQ(open[3], "0x84000100");
  for (const auto& read : run.net.CallsOf("Read")) EXPECT_EQ(read.args[0], "10240");
  EXPECT_EQ(run.net.closed, (std::vector<uintptr_t>{2, 1})) << "URL handle, then root";
}

TEST(DownloadToFile, ProxyBitSelectsThePreconfiguredAccess) {
  Session run;
  run.net.connectedFlags = inet::kConnectionProxy;
  run.Download();
  EXPECT_EQ(run.net.CallsOf("Open")[0].args[1], "0");
}

TEST(DownloadToFile, NoContentLengthReportsZero) {
  Session run;
  run.net.body = std::string(12000, 'x');
  EXPECT_EQ(run.Download(), 0);
  ASSERT_EQ(run.reports.size(), 2u);
  for (const Report& r : run.reports) EXPECT_EQ(r.contentLength, 0);
}

TEST(DownloadToFile, AnEmptyBodyTruncatesTheFileWithoutProgress) {
  Session run;
  run.files.files[kPath] = "old content";
  EXPECT_EQ(run.Download(), 0);
  EXPECT_EQ(run.files.files[kPath], "");
  EXPECT_TRUE(run.reports.empty());
}

TEST(DownloadToFile, ResumeAppendsAndCountsFromTheOffset) {
  Session run;
  run.files.files[kPath] = std::string(1000, 'p');
  run.net.body = std::string(500, 'r');
  run.net.contentLength = 500;
  EXPECT_EQ(run.Download(1000, true), 0);
  EXPECT_EQ(run.files.files[kPath], std::string(1000, 'p') + std::string(500, 'r'));
  EXPECT_EQ(run.files.opens[0], std::string(kPath) + " append=1");
  EXPECT_EQ(run.net.CallsOf("OpenUrl")[0].args[1],
            Text(kDownloadHeaders) + "\r\nRange:bytes=1000-");
  ASSERT_EQ(run.reports.size(), 1u);
  EXPECT_EQ(run.reports[0].bytesSoFar, 1500);
  EXPECT_EQ(run.reports[0].bytesThisCall, 500);
}

TEST(DownloadToFile, ResumeWithoutAFileCreatesItAndStillCountsFromTheOffset) {
  Session run;
  run.net.body = "abc";
  EXPECT_EQ(run.Download(70, true), 0);
  EXPECT_EQ(run.files.files[kPath], "abc");
  EXPECT_EQ(run.reports[0].bytesSoFar, 73);
}

TEST(DownloadToFile, CountsIn64BitsAndReportsTheLow32) {
  Session run;
  run.net.body = std::string(1000, 'x');
  EXPECT_EQ(run.Download(2147483000, true), 0);
  EXPECT_EQ(run.reports[0].bytesSoFar, static_cast<int32_t>(UINT32_C(2147484000)));
  EXPECT_EQ(run.reports[0].bytesThisCall, 1000);
}

TEST(DownloadToFile, ARangedReplyAppendsAndOneThatIgnoresTheRangeStartsAfresh) {
  struct Case {
    uint32_t status;
    std::string file;
    int32_t firstSoFar, firstThisCall;
    bool restarted;
  } cases[] = {
      {206, std::string(1000, 'p') + std::string(500, 'r'), 1500, 500, false},
      {200, std::string(500, 'r'), 500, 500, true},  // the whole file, not appended
  };
  for (const Case& c : cases) {
    Session run;
    run.files.files[kPath] = std::string(1000, 'p');
    run.net.statusCode = c.status;
    run.net.body = std::string(500, 'r');
    run.net.contentLength = 500;
    DownloadOutcome outcome;
    EXPECT_EQ(DownloadToFile(run.net, run.files, kUrl, kPath, Record, &run.reports, 1000, true,
                             &run.error, &outcome),
              0);
    EXPECT_EQ(run.files.files[kPath], c.file) << c.status;
    ASSERT_EQ(run.reports.size(), 1u);
    EXPECT_EQ(run.reports[0].bytesSoFar, c.firstSoFar) << c.status;
    EXPECT_EQ(run.reports[0].bytesThisCall, c.firstThisCall) << c.status;
    EXPECT_EQ(outcome.restarted, c.restarted);
    EXPECT_EQ(outcome.startOffset, c.restarted ? 0 : 1000);
    EXPECT_EQ(outcome.contentLength, 500u);
    EXPECT_EQ(outcome.failure, DownloadFailure::kNone);
  }
}

TEST(DownloadToFile, Failures) {
  struct Case {
    const char* what;
    void (*script)(Session&);
    Text error;
    std::vector<uintptr_t> closed;
    DownloadFailure failure;
  } cases[] = {
      {"no root handle",
       [](Session& r) { r.net.failOpen = true; },
       kNoInternetMessage,
       {},
       DownloadFailure::kNoInternet},
      {"URL cannot be opened",
       [](Session& r) { r.net.failOpenUrl = true; },
       Text(kCannotOpenUrlMessage) + kUrl,
       {1},
       DownloadFailure::kCannotOpenUrl},
      {"file cannot be opened",
       [](Session& r) { r.files.failOpen = true; },
       kCannotOpenFileMessage,
       {2, 1},
       DownloadFailure::kCannotOpenFile},
      {"read fails",
       [](Session& r) { r.net.failReadAt = 1; },
       kReadErrorMessage,
       {2, 1},
       DownloadFailure::kRead},
      {"write fails",
       [](Session& r) { r.files.failWriteAt = 1; },
       kWriteErrorMessage,
       {2, 1},
       DownloadFailure::kWrite},
  };
  for (const Case& c : cases) {
    Session run;
    run.net.body = std::string(30000, 'z');
    c.script(run);
    DownloadOutcome outcome;
    EXPECT_EQ(DownloadToFile(run.net, run.files, kUrl, kPath, Record, &run.reports, 0, false,
                             &run.error, &outcome),
              -1)
        << c.what;
    EXPECT_EQ(run.error, c.error) << c.what;
    EXPECT_EQ(outcome.failure, c.failure) << c.what;
    EXPECT_EQ(run.net.closed, c.closed) << c.what;
    EXPECT_EQ(run.files.openHandles, 0) << c.what;
  }
}

TEST(DownloadToFile, AnErrorStatusIsAFailureAndLeavesTheFileAlone) {
  for (uint32_t status : {404u, 500u, 416u}) {
    Session run;
    run.files.files[kPath] = "earlier";
    run.net.statusCode = status;
    run.net.body = "<html>error page</html>";
    EXPECT_EQ(run.Download(), -1) << status;
    EXPECT_EQ(run.error, Text(kCannotOpenUrlMessage) + kUrl);
    EXPECT_EQ(run.files.files[kPath], "earlier") << "not opened, not truncated";
    EXPECT_TRUE(run.files.opens.empty());
  }
  for (uint32_t status : {200u, 206u}) {
    Session run;
    run.net.statusCode = status;
    run.net.body = "program";
    EXPECT_EQ(run.Download(), 0) << status;
  }
}

TEST(DownloadToFile, AFailedReadKeepsWhatWasWritten) {
  Session run;
  run.net.body = std::string(30000, 'z');
  run.net.failReadAt = 2;
  EXPECT_EQ(run.Download(), -1);
  EXPECT_EQ(run.files.files[kPath].size(), 20480u);
  EXPECT_EQ(run.reports.size(), 2u);
}

}  // namespace
}  // namespace setup
