#include "XmlReaders.h"

#include "Exception.h"

namespace {
// Looks a named value up as an attribute first, then as the text of a child element. An element
// standing for a value must hold text; an empty one converts to nothing. False when neither exists.
bool FindNamedValue(const TXmlNode& Node, const std::string& Name, TVariant& Value) {
  if (Node.HasAttribute(Name)) {
    Value = TVariant(Node.Attribute(Name));
    return true;
  }
  TXmlNode child = Node.FirstChildElement(Name);
  if (!child) return false;
  std::string text = child.Text();
  Value = text.empty() ? TVariant::Null(Name) : TVariant(std::move(text));
  return true;
}
}  // namespace

TVariant ReadValue(const TXmlNode& Node, const std::string& Name, const TVariant& Default) {
  TVariant value = Default;
  FindNamedValue(Node, Name, value);
  return value;
}

TVariant ReadRequiredValue(const TXmlNode& Node, const std::string& Name) {
  TVariant value;
  if (!FindNamedValue(Node, Name, value)) throw Exception(Name);
  return value;
}

TPoint ReadPoint(const TXmlNode& Node, const std::string& ChildName, TPoint Default) {
  TXmlNode child = Node.FirstChildElement(ChildName);
  if (!child) return Default;
  TPoint p;
  p.X = ReadValue(child, "x", Default.X).AsInteger();
  p.Y = ReadValue(child, "y", Default.Y).AsInteger();
  return p;
}

TRect ReadRect(const TXmlNode& Node, const std::string& ChildName, TRect Default) {
  TXmlNode child = Node.FirstChildElement(ChildName);
  if (!child) return Default;
  TRect r;
  r.Left = ReadValue(child, "left", Default.Left).AsInteger();
  r.Top = ReadValue(child, "top", Default.Top).AsInteger();
  r.Right = ReadValue(child, "right", Default.Right).AsInteger();
  r.Bottom = ReadValue(child, "bottom", Default.Bottom).AsInteger();
  return r;
}

uint32_t ReadVertexColor(const TXmlNode& Node, const std::string& Name, uint32_t Default) {
  TXmlNode child = Node.FirstChildElement("vertexcolor");
  if (!child) return Default;
  return ReadValue(child, Name, static_cast<int32_t>(Default)).AsCardinal();
}

int32_t BlendModeFromName(const std::string& Text) {
  if (Text == "alpha") return 2;
  if (Text == "add") return 1;
  return 0;
}
