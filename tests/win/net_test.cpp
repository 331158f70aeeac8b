// The web request, the download and the app-info query through the real
// WinINet, against the reference server.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>

#include <shlobj.h>

#include "app/installer_state.h"
#include "base/file_io.h"
#include "base/sha256.h"
#include "child_process.h"
#include "net/app_info_query.h"
#include "net/download.h"
#include "net/web_request.h"
#include "setup_config.h"
#include "wizard/program_download.h"
#include "wizard/shortcut.h"

namespace wintest {
namespace {

using setup::Text;

Text Origin() {
  const char* origin = std::getenv("SETUP_TEST_ORIGIN");
  return origin ? origin : "";
}

class Net : public ::testing::Test {
 protected:
  void SetUp() override {
    if (Origin().empty()) GTEST_SKIP() << "no reference server (run through with-refserver.sh)";
  }
  static Text Request(const Text& path, setup::WebRequestArgs args = {}) {
    return setup::TextFromBytes(setup::WebRequest(setup::SystemInternet(), Origin() + path, args));
  }
};

// The request header lines as the server received them.
std::vector<Text> ReceivedHeaders(const Text& echo) {
  std::vector<Text> headers;
  size_t pos = 0;
  while ((pos = echo.find("header: ", pos)) != Text::npos) {
    const size_t end = echo.find('\n', pos);
    headers.push_back(echo.substr(pos + 8, end - pos - 8));
    pos = end;
  }
  return headers;
}

bool Has(const std::vector<Text>& lines, const Text& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST_F(Net, GetSendsTheDefaultHeaderBlock) {
  const Text echo = Request("/echo?a=1");
  EXPECT_NE(echo.find("method: GET\n"), Text::npos) << echo;
  EXPECT_NE(echo.find("target: /echo?a=1\n"), Text::npos);
  const std::vector<Text> headers = ReceivedHeaders(echo);
  EXPECT_TRUE(Has(headers, "Accept: */*"));
  EXPECT_TRUE(Has(headers, "Referer: " + Origin() + "/echo?a=1"));
  EXPECT_TRUE(Has(headers, "Accept-Language: zh-cn"));
  EXPECT_TRUE(Has(headers, "Content-Type: application/x-www-form-urlencoded"));
  EXPECT_TRUE(Has(headers, Text("User-Agent: ") + setup::kDefaultUserAgent));
}

TEST_F(Net, MethodsAndBodies) {
  struct Case {
    int32_t method;
    Text verb;
  } cases[] = {{1, "POST"}, {2, "HEAD"}, {7, "GET"}, {-1, "GET"}};
  for (const Case& c : cases) {
    setup::WebRequestArgs args;
    args.method = c.method;
    args.bodyText = "ignored";
    args.bodyBytes = {0x00, 0xFF, 0x41};
    Text headers;
    args.replyHeaders = &headers;
    const Text body = Request("/echo", args);
    EXPECT_NE(headers.find("X-Echo-Method: " + c.verb), Text::npos) << c.verb << headers;
    if (c.verb != "GET") {
      EXPECT_NE(headers.find("X-Echo-Body-Hex: 00ff41"), Text::npos) << "only the bytes are sent";
    } else {
      EXPECT_NE(headers.find("X-Echo-Body-Length: 0"), Text::npos) << "a GET sends no body";
    }
    if (c.verb == "HEAD") {
      EXPECT_TRUE(body.empty());
    }
  }
}

TEST_F(Net, ExtraHeadersCookiesAndAgent) {
  setup::WebRequestArgs args;
  args.extraHeaders = "user-agent: Tool/1\r\nReferer: http://r/";
  args.cookies = Text("a=1");
  const std::vector<Text> headers = ReceivedHeaders(Request("/echo", args));
  EXPECT_TRUE(Has(headers, "Referer: http://r/"));
  EXPECT_EQ(std::count_if(headers.begin(), headers.end(),
                          [](const Text& h) { return h.rfind("Referer:", 0) == 0; }),
            1);
  EXPECT_TRUE(Has(headers, "Cookie: a=1"));
  EXPECT_TRUE(Has(headers, "user-agent: Tool/1"));
}

TEST_F(Net, ReplyCookiesFromSetCookieLines) {
  Text cookies, headers;
  setup::WebRequestArgs args;
  args.replyCookies = &cookies;
  args.replyHeaders = &headers;
  Request("/cookies", args);
  EXPECT_EQ(cookies, "sid=9; lang=cn");
  EXPECT_NE(headers.find("Set-Cookie: sid=9; Path=/"), Text::npos);
  EXPECT_EQ(headers.find("SET-COOKIE"), Text::npos) << "rewritten as Set-Cookie";
}

TEST_F(Net, LongReplyHeadersKeepTheirCookies) {
  Text cookies, headers;
  setup::WebRequestArgs args;
  args.replyCookies = &cookies;
  args.replyHeaders = &headers;
  Request("/long-headers", args);
  EXPECT_GT(headers.size(), 5000u);
  EXPECT_EQ(headers.find("     "), Text::npos) << "not a block of spaces";
  EXPECT_EQ(cookies, "sid=9; lang=cn; theme=dark; seen=1");
}

TEST_F(Net, RedirectsAreFollowedUnlessAskedNotTo) {
  Text headers;
  setup::WebRequestArgs args;
  args.replyHeaders = &headers;
  EXPECT_NE(Request("/redirect?to=/echo", args).find("target: /echo"), Text::npos);
  args.noRedirect = true;
  Request("/redirect?to=/echo", args);
  EXPECT_EQ(headers.rfind("HTTP/1.1 302", 0), 0u) << headers;
}

TEST_F(Net, AClosedPortGivesAnEmptyBodyAndLeavesTheOutputs) {
  Text headers = "as before";
  setup::WebRequestArgs args;
  args.replyHeaders = &headers;
  EXPECT_TRUE(setup::WebRequest(setup::SystemInternet(), "http://127.0.0.1:1/x", args).empty());
  // No reply: no header lines (the platform may hand back a bare line end), and
  // never a block of spaces.
  EXPECT_EQ(headers.find_first_not_of("\r\n"), Text::npos) << headers.size();
}

struct Progress {
  std::vector<std::array<int32_t, 4>> calls;
  static void Record(void* self, int32_t a, int32_t b, int32_t c, int32_t d) {
    static_cast<Progress*>(self)->calls.push_back({a, b, c, d});
  }
};

int32_t Download(const Text& url, const Text& path, Progress* progress, Text* error,
                 int32_t offset = 0, bool resume = false) {
  return setup::DownloadToFile(setup::SystemInternet(), setup::SystemDownloadFiles(), url, path,
                               Progress::Record, progress, offset, resume, error);
}

TEST_F(Net, DownloadWritesTheFileInChunksWithProgress) {
  TempFolder dir;
  Progress progress;
  Text error = "unchanged";
  ASSERT_EQ(Download(Origin() + "/gen/100000/app.exe", dir.path() + "app.exe", &progress, &error),
            0);
  EXPECT_EQ(error, "unchanged");
  const setup::Bytes file = setup::ReadWholeFile(dir.path() + "app.exe");
  ASSERT_EQ(file.size(), 100000u);
  for (size_t i = 0; i < file.size(); i += 9973) EXPECT_EQ(file[i], i % 251) << i;
  ASSERT_FALSE(progress.calls.empty());
  for (const auto& c : progress.calls) {
    EXPECT_EQ(c[0], 100000);
    EXPECT_GE(c[2], 1);
    EXPECT_EQ(c[1], c[3]);
  }
  EXPECT_EQ(progress.calls.back()[1], 100000);
  for (size_t i = 1; i < progress.calls.size(); ++i)
    EXPECT_LE(progress.calls[i][1] - progress.calls[i - 1][1], 10240);
}

TEST_F(Net, DownloadFaults) {
  struct Case {
    const char* query;
    int32_t result;
    int64_t size;           // bytes on disk afterwards (-1: not checked)
    int32_t contentLength;  // in the progress reports (-1: no report)
  } cases[] = {
      {"?fault=chunked", 0, 100000, 0},    {"?fault=empty", 0, 0, -1},
      {"?fault=cut", 0, 1000, 100000},   // the platform reports success for a body cut short
      {"?fault=not-found", -1, -1, -1},  // an error page is no program
      {"?fault=server-error", -1, -1, -1},
  };
  for (const Case& c : cases) {
    TempFolder dir;
    Progress progress;
    Text error;
    const Text path = dir.path() + "app.exe";
    EXPECT_EQ(Download(Origin() + "/gen/100000/app.exe" + c.query, path, &progress, &error),
              c.result)
        << c.query;
    if (c.size >= 0) {
      EXPECT_EQ(setup::ReadWholeFile(path).size(), static_cast<size_t>(c.size)) << c.query;
    }
    if (c.contentLength >= 0) {
      ASSERT_FALSE(progress.calls.empty()) << c.query;
      EXPECT_EQ(progress.calls[0][0], c.contentLength) << c.query;
    } else if (c.size == 0) {
      EXPECT_TRUE(progress.calls.empty()) << c.query;
    }
  }
}

TEST_F(Net, DownloadFailureMessages) {
  TempFolder dir;
  Progress progress;
  Text error;
  EXPECT_EQ(Download("http://127.0.0.1:1/app.exe", dir.path() + "a.exe", &progress, &error), -1);
  EXPECT_EQ(error, Text(setup::kCannotOpenUrlMessage) + "http://127.0.0.1:1/app.exe");
  EXPECT_EQ(Download(Origin() + "/gen/10/a.exe", dir.path() + "no\\such\\folder\\a.exe", &progress,
                     &error),
            -1);
  EXPECT_EQ(error, setup::kCannotOpenFileMessage);
}

TEST_F(Net, DownloadResumesWithARangeRequest) {
  TempFolder dir;
  const Text path = dir.path() + "app.exe";
  setup::Bytes first(1000);
  for (size_t i = 0; i < first.size(); ++i) first[i] = static_cast<uint8_t>(i % 251);
  ASSERT_TRUE(setup::WriteWholeFile(path, first));
  Progress progress;
  Text error;
  ASSERT_EQ(Download(Origin() + "/gen/5000/app.exe", path, &progress, &error, 1000, true), 0);
  const setup::Bytes file = setup::ReadWholeFile(path);
  ASSERT_EQ(file.size(), 5000u);
  for (size_t i = 0; i < file.size(); ++i) ASSERT_EQ(file[i], i % 251) << i;
  ASSERT_FALSE(progress.calls.empty());
  EXPECT_EQ(progress.calls[0][0], 4000) << "the length of the remaining part";
  EXPECT_EQ(progress.calls.back()[1], 5000);
  EXPECT_EQ(progress.calls.back()[3], 4000);
}

// The program's download through the real WinINet and files: resumed, started
// afresh, given up, refused.
TEST_F(Net, ProgramDownloadResumesAndChecks) {
  const Text whole = Origin() + "/gen/100000/app.exe";
  setup::Sha256 sha;
  setup::Bytes bytes(100000);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i % 251);
  sha.Update(bytes.data(), bytes.size());
  const Text digest = sha.FinishHex();
  struct Case {
    Text query, digest;
    setup::ProgramFailure failure;
    int resumes;
    bool restarted;
  } cases[] = {
      {"?fault=cut-first&after=30000", digest, setup::ProgramFailure::kNone, 1, false},
      {"?fault=cut-first-no-range&after=30000", digest, setup::ProgramFailure::kNone, 1, true},
      {"?fault=cut&after=10000", "", setup::ProgramFailure::kBrokenOff, 3, false},
      {"", Text(64, 'f'), setup::ProgramFailure::kDigestMismatch, 0, false},
  };
  for (const Case& c : cases) {
    TempFolder dir;
    const Text target = dir.path() + "app.exe";
    Progress progress;
    const setup::ProgramDownload run = setup::DownloadProgram(
        setup::SystemInternet(), setup::SystemDownloadFiles(), setup::SystemProgramFiles(),
        whole + c.query, target, c.digest, Progress::Record, &progress);
    EXPECT_EQ(run.failure, c.failure) << c.query;
    EXPECT_EQ(run.resumes, c.resumes) << c.query;
    EXPECT_EQ(run.restarted, c.restarted) << c.query;
    EXPECT_EQ(setup::ReadableFileSize(setup::PartialPath(target)), -1) << c.query;
    if (c.failure == setup::ProgramFailure::kNone) {
      EXPECT_EQ(setup::ReadWholeFile(target), bytes) << c.query;
      for (const auto& report : progress.calls) EXPECT_EQ(report[0], 100000) << c.query;
      EXPECT_EQ(progress.calls.back()[1], 100000) << c.query;
    } else {
      EXPECT_EQ(setup::ReadableFileSize(target), -1) << c.query;
    }
  }
}

TEST_F(Net, QueryAppInfoFillsTheRecord) {
  setup::InitInstallerState();
  Text content = "unchanged";
  EXPECT_EQ(
      setup::QueryAppInfo(setup::SystemInternet(), Origin(), 1, SETUP_SECRET_KEY, 41159, &content),
      1);
  const setup::AppInfo& info = setup::State().app_info;
  EXPECT_EQ(content, "unchanged");
  EXPECT_EQ(info.name, "yunting");
  EXPECT_EQ(info.display_name, "云听音乐");
  EXPECT_EQ(info.crypt, "0");
  EXPECT_EQ(info.create_time, "1683858031");
  EXPECT_EQ(info.update_log, "1. 修复已知问题\r\n2. 提升下载速度");
  EXPECT_EQ(info.soft_down_url, Origin() + "/files/YunTing.exe");
  EXPECT_EQ(info.agent_info.id, "41159");
  EXPECT_EQ(info.agent_app.app_name, "云听音乐");
  EXPECT_EQ(info.agent_app.app_icon, Origin() + "/files/logo.ico");
  EXPECT_TRUE(setup::IsSha256Hex(info.soft_sha256)) << info.soft_sha256;
  const Text* all[] = {&info.name,          &info.display_name, &info.crypt,
                       &info.oem_status,    &info.create_time,  &info.update_time,
                       &info.version,       &info.down_url,     &info.icon,
                       &info.comment,       &info.announcement, &info.soft_version,
                       &info.soft_down_url, &info.dll_version,  &info.dll_down_url,
                       &info.update_log,    &info.agreement};
  for (const Text* field : all) EXPECT_FALSE(field->empty());
  setup::ReleaseInstallerState();
}

TEST_F(Net, QueryAppInfoRefusals) {
  struct Case {
    Text key;
    int32_t agent, code;
    Text content;
  } cases[] = {
      {SETUP_SECRET_KEY, 41160, 1, ""},
      {"wrong", 41159, 0, "应用编号或密钥错误"},
      {SETUP_SECRET_KEY, 999, 0, "代理不存在或已删除"},
      {SETUP_SECRET_KEY, 102, 2, "该代理已停用"},
      {SETUP_SECRET_KEY, 104, 0, ""},
  };
  for (const Case& c : cases) {
    setup::InitInstallerState();
    Text content;
    EXPECT_EQ(setup::QueryAppInfo(setup::SystemInternet(), Origin(), 1, c.key, c.agent, &content),
              c.code)
        << c.agent;
    EXPECT_EQ(content, c.content) << c.agent;
    if (c.code == 1) {
      EXPECT_EQ(setup::State().app_info.display_name, "云听音乐") << "escaped texts decode";
    }
    setup::ReleaseInstallerState();
  }
}

}  // namespace
}  // namespace wintest

namespace wintest {
namespace {

TEST(SpecialFolderPath, KindsAndFailures) {
  char expected[MAX_PATH];
  SHGetSpecialFolderPathA(nullptr, expected, CSIDL_DESKTOPDIRECTORY, FALSE);
  EXPECT_EQ(setup::SpecialFolderPath(3), std::string(expected) + "\\");
  EXPECT_EQ(setup::SpecialFolderPath(0), setup::SpecialFolderPath(3)) << "0 means the desktop";
  GetWindowsDirectoryA(expected, MAX_PATH);
  EXPECT_EQ(setup::SpecialFolderPath(9), std::string(expected) + "\\");
  GetSystemDirectoryA(expected, MAX_PATH);
  EXPECT_EQ(setup::SpecialFolderPath(10), std::string(expected) + "\\");
  const std::string temp = setup::SpecialFolderPath(11);
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.back(), '\\');
  for (int kind : {1, 8}) EXPECT_EQ(setup::SpecialFolderPath(kind).back(), '\\') << kind;
  EXPECT_EQ(setup::SpecialFolderPath(13), "");
  EXPECT_EQ(setup::SpecialFolderPath(-1), "");
}

}  // namespace
}  // namespace wintest
