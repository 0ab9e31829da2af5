// Turns the bytes of an XML document into UTF-8 for the POSIX parser, piece
// by piece, as the platform's own parser would read them: a byte-order mark
// or the pattern of a leading "<" picks UTF-8 or UTF-16, otherwise the
// declared encoding is used, UTF-8 when none is declared.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "../text/iconv_conversion_posix.h"

namespace lwp::platform {

// A declaration fits in the document's first bytes of this many.
inline constexpr std::size_t kDeclarationWindow = 512;

class XmlTextDecoder {
 public:
  // The UTF-8 form of the document's next piece, without a byte-order mark;
  // nothing, with the reason in problem, when it cannot be decoded. Until
  // the first kDeclarationWindow bytes have come, pieces are kept back and
  // give an empty text. UTF-8, and ASCII under a code page 932 declaration
  // (the usual clip file), come back as they are, for the parser to check.
  // The text lives until the next call.
  std::optional<std::string_view> decode(std::string_view piece, bool last, std::string &problem);

 private:
  bool begin(std::string_view &piece, std::string &problem);

  bool begun_ = false;
  std::string head_;                    // the pieces kept back
  std::string source_;                  // the encoding converted from; empty for UTF-8
  std::unique_ptr<IconvStream> iconv_;  // none for UTF-8
  std::string converted_;
};

// The encoding name in an XML declaration at the start of text, which must
// be in an encoding where ASCII characters are single bytes; empty when
// there is no declaration or it names no encoding.
std::string declaredEncoding(std::string_view text);

// Whether name is one of the names of Shift_JIS, read as code page 932
// (letter case ignored).
bool namesShiftJis(const std::string &name);

}  // namespace lwp::platform
