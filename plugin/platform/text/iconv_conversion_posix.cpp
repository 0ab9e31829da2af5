#include "iconv_conversion_posix.h"

#include <iconv.h>

#include <cerrno>

namespace lwp::platform {

namespace {

class IconvHandle {
 public:
  IconvHandle(const char *from, const char *to) : handle_(iconv_open(to, from)) {}
  ~IconvHandle() {
    if (isOpen()) iconv_close(handle_);
  }
  IconvHandle(const IconvHandle &) = delete;
  IconvHandle &operator=(const IconvHandle &) = delete;

  bool isOpen() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return handle_; }

 private:
  iconv_t handle_;
};

// One iconv call, repeated with a larger out while it runs out of room;
// false on an invalid or incomplete input sequence or an unconvertible
// character. A null in flushes the shift state.
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

std::optional<std::string> convertWithIconv(std::string_view text, const char *from, const char *to) {
  const IconvHandle handle(from, to);
  if (!handle.isOpen()) return std::nullopt;
  // Room for the common widening (two bytes to three); it grows when short.
  std::string out(text.size() + text.size() / 2 + 16, '\0');
  std::size_t used = 0;
  char *in = const_cast<char *>(text.data());  // iconv never writes through it
  std::size_t inLeft = text.size();
  if (!convertStep(handle.get(), &in, &inLeft, out, used) || !convertStep(handle.get(), nullptr, nullptr, out, used))
    return std::nullopt;
  out.resize(used);
  return out;
}

}  // namespace lwp::platform
