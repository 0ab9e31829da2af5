#include <expat.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "xml_event_walk.h"
#include "xml_reader.h"
#include "xml_text_decoding_posix.h"

namespace lwp::platform {

namespace {

// The file is read and parsed in pieces of this many bytes.
constexpr std::size_t kPieceBytes = 1 << 16;

const char *const kUnreadable = "The file cannot be read.";

// An element's start as expat reports it: attribute names and values
// alternate, ending in a null.
struct ExpatStart {
  const XML_Char *name;
  const XML_Char **attributes;
};

const ExpatStart &startOf(const void *node) { return *static_cast<const ExpatStart *>(node); }

struct FileCloser {
  void operator()(std::FILE *file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Only a regular file is read: opening never waits (a named pipe would block
// until a writer came), and what is not a file is refused before a read.
File openRegularFile(const std::string &path, struct stat &status) {
  const int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) return nullptr;
  std::FILE *file = fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) ? fdopen(descriptor, "rb") : nullptr;
  if (file == nullptr) close(descriptor);
  return File(file);
}

struct ParserFree {
  void operator()(XML_ParserStruct *parser) const { XML_ParserFree(parser); }
};
using Parser = std::unique_ptr<XML_ParserStruct, ParserFree>;

// Hands expat's events to the walk, stopping the parser where the walk
// ends it.
class ExpatEvents {
 public:
  ExpatEvents(XML_Parser parser, XmlEventWalk &walk) : parser_(parser), walk_(walk) {
    XML_SetUserData(parser, this);
    XML_SetElementHandler(parser, &ExpatEvents::onStart, &ExpatEvents::onEnd);
    XML_SetEntityDeclHandler(parser, &ExpatEvents::onEntityDeclaration);
  }

 private:
  static ExpatEvents &of(void *data) { return *static_cast<ExpatEvents *>(data); }

  static void onStart(void *data, const XML_Char *name, const XML_Char **attributes) {
    const ExpatStart start{name, attributes};
    if (!of(data).walk_.start(XmlElement(&start))) of(data).stop();
  }

  static void onEnd(void *data, const XML_Char *) {
    if (!of(data).walk_.end()) of(data).stop();
  }

  // An entity declared in the document could expand to anything; a clip
  // never declares one.
  static void onEntityDeclaration(void *data, const XML_Char *, int, const XML_Char *, int, const XML_Char *,
                                  const XML_Char *, const XML_Char *, const XML_Char *) {
    of(data).walk_.refuse("The document declares an entity.");
    of(data).stop();
  }

  void stop() { XML_StopParser(parser_, XML_FALSE); }

  XML_Parser parser_;
  XmlEventWalk &walk_;
};

std::string parserFailure(XML_Parser parser) {
  return std::string(XML_ErrorString(XML_GetErrorCode(parser))) + " at line " +
         std::to_string(XML_GetCurrentLineNumber(parser)) + ", column " +
         std::to_string(XML_GetCurrentColumnNumber(parser)) + ".";
}

// Feeds the file to the parser piece by piece, decoded to UTF-8.
bool parseFile(std::FILE *file, XML_Parser parser, const XmlEventWalk &walk, std::string &problem) {
  XmlTextDecoder decoder;
  std::string piece(kPieceBytes, '\0');
  for (bool last = false; !last;) {
    const std::size_t count = std::fread(piece.data(), 1, piece.size(), file);
    if (std::ferror(file) != 0) {
      problem = kUnreadable;
      return false;
    }
    last = count < piece.size();
    const std::optional<std::string_view> text =
        decoder.decode(std::string_view(piece).substr(0, count), last, problem);
    if (!text) return false;
    if (XML_Parse(parser, text->data(), static_cast<int>(text->size()), last ? XML_TRUE : XML_FALSE) != XML_STATUS_OK) {
      walk.rethrow();
      problem = walk.problem().empty() ? parserFailure(parser) : walk.problem();
      return false;
    }
  }
  return true;
}

}  // namespace

std::string XmlElement::tagName() const { return startOf(node_).name; }

std::optional<std::string> XmlElement::attribute(const char *name, std::size_t longest) const {
  for (const XML_Char **pair = startOf(node_).attributes; *pair != nullptr; pair += 2) {
    if (std::strcmp(pair[0], name) != 0) continue;
    if (std::strlen(pair[1]) > longest) return std::nullopt;
    return std::string(pair[1]);
  }
  return std::nullopt;
}

void XmlElement::eachAttribute(AttributeSink sink, void *context) const {
  for (const XML_Char **pair = startOf(node_).attributes; *pair != nullptr; pair += 2) sink(context, pair[0], pair[1]);
}

bool readXmlFile(const std::string &path, XmlVisitor &visitor, std::string &problem) {
  problem.clear();
  struct stat status {};
  const File file = openRegularFile(path, status);
  if (!file) {
    problem = kUnreadable;
    return false;
  }
  // The document is UTF-8 by the time expat sees it, whatever it declares.
  const Parser parser(XML_ParserCreate("UTF-8"));
  if (!parser) throw std::bad_alloc();
  XML_SetParamEntityParsing(parser.get(), XML_PARAM_ENTITY_PARSING_NEVER);
  XmlEventWalk walk(visitor);
  ExpatEvents events(parser.get(), walk);
  visitor.begin(static_cast<std::uintmax_t>(status.st_size));
  return parseFile(file.get(), parser.get(), walk, problem);
}

}  // namespace lwp::platform
