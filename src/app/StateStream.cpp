#include "StateStream.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "SceneState.h"

namespace {

// "fd:N" with N a whole number that fits a descriptor; -1 for anything else.
int DescriptorOf(const std::string& Target) {
  if (Target.rfind("fd:", 0) != 0) return -1;
  const std::string digits = Target.substr(3);
  if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos) return -1;
  return std::stoi(digits);
}

}  // namespace

TStateStream::TStateStream(const std::string& Target) : target_(Target) {
  if (Target.rfind("fd:", 0) == 0) {
    fd_ = DescriptorOf(Target);
    if (fd_ < 0 || fcntl(fd_, F_GETFL) < 0) {
      throw std::runtime_error(std::string(kVariable) + ": no open descriptor " + Target);
    }
    return;
  }
  fd_ = open(Target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd_ < 0) {
    throw std::runtime_error(std::string(kVariable) + ": cannot write " + Target + ": " + std::strerror(errno));
  }
  owned_ = true;
}

TStateStream::~TStateStream() {
  if (owned_ && fd_ >= 0) close(fd_);
}

void TStateStream::FrameDone(uint32_t Frame, const TCustomScene* Scene, const TOptionsScreen* Options) {
  if (fd_ < 0) return;
  const std::string line =
      DescribeSceneState(Frame, Scene, false, Options, ExtraFields ? ExtraFields() : std::string()) + '\n';
  size_t written = 0;
  while (written < line.size()) {
    const ssize_t n = write(fd_, line.data() + written, line.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const char* why = n < 0 ? std::strerror(errno) : "nothing written";
      std::fprintf(stderr, "morvanth: state lines to %s stopped: %s\n", target_.c_str(), why);
      if (owned_) close(fd_);
      fd_ = -1;
      return;
    }
    written += static_cast<size_t>(n);
  }
}
