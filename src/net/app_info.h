// The application's description, filled from the app-info reply's "data" object.
#pragma once

#include "base/text.h"

namespace setup {

struct AgentInfo {
  Text id;
};

struct AgentApp {
  Text app_name;
  Text app_icon;
};

// Fields in the order of the reply's members; the sub-records always exist.
// `soft_sha256` is an optional member added after them.
struct AppInfo {
  Text name;
  Text display_name;
  Text crypt;
  Text oem_status;
  Text create_time;
  Text update_time;
  Text version;
  Text down_url;
  Text icon;
  Text comment;
  Text announcement;
  Text soft_version;
  Text soft_down_url;
  Text dll_version;
  Text dll_down_url;
  Text update_log;
  Text agreement;
  AgentInfo agent_info;
  AgentApp agent_app;
  // Optional: the program's SHA-256 as 64 hexadecimal digits; empty when absent.
  Text soft_sha256;
};

}  // namespace setup
