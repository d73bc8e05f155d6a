#include "JsonString.h"

#include <cstdio>

#include "TextEncoding.h"

std::string JsonString(const std::string& Cp932) { return JsonPathString(ToUTF8(Cp932)); }

std::string JsonPathString(const std::string& Bytes) {
  std::string out = "\"";
  for (unsigned char c : Bytes) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          out += escaped;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}
