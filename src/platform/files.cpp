#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <system_error>

namespace platform {
namespace {

std::string folderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// A new file in the target's folder, named after the target; -1 with errno set
// when none can be made.
int createTemporary(const std::string& path, std::string& temporary) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = path + ".~" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    // 0666 less the umask, as any new file gets.
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// A replaced file keeps its permissions.
bool keepMode(int fd, const std::string& path) {
  struct stat existing {};
  if (::stat(path.c_str(), &existing) != 0) return true;
  return ::fchmod(fd, existing.st_mode & 07777) == 0;
}

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

std::string reasonOf(int error) { return std::error_code(error, std::generic_category()).message(); }

}  // namespace

std::string replaceFile(const std::string& path, std::string_view bytes) {
  const std::string folder = folderOf(path);
  std::string temporary;
  const int fd = createTemporary(path, temporary);
  if (fd < 0) return reasonOf(errno);
  const bool written = keepMode(fd, path) && writeAll(fd, bytes) && ::fsync(fd) == 0;
  const int failure = written ? 0 : errno;
  if (::close(fd) != 0 && written) {
    const int closeFailure = errno;
    ::unlink(temporary.c_str());
    return reasonOf(closeFailure);
  }
  if (!written || ::rename(temporary.c_str(), path.c_str()) != 0) {
    const int reason = written ? errno : failure;
    ::unlink(temporary.c_str());
    return reasonOf(reason);
  }
  // The rename itself reaches the disk with its folder.
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return {};
}

}  // namespace platform
