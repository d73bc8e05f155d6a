// Reading values out of definition files, shared by both loaders. A named value is the element's
// attribute of that name or, without one, the text of its first child element of that name.
#pragma once
#include <cstdint>
#include <string>

#include "Variant.h"
#include "WinTypes.h"
#include "XmlDocument.h"

// The value of Name; Default when the element has neither.
TVariant ReadValue(const TXmlNode& Node, const std::string& Name, const TVariant& Default);
// The value of Name; raises Exception with Name itself as the message when the element has neither.
TVariant ReadRequiredValue(const TXmlNode& Node, const std::string& Name);
// Child element ChildName's values "x" and "y", each defaulting to Default's; Default without the child.
TPoint ReadPoint(const TXmlNode& Node, const std::string& ChildName, TPoint Default);
// Child element ChildName's "left", "top", "right", "bottom", each defaulting to Default's member.
TRect ReadRect(const TXmlNode& Node, const std::string& ChildName, TRect Default);
// Value Name of the child element "vertexcolor" as a 32-bit colour; Default without that child.
uint32_t ReadVertexColor(const TXmlNode& Node, const std::string& Name, uint32_t Default);
// "alpha" 2, "add" 1, anything else 0 (letter case counts).
int32_t BlendModeFromName(const std::string& Text);
