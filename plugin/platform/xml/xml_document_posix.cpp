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

// The next node after node in document order within top's subtree.
pugi::xml_node nextInSubtree(pugi::xml_node node, pugi::xml_node top) {
  if (pugi::xml_node child = node.first_child()) return child;
  for (; node && node != top; node = node.parent())
    if (pugi::xml_node sibling = node.next_sibling()) return sibling;
  return {};
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

}  // namespace

std::string XmlElement::tagName() const { return node_ ? nodeOf(node_).name() : ""; }

std::vector<XmlElement> XmlElement::descendants(const char *tag) const {
  std::vector<XmlElement> found;
  const pugi::xml_node top = nodeOf(node_);
  if (!top) return found;
  for (pugi::xml_node node = top.first_child(); node; node = nextInSubtree(node, top))
    if (node.type() == pugi::node_element && std::strcmp(node.name(), tag) == 0)
      found.push_back(XmlElement(handleOf(node)));
  return found;
}

XmlElement XmlElement::firstDescendant(const char *tag) const {
  const pugi::xml_node top = nodeOf(node_);
  if (!top) return {};
  for (pugi::xml_node node = top.first_child(); node; node = nextInSubtree(node, top))
    if (node.type() == pugi::node_element && std::strcmp(node.name(), tag) == 0) return XmlElement(handleOf(node));
  return {};
}

std::optional<std::string> XmlElement::attribute(const char *name) const {
  const pugi::xml_attribute found = nodeOf(node_).attribute(name);
  if (!found) return std::nullopt;
  return std::string(found.value());
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
  return true;
}

XmlElement XmlDocument::root() const {
  if (!parsed_) return {};
  return XmlElement(handleOf(parsed_->document.document_element()));
}

const std::string &XmlDocument::errorDescription() const { return error_; }

}  // namespace lwp::platform
