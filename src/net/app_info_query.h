// The app-info query: asks the vendor's API which application this agent
// distributes and fills the application record.
#pragma once

#include <cstdint>

#include "base/text.h"
#include "net/app_info.h"
#include "net/internet_api.h"

namespace setup {

// api_origin + "/app_api/getapp?app_id=..&secret_key=..&agent_id=..", nothing encoded.
Text AppInfoUrl(const Text& apiOrigin, int32_t appId, const Text& secretKey, int32_t agentId);

// Decodes a reply: fills `info` when its code is 1, otherwise sets `content`
// to the server's message. Returns the code, truncated toward zero (0 when the
// reply is no JSON).
int32_t ReadAppInfoReply(const Text& reply, AppInfo& info, Text* content);

// Records the arguments in the installer state, sends the request and decodes
// the reply into the state's app_info. Returns the reply's code.
int32_t QueryAppInfo(InternetApi& net, const Text& apiOrigin, int32_t appId, const Text& secretKey,
                     int32_t agentId, Text* content);

}  // namespace setup
