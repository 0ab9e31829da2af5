#include <windows.h>
// windows.h first: the COM headers build on it.
#include <msxml2.h>
#include <oleauto.h>
#include <shlwapi.h>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

#include "../text/wide_text_win32.h"
#include "xml_event_walk.h"
#include "xml_reader.h"

// The MSXML 6.0 SAX reader through COM, reading the file as a stream. Every
// COM call that reports a failure throws std::runtime_error with the failing
// object's description of the error (UTF-8, for the message box); a file
// that cannot be read or is not well-formed is a failed read, not an error.
namespace lwp::platform {

namespace {

// MSXML 6.0's SAX reader class and the interfaces it speaks, which the
// MinGW-w64 import libraries leave out.
constexpr CLSID kSaxXmlReader60 = {0x88D96A0C, 0xF192, 0x11D4, {0xA6, 0x5F, 0x00, 0x40, 0x96, 0x32, 0x51, 0xE5}};
constexpr IID kSaxXmlReader = {0xA4F96ED0, 0xF829, 0x476E, {0x81, 0xC0, 0xCD, 0xC7, 0xBD, 0x2A, 0x08, 0x02}};
constexpr IID kSaxContentHandler = {0x1545CDFA, 0x9E4E, 0x4497, {0xA8, 0xA4, 0x2B, 0xF7, 0xD0, 0x11, 0x2C, 0x44}};
constexpr IID kSaxDeclHandler = {0x862629AC, 0x771A, 0x47B2, {0x83, 0x37, 0x4E, 0x68, 0x43, 0xC1, 0xBE, 0x90}};

const char *const kUnreadable = "The file cannot be read.";

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

std::string utf8From(const wchar_t *text, int length) {
  if (text == nullptr || length <= 0) return {};
  return codePageFromWide(std::wstring_view(text, static_cast<std::size_t>(length)), CP_UTF8).value_or(std::string());
}

// An element's start as the SAX reader reports it.
struct SaxStart {
  const wchar_t *name;
  int nameLength;
  ISAXAttributes *attributes;
};

const SaxStart &startOf(const void *node) { return *static_cast<const SaxStart *>(node); }

// Hands the SAX reader's events to the walk, failing the parse where the
// walk ends it. It lives on the stack, so its reference count is not kept.
// COM objects are never deleted through an interface, which has no virtual
// destructor.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class SaxEvents final : public ISAXContentHandler, public ISAXDeclHandler {
 public:
  explicit SaxEvents(XmlEventWalk &walk) : walk_(walk) {}

  HRESULT WINAPI QueryInterface(REFIID iid, void **object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, kSaxContentHandler))
      *object = static_cast<ISAXContentHandler *>(this);
    else if (IsEqualIID(iid, kSaxDeclHandler))
      *object = static_cast<ISAXDeclHandler *>(this);
    return *object != nullptr ? S_OK : E_NOINTERFACE;
  }
  ULONG WINAPI AddRef() override { return 2; }
  ULONG WINAPI Release() override { return 1; }

  HRESULT WINAPI startElement(const wchar_t *, int, const wchar_t *, int, const wchar_t *name, int nameLength,
                              ISAXAttributes *attributes) override {
    const SaxStart start{name, nameLength, attributes};
    return walk_.start(XmlElement(&start)) ? S_OK : E_FAIL;
  }
  HRESULT WINAPI endElement(const wchar_t *, int, const wchar_t *, int, const wchar_t *, int) override {
    return walk_.end() ? S_OK : E_FAIL;
  }
  // An entity declared in the document could expand to anything; a clip
  // never declares one.
  HRESULT WINAPI internalEntityDecl(const wchar_t *, int, const wchar_t *, int) override {
    return refuse("The document declares an entity.");
  }
  HRESULT WINAPI externalEntityDecl(const wchar_t *, int, const wchar_t *, int, const wchar_t *, int) override {
    return refuse("The document declares an entity.");
  }

  // Nothing else matters to a clip.
  HRESULT WINAPI putDocumentLocator(ISAXLocator *) override { return S_OK; }
  HRESULT WINAPI startDocument() override { return S_OK; }
  HRESULT WINAPI endDocument() override { return S_OK; }
  HRESULT WINAPI startPrefixMapping(const wchar_t *, int, const wchar_t *, int) override { return S_OK; }
  HRESULT WINAPI endPrefixMapping(const wchar_t *, int) override { return S_OK; }
  HRESULT WINAPI characters(const wchar_t *, int) override { return S_OK; }
  HRESULT WINAPI ignorableWhitespace(const wchar_t *, int) override { return S_OK; }
  HRESULT WINAPI processingInstruction(const wchar_t *, int, const wchar_t *, int) override { return S_OK; }
  HRESULT WINAPI skippedEntity(const wchar_t *, int) override { return S_OK; }
  HRESULT WINAPI elementDecl(const wchar_t *, int, const wchar_t *, int) override { return S_OK; }
  HRESULT WINAPI attributeDecl(const wchar_t *, int, const wchar_t *, int, const wchar_t *, int, const wchar_t *, int,
                               const wchar_t *, int) override {
    return S_OK;
  }

 private:
  HRESULT refuse(std::string why) {
    walk_.refuse(std::move(why));
    return E_FAIL;
  }

  XmlEventWalk &walk_;
};
#pragma GCC diagnostic pop

