// Conversions between two encodings through iconv, for the POSIX backends.
// A conversion never substitutes or drops a character.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lwp::platform {

// Converts a text that arrives in pieces: a character cut at the end of one
// piece is completed by the next.
class IconvStream {
 public:
  IconvStream(const char *from, const char *to);
  ~IconvStream();
  IconvStream(const IconvStream &) = delete;
  IconvStream &operator=(const IconvStream &) = delete;

  // False when either encoding name is unknown.
  bool isOpen() const;
  // Appends the converted form of piece to out; false when piece holds a
  // sequence not valid in from, a character has no form in to, or the last
  // piece ends inside a character.
  bool convert(std::string_view piece, bool last, std::string &out);
  // Whether the last piece ended inside a character.
  bool inCharacter() const { return !cut_.empty(); }

 private:
  void *handle_;
  std::string cut_;  // the start of a character the previous piece ended in
};

// text, in the encoding named from, as bytes of the encoding named to;
// nothing when either name is unknown, text is not valid in from, or a
// character has no form in to.
std::optional<std::string> convertWithIconv(std::string_view text, const char *from, const char *to);

}  // namespace lwp::platform
