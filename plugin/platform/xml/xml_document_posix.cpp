#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <pugixml.hpp>

#include "xml_document.h"
#include "xml_text_decoding_posix.h"

namespace lwp::platform {

struct XmlDocument::Parsed {
  std::string text;  // the decoded document, parsed in place
  pugi::xml_document document;
};

namespace {

pugi::xml_node nodeOf(const std::shared_ptr<void> &handle) {
  return pugi::xml_node(static_cast<pugi::xml_node_struct *>(handle.get()));
}

// pugixml nodes belong to their document, so a handle owns nothing.
std::shared_ptr<void> handleOf(pugi::xml_node node) {
  return std::shared_ptr<void>(std::shared_ptr<void>(), node.internal_object());
}

struct FileCloser {
  void operator()(std::FILE *file) const { std::fclose(file); }
};

// Only a regular file is read: opening never waits (a named pipe would block
// until a writer came), and what is not a file is refused before a read.
std::FILE *openRegularFile(const std::string &path, struct stat &status) {
  const int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) return nullptr;
  std::FILE *file = fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) ? fdopen(descriptor, "rb") : nullptr;
  if (file == nullptr) close(descriptor);
  return file;
}

bool readWholeFile(const std::string &path, std::string &bytes) {
  struct stat status {};
  const std::unique_ptr<std::FILE, FileCloser> file(openRegularFile(path, status));
  if (!file) return false;
  if (status.st_size > 0) bytes.reserve(static_cast<std::size_t>(status.st_size));
  char buffer[65536];
  std::size_t count = 0;
  while ((count = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) bytes.append(buffer, count);
  return std::ferror(file.get()) == 0;
}

// A well-formed document has one root element and nothing but markup and
// white space around it.
bool hasSingleRoot(const pugi::xml_document &document) {
  int elements = 0;
  for (pugi::xml_node node = document.first_child(); node; node = node.next_sibling()) {
    if (node.type() == pugi::node_element) ++elements;
    if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) return false;
  }
  return elements == 1;
}

// Finds whether an element lies deeper than a limit, the root being level 1.
class DepthProbe final : public XmlVisitor {
 public:
  explicit DepthProbe(int limit) : limit_(limit) {}
  XmlStep enter(const XmlElement &) override { return ++depth_ > limit_ ? XmlStep::Stop : XmlStep::Descend; }
  void leave(const XmlElement &) override { --depth_; }
  bool tooDeep() const { return depth_ > limit_; }

 private:
  int limit_;
  int depth_ = 0;
};

}  // namespace

std::string XmlElement::tagName() const { return node_ ? nodeOf(node_).name() : ""; }

std::size_t XmlElement::childCount(const char *tag) const {
  std::size_t count = 0;
  for (pugi::xml_node child = nodeOf(node_).first_child(); child; child = child.next_sibling())
    if (child.type() == pugi::node_element && std::strcmp(child.name(), tag) == 0) ++count;
  return count;
}

std::optional<std::string> XmlElement::attribute(const char *name) const {
  const pugi::xml_attribute found = nodeOf(node_).attribute(name);
  if (!found) return std::nullopt;
  return std::string(found.value());
}

void XmlElement::eachAttribute(AttributeSink sink, void *context) const {
  for (const pugi::xml_attribute attribute : nodeOf(node_).attributes())
    sink(context, attribute.name(), attribute.value());
}

XmlDocument::XmlDocument() = default;
XmlDocument::~XmlDocument() = default;

bool XmlDocument::load(const std::string &path) {
  parsed_.reset();
  error_.clear();
  auto parsed = std::make_unique<Parsed>();
  {
    std::string bytes;  // dropped once decoded: documents may be large
    if (!readWholeFile(path, bytes)) {
      error_ = "The file cannot be read.";
      return false;
    }
    if (!decodeXmlText(std::move(bytes), parsed->text, error_)) return false;
  }
  // The default options expand only character and predefined entities and
  // skip a document type declaration without reading it; as a fragment,
  // text beside the root is kept, so that hasSingleRoot sees it.
  const pugi::xml_parse_result result = parsed->document.load_buffer_inplace(
      parsed->text.data(), parsed->text.size(), pugi::parse_default | pugi::parse_fragment, pugi::encoding_utf8);
  if (!result) {
    error_ = std::string(result.description()) + " at offset " + std::to_string(result.offset) + ".";
    return false;
  }
  if (!hasSingleRoot(parsed->document)) {
    error_ = "The document has no single root element.";
    return false;
  }
  parsed_ = std::move(parsed);
  DepthProbe probe(kMaxElementDepth);
  walk(probe);
  if (probe.tooDeep()) {
    parsed_.reset();
    error_ = "The document nests elements deeper than " + std::to_string(kMaxElementDepth) + " levels.";
    return false;
  }
  return true;
}

void XmlDocument::walk(XmlVisitor &visitor) const {
  if (!parsed_) return;
  const pugi::xml_node root = parsed_->document.document_element();
  pugi::xml_node node = root;
  while (node) {
    const XmlElement element(handleOf(node));
    const XmlStep step = visitor.enter(element);
    if (step == XmlStep::Stop) return;
    pugi::xml_node child = step == XmlStep::Descend ? node.first_child() : pugi::xml_node();
    while (child && child.type() != pugi::node_element) child = child.next_sibling();
    if (child) {
      node = child;
      continue;
    }
    if (step == XmlStep::Descend) visitor.leave(element);
    // Up to the first ancestor with a later element, leaving each on the way.
    for (;;) {
      if (node == root) return;
      pugi::xml_node sibling = node.next_sibling();
      while (sibling && sibling.type() != pugi::node_element) sibling = sibling.next_sibling();
      if (sibling) {
        node = sibling;
        break;
      }
      node = node.parent();
      visitor.leave(XmlElement(handleOf(node)));
    }
  }
}

XmlElement XmlDocument::root() const {
  if (!parsed_) return {};
  return XmlElement(handleOf(parsed_->document.document_element()));
}

const std::string &XmlDocument::errorDescription() const { return error_; }

}  // namespace lwp::platform
