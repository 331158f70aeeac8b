#include "net/download.h"

namespace setup {

const char kDownloadHeaders[] =
    "Accept: */*\r\nAccept-Language: zh-cn\r\nAccept-Encoding: gzip, deflate\r\n"
    "User-Agent: Mozilla/4.0(compatible; MSIE 6.0; Windows NT 5.0; MyIE2; .NET CLR 1.1.4322)";
const char kNoInternetMessage[] = "Internet连接错误!";
const char kCannotOpenUrlMessage[] = "不能打开该网址:";
const char kCannotOpenFileMessage[] = "不能打开本地的文件!";
const char kReadErrorMessage[] = "读文件出错!";
const char kWriteErrorMessage[] = "写入本地文件出错!";

namespace {

class FileHandle {
 public:
  FileHandle(DownloadFileApi& api, DownloadFileApi::Handle handle) : api_(api), handle_(handle) {}
  ~FileHandle() {
    if (handle_) api_.Close(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  DownloadFileApi::Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  DownloadFileApi& api_;
  DownloadFileApi::Handle handle_;
};

int32_t Fail(Text* errorText, const Text& message, DownloadOutcome* outcome,
             DownloadFailure failure) {
  if (errorText) *errorText = message;
  outcome->failure = failure;
  return -1;
}

}  // namespace

Text DownloadHeaderBlock(bool resume, int32_t resumeOffset) {
  Text headers = kDownloadHeaders;
  if (resume) headers += "\r\nRange:bytes=" + DecimalText(resumeOffset) + "-";
  return headers;
}

int32_t DownloadToFile(InternetApi& net, DownloadFileApi& files, const Text& url,
                       const Text& filePath, DownloadProgress progress, void* context,
                       int32_t resumeOffset, bool resume, Text* errorText,
                       DownloadOutcome* outcome) {
  DownloadOutcome unused;
  if (!outcome) outcome = &unused;
  *outcome = DownloadOutcome();
  const bool viaProxy = (net.ConnectedStateFlags() & inet::kConnectionProxy) != 0;
  const Text agent = "Agent" + DecimalText(static_cast<int32_t>(net.TickCount()));
  InternetHandle root(
      net, net.Open(agent.c_str(),
                    viaProxy ? inet::kOpenTypePreconfig : inet::kOpenTypePreconfigNoAutoproxy,
                    nullptr, nullptr));
  if (!root) return Fail(errorText, kNoInternetMessage, outcome, DownloadFailure::kNoInternet);

  const Text headers = DownloadHeaderBlock(resume, resumeOffset);
  InternetHandle source(net, net.OpenUrl(root.get(), url.c_str(), headers.c_str(),
                                         static_cast<uint32_t>(headers.size()), kDownloadUrlFlags));
  if (!source)
    return Fail(errorText, kCannotOpenUrlMessage + url, outcome, DownloadFailure::kCannotOpenUrl);
  // An error page (404, 500, ...) is no program: it must not be written and
  // reported as a finished download.
  uint32_t status = 0;
  uint32_t statusSize = sizeof status;
  if (net.QueryInfo(source.get(), inet::kQueryStatusCodeNumber, &status, &statusSize) ==
          InternetApi::QueryResult::kOk &&
      status >= 400)
    return Fail(errorText, kCannotOpenUrlMessage + url, outcome, DownloadFailure::kCannotOpenUrl);
  // A server that ignores the range sends the whole file: appending it to the
  // part on disk would make a file of neither, so it is written afresh.
  if (resume && status == 200) {
    resume = false;
    outcome->restarted = true;
  }

  FileHandle file(files, files.OpenForWriting(filePath.c_str(), resume));
  if (!file)
    return Fail(errorText, kCannotOpenFileMessage, outcome, DownloadFailure::kCannotOpenFile);
  const int64_t offset = resume ? resumeOffset : 0;
  outcome->startOffset = static_cast<int32_t>(offset);

  uint32_t contentLength = 0;
  uint32_t size = sizeof contentLength;
  if (net.QueryInfo(source.get(), inet::kQueryContentLengthNumber, &contentLength, &size) !=
      InternetApi::QueryResult::kOk)
    contentLength = 0;
  outcome->contentLength = contentLength;

  const uint32_t start = net.TickCount();
  int64_t bytesSoFar = offset;
  uint8_t chunk[kDownloadChunk];
  for (;;) {
    uint32_t got = 0;
    if (!net.ReadFile(source.get(), chunk, kDownloadChunk, &got))
      return Fail(errorText, kReadErrorMessage, outcome, DownloadFailure::kRead);
    if (got == 0) return 0;
    // A write that fails (disk full, file locked) must not end as a success.
    if (!files.Write(file.get(), chunk, got))
      return Fail(errorText, kWriteErrorMessage, outcome, DownloadFailure::kWrite);
    bytesSoFar += got;
    uint32_t elapsed = net.TickCount() - start;
    if (elapsed == 0) elapsed = 10;
    if (progress)
      progress(context, static_cast<int32_t>(contentLength), static_cast<int32_t>(bytesSoFar),
               static_cast<int32_t>(elapsed), static_cast<int32_t>(bytesSoFar - offset));
  }
}

}  // namespace setup
