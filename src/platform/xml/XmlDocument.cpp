#include "XmlDocument.h"

#include <libxml/entities.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "Exception.h"
#include "FileSystem.h"
#include "TextEncoding.h"

namespace {

// Untrusted files: a sane cap on what is read and on the text an element may gather through entities.
constexpr std::streamsize kMaxFileBytes = 64 << 20;
constexpr size_t kMaxTextBytes = 1 << 20;
constexpr int kMaxDepth = 512;

bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsBlank(const xmlChar* text) {
  if (text == nullptr) return true;
  for (; *text; ++text) {
    if (!IsXmlSpace(static_cast<char>(*text))) return false;
  }
  return true;
}

// Nodes a DOM without preserved white space would not list.
bool IsSkipped(xmlNode* node) { return node->type == XML_TEXT_NODE && IsBlank(node->content); }

xmlNode* SkipIgnored(xmlNode* node) {
  while (node != nullptr && IsSkipped(node)) node = node->next;
  return node;
}

std::string QualifiedName(const xmlChar* name, const xmlNs* ns) {
  std::string result;
  if (ns != nullptr && ns->prefix != nullptr) {
    result = reinterpret_cast<const char*>(ns->prefix);
    result += ':';
  }
  if (name != nullptr) result += reinterpret_cast<const char*>(name);
  return result;
}

bool IsAscii(const std::string& s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Names arrive in CP932; the tree holds UTF-8. Plain ASCII names (all the loaders use) need no conversion.
std::string NameToUtf8(const std::string& cp932) { return IsAscii(cp932) ? cp932 : ToUTF8(cp932); }

// Where a node is, for messages: its file and line.
std::string NodePlace(const xmlNode* node) {
  std::string file;
  if (node->doc != nullptr && node->doc->URL != nullptr) file = ToCP932(reinterpret_cast<const char*>(node->doc->URL));
  return " (" + file + " " + std::to_string(xmlGetLineNo(const_cast<xmlNode*>(node))) + Jp("行目)");
}

[[noreturn]] void RefuseEntity(const xmlNode* node) {
  // Appended rather than "&" + name: GCC 12 at -O3 warns falsely (-Wrestrict) on a literal + temporary string.
  std::string reference = "&";
  reference += ToCP932(reinterpret_cast<const char*>(node->name));
  reference += ';';
  const bool declared = node->children != nullptr && node->children->type == XML_ENTITY_DECL;
  throw Exception((declared ? Jp("外部エンティティは読み込めません: ") : Jp("定義されていないエンティティです: ")) +
                  reference + NodePlace(node));
}

class TextGatherer {
 public:
  void Walk(const xmlNode* node, int depth) {
    for (; node != nullptr; node = node->next) Visit(node, depth);
  }
  void Visit(const xmlNode* node, int depth) {
    if (depth > kMaxDepth) throw Exception(Jp("XMLの入れ子が深すぎます"));
    switch (node->type) {
      case XML_TEXT_NODE:
      case XML_CDATA_SECTION_NODE: Append(node->content); break;
      case XML_ELEMENT_NODE: Walk(node->children, depth + 1); break;
      case XML_ENTITY_REF_NODE:
        // The reference's child is the entity declaration; its children are the replacement text. An
        // entity that is external (never loaded) or not declared would silently leave a hole in the value.
        if (node->children == nullptr || node->children->type != XML_ENTITY_DECL ||
            reinterpret_cast<const xmlEntity*>(node->children)->etype != XML_INTERNAL_GENERAL_ENTITY) {
          RefuseEntity(node);
        }
        Walk(node->children->children, depth + 1);
        break;
      default: break;
    }
  }
  std::string Result(bool trim) {
    size_t first = 0;
    size_t last = text_.size();
    while (trim && first < last && IsXmlSpace(text_[first])) ++first;
    while (trim && last > first && IsXmlSpace(text_[last - 1])) --last;
    return ToCP932(std::string_view(text_).substr(first, last - first));
  }

 private:
  void Append(const xmlChar* content) {
    if (content == nullptr) return;
    const char* s = reinterpret_cast<const char*>(content);
    text_ += s;
    if (text_.size() > kMaxTextBytes) throw Exception(Jp("XMLのテキストが長すぎます"));
  }
  std::string text_;
};

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
  return s;
}

// The encoding named by an XML declaration at the start of a byte-oriented (not UTF-16) file, or "".
std::string DeclaredEncoding(const std::string& bytes) {
  if (bytes.compare(0, 5, "<?xml") != 0) return "";
  size_t end = bytes.find("?>");
  if (end == std::string::npos || end > 1024) return "";
  std::string decl = bytes.substr(0, end);
  size_t at = decl.find("encoding");
  if (at == std::string::npos) return "";
  at = decl.find_first_of("\"'", at);
  if (at == std::string::npos) return "";
  size_t close = decl.find(decl[at], at + 1);
  if (close == std::string::npos) return "";
  return decl.substr(at + 1, close - at - 1);
}

// Windows-made Shift_JIS is code page 932; iconv's SHIFT_JIS differs from it (0x5C, 0x7E, NEC and IBM
// extensions), so such documents are decoded here and handed to the parser as UTF-8.
bool IsShiftJisName(const std::string& encoding) {
  static const std::array<const char*, 11> names = {"shift_jis", "shift-jis",  "sjis",        "x-sjis",
                                                    "ms_kanji",  "csshiftjis", "windows-31j", "cp932",
                                                    "ms932",     "x-ms-cp932", "ibm-943"};
  std::string lower = Lower(encoding);
  return std::find(names.begin(), names.end(), lower) != names.end();
}

std::string ReadFileBytes(const std::string& fileName) {
  std::ifstream in = OpenFileForReading(fileName);
  if (!in) throw Exception(Jp("XMLファイルを開けません: ") + DisplayName(fileName));
  in.seekg(0, std::ios::end);
  std::streamsize size = in.tellg();
  if (size < 0) throw Exception(Jp("XMLファイルを読み込めません: ") + DisplayName(fileName));
  if (size > kMaxFileBytes) throw Exception(Jp("XMLファイルが大きすぎます: ") + DisplayName(fileName));
  in.seekg(0, std::ios::beg);
  std::string bytes(static_cast<size_t>(size), '\0');
  if (size > 0 && !in.read(bytes.data(), size)) {
    throw Exception(Jp("XMLファイルを読み込めません: ") + DisplayName(fileName));
  }
  return bytes;
}

// Refuses every external resource (DTD subsets, external entities), whatever the document asks for.
xmlParserInputPtr RefuseExternal(const char*, const char*, xmlParserCtxtPtr) { return nullptr; }

// The first error of a parse: later ones are mostly consequences of it.
struct TFirstError {
  bool Seen = false;
  int Line = 0;
  std::string Message;
};

void KeepFirstError(void* data, xmlErrorPtr error) {
  auto* first = static_cast<TFirstError*>(data);
  if (first->Seen || error == nullptr || error->level < XML_ERR_ERROR) return;
  first->Seen = true;
  first->Line = error->line;
  first->Message = error->message != nullptr ? error->message : "unknown error";
  while (!first->Message.empty() && IsXmlSpace(first->Message.back())) first->Message.pop_back();
}

std::string ParserComplaint(const xmlError* error) {
  if (error == nullptr || error->message == nullptr) return "unknown error";
  std::string message = error->message;
  while (!message.empty() && IsXmlSpace(message.back())) message.pop_back();
  return message;
}

Exception ParseError(const std::string& fileName, int line, const std::string& complaint) {
  char lineText[32];
  std::snprintf(lineText, sizeof lineText, "%d", line);
  return Exception(Jp("XMLの解析エラーです (") + DisplayName(fileName) + Jp(" ") + lineText + Jp("行目): ") +
                   complaint);
}

// The line of a byte offset, counted as the parser counts lines (CR LF, LF and a lone CR each end one).
int LineOf(const std::string& bytes, size_t offset) {
  int line = 1;
  for (size_t i = 0; i < offset && i < bytes.size(); ++i) {
    if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n'))) ++line;
  }
  return line;
}

// The complaint about bytes that are no Shift_JIS character: the bytes themselves, as the parser shows them.
std::string BadBytes(const std::string& bytes, size_t offset) {
  std::string shown;
  for (size_t i = offset; i < bytes.size() && i < offset + 2; ++i) {
    char hex[8];
    std::snprintf(hex, sizeof hex, " 0x%02X", static_cast<unsigned char>(bytes[i]));
    shown += hex;
  }
  return Jp("Shift_JISの文字として読めないバイトがあります:") + shown;
}

}  // namespace

