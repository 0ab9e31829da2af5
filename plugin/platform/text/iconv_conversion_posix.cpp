#include "iconv_conversion_posix.h"

#include <iconv.h>

#include <cerrno>

namespace lwp::platform {

namespace {

const iconv_t kClosed = reinterpret_cast<iconv_t>(-1);

// One iconv call, repeated with a larger out while it runs out of room;
// errno tells why it stopped when it returns false. A null in flushes the
// shift state.
bool convertStep(iconv_t handle, char **in, std::size_t *inLeft, std::string &out, std::size_t &used) {
  for (;;) {
    char *next = out.data() + used;
    std::size_t outLeft = out.size() - used;
    const std::size_t result = iconv(handle, in, inLeft, &next, &outLeft);
    used = out.size() - outLeft;
    if (result != static_cast<std::size_t>(-1)) return true;
    if (errno != E2BIG) return false;
    out.resize(out.size() * 2);
  }
}

}  // namespace

IconvStream::IconvStream(const char *from, const char *to) : handle_(iconv_open(to, from)) {}

IconvStream::~IconvStream() {
  if (isOpen()) iconv_close(static_cast<iconv_t>(handle_));
}

bool IconvStream::isOpen() const { return static_cast<iconv_t>(handle_) != kClosed; }

bool IconvStream::convert(std::string_view piece, bool last, std::string &out) {
  if (!isOpen()) return false;
  const iconv_t handle = static_cast<iconv_t>(handle_);
  std::string joined;
  if (!cut_.empty()) {
    joined = cut_.append(piece);
    cut_.clear();
    piece = joined;
  }
  std::size_t used = out.size();
  // Room for the common widening (two bytes to three); it grows when short.
  out.resize(used + piece.size() + piece.size() / 2 + 16);
  char *in = const_cast<char *>(piece.data());  // iconv never writes through it
  std::size_t inLeft = piece.size();
  bool converted = convertStep(handle, &in, &inLeft, out, used);
  if (!converted && errno == EINVAL && !last) {
    cut_.assign(in, inLeft);
    converted = true;
  }
  if (converted && last) converted = convertStep(handle, nullptr, nullptr, out, used);
  out.resize(used);
  return converted;
}

std::optional<std::string> convertWithIconv(std::string_view text, const char *from, const char *to) {
  IconvStream stream(from, to);
  std::string out;
  if (!stream.convert(text, true, out)) return std::nullopt;
  return out;
}

}  // namespace lwp::platform
