// Reads an XML file element by element for the clip reader, through the
// platform's parser, which streams the file: memory does not grow with the
// document. Reading never resolves external entities, reads a document type
// definition or touches the network, and a document that declares an entity
// is refused. Texts are UTF-8. On POSIX the parser is expat. On Windows it is
// MSXML 6's SAX reader through COM (COM started on the calling thread first,
// see com_startup.h): a COM call that fails throws std::runtime_error telling
// why, for a message box.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lwp::platform {

// The start of an element as the parser reports it; usable only during the
// call it is passed to.
class XmlElement {
 public:
  // Made by the parser's backend from its own node.
  explicit XmlElement(const void *node) : node_(node) {}

  std::string tagName() const;
  // The attribute's text; nothing when the element has no such attribute or
  // its text is longer than longest bytes, which is then never copied.
  std::optional<std::string> attribute(const char *name, std::size_t longest) const;
  // Calls take(name, value) for each attribute in document order; the texts
  // live until take returns, and a NUL follows each value.
  template <class Take>
  void forEachAttribute(Take take) const {
    eachAttribute([](void *context, std::string_view name,
                     std::string_view value) { (*static_cast<Take *>(context))(name, value); },
                  &take);
  }

 private:
  using AttributeSink = void (*)(void *context, std::string_view name, std::string_view value);
  void eachAttribute(AttributeSink sink, void *context) const;

  const void *node_;
};

// The deepest nesting of elements a document may have (the root is level
// 1); a deeper document is refused.
inline constexpr int kMaxElementDepth = 256;

// What a walk does after an element's start.
enum class XmlStep { Descend, Skip, Stop };

// Told of the elements of a document in document order, each once.
class XmlVisitor {
 public:
  // Before the first element: the size of the file read.
  virtual void begin(std::uintmax_t fileBytes) = 0;
  // element starts; Skip leaves out its children (and its leave), Stop ends
  // the visit (the rest of the document is still checked).
  virtual XmlStep enter(const XmlElement &element) = 0;
  // An element entered with Descend ends, after its children.
  virtual void leave() = 0;

 protected:
  ~XmlVisitor() = default;
};

// Reads the file at path (UTF-8, as every path) in the encoding it declares
// and tells visitor of its elements; true only when it was read, decoded
// and is well-formed throughout. The visitor may have been told of elements
// before a fault further on: what it made of them is then to be dropped.
// problem tells why a read failed, as the parser puts it. What the visitor
// throws ends the read and reaches the caller.
bool readXmlFile(const std::string &path, XmlVisitor &visitor, std::string &problem);

}  // namespace lwp::platform
