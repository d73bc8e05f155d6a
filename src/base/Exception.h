// The base exception of the game: carries a CP932 message that is shown to the player as it stands.
#pragma once
#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& Message) : std::runtime_error(Message) {}
  // The message in CP932, exactly as raised.
  std::string Message() const { return what(); }
};
