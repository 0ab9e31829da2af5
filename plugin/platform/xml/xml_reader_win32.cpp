#include <windows.h>
// windows.h first: the COM headers build on it.
#include <msxml2.h>
#include <oleauto.h>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

#include "../text/wide_text_win32.h"
#include "xml_reader.h"

// The MSXML 6.0 document object through COM. Every COM call that reports a
// failure throws std::runtime_error with the failing object's description of
// the error (UTF-8, for the message box); a file that cannot be
// read or is not well-formed is a failed load, not an error.
namespace lwp::platform {

namespace {

// The MSXML 6.0 DOMDocument60 class; msxml2.h predates it.
constexpr CLSID kDomDocument60 = {0x88D96A05, 0xF192, 0x11D4, {0xA6, 0x5F, 0x00, 0x40, 0x96, 0x32, 0x51, 0xE5}};
// IXMLDOMDocument2, which the MinGW-w64 import libraries leave out.
constexpr IID kDomDocument2 = {0x2933BF95, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

struct ComRelease {
  void operator()(IUnknown *object) const { object->Release(); }
};
template <class Interface>
using ComRef = std::unique_ptr<Interface, ComRelease>;

struct BstrFree {
  void operator()(BSTR text) const { SysFreeString(text); }
};
using Bstr = std::unique_ptr<OLECHAR, BstrFree>;

// A VARIANT cleared on every path.
class Variant {
 public:
  Variant() { VariantInit(&value_); }
  ~Variant() { VariantClear(&value_); }
  Variant(const Variant &) = delete;
  Variant &operator=(const Variant &) = delete;
  VARIANT *get() { return &value_; }
  const VARIANT &operator*() const { return value_; }

 private:
  VARIANT value_;
};

// An error description for the message box: an unpaired surrogate must not
// cost the whole text.
std::string displayText(const std::wstring &text) { return narrowForDisplay(text, CP_UTF8); }

// The error information the failing object left on this thread, or the
// system's text for the code when it left none.
std::string comErrorDescription(HRESULT code) {
  IErrorInfo *info = nullptr;
  if (GetErrorInfo(0, &info) == S_OK && info != nullptr) {
    const ComRef<IErrorInfo> held(info);
    BSTR description = nullptr;
    if (SUCCEEDED(info->GetDescription(&description)) && description != nullptr) {
      const Bstr text(description);
      if (SysStringLen(description) > 0) return displayText(std::wstring(description, SysStringLen(description)));
    }
  }
  wchar_t *system = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t *>(&system), 0, nullptr);
  std::wstring text = length > 0 ? std::wstring(system, length) : std::wstring();
  LocalFree(system);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
  if (!text.empty()) return displayText(text);
  char hex[32];
  std::snprintf(hex, sizeof hex, "COM error 0x%08lX", static_cast<unsigned long>(code));
  return hex;
}

void check(HRESULT code) {
  if (FAILED(code)) throw std::runtime_error(comErrorDescription(code));
}

// A required object the call did not give.
template <class Interface>
Interface *required(Interface *object) {
  if (object == nullptr) throw std::runtime_error(comErrorDescription(E_POINTER));
  return object;
}

// UTF-8 text as a BSTR; text that is not well-formed gives an empty one.
Bstr bstrFrom(const std::string &text) {
  const std::wstring wide = wideFromCodePage(text, CP_UTF8).value_or(std::wstring());
  BSTR value = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  if (value == nullptr) throw std::bad_alloc();
  return Bstr(value);
}

std::string utf8From(BSTR text) {
  if (text == nullptr) return {};
  return codePageFromWide(std::wstring_view(text, SysStringLen(text)), CP_UTF8).value_or(std::string());
}

IXMLDOMElement *elementOf(const void *node) { return static_cast<IXMLDOMElement *>(const_cast<void *>(node)); }

// The parser refuses a document nested deeper than kMaxElementDepth; a parser
// without the property leaves it to the walk.
void limitDepth(IXMLDOMDocument *document) {
  IXMLDOMDocument2 *document2 = nullptr;
  if (FAILED(document->QueryInterface(kDomDocument2, reinterpret_cast<void **>(&document2))) || document2 == nullptr)
    return;
  const ComRef<IXMLDOMDocument2> held(document2);
  const Bstr name = bstrFrom("MaxElementDepth");
  Variant depth;
  depth.get()->vt = VT_I4;
  depth.get()->lVal = kMaxElementDepth;
  document2->setProperty(name.get(), *depth);
}

// The first element among node and its later siblings; takes over the
// reference to node.
ComRef<IXMLDOMNode> elementFrom(IXMLDOMNode *node) {
  ComRef<IXMLDOMNode> current(node);
  while (current) {
    DOMNodeType type = NODE_INVALID;
    check(current->get_nodeType(&type));
    if (type == NODE_ELEMENT) break;
    IXMLDOMNode *next = nullptr;
    check(current->get_nextSibling(&next));
    current.reset(next);
  }
  return current;
}

ComRef<IXMLDOMNode> firstChildElement(IXMLDOMNode *node) {
  IXMLDOMNode *child = nullptr;
  check(node->get_firstChild(&child));
  return elementFrom(child);
}

ComRef<IXMLDOMNode> nextSiblingElement(IXMLDOMNode *node) {
  IXMLDOMNode *sibling = nullptr;
  check(node->get_nextSibling(&sibling));
  return elementFrom(sibling);
}

ComRef<IXMLDOMNode> parentOf(IXMLDOMNode *node) {
  IXMLDOMNode *parent = nullptr;
  check(node->get_parentNode(&parent));
  return ComRef<IXMLDOMNode>(required(parent));
}

// The element view of node.
ComRef<IXMLDOMElement> elementView(IXMLDOMNode *node) {
  IXMLDOMElement *element = nullptr;
  check(node->QueryInterface(IID_IXMLDOMElement, reinterpret_cast<void **>(&element)));
  return ComRef<IXMLDOMElement>(required(element));
}

ComRef<IXMLDOMDocument> createDocument() {
  IUnknown *unknown = nullptr;
  check(CoCreateInstance(kDomDocument60, nullptr, CLSCTX_ALL, IID_IUnknown, reinterpret_cast<void **>(&unknown)));
  const ComRef<IUnknown> heldUnknown(required(unknown));
  check(OleRun(unknown));
  IXMLDOMDocument *document = nullptr;
  check(unknown->QueryInterface(IID_IXMLDOMDocument, reinterpret_cast<void **>(&document)));
  ComRef<IXMLDOMDocument> held(required(document));
  // Synchronous, without validation, never reading external entities.
  check(document->put_async(VARIANT_FALSE));
  check(document->put_validateOnParse(VARIANT_FALSE));
  check(document->put_resolveExternals(VARIANT_FALSE));
  limitDepth(document);
  return held;
}

// Why the document did not load, as the parser puts it.
std::string parseFailure(IXMLDOMDocument *document) {
  IXMLDOMParseError *error = nullptr;
  if (FAILED(document->get_parseError(&error)) || error == nullptr) return "The file cannot be read.";
  const ComRef<IXMLDOMParseError> held(error);
  BSTR reason = nullptr;
  if (FAILED(error->get_reason(&reason)) || reason == nullptr) return "The file cannot be read.";
  const Bstr text(reason);
  return utf8From(reason);
}

// Only a file is handed to the parser: a folder or a device is refused
// before anything is opened. Its size, when it is one.
std::optional<std::uintmax_t> fileSize(const std::string &path) {
  const std::optional<std::wstring> name = wideFromCodePage(path, CP_UTF8);
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!name || !GetFileAttributesExW(name->c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  if ((data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) return std::nullopt;
  return (static_cast<std::uintmax_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Loads the whole document; nothing, with the reason in problem, when it
// cannot be read or is not well-formed.
ComRef<IXMLDOMDocument> loadDocument(const std::string &path, std::string &problem) {
  ComRef<IXMLDOMDocument> document = createDocument();
  Bstr name = bstrFrom(path);
  Variant fileName;
  fileName.get()->vt = VT_BSTR;
  fileName.get()->bstrVal = name.release();
  VARIANT_BOOL loaded = VARIANT_FALSE;
  check(document->load(*fileName, &loaded));
  if (loaded == VARIANT_TRUE) return document;
  problem = parseFailure(document.get());
  return nullptr;
}

// Tells visitor of the loaded document's elements from the root, without
// recursion.
void walk(IXMLDOMDocument *document, XmlVisitor &visitor) {
  IXMLDOMElement *rootElement = nullptr;
  check(document->get_documentElement(&rootElement));
  const ComRef<IXMLDOMElement> heldRoot(required(rootElement));
  IXMLDOMNode *rootNode = nullptr;
  check(rootElement->QueryInterface(IID_IXMLDOMNode, reinterpret_cast<void **>(&rootNode)));
  ComRef<IXMLDOMNode> node(required(rootNode));
  int depth = 1;  // of node
  while (node) {
    if (depth > kMaxElementDepth)
      throw std::runtime_error("The document nests elements deeper than " + std::to_string(kMaxElementDepth) +
                               " levels.");
    const XmlStep step = visitor.enter(XmlElement(elementView(node.get()).get()));
    if (step == XmlStep::Stop) return;
    if (step == XmlStep::Descend) {
      if (ComRef<IXMLDOMNode> child = firstChildElement(node.get())) {
        node = std::move(child);
        ++depth;
        continue;
      }
      visitor.leave();
    }
    // Up to the first ancestor with a later element, leaving each on the way.
    for (;;) {
      if (depth == 1) return;
      if (ComRef<IXMLDOMNode> sibling = nextSiblingElement(node.get())) {
        node = std::move(sibling);
        break;
      }
      node = parentOf(node.get());
      --depth;
      visitor.leave();
    }
  }
}

}  // namespace

std::string XmlElement::tagName() const {
  BSTR name = nullptr;
  check(elementOf(node_)->get_nodeName(&name));
  const Bstr held(name);
  return utf8From(name);
}

std::optional<std::string> XmlElement::attribute(const char *name) const {
  const Bstr attributeName = bstrFrom(name);
  Variant value;
  check(elementOf(node_)->getAttribute(attributeName.get(), value.get()));
  if ((*value).vt != VT_BSTR) return std::nullopt;
  return utf8From((*value).bstrVal);
}

void XmlElement::eachAttribute(AttributeSink sink, void *context) const {
  IXMLDOMNamedNodeMap *map = nullptr;
  check(elementOf(node_)->get_attributes(&map));
  const ComRef<IXMLDOMNamedNodeMap> attributes(required(map));
  long length = 0;
  check(attributes->get_length(&length));
  for (long index = 0; index < length; ++index) {
    IXMLDOMNode *node = nullptr;
    check(attributes->get_item(index, &node));
    const ComRef<IXMLDOMNode> attribute(required(node));
    BSTR name = nullptr;
    check(attribute->get_nodeName(&name));
    const Bstr heldName(name);
    Variant value;
    check(attribute->get_nodeValue(value.get()));
    const std::string nameText = utf8From(name);
    const std::string valueText = (*value).vt == VT_BSTR ? utf8From((*value).bstrVal) : std::string();
    sink(context, nameText, valueText);
  }
}

bool readXmlFile(const std::string &path, XmlVisitor &visitor, std::string &problem) {
  problem.clear();
  const std::optional<std::uintmax_t> size = fileSize(path);
  if (!size) {
    problem = "The file cannot be read.";
    return false;
  }
  const ComRef<IXMLDOMDocument> document = loadDocument(path, problem);
  if (!document) return false;
  visitor.begin(*size);
  walk(document.get(), visitor);
  return true;
}

}  // namespace lwp::platform
