#include "xml_text_decoding_posix.h"

#include <algorithm>
#include <array>
#include <regex>

#include "../text/code_page_932.h"
#include "../text/iconv_conversion_posix.h"
#include "../text/utf8_text.h"

namespace lwp::platform {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
// "<" in UTF-16 without a byte-order mark.
constexpr std::string_view kUtf16LeOpen = std::string_view("<\0", 2);
constexpr std::string_view kUtf16BeOpen = std::string_view("\0<", 2);

// A declaration is short; a longer prefix cannot hold one.
constexpr std::size_t kDeclarationWindow = 512;

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

// UTF-8 is taken as it is once it proves well-formed: iconv lets five-byte
// forms and code points beyond U+10FFFF through.
bool takeUtf8(std::string &&text, std::string &utf8, std::string &problem) {
  if (!isValidUtf8(text)) {
    problem = "The document cannot be read as UTF-8.";
    return false;
  }
  utf8 = std::move(text);
  return true;
}

bool convertToUtf8(std::string_view text, const char *from, std::string &utf8, std::string &problem) {
  std::optional<std::string> converted = convertWithIconv(text, from, "UTF-8");
  if (!converted) {
    problem = std::string("The document cannot be read as ") + from + ".";
    return false;
  }
  utf8 = std::move(*converted);
  return true;
}

bool decodeSingleByteFamily(std::string &&bytes, std::string &utf8, std::string &problem) {
  const std::string name = declaredEncoding(bytes);
  const std::string lowerName = lowerCase(name);
  if (name.empty() || lowerName == "utf-8") return takeUtf8(std::move(bytes), utf8, problem);
  // ASCII reads the same in code page 932 and UTF-8.
  if (namesShiftJis(name) && isAsciiText(bytes)) return takeUtf8(std::move(bytes), utf8, problem);
  if (namesShiftJis(name)) return convertToUtf8(bytes, "CP932", utf8, problem);
  if (namesWideEncoding(lowerName)) {
    problem = "The document declares " + name + " but is not written in it.";
    return false;
  }
  return convertToUtf8(bytes, name.c_str(), utf8, problem);
}

}  // namespace

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

bool decodeXmlText(std::string bytes, std::string &utf8, std::string &problem) {
  if (startsWith(bytes, kUtf8Mark)) return takeUtf8(std::move(bytes.erase(0, kUtf8Mark.size())), utf8, problem);
  if (startsWith(bytes, kUtf16LeMark))
    return convertToUtf8(std::string_view(bytes).substr(kUtf16LeMark.size()), "UTF-16LE", utf8, problem);
  if (startsWith(bytes, kUtf16BeMark))
    return convertToUtf8(std::string_view(bytes).substr(kUtf16BeMark.size()), "UTF-16BE", utf8, problem);
  if (startsWith(bytes, kUtf16LeOpen)) return convertToUtf8(bytes, "UTF-16LE", utf8, problem);
  if (startsWith(bytes, kUtf16BeOpen)) return convertToUtf8(bytes, "UTF-16BE", utf8, problem);
  return decodeSingleByteFamily(std::move(bytes), utf8, problem);
}

}  // namespace lwp::platform
