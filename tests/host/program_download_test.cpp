#include "wizard/program_download.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/sha256.h"
#include "fake_internet.h"

namespace setup {
namespace {

using testing::FakeFiles;

const char kUrl[] = "http://dl.example.com/app.exe";
const char kTarget[] = "C:\\App\\app.exe";
const char kPartial[] = "C:\\App\\app.exe.partial";

// How the server answers one request.
struct Reply {
  int64_t cutAfter = -1;      // the connection breaks after this many body bytes
  bool closeCleanly = false;  // ... ending the body early instead of failing the read
  bool ignoreRange = false;   // the whole file with status 200 whatever the range
  bool unreachable = false;   // the URL cannot be opened
  bool chunked = false;       // no Content-Length
};

// A download host serving one file, answering range requests, one scripted
// reply per request (the last one repeats).
class FakeHost : public InternetApi {
 public:
  std::string file;
  std::vector<Reply> replies;
  std::vector<std::string> ranges;  // the range line of each request ("" when none)

  uint32_t ConnectedStateFlags() override { return 0; }
  Handle Open(const char*, uint32_t, const char*, const char*) override { return Next(); }
  Handle Connect(Handle, const char*, uint16_t, uint32_t) override { return nullptr; }
  Handle OpenRequest(Handle, const char*, const char*, const char*, uint32_t) override {
    return nullptr;
  }
  bool SendRequest(Handle, const char*, uint32_t, const void*, uint32_t) override { return false; }
  Handle OpenUrl(Handle, const char*, const char* headers, uint32_t length, uint32_t) override {
    const std::string block(headers, length);
    const size_t at = block.find("Range:bytes=");
    ranges.push_back(at == std::string::npos ? "" : block.substr(at));
    reply_ = replies[std::min(ranges.size(), replies.size()) - 1];
    if (reply_.unreachable) return nullptr;
    from_ = 0;
    status_ = 200;
    if (at != std::string::npos && !reply_.ignoreRange) {
      from_ = std::stoul(block.substr(at + 12));
      status_ = from_ < file.size() ? 206 : 416;
    }
    sent_ = 0;
    return Next();
  }
  QueryResult QueryInfo(Handle, uint32_t level, void* buffer, uint32_t*) override {
    uint32_t value = 0;
    if (level == inet::kQueryStatusCodeNumber)
      value = status_;
    else if (level == inet::kQueryContentLengthNumber && !reply_.chunked)
      value = static_cast<uint32_t>(file.size() - std::min<size_t>(from_, file.size()));
    else
      return QueryResult::kFailed;
    std::memcpy(buffer, &value, 4);
    return QueryResult::kOk;
  }
  bool ReadFile(Handle, void* buffer, uint32_t size, uint32_t* read) override {
    *read = 0;
    size_t left = file.size() - from_ - sent_;
    if (reply_.cutAfter >= 0) {
      const size_t allowed =
          static_cast<size_t>(reply_.cutAfter) - std::min<size_t>(sent_, reply_.cutAfter);
      if (allowed == 0 && left > 0) return reply_.closeCleanly;
      left = std::min(left, allowed);
    }
    const uint32_t n = static_cast<uint32_t>(std::min<size_t>(left, size));
    std::memcpy(buffer, file.data() + from_ + sent_, n);
    sent_ += n;
    *read = n;
    return true;
  }
  void Close(Handle) override {}
  uint32_t TickCount() override { return 0; }

 private:
  Handle Next() { return reinterpret_cast<Handle>(++handles_); }
  uintptr_t handles_ = 0;
  Reply reply_;
  size_t from_ = 0, sent_ = 0;
  uint32_t status_ = 200;
};

// The disk as the download's fake files see it.
class FakeDisk : public ProgramFiles {
 public:
  explicit FakeDisk(FakeFiles& files) : files_(files) {}
  std::vector<uint32_t> pauses;
  bool failMove = false;

