// Where a player's data lives, by the XDG base directory rules: $XDG_DATA_HOME (default ~/.local/share), then
// each folder of $XDG_DATA_DIRS (default /usr/local/share:/usr/share). Paths as the environment gives them.
#pragma once
#include <string>
#include <vector>

struct TDataFolders {
  std::string Home;                 // "$XDG_DATA_HOME/morvanth/" (trailing '/'); "" when no home is known
  std::vector<std::string> Shared;  // "DIR/morvanth/" for each folder of $XDG_DATA_DIRS, in order
};

// Relative paths in either variable are ignored, as the rules ask; an unset or empty variable takes its default.
TDataFolders ProgramDataFolders();
