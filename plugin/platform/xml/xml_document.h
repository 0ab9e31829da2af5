// A read-only XML document object model: the few operations the clip reader
// needs of the platform's parser. Loading never resolves external entities,
// reads a document type definition or touches the network. Texts are UTF-8.
// On Windows the parser is MSXML 6 through COM (COM started on the calling
// thread first, see com_startup.h): a COM call that fails throws
// std::runtime_error telling why, for a message box.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lwp::platform {

// An element of a loaded document, or none. It stays usable while its
// document lives; copies share the parser's node.
class XmlElement {
 public:
  XmlElement() = default;

  explicit operator bool() const { return node_ != nullptr; }

  std::string tagName() const;
  // Every element below this one named exactly tag, at any depth, in
  // document order.
  std::vector<XmlElement> descendants(const char *tag) const;
  // The first of descendants(tag); none when there is none.
  XmlElement firstDescendant(const char *tag) const;
  // The attribute's text; nothing when the element has no such attribute.
  std::optional<std::string> attribute(const char *name) const;

 private:
  friend class XmlDocument;
  explicit XmlElement(std::shared_ptr<void> node) : node_(std::move(node)) {}

  std::shared_ptr<void> node_;  // the backend's node, released with the last copy
};

class XmlDocument {
 public:
  XmlDocument();
  ~XmlDocument();
  XmlDocument(const XmlDocument &) = delete;
  XmlDocument &operator=(const XmlDocument &) = delete;

  // Reads and parses the file at path (UTF-8, as every path) in the encoding
  // it declares; true only when it was read, decoded and is well-formed.
  bool load(const std::string &path);
  // The root element of the loaded document; none before a successful load.
  XmlElement root() const;
  // Why the last load failed, as the parser puts it; empty after a success.
  const std::string &errorDescription() const;

 private:
  struct Parsed;
  std::unique_ptr<Parsed> parsed_;
  std::string error_;
};

}  // namespace lwp::platform
