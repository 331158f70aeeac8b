// setup-brand: makes a branded copy of the installer template for one agent,
// and shows what a copy carries.
//
//   setup-brand brand TEMPLATE --agent-id ID [--icon FILE.ico] [--replace] -o OUT
//   setup-brand show FILE
//
// A template whose certificate table ends the file gets the trailer inside
// that table, so its Authenticode signature stays valid.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "base/file_io.h"
#include "brand.h"

namespace fs = std::filesystem;
using setup::Bytes;
using setup::Text;

namespace {

const char kUsage[] =
    "usage: setup-brand brand TEMPLATE --agent-id ID [--icon FILE.ico] [--replace] -o OUT\n"
    "       setup-brand show FILE\n"
    "A signed template stays validly signed: the trailer goes inside its certificate table.\n"
    "show prints agent_id_text=, agent_id=, icon_bytes=, signed=yes|no, trailer_in_signature=\n"
    "yes|no (and signature_padding=N when inside) and exits 0, or prints unbranded, signed= and\n"
    "exits 1.\n";

int Error(const std::string& message) {
  std::fprintf(stderr, "setup-brand: error: %s\n", message.c_str());
  return 2;
}

bool ReadInput(const std::string& path, Bytes* data) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return false;
  *data = setup::ReadWholeFile(path);
  return !data->empty() || fs::file_size(path, ec) == 0;
}

// Writes beside the target first, then renames, so OUT is never half-written.
bool WriteAtomically(const std::string& path, const Bytes& data, std::string* why) {
  const fs::path target(path);
  fs::path temp = target;
  temp += ".partial";
  if (!setup::WriteWholeFile(temp.string(), data)) {
    *why = "cannot write " + temp.string();
    std::error_code ignored;
    fs::remove(temp, ignored);
    return false;
  }
  std::error_code ec;
  fs::rename(temp, target, ec);
  if (ec) {
    *why = "cannot write " + path + ": " + ec.message();
    fs::remove(temp, ec);
    return false;
  }
  return true;
}

// signed=, and where the trailer lies relative to the signature.
void ShowSignature(const Bytes& file, const setup::brand::TrailerCheck& check) {
  const setup::brand::SignatureTable table = setup::brand::FindSignatureTable(file);
  const bool isSigned = table.present && table.problem.empty();
  if (table.present && !isSigned)
    std::fprintf(stderr, "setup-brand: note: malformed certificate table (%s)\n",
                 table.problem.c_str());
  if (isSigned && !table.at_end)
    std::fprintf(stderr,
                 "setup-brand: note: data follows the certificate table, so the signature does "
                 "not verify (brand the template again, or this copy with --replace)\n");
  std::printf("signed=%s\n", isSigned ? "yes" : "no");
  if (!check.valid) return;
  std::printf("trailer_in_signature=%s\n", check.in_signature ? "yes" : "no");
  if (check.in_signature)
    std::printf("signature_padding=%s\n", setup::DecimalText(check.padding).c_str());
}

int Show(int argc, char** argv) {
  if (argc != 3) return Error("show takes one FILE");
  Bytes file;
  if (!ReadInput(argv[2], &file)) return Error(std::string("cannot read ") + argv[2]);
  const setup::brand::TrailerCheck check = setup::brand::CheckTrailer(file);
  const setup::BrandingData data = setup::ParseBrandingTrailer(file);
  if (!check.valid) {
    const int32_t value = setup::TextToInt(data.agent_id_text);
    if (value != 0)
      std::fprintf(stderr,
                   "setup-brand: note: damaged trailer (%s); the program reads agent id %d\n",
                   check.problem.c_str(), static_cast<int>(value));
    std::printf("unbranded\n");
    ShowSignature(file, check);
    return 1;
  }
  std::printf("agent_id_text=%s\n", data.agent_id_text.c_str());
  std::printf("agent_id=%d\n", static_cast<int>(setup::TextToInt(data.agent_id_text)));
  std::printf("icon_bytes=%zu\n", data.icon_bytes.size());
  ShowSignature(file, check);
  return 0;
}

int BrandCommand(int argc, char** argv) {
  std::string templ, agent, icon, out;
  bool replace = false;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--agent-id" && hasValue) {
      agent = argv[++i];
    } else if (arg == "--icon" && hasValue) {
      icon = argv[++i];
    } else if (arg == "-o" && hasValue) {
      out = argv[++i];
    } else if (arg == "--replace") {
      replace = true;
    } else if (templ.empty() && !arg.empty() && arg[0] != '-') {
      templ = arg;
    } else {
      return Error("unexpected argument: " + arg + "\n" + kUsage);
    }
  }
  if (templ.empty() || out.empty() || agent.empty())
    return Error(std::string("brand needs TEMPLATE, --agent-id and -o\n") + kUsage);

  Bytes templBytes, iconBytes, branded;
  if (!ReadInput(templ, &templBytes)) return Error("cannot read template " + templ);
  if (!icon.empty() && (!ReadInput(icon, &iconBytes) || iconBytes.empty()))
    return Error("cannot read icon " + icon);
  std::error_code ec;
  if (fs::exists(out, ec) && fs::equivalent(templ, out, ec))
    return Error("the output would overwrite the template");
  std::string why;
  if (!setup::brand::Brand(templBytes, agent, iconBytes, replace, &branded, &why))
    return Error(why);
  if (!WriteAtomically(out, branded, &why)) return Error(why);
  const setup::brand::TrailerCheck placed = setup::brand::CheckTrailer(branded);
  std::printf("branded %s: agent %s, icon %zu bytes, trailer %zu bytes%s\n", out.c_str(),
              agent.c_str(), iconBytes.size(), branded.size() - static_cast<size_t>(placed.start),
              placed.in_signature ? ", inside the certificate table" : "");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "brand") return BrandCommand(argc, argv);
  if (command == "show") return Show(argc, argv);
  std::fputs(kUsage, stderr);
  return 2;
}
