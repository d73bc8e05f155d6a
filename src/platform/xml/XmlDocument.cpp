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

bool IsXmlSpace(char C) { return C == ' ' || C == '\t' || C == '\r' || C == '\n'; }

bool IsBlank(const xmlChar* Text) {
  if (Text == nullptr) return true;
  for (; *Text; ++Text) {
    if (!IsXmlSpace(static_cast<char>(*Text))) return false;
  }
  return true;
}

// Nodes a DOM without preserved white space would not list.
bool IsSkipped(xmlNode* Node) { return Node->type == XML_TEXT_NODE && IsBlank(Node->content); }

xmlNode* SkipIgnored(xmlNode* Node) {
  while (Node != nullptr && IsSkipped(Node)) Node = Node->next;
  return Node;
}

std::string QualifiedName(const xmlChar* Name, const xmlNs* Ns) {
  std::string result;
  if (Ns != nullptr && Ns->prefix != nullptr) {
    result = reinterpret_cast<const char*>(Ns->prefix);
    result += ':';
  }
  if (Name != nullptr) result += reinterpret_cast<const char*>(Name);
  return result;
}

bool IsAscii(const std::string& S) {
  return std::all_of(S.begin(), S.end(), [](char C) { return static_cast<unsigned char>(C) < 0x80; });
}

// Names arrive in CP932; the tree holds UTF-8. Plain ASCII names (all the loaders use) need no conversion.
std::string NameToUtf8(const std::string& Cp932) { return IsAscii(Cp932) ? Cp932 : ToUTF8(Cp932); }

// Where a node is, for messages: its file and line.
std::string NodePlace(const xmlNode* Node) {
  std::string file;
  if (Node->doc != nullptr && Node->doc->URL != nullptr) file = ToCP932(reinterpret_cast<const char*>(Node->doc->URL));
  return " (" + file + " " + std::to_string(xmlGetLineNo(const_cast<xmlNode*>(Node))) + Jp("行目)");
}

[[noreturn]] void RefuseEntity(const xmlNode* Node) {
  // Appended rather than "&" + name: GCC 12 at -O3 warns falsely (-Wrestrict) on a literal + temporary string.
  std::string reference = "&";
  reference += ToCP932(reinterpret_cast<const char*>(Node->name));
  reference += ';';
  const bool declared = Node->children != nullptr && Node->children->type == XML_ENTITY_DECL;
  throw Exception((declared ? Jp("外部エンティティは読み込めません: ") : Jp("定義されていないエンティティです: ")) +
                  reference + NodePlace(Node));
}

class TExtGatherer {
 public:
  void Walk(const xmlNode* Node, int Depth) {
    for (; Node != nullptr; Node = Node->next) Visit(Node, Depth);
  }
  void Visit(const xmlNode* Node, int Depth) {
    if (Depth > kMaxDepth) throw Exception(Jp("XMLの入れ子が深すぎます"));
    switch (Node->type) {
      case XML_TEXT_NODE:
      case XML_CDATA_SECTION_NODE: Append(Node->content); break;
      case XML_ELEMENT_NODE: Walk(Node->children, Depth + 1); break;
      case XML_ENTITY_REF_NODE:
        // The reference's child is the entity declaration; its children are the replacement text. An
        // entity that is external (never loaded) or not declared would silently leave a hole in the value.
        if (Node->children == nullptr || Node->children->type != XML_ENTITY_DECL ||
            reinterpret_cast<const xmlEntity*>(Node->children)->etype != XML_INTERNAL_GENERAL_ENTITY) {
          RefuseEntity(Node);
        }
        Walk(Node->children->children, Depth + 1);
        break;
      default: break;
    }
  }
  std::string Result(bool Trim) {
    size_t first = 0;
    size_t last = text_.size();
    while (Trim && first < last && IsXmlSpace(text_[first])) ++first;
    while (Trim && last > first && IsXmlSpace(text_[last - 1])) --last;
    return ToCP932(std::string_view(text_).substr(first, last - first));
  }

