#include "file_requester.h"

#include <cstring>

#include "../../plugin/host/lwmodule.h"
#include "../host.h"
#include "c_entry.h"

namespace lwsim {

namespace {

std::string text(const char *value) { return value != nullptr ? value : ""; }

// Copies as much as the buffer holds, always terminated.
void fill(char *buffer, int length, const std::string &value) {
  if (buffer == nullptr || length <= 0) return;
  const std::size_t count = std::min(value.size(), static_cast<std::size_t>(length) - 1);
  std::memcpy(buffer, value.data(), count);
  buffer[count] = '\0';
}

// "dir/name" → "dir" and "name"; either separator counts.
std::pair<std::string, std::string> splitPath(const std::string &path) {
  const std::size_t separator = path.find_last_of("/\\");
  if (separator == std::string::npos) return {std::string(), path};
  return {path.substr(0, separator), path.substr(separator + 1)};
}

int activate(int version, LWFileReqLocal *request) {
  return hostEntry(AFUNC_BADGLOBAL, [&] {
    if (request == nullptr) return AFUNC_BADGLOBAL;
    return Host::current().fileRequester().run(version, *request);
  });
}

}  // namespace

int FileRequester::run(int version, LWFileReqLocal &request) {
  if (version != LWFILEREQ_VERSION) return AFUNC_BADVERSION;
  requests_.push_back({request.reqType, text(request.title), text(request.fileType),
                       request.path != nullptr ? text(request.path) : "",
                       request.baseName != nullptr ? text(request.baseName) : "",
                       request.fullName != nullptr ? text(request.fullName) : "", request.bufLen, false});
  std::optional<std::string> answer;
  if (!answers_.empty()) {
    answer = answers_.front();
    answers_.pop_front();
  }
  if (!answer.has_value()) {
    request.result = 0;
    return AFUNC_OK;
  }
  if (request.reqType == FREQ_DIRECTORY) {
    fill(request.path, request.bufLen, *answer);
  } else {
    const auto [directory, name] = splitPath(*answer);
    fill(request.path, request.bufLen, directory);
    fill(request.baseName, request.bufLen, name);
    fill(request.fullName, request.bufLen, *answer);
  }
  requests_.back().answered = true;
  request.result = 1;
  return AFUNC_OK;
}

LWFileActivateFunc *FileRequester::function() { return activate; }

}  // namespace lwsim
