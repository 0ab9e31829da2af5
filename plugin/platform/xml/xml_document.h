// A read-only XML document object model: the few operations the clip reader
// needs of the platform's parser. Loading never resolves external entities,
// reads a document type definition or touches the network. Texts are UTF-8.
// On Windows the parser is MSXML 6 through COM (COM started on the calling
// thread first, see com_startup.h): a COM call that fails throws
// std::runtime_error telling why, for a message box.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace lwp::platform {

// An element of a loaded document, or none. It stays usable while its
// document lives; copies share the parser's node.
class XmlElement {
 public:
  XmlElement() = default;

  explicit operator bool() const { return node_ != nullptr; }

  std::string tagName() const;
  // How many child elements are named exactly tag.
  std::size_t childCount(const char *tag) const;
  // The attribute's text; nothing when the element has no such attribute.
  std::optional<std::string> attribute(const char *name) const;
  // Calls take(name, value) for each attribute in document order; the texts
  // live until take returns, and a NUL follows each value.
  template <class Take>
  void forEachAttribute(Take take) const {
    eachAttribute([](void *context, std::string_view name,
                     std::string_view value) { (*static_cast<Take *>(context))(name, value); },
                  &take);
  }

 private:
  friend class XmlDocument;
  explicit XmlElement(std::shared_ptr<void> node) : node_(std::move(node)) {}
  using AttributeSink = void (*)(void *context, std::string_view name, std::string_view value);
  void eachAttribute(AttributeSink sink, void *context) const;

  std::shared_ptr<void> node_;  // the backend's node, released with the last copy
};

// The deepest nesting of elements a document may have (the root is level
// 1); a deeper document does not load.
inline constexpr int kMaxElementDepth = 256;

// What a walk does after an element's start.
enum class XmlStep { Descend, Skip, Stop };

// Told of the elements of a document in document order, each once.
class XmlVisitor {
 public:
  // element starts; Skip leaves out its children (and its leave), Stop ends
  // the walk.
  virtual XmlStep enter(const XmlElement &element) = 0;
  // An element entered with Descend ends, after its children.
  virtual void leave(const XmlElement &element) = 0;

 protected:
  ~XmlVisitor() = default;
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
  // Walks the loaded document's elements from the root, without recursion:
  // work grows with the document, never faster.
  void walk(XmlVisitor &visitor) const;
  // Why the last load failed, as the parser puts it; empty after a success.
  const std::string &errorDescription() const;

 private:
  struct Parsed;
  std::unique_ptr<Parsed> parsed_;
  std::string error_;
};

}  // namespace lwp::platform
