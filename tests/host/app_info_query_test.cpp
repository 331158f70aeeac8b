#include "net/app_info_query.h"

#include <gtest/gtest.h>

#include "app/installer_state.h"
#include "fake_internet.h"

namespace setup {
namespace {

const char kFullReply[] =
    "{\"code\":1,\"data\":{\"name\":\"n\",\"display_name\":\"\\u4e2d\\u6587\",\"crypt\":\"c\","
    "\"oem_status\":2,\"create_time\":\"2026-01-01\",\"update_time\":\"2026-02-01\","
    "\"version\":\"1.0\",\"down_url\":\"http://d/\",\"icon\":\"i.ico\",\"comment\":\"\xD6\xD0\","
    "\"announcement\":\"a\",\"soft_version\":\"3.2\",\"soft_down_url\":\"http://dl/app.exe\","
    "\"dll_version\":\"4\",\"dll_down_url\":\"http://dl/x.dll\",\"update_log\":\"log\","
    "\"agreement\":\"ag\",\"agent_info\":{\"id\":41159},"
    "\"agent_app\":{\"app_name\":\"MyApp\",\"app_icon\":\"http://i/\"}}}";

TEST(AppInfoUrl, KeepsTheOrderAndEncodesNothing) {
  EXPECT_EQ(AppInfoUrl("http://api.example.com", 1, "Hb4Q+y/", 41159),
            "http://api.example.com/app_api/getapp?app_id=1&secret_key=Hb4Q+y/&agent_id=41159");
  EXPECT_EQ(AppInfoUrl("http://h", 1, "k", -5),
            "http://h/app_api/getapp?app_id=1&secret_key=k&agent_id=-5");
}

TEST(ReadAppInfoReply, FillsEveryFieldFromAFullReply) {
  AppInfo info;
  Text content = "untouched";
  EXPECT_EQ(ReadAppInfoReply(kFullReply, info, &content), 1);
  EXPECT_EQ(content, "untouched");
  const Text want[] = {"n",
                       "\xD6\xD0\xCE\xC4",
                       "c",
                       "2",
                       "2026-01-01",
                       "2026-02-01",
                       "1.0",
                       "http://d/",
                       "i.ico",
                       "\xD6\xD0",
                       "a",
                       "3.2",
                       "http://dl/app.exe",
                       "4",
                       "http://dl/x.dll",
                       "log",
                       "ag"};
  const Text got[] = {info.name,          info.display_name, info.crypt,        info.oem_status,
                      info.create_time,   info.update_time,  info.version,      info.down_url,
                      info.icon,          info.comment,      info.announcement, info.soft_version,
                      info.soft_down_url, info.dll_version,  info.dll_down_url, info.update_log,
                      info.agreement};
  for (size_t i = 0; i < 17; ++i) EXPECT_EQ(got[i], want[i]) << "field " << i;
  EXPECT_EQ(info.agent_info.id, "41159") << "a numeric id arrives as its decimal text";
  EXPECT_EQ(info.agent_app.app_name, "MyApp");
  EXPECT_EQ(info.agent_app.app_icon, "http://i/");
  EXPECT_EQ(info.soft_sha256, "") << "an optional member that the reply lacks";
}

TEST(ReadAppInfoReply, TakesTheOptionalDigest) {
  const Text digest(64, 'a');
  AppInfo info;
  EXPECT_EQ(
      ReadAppInfoReply("{\"code\":1,\"data\":{\"soft_sha256\":\"" + digest + "\"}}", info, nullptr),
      1);
  EXPECT_EQ(info.soft_sha256, digest);
}

TEST(ReadAppInfoReply, CodesAndRefusals) {
  struct Case {
    Text reply;
    int32_t code;
    Text content;
  } cases[] = {
      {"{\"code\":0,\"content\":\"bad key\"}", 0, "bad key"},
      {"{\"code\":7,\"content\":\"\\u62d2\\u7edd\"}", 7, "\xBE\xDC\xBE\xF8"},
      {"{\"code\":0.9,\"content\":\"x\"}", 0, "x"},
      {"{\"code\":-3}", -3, ""},
      {"<html><body>502 Bad Gateway</body></html>", 0, ""},
      {"", 0, ""},
      {"null", 0, ""},
      {"{\"code\":\"1\",\"data\":{}}", 1, "untouched"},  // a text member read as a number
      {"{\"code\":1.9,\"data\":{}}", 1, "untouched"},
      {"{\"code\":1e30}", INT32_MAX, ""},
  };
  for (const Case& c : cases) {
    AppInfo info;
    Text content = "untouched";
    EXPECT_EQ(ReadAppInfoReply(c.reply, info, &content), c.code) << c.reply;
    EXPECT_EQ(content, c.content) << c.reply;
  }
}

TEST(ReadAppInfoReply, MissingMembersLeaveTheirFieldsEmpty) {
  AppInfo info;
  EXPECT_EQ(ReadAppInfoReply("{\"code\":1,\"data\":{\"name\":\"n\",\"soft_down_url\":\"u\"}}", info,
                             nullptr),
            1);
  EXPECT_EQ(info.name, "n");
  EXPECT_EQ(info.soft_down_url, "u");
  EXPECT_EQ(info.agent_app.app_name, "");
  EXPECT_EQ(info.agent_info.id, "");
  AppInfo bare;
  EXPECT_EQ(ReadAppInfoReply("{\"code\":1}", bare, nullptr), 1)
      << "code 1 without data still counts";
  EXPECT_EQ(bare.name, "");
}

TEST(QueryAppInfo, RecordsTheArgumentsAndSendsOneGet) {
  InitInstallerState();
  testing::FakeInternet net;
  net.body = kFullReply;
  Text content;
  EXPECT_EQ(QueryAppInfo(net, "http://127.0.0.1:8731", 1, "KEY", 41159, &content), 1);
  EXPECT_EQ(State().api_origin, "http://127.0.0.1:8731");
  EXPECT_EQ(State().app_id, 1);
  EXPECT_EQ(State().secret_key, "KEY");
  EXPECT_EQ(State().agent_id, 41159);
  EXPECT_EQ(State().app_info.agent_app.app_name, "MyApp");
  EXPECT_EQ(net.CallsOf("Connect")[0].args, (std::vector<std::string>{"127.0.0.1", "8731", "3"}));
  const auto request = net.CallsOf("OpenRequest")[0].args;
  EXPECT_EQ(request[0], "GET");
  EXPECT_EQ(request[1], "/app_api/getapp?app_id=1&secret_key=KEY&agent_id=41159");
  ReleaseInstallerState();
}

TEST(QueryAppInfo, NoReplyIsCodeZero) {
  InitInstallerState();
  testing::FakeInternet net;
  net.failRequest = true;
  Text content = "x";
  EXPECT_EQ(QueryAppInfo(net, "http://127.0.0.1:1", 1, "KEY", 5, &content), 0);
  EXPECT_EQ(content, "");
  ReleaseInstallerState();
}

TEST(QueryAppInfo, TheReplyEndsAtItsFirstZeroByte) {
  InitInstallerState();
  testing::FakeInternet net;
  net.body = std::string("{\"code\":1,\"data\":{\"name\":\"z\"}}") + '\0' + "garbage";
  EXPECT_EQ(QueryAppInfo(net, "http://h", 1, "k", 5, nullptr), 1);
  EXPECT_EQ(State().app_info.name, "z");
  ReleaseInstallerState();
}

}  // namespace
}  // namespace setup
