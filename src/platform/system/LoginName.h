// The name the user logged in with, for a greeting or a default: the account's name from the password database,
// else $LOGNAME or $USER; "" when none is known.
#pragma once
#include <string>

std::string LoginName();