 private:
  void Append(const xmlChar* Content) {
    if (Content == nullptr) return;
    const char* s = reinterpret_cast<const char*>(Content);
    text_ += s;
    if (text_.size() > kMaxTextBytes) throw Exception(Jp("XMLのテキストが長すぎます"));
  }
  std::string text_;
};

std::string Lower(std::string S) {
  std::transform(S.begin(), S.end(), S.begin(), [](unsigned char C) { return std::tolower(C); });
  return S;
}

// The encoding named by an XML declaration at the start of a byte-oriented (not UTF-16) file, or "".
std::string DeclaredEncoding(const std::string& Bytes) {
  if (Bytes.compare(0, 5, "<?xml") != 0) return "";
  size_t end = Bytes.find("?>");
  if (end == std::string::npos || end > 1024) return "";
  std::string decl = Bytes.substr(0, end);
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
bool IsShiftJisName(const std::string& Encoding) {
  static const std::array<const char*, 11> kNames = {"shift_jis", "shift-jis",  "sjis",        "x-sjis",
                                                     "ms_kanji",  "csshiftjis", "windows-31j", "cp932",
                                                     "ms932",     "x-ms-cp932", "ibm-943"};
  std::string lower = Lower(Encoding);
  return std::find(kNames.begin(), kNames.end(), lower) != kNames.end();
}

std::string ReadFileBytes(const std::string& FileName) {
  std::ifstream in = OpenFileForReading(FileName);
  if (!in) throw Exception(Jp("XMLファイルを開けません: ") + DisplayName(FileName));
  in.seekg(0, std::ios::end);
  std::streamsize size = in.tellg();
  if (size < 0) throw Exception(Jp("XMLファイルを読み込めません: ") + DisplayName(FileName));
  if (size > kMaxFileBytes) throw Exception(Jp("XMLファイルが大きすぎます: ") + DisplayName(FileName));
  in.seekg(0, std::ios::beg);
  std::string bytes(static_cast<size_t>(size), '\0');
  if (size > 0 && !in.read(bytes.data(), size)) {
    throw Exception(Jp("XMLファイルを読み込めません: ") + DisplayName(FileName));
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

void KeepFirstError(void* Data, xmlErrorPtr Error) {
  auto* first = static_cast<TFirstError*>(Data);
  if (first->Seen || Error == nullptr || Error->level < XML_ERR_ERROR) return;
  first->Seen = true;
  first->Line = Error->line;
  first->Message = Error->message != nullptr ? Error->message : "unknown error";
  while (!first->Message.empty() && IsXmlSpace(first->Message.back())) first->Message.pop_back();
}

std::string ParserComplaint(const xmlError* Error) {
  if (Error == nullptr || Error->message == nullptr) return "unknown error";
  std::string message = Error->message;
  while (!message.empty() && IsXmlSpace(message.back())) message.pop_back();
  return message;
}

Exception ParseError(const std::string& FileName, int Line, const std::string& Complaint) {
  char lineText[32];
  std::snprintf(lineText, sizeof lineText, "%d", Line);
  return Exception(Jp("XMLの解析エラーです (") + DisplayName(FileName) + Jp(" ") + lineText + Jp("行目): ") +
                   Complaint);
}

// The line of a byte offset, counted as the parser counts lines (CR LF, LF and a lone CR each end one).
int LineOf(const std::string& Bytes, size_t Offset) {
  int line = 1;
  for (size_t i = 0; i < Offset && i < Bytes.size(); ++i) {
    if (Bytes[i] == '\n' || (Bytes[i] == '\r' && (i + 1 >= Bytes.size() || Bytes[i + 1] != '\n'))) ++line;
  }
  return line;
}

// The complaint about bytes that are no Shift_JIS character: the bytes themselves, as the parser shows them.
std::string BadBytes(const std::string& Bytes, size_t Offset) {
  std::string shown;
  for (size_t i = Offset; i < Bytes.size() && i < Offset + 2; ++i) {
    char hex[8];
    std::snprintf(hex, sizeof hex, " 0x%02X", static_cast<unsigned char>(Bytes[i]));
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

bool TXmlNode::IsNamed(const std::string& Name) const {
  return IsElement() && QualifiedName(node_->name, node_->ns) == NameToUtf8(Name);
}

TXmlNode TXmlNode::FirstChild() const {
  if (node_ == nullptr || node_->type != XML_ELEMENT_NODE) return TXmlNode();
  return TXmlNode(SkipIgnored(node_->children));
}

TXmlNode TXmlNode::NextSibling() const {
  if (node_ == nullptr) return TXmlNode();
  return TXmlNode(SkipIgnored(node_->next));
}

TXmlNode TXmlNode::FirstChildElement(const std::string& Name) const {
  for (TXmlNode child = FirstChild(); child; child = child.NextSibling()) {
    if (child.IsNamed(Name)) return child;
  }
  return TXmlNode();
}

namespace {
xmlAttr* FindAttribute(xmlNode* Node, const std::string& Name) {
  if (Node == nullptr || Node->type != XML_ELEMENT_NODE) return nullptr;
  std::string wanted = NameToUtf8(Name);
  for (xmlAttr* attr = Node->properties; attr != nullptr; attr = attr->next) {
    if (QualifiedName(attr->name, attr->ns) == wanted) return attr;
  }
  return nullptr;
}
}  // namespace

bool TXmlNode::HasAttribute(const std::string& Name) const { return FindAttribute(node_, Name) != nullptr; }

std::string TXmlNode::Attribute(const std::string& Name) const {
  xmlAttr* attr = FindAttribute(node_, Name);
  if (attr == nullptr) return "";
  TExtGatherer gatherer;
  gatherer.Walk(attr->children, 0);
  return gatherer.Result(false);  // attribute values keep their white space
}

std::string TXmlNode::Text() const {
  if (node_ == nullptr) return "";
  TExtGatherer gatherer;
  gatherer.Visit(node_, 0);
  return gatherer.Result(true);
}

TXmlDocument::TXmlDocument(const std::string& FileName) {
  static const bool kInitialised = [] {
    xmlInitParser();
    xmlSetExternalEntityLoader(RefuseExternal);
    return true;
  }();
  (void)kInitialised;

  std::string bytes = ReadFileBytes(FileName);
  const char* encoding = nullptr;
  int options = XML_PARSE_NONET | XML_PARSE_NOWARNING | XML_PARSE_NOCDATA;
  if (IsShiftJisName(DeclaredEncoding(bytes))) {
    std::string utf8;
    size_t bad = 0;
    // A byte that is no character is a fault of the file, as it is in UTF-8; replacing it would let two
    // broken ids become the same "?".
    if (!StrictCP932ToUTF8(bytes, utf8, bad)) throw ParseError(FileName, LineOf(bytes, bad), BadBytes(bytes, bad));
    bytes = std::move(utf8);
    encoding = "UTF-8";
    options |= XML_PARSE_IGNORE_ENC;
  }
  if (bytes.size() > static_cast<size_t>(INT32_MAX))
    throw Exception(Jp("XMLファイルが大きすぎます: ") + DisplayName(FileName));

  std::unique_ptr<xmlParserCtxt, void (*)(xmlParserCtxtPtr)> ctxt(xmlNewParserCtxt(), xmlFreeParserCtxt);
  if (!ctxt) throw Exception(Jp("XMLパーサを作成できません"));
  const std::string& url = FileName;
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
    throw ParseError(FileName, line, ToCP932(complaint));
  }
}

TXmlDocument::~TXmlDocument() {
  if (doc_ != nullptr) xmlFreeDoc(doc_);
}

TXmlNode TXmlDocument::DocumentElement() const { return TXmlNode(xmlDocGetRootElement(doc_)); }
