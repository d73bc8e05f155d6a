// The player's language for the messages the game shows (its error boxes), through GNU gettext. The game's
// messages are CP932 texts that name files, numbers and other messages in place; they are matched here against
// the patterns they are built from ("%s" for each part put in), and the pattern (UTF-8, the catalog's message
// id) is translated with its parts, which are translated in turn. A message that matches no pattern, and any
// message in a locale without a catalog (C, POSIX, Japanese), stays as it is, only converted to UTF-8.
#pragma once
#include <string>
#include <vector>

inline constexpr const char* kMessageDomain = "morvanth";

// Chooses the language from the locale's environment (LC_ALL, LC_MESSAGES, LANG, LANGUAGE) and finds the
// catalogs: ProgramDir + "locale" (the build tree), else ProgramDir + "../../share/locale" (the install).
void InitMessageLanguage(const std::string& ProgramDir);

// Text (CP932) in the player's language, in UTF-8.
std::string LocalizeMessage(const std::string& Text);

// The patterns known to LocalizeMessage, in UTF-8 (the catalog's message ids).
const std::vector<std::string>& MessagePatterns();