  int64_t FileSize(const Text& path) override {
    auto it = files_.files.find(path);
    return it == files_.files.end() ? -1 : static_cast<int64_t>(it->second.size());
  }
  bool Remove(const Text& path) override { return files_.files.erase(path) == 1; }
  bool MoveReplacing(const Text& from, const Text& to) override {
    if (failMove || !files_.files.count(from)) return false;
    files_.files[to] = files_.files[from];
    files_.files.erase(from);
    return true;
  }
  Text Sha256Hex(const Text& path) override {
    auto it = files_.files.find(path);
    if (it == files_.files.end()) return Text();
    Sha256 sha;
    sha.Update(it->second.data(), it->second.size());
    return sha.FinishHex();
  }
  void Pause(uint32_t ms) override { pauses.push_back(ms); }

 private:
  FakeFiles& files_;
};

struct Report {
  int32_t contentLength, bytesSoFar;
};

void Record(void* context, int32_t contentLength, int32_t bytesSoFar, int32_t, int32_t) {
  static_cast<std::vector<Report>*>(context)->push_back({contentLength, bytesSoFar});
}

struct Install {
  FakeHost host;
  FakeFiles files;
  FakeDisk disk{files};
  std::vector<Report> reports;
  ProgramDownload result;

  explicit Install(std::vector<Reply> replies, size_t size = 100000) {
    host.file.resize(size);
    for (size_t i = 0; i < size; ++i) host.file[i] = static_cast<char>(i % 251);
    host.replies = std::move(replies);
  }
  ProgramDownload Download(const Text& digest = Text()) {
    result = DownloadProgram(host, files, disk, kUrl, kTarget, digest, Record, &reports);
    return result;
  }
  Text FileDigest() const {
    Sha256 sha;
    sha.Update(host.file.data(), host.file.size());
    return sha.FinishHex();
  }
  bool TargetIsTheFile() const {
    auto it = files.files.find(kTarget);
    return it != files.files.end() && it->second == host.file;
  }
  bool NoPartialLeft() const { return files.files.count(kPartial) == 0; }
};

TEST(DownloadProgram, AWholeDownloadIsMovedIntoPlace) {
  Install run({Reply{}});
  run.files.files[kTarget] = "the earlier version";
  EXPECT_TRUE(run.Download().ok());
  EXPECT_TRUE(run.TargetIsTheFile());
  EXPECT_TRUE(run.NoPartialLeft());
  EXPECT_EQ(run.files.opens[0], std::string(kPartial) + " append=0") << "written beside the target";
  EXPECT_EQ(run.result.resumes, 0);
  EXPECT_TRUE(run.disk.pauses.empty());
}

TEST(DownloadProgram, ABrokenTransferIsResumedFromTheBytesOnDisk) {
  Reply cut;
  cut.cutAfter = 30000;
  Install run({cut, Reply{}});
  EXPECT_TRUE(run.Download(run.FileDigest()).ok());
  EXPECT_TRUE(run.TargetIsTheFile());
  EXPECT_EQ(run.host.ranges, (std::vector<std::string>{"", "Range:bytes=30000-"}));
  EXPECT_EQ(run.result.resumes, 1);
  EXPECT_EQ(run.disk.pauses, std::vector<uint32_t>{kResumePauseMs[0]});
  // The display carries on: the whole file's length throughout, bytes only growing.
  int32_t last = 0;
  for (const Report& r : run.reports) {
    EXPECT_EQ(r.contentLength, 100000);
    EXPECT_GT(r.bytesSoFar, last);
    last = r.bytesSoFar;
  }
  EXPECT_EQ(last, 100000);
}

TEST(DownloadProgram, OutcomesOfFaultyTransfers) {
  Reply cut, cutClean, ignore, down, chunkedCut;
  cut.cutAfter = 20000;
  cutClean.cutAfter = 20000;
  cutClean.closeCleanly = true;
  ignore.ignoreRange = true;
  down.unreachable = true;
  chunkedCut = cut;
  chunkedCut.chunked = true;
  struct Case {
    const char* what;
    std::vector<Reply> replies;
    ProgramFailure failure;
    int resumes;
    bool restarted;
  } cases[] = {
      {"cut every time: three resumes, then given up", {cut}, ProgramFailure::kBrokenOff, 3, false},
      {"cut three times, whole on the last resume",
       {cut, cut, cut, Reply{}},
       ProgramFailure::kNone,
       3,
       false},
      {"closed early without an error", {cutClean, Reply{}}, ProgramFailure::kNone, 1, false},
      {"the range ignored: a clean restart", {cut, ignore}, ProgramFailure::kNone, 1, true},
      {"unreachable on resume, then back", {cut, down, Reply{}}, ProgramFailure::kNone, 2, false},
      {"unreachable from the start: no retry", {down}, ProgramFailure::kDownload, 0, false},
      {"no length announced, cut, resumed", {chunkedCut, Reply{}}, ProgramFailure::kNone, 1, false},
  };
  for (const Case& c : cases) {
    Install run(c.replies);
    run.Download(run.FileDigest());
    EXPECT_EQ(run.result.failure, c.failure) << c.what;
    EXPECT_EQ(run.result.resumes, c.resumes) << c.what;
    EXPECT_EQ(run.result.restarted, c.restarted) << c.what;
    EXPECT_EQ(run.TargetIsTheFile(), c.failure == ProgramFailure::kNone) << c.what;
    EXPECT_TRUE(run.NoPartialLeft()) << c.what;
    EXPECT_EQ(run.disk.pauses.size(), static_cast<size_t>(c.resumes)) << c.what;
  }
}

TEST(DownloadProgram, PausesGrowAndStopAtTheLimit) {
  Reply cut;
  cut.cutAfter = 1000;
  Install run({cut});
  run.Download();
  EXPECT_EQ(run.disk.pauses,
            (std::vector<uint32_t>{kResumePauseMs[0], kResumePauseMs[1], kResumePauseMs[2]}));
  EXPECT_LT(kResumePauseMs[0], kResumePauseMs[1]);
  EXPECT_LT(kResumePauseMs[1], kResumePauseMs[2]);
  EXPECT_EQ(run.host.ranges.size(), 1u + kResumeAttempts);
}

TEST(DownloadProgram, TheDigestDecides) {
  struct Case {
    const char* what;
    Text digest;  // "*" stands for the file's own digest
    ProgramFailure failure;
  } cases[] = {
      {"no digest announced", "", ProgramFailure::kNone},
      {"the file's digest", "*", ProgramFailure::kNone},
      {"another file's digest", Text(64, '0'), ProgramFailure::kDigestMismatch},
      {"not a digest", "xyz", ProgramFailure::kDigestMismatch},
  };
  for (const Case& c : cases) {
    Install run({Reply{}});
    run.files.files[kTarget] = "the earlier version";
    run.Download(c.digest == "*" ? AsciiUpper(run.FileDigest()) : c.digest);
    EXPECT_EQ(run.result.failure, c.failure) << c.what;
    EXPECT_TRUE(run.NoPartialLeft()) << c.what << ": the bad file is removed";
    if (c.failure != ProgramFailure::kNone) {
      EXPECT_EQ(run.files.files[kTarget], "the earlier version") << c.what;
    }
  }
}

TEST(DownloadProgram, ErrorsThatRetryingCannotMend) {
  Install run({Reply{}});
  run.disk.failMove = true;
  EXPECT_EQ(run.Download().failure, ProgramFailure::kCannotPlace);
  EXPECT_TRUE(run.NoPartialLeft());
  EXPECT_FALSE(run.files.files.count(kTarget));

  Install locked({Reply{}});
  locked.files.failOpen = true;
  EXPECT_EQ(locked.Download().failure, ProgramFailure::kDownload);
  EXPECT_TRUE(locked.disk.pauses.empty());

  Install empty({Reply{}}, 0);
  EXPECT_EQ(empty.Download().failure, ProgramFailure::kIncomplete) << "an empty file is no program";
  EXPECT_TRUE(empty.NoPartialLeft());
}

}  // namespace
}  // namespace setup