// Only a file is handed to the parser: a folder or a device is refused
// before anything is opened. Its size, when it is one.
std::optional<std::uintmax_t> fileSize(const std::wstring &path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  if ((data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) return std::nullopt;
  return (static_cast<std::uintmax_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// A feature the reader does not know keeps its default.
void setFeature(ISAXXMLReader *reader, const wchar_t *name, bool on) {
  reader->putFeature(name, on ? VARIANT_TRUE : VARIANT_FALSE);
}

// A reader that never reads an external entity or document type, nor
// validates; a document type itself is allowed, as clip files from other
// tools may carry one.
ComRef<ISAXXMLReader> createReader() {
  ISAXXMLReader *reader = nullptr;
  check(CoCreateInstance(kSaxXmlReader60, nullptr, CLSCTX_ALL, kSaxXmlReader, reinterpret_cast<void **>(&reader)));
  ComRef<ISAXXMLReader> held(required(reader));
  setFeature(reader, L"prohibit-dtd", false);
  setFeature(reader, L"http://xml.org/sax/features/external-general-entities", false);
  setFeature(reader, L"http://xml.org/sax/features/external-parameter-entities", false);
  return held;
}

// Hands events the declarations too, where the reader takes a handler for
// them; one that does not keeps them to itself.
void declareTo(ISAXXMLReader *reader, SaxEvents &events) {
  Variant handler;
  handler.get()->vt = VT_UNKNOWN;
  handler.get()->punkVal = static_cast<ISAXDeclHandler *>(&events);
  events.AddRef();
  reader->putProperty(L"http://xml.org/sax/properties/declaration-handler", *handler);
}

}  // namespace

std::string XmlElement::tagName() const { return utf8From(startOf(node_).name, startOf(node_).nameLength); }

// A text of more UTF-16 units than longest is longer than longest bytes of
// UTF-8 too, and is not converted.
std::optional<std::string> XmlElement::attribute(const char *name, std::size_t longest) const {
  const std::optional<std::wstring> wideName = wideFromCodePage(name, CP_UTF8);
  const wchar_t *value = nullptr;
  int length = 0;
  if (!wideName || FAILED(startOf(node_).attributes->getValueFromQName(
                       wideName->data(), static_cast<int>(wideName->size()), &value, &length)))
    return std::nullopt;
  if (static_cast<std::size_t>(length) > longest) return std::nullopt;
  std::string text = utf8From(value, length);
  if (text.size() > longest) return std::nullopt;
  return text;
}

void XmlElement::eachAttribute(AttributeSink sink, void *context) const {
  ISAXAttributes *attributes = startOf(node_).attributes;
  int count = 0;
  check(attributes->getLength(&count));
  for (int index = 0; index < count; ++index) {
    const wchar_t *name = nullptr;
    const wchar_t *value = nullptr;
    int nameLength = 0;
    int valueLength = 0;
    check(attributes->getQName(index, &name, &nameLength));
    check(attributes->getValue(index, &value, &valueLength));
    const std::string valueText = utf8From(value, valueLength);
    sink(context, utf8From(name, nameLength), valueText);
  }
}

bool readXmlFile(const std::string &path, XmlVisitor &visitor, std::string &problem) {
  problem.clear();
  const std::optional<std::wstring> widePath = wideFromCodePage(path, CP_UTF8);
  const std::optional<std::uintmax_t> size = widePath ? fileSize(*widePath) : std::nullopt;
  IStream *opened = nullptr;
  if (!size || FAILED(SHCreateStreamOnFileEx(widePath->c_str(), STGM_READ | STGM_SHARE_DENY_WRITE,
                                             FILE_ATTRIBUTE_NORMAL, FALSE, nullptr, &opened))) {
    problem = kUnreadable;
    return false;
  }
  Variant input;
  input.get()->vt = VT_UNKNOWN;
  input.get()->punkVal = required(opened);
  XmlEventWalk walk(visitor);
  SaxEvents events(walk);
  const ComRef<ISAXXMLReader> reader = createReader();
  check(reader->putContentHandler(&events));
  declareTo(reader.get(), events);
  visitor.begin(*size);
  const HRESULT parsed = reader->parse(*input);
  walk.rethrow();
  if (SUCCEEDED(parsed)) return true;
  problem = walk.problem().empty() ? comErrorDescription(parsed) : walk.problem();
  return false;
}

}  // namespace lwp::platform