std::string TXmlNode::NodeName() const {
  if (node_ == nullptr) return "";
  switch (node_->type) {
    case XML_ELEMENT_NODE: return ToCP932(QualifiedName(node_->name, node_->ns));
    case XML_TEXT_NODE: return "#text";
    case XML_CDATA_SECTION_NODE: return "#cdata-section";
    case XML_COMMENT_NODE: return "#comment";
    case XML_PI_NODE:
    case XML_ENTITY_REF_NODE: return ToCP932(reinterpret_cast<const char*>(node_->name));
    default: return "#node";
  }
}

bool TXmlNode::IsElement() const { return node_ != nullptr && node_->type == XML_ELEMENT_NODE; }

bool TXmlNode::IsNamed(const std::string& name) const {
  return IsElement() && QualifiedName(node_->name, node_->ns) == NameToUtf8(name);
}

TXmlNode TXmlNode::FirstChild() const {
  if (node_ == nullptr || node_->type != XML_ELEMENT_NODE) return TXmlNode();
  return TXmlNode(SkipIgnored(node_->children));
}

TXmlNode TXmlNode::NextSibling() const {
  if (node_ == nullptr) return TXmlNode();
  return TXmlNode(SkipIgnored(node_->next));
}

TXmlNode TXmlNode::FirstChildElement(const std::string& name) const {
  for (TXmlNode child = FirstChild(); child; child = child.NextSibling()) {
    if (child.IsNamed(name)) return child;
  }
  return TXmlNode();
}

