// The app-info API: GET /app_api/getapp?app_id=..&secret_key=..&agent_id=.., answered from the
// catalogue. Texts go out in code page 936 (GBK) or, for entries that ask for it, as \uXXXX
// escapes in pure ASCII.
#pragma once

#include <functional>
#include <string>

#include "catalogue.h"
#include "connection.h"

namespace refserver {

struct RenderedReply {
  int status = 200;
  std::string content_type;
  std::string body;
};

// The digest of what a path of this server serves (see BodyDigest); empty when none.
using DigestOf = std::function<std::string(const std::string& path)>;

// Renders one reply; `origin` replaces every "{origin}" in it, and `digest` every
// "{sha256:PATH}". False when a text cannot be written in code page 936.
bool RenderApiReply(const ApiReply& reply, const std::string& origin, const DigestOf& digest,
                    RenderedReply* out, std::string* error);

// Renders every reply of the catalogue once, so that a bad text is reported at start.
bool CheckApiReplies(const Catalogue& catalogue, std::string* error);

void AddApiRoutes(Server& server, const Catalogue& catalogue, const std::string& origin,
                  const std::string& files_dir);

}  // namespace refserver
