#include "LoginName.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

std::string LoginName() {
  // The account of the process's real user: unlike getlogin(), it needs no controlling terminal (a desktop's
  // launcher has none).
  passwd entry{};
  passwd* found = nullptr;
  std::vector<char> buffer(16384);
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
      found->pw_name != nullptr && found->pw_name[0] != '\0') {
    return found->pw_name;
  }
  for (const char* variable : {"LOGNAME", "USER"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] != '\0') return value;
  }
  return "";
}