namespace {
xmlAttr* FindAttribute(xmlNode* node, const std::string& name) {
  if (node == nullptr || node->type != XML_ELEMENT_NODE) return nullptr;
  std::string wanted = NameToUtf8(name);
  for (xmlAttr* attr = node->properties; attr != nullptr; attr = attr->next) {
    if (QualifiedName(attr->name, attr->ns) == wanted) return attr;
  }
  return nullptr;
}
}  // namespace

bool TXmlNode::HasAttribute(const std::string& name) const { return FindAttribute(node_, name) != nullptr; }

std::string TXmlNode::Attribute(const std::string& name) const {
  xmlAttr* attr = FindAttribute(node_, name);
  if (attr == nullptr) return "";
  TextGatherer gatherer;
  gatherer.Walk(attr->children, 0);
  return gatherer.Result(false);  // attribute values keep their white space
}

std::string TXmlNode::Text() const {
  if (node_ == nullptr) return "";
  TextGatherer gatherer;
  gatherer.Visit(node_, 0);
  return gatherer.Result(true);
}

TXmlDocument::TXmlDocument(const std::string& fileName) {
  static const bool initialised = [] {
    xmlInitParser();
    xmlSetExternalEntityLoader(RefuseExternal);
    return true;
  }();
  (void)initialised;

  std::string bytes = ReadFileBytes(fileName);
  const char* encoding = nullptr;
  int options = XML_PARSE_NONET | XML_PARSE_NOWARNING | XML_PARSE_NOCDATA;
  if (IsShiftJisName(DeclaredEncoding(bytes))) {
    std::string utf8;
    size_t bad = 0;
    // A byte that is no character is a fault of the file, as it is in UTF-8; replacing it would let two
    // broken ids become the same "?".
    if (!StrictCP932ToUTF8(bytes, utf8, bad)) throw ParseError(fileName, LineOf(bytes, bad), BadBytes(bytes, bad));
    bytes = std::move(utf8);
    encoding = "UTF-8";
    options |= XML_PARSE_IGNORE_ENC;
  }
  if (bytes.size() > static_cast<size_t>(INT32_MAX))
    throw Exception(Jp("XMLファイルが大きすぎます: ") + DisplayName(fileName));

  std::unique_ptr<xmlParserCtxt, void (*)(xmlParserCtxtPtr)> ctxt(xmlNewParserCtxt(), xmlFreeParserCtxt);
  if (!ctxt) throw Exception(Jp("XMLパーサを作成できません"));
  const std::string& url = fileName;
  TFirstError first;
  xmlSetStructuredErrorFunc(&first, KeepFirstError);
  doc_ = xmlCtxtReadMemory(ctxt.get(), bytes.data(), static_cast<int>(bytes.size()), url.c_str(), encoding, options);
  xmlSetStructuredErrorFunc(nullptr, nullptr);
  const xmlError* error = xmlCtxtGetLastError(ctxt.get());
  bool failed = first.Seen || doc_ == nullptr || !ctxt->wellFormed || xmlDocGetRootElement(doc_) == nullptr;
  if (failed) {
    int line = first.Seen ? first.Line : (error != nullptr ? error->line : 0);
    std::string complaint =
        first.Seen ? first.Message : (error != nullptr ? ParserComplaint(error) : "no root element");
    if (doc_ != nullptr) xmlFreeDoc(doc_);
    doc_ = nullptr;
    throw ParseError(fileName, line, ToCP932(complaint));
  }
}

TXmlDocument::~TXmlDocument() {
  if (doc_ != nullptr) xmlFreeDoc(doc_);
}

TXmlNode TXmlDocument::DocumentElement() const { return TXmlNode(xmlDocGetRootElement(doc_)); }
