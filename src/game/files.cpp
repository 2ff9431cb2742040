// Whole-file writes that survive a crash or a power cut, and never collide with another writer.
#include "game/game.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string folderOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

bool fail(std::string* error, const std::string& path, int code) {
  if (error) *error = path + ": " + std::strerror(code);
  return false;
}

} // namespace

bool writeFileAtomically(const std::string& path, const std::string& text, std::string* error) {
  // A unique name in the same folder: two writers never share a temporary file, and the rename
  // stays on one file system.
  std::string temporary = path + ".XXXXXX";
  int descriptor = mkstemp(temporary.data());
  if (descriptor < 0) return fail(error, path, errno);
  fchmod(descriptor, 0644);
  size_t done = 0;
  int code = 0;
  while (done < text.size() && code == 0) {
    ssize_t wrote = write(descriptor, text.data() + done, text.size() - done);
    if (wrote < 0 && errno != EINTR) code = errno;
    if (wrote > 0) done += static_cast<size_t>(wrote);
  }
  // The data must be on disk before the new name points at it, or a power cut could leave an
  // empty file under the old name.
  if (code == 0 && fsync(descriptor) != 0) code = errno;
  if (close(descriptor) != 0 && code == 0) code = errno;
  if (code == 0 && std::rename(temporary.c_str(), path.c_str()) != 0) code = errno;
  if (code != 0) {
    unlink(temporary.c_str());
    return fail(error, path, code);
  }
  // The rename itself lives in the folder; flushing it makes the new file the one that stays.
  int folder = open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY);
  if (folder >= 0) {
    fsync(folder);
    close(folder);
  }
  return true;
}

std::string runtimeFolder() {
  auto environment = [](const char* name) -> std::string {
    const char* value = std::getenv(name);
    return value ? value : "";
  };
  std::string home = environment("BRIKKA_HOME");
  if (!home.empty()) return home;
  std::string dataHome = environment("XDG_DATA_HOME");
  if (!dataHome.empty()) return dataHome + "/brikka";
  std::string userHome = environment("HOME");
  if (userHome.empty()) {
    const passwd* user = getpwuid(getuid());
    userHome = user && user->pw_dir ? user->pw_dir : ".";
  }
  return userHome + "/.local/share/brikka";
}
