#include "xml_text_decoding_posix.h"

#include <algorithm>
#include <array>
#include <regex>

#include "../text/code_page_932.h"

namespace lwp::platform {

namespace {

constexpr const char *kCodePage932 = "CP932";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
// "<" in UTF-16 without a byte-order mark.
constexpr std::string_view kUtf16LeOpen = std::string_view("<\0", 2);
constexpr std::string_view kUtf16BeOpen = std::string_view("\0<", 2);

std::string lowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
  return text;
}

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// A declared encoding whose characters are not single bytes for ASCII
// contradicts a document whose declaration was read as single bytes.
bool namesWideEncoding(const std::string &lowerName) {
  return startsWith(lowerName, "utf-16") || startsWith(lowerName, "utf-32") || startsWith(lowerName, "ucs-2") ||
         startsWith(lowerName, "ucs-4") || lowerName == "unicode";
}

// How the document is written: the encoding to convert from (empty for
// UTF-8) and the bytes of the mark before its text.
struct SourceEncoding {
  std::string name;
  std::size_t markBytes = 0;
};

std::optional<SourceEncoding> sourceEncoding(std::string_view head, std::string &problem) {
  if (startsWith(head, kUtf8Mark)) return SourceEncoding{"", kUtf8Mark.size()};
  if (startsWith(head, kUtf16LeMark)) return SourceEncoding{"UTF-16LE", kUtf16LeMark.size()};
  if (startsWith(head, kUtf16BeMark)) return SourceEncoding{"UTF-16BE", kUtf16BeMark.size()};
  if (startsWith(head, kUtf16LeOpen)) return SourceEncoding{"UTF-16LE", 0};
  if (startsWith(head, kUtf16BeOpen)) return SourceEncoding{"UTF-16BE", 0};
  const std::string name = declaredEncoding(head);
  const std::string lowerName = lowerCase(name);
  if (name.empty() || lowerName == "utf-8") return SourceEncoding{};
  if (namesShiftJis(name)) return SourceEncoding{kCodePage932, 0};
  if (namesWideEncoding(lowerName)) {
    problem = "The document declares " + name + " but is not written in it.";
    return std::nullopt;
  }
  return SourceEncoding{name, 0};
}

}  // namespace

bool XmlTextDecoder::begin(std::string_view &piece, std::string &problem) {
  begun_ = true;
  const std::optional<SourceEncoding> source = sourceEncoding(piece, problem);
  if (!source) return false;
  piece.remove_prefix(source->markBytes);
  if (source->name.empty()) return true;
  source_ = source->name;
  iconv_ = std::make_unique<IconvStream>(source_.c_str(), "UTF-8");
  if (iconv_->isOpen()) return true;
  problem = "The document cannot be read as " + source_ + ".";
  return false;
}

std::optional<std::string_view> XmlTextDecoder::decode(std::string_view piece, bool last, std::string &problem) {
  if (!begun_) {
    head_.append(piece);
    if (head_.size() < kDeclarationWindow && !last) return std::string_view();
    piece = head_;
    if (!begin(piece, problem)) return std::nullopt;
  } else if (!head_.empty()) {
    std::string().swap(head_);
  }
  if (!iconv_) return piece;
  // ASCII reads the same in code page 932 and UTF-8.
  if (source_ == kCodePage932 && !iconv_->inCharacter() && isAsciiText(piece)) return piece;
  converted_.clear();
  if (iconv_->convert(piece, last, converted_)) return std::string_view(converted_);
  problem = "The document cannot be read as " + source_ + ".";
  return std::nullopt;
}

bool namesShiftJis(const std::string &name) {
  static constexpr std::array<std::string_view, 10> kNames = {"shift_jis",  "shift-jis",  "sjis",         "x-sjis",
                                                              "ms_kanji",   "csshiftjis", "cswindows31j", "windows-31j",
                                                              "x-ms-cp932", "cp932"};
  const std::string lowerName = lowerCase(name);
  return std::find(kNames.begin(), kNames.end(), lowerName) != kNames.end();
}

std::string declaredEncoding(std::string_view text) {
  static const std::regex kDeclaration(
      R"re(^<\?xml[ \t\r\n]+version[ \t\r\n]*=[ \t\r\n]*(?:"[^"]*"|'[^']*'))re"
      R"re([ \t\r\n]+encoding[ \t\r\n]*=[ \t\r\n]*(?:"([A-Za-z][A-Za-z0-9._-]*)"|'([A-Za-z][A-Za-z0-9._-]*)'))re");
  const std::string head(text.substr(0, kDeclarationWindow));
  std::smatch match;
  if (!std::regex_search(head, match, kDeclaration)) return {};
  return match[1].matched ? match[1].str() : match[2].str();
}

}  // namespace lwp::platform
