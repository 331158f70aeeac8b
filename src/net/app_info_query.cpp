#include "net/app_info_query.h"

#include <cmath>

#include "app/installer_state.h"
#include "net/json_document.h"
#include "net/web_request.h"

namespace setup {

namespace {

int32_t TruncatedCode(double code) {
  if (std::isnan(code)) return 0;
  if (code >= 2147483647.0) return INT32_MAX;
  if (code <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(code);  // toward zero: 1.9 is 1, 0.9 is 0
}

}  // namespace

Text AppInfoUrl(const Text& apiOrigin, int32_t appId, const Text& secretKey, int32_t agentId) {
  return apiOrigin + "/app_api/getapp?app_id=" + DecimalText(appId) + "&secret_key=" + secretKey +
         "&agent_id=" + DecimalText(agentId);
}

int32_t ReadAppInfoReply(const Text& reply, AppInfo& info, Text* content) {
  JsonDocument doc;
  doc.Parse(reply);
  const int32_t code = TruncatedCode(doc.GetNumber("code"));
  if (code != 1) {
    if (content) *content = doc.GetText("content");
    return code;
  }
  doc.Parse(doc.GetJson("data"));
  Text* const fields[] = {&info.name,          &info.display_name, &info.crypt,
                          &info.oem_status,    &info.create_time,  &info.update_time,
                          &info.version,       &info.down_url,     &info.icon,
                          &info.comment,       &info.announcement, &info.soft_version,
                          &info.soft_down_url, &info.dll_version,  &info.dll_down_url,
                          &info.update_log,    &info.agreement};
  static const char* const kMembers[] = {
      "name",          "display_name", "crypt",        "oem_status", "create_time",  "update_time",
      "version",       "down_url",     "icon",         "comment",    "announcement", "soft_version",
      "soft_down_url", "dll_version",  "dll_down_url", "update_log", "agreement"};
  static_assert(sizeof kMembers / sizeof kMembers[0] == sizeof fields / sizeof fields[0],
                "one member a field");
  for (size_t i = 0; i < sizeof fields / sizeof fields[0]; ++i)
    *fields[i] = doc.GetText(kMembers[i]);
  info.agent_info.id = doc.GetObject("agent_info")->GetText("id");
  const std::unique_ptr<JsonDocument> app = doc.GetObject("agent_app");
  info.agent_app.app_name = app->GetText("app_name");
  info.agent_app.app_icon = app->GetText("app_icon");
  info.soft_sha256 = doc.GetText("soft_sha256");
  return code;
}

int32_t QueryAppInfo(InternetApi& net, const Text& apiOrigin, int32_t appId, const Text& secretKey,
                     int32_t agentId, Text* content) {
  InstallerState& state = State();
  state.api_origin = apiOrigin;
  state.app_id = appId;
  state.secret_key = secretKey;
  state.agent_id = agentId;
  WebRequestArgs args;
  args.method = 0;
  const Bytes reply = WebRequest(
      net, AppInfoUrl(state.api_origin, state.app_id, state.secret_key, state.agent_id), args);
  return ReadAppInfoReply(TextFromBytes(reply), state.app_info, content);
}

}  // namespace setup
