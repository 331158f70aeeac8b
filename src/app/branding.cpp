#include "app/branding.h"

#include "app/default_icon.h"

namespace setup {

const char kUnbrandedMessage[] = "该安装包为原始安装包，必须贴牌后才可以使用。";

int32_t CompleteBranding(InstallerState& state) {
  if (state.icon_bytes.empty()) state.icon_bytes = DefaultIcon();
  return TextToInt(state.agent_id_text);
}

}  // namespace setup
