// "File Request 3": the file and directory requester. Answers come from a
// queue filled beforehand (a path, or cancel); an empty queue cancels. Every
// request is recorded as the module made it.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "../../plugin/host/lwfilereq.h"

namespace lwsim {

struct FileRequest {
  int type;
  std::string title;
  std::string fileType;
  std::string path;  // the buffers' contents when the dialog opened
  std::string baseName;
  std::string fullName;
  int bufferLength;
  bool answered;
};

class FileRequester {
 public:
  void queueAnswer(std::string path) { answers_.emplace_back(std::move(path)); }
  void queueCancel() { answers_.emplace_back(std::nullopt); }
  std::size_t pendingAnswers() const { return answers_.size(); }
  const std::vector<FileRequest> &requests() const { return requests_; }

  int run(int version, LWFileReqLocal &request);

  static LWFileActivateFunc *function();

 private:
  std::deque<std::optional<std::string>> answers_;
  std::vector<FileRequest> requests_;
};

}  // namespace lwsim
