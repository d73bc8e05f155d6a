// A read-only XML document object model over libxml2, shaped after the few DOM calls the definition
// loaders make: load a file, root element, ordered child nodes, node name, next sibling, attributes,
// element text. Every string handed out is CP932; names given in are CP932 too.
//
// Skin files are untrusted: no external entity, DTD or network access; entity expansion stays bounded.
#pragma once
#include <memory>
#include <string>

struct _xmlNode;  // NOLINT(bugprone-reserved-identifier): libxml2's own names
struct _xmlDoc;   // NOLINT(bugprone-reserved-identifier)

// A handle on one node of a loaded document; valid while its document lives. A default handle is "none".
class TXmlNode {
 public:
  TXmlNode() = default;
  explicit TXmlNode(_xmlNode* Node) : node_(Node) {}

  explicit operator bool() const { return node_ != nullptr; }
  bool operator==(const TXmlNode& Other) const { return node_ == Other.node_; }

  // Element name, or "#text", "#cdata-section", "#comment", "#processing-instruction" for other nodes.
  std::string NodeName() const;
  bool IsElement() const;
  // Compares the element name exactly (letter case counts); false for non-elements.
  bool IsNamed(const std::string& Name) const;

  // Child nodes in document order. Text that is only white space is not a node, as in a DOM that
  // does not preserve white space.
  TXmlNode FirstChild() const;
  TXmlNode NextSibling() const;
  bool HasChildNodes() const { return static_cast<bool>(FirstChild()); }
  // The first child element of that exact name, or none.
  TXmlNode FirstChildElement(const std::string& Name) const;

  bool HasAttribute(const std::string& Name) const;
  // The attribute's value; empty when absent.
  std::string Attribute(const std::string& Name) const;

  // The character content of the node and its descendants, white space at both ends removed. Internal
  // entities are expanded; a reference to an external or undeclared entity raises Exception naming the
  // entity, the file and the line (so does Attribute).
  std::string Text() const;

 private:
  _xmlNode* node_ = nullptr;
};

class TXmlDocument {
 public:
  // Loads and parses FileName (CP932 path). The encoding declaration is honoured; Shift_JIS is read as
  // CP932. Raises Exception naming the file, the line and the parser's complaint when the file cannot be
  // read or is not well-formed, or when a Shift_JIS document holds bytes that are no character.
  explicit TXmlDocument(const std::string& FileName);
  ~TXmlDocument();
  TXmlDocument(const TXmlDocument&) = delete;
  TXmlDocument& operator=(const TXmlDocument&) = delete;

  // The root element (never none for a loaded document).
  TXmlNode DocumentElement() const;

 private:
  _xmlDoc* doc_ = nullptr;
};
