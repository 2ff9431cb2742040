// Whole-file reads that refuse what is not a plain file of a sensible size, and whole-file writes
// that survive a crash or a power cut and never collide with another writer.
#include "game/game.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
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

bool refuse(std::string* error, const std::string& path, const std::string& reason) {
  if (error) *error = path + ": " + reason;
  return false;
}

// Sizes as people read them: 1 MB, 16 KB, 300 bytes.
std::string sizeText(uint64_t bytes) {
  if (bytes >= (1u << 20) && bytes % (1u << 20) == 0) return std::to_string(bytes >> 20) + " MB";
  if (bytes >= 1024 && bytes % 1024 == 0) return std::to_string(bytes >> 10) + " KB";
  return std::to_string(bytes) + " bytes";
}

} // namespace

std::string temporaryPathFor(const std::string& path) {
  size_t slash = path.find_last_of('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  return folder + temporaryFilePrefix + name;
}

bool readFileLimited(const std::string& path, size_t maxBytes, std::string* text,
                     std::string* error) {
  // Non-blocking, so that opening a FIFO returns at once instead of waiting for a writer.
  int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) {
    int code = errno;
    if (code == ENOENT)
      refuse(error, path, "missing");
    else
      fail(error, path, code);
    errno = code; // callers tell a missing file from a broken one
    return false;
  }
  struct stat status {};
  std::string reason;
  if (fstat(descriptor, &status) != 0) {
    reason = std::strerror(errno);
  } else if (S_ISDIR(status.st_mode)) {
    reason = "is a folder, not a file";
  } else if (!S_ISREG(status.st_mode)) {
    reason = "is not a regular file";
  } else if (static_cast<uint64_t>(status.st_size) > maxBytes) {
    reason = "is larger than " + sizeText(maxBytes) + ", too large for this kind of file";
  }
  if (reason.empty()) {
    // The size is only a hint: a file growing while it is read still stops at the limit.
    std::string bytes;
    bytes.reserve(static_cast<size_t>(status.st_size));
    char buffer[65536];
    for (;;) {
      ssize_t got = read(descriptor, buffer, sizeof buffer);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) {
        reason = std::strerror(errno);
        break;
      }
      if (got == 0) break;
      if (bytes.size() + static_cast<size_t>(got) > maxBytes) {
        reason = "is larger than " + sizeText(maxBytes) + ", too large for this kind of file";
        break;
      }
      bytes.append(buffer, static_cast<size_t>(got));
    }
    if (reason.empty() && text) *text = std::move(bytes);
  }
  close(descriptor);
  errno = 0;
  return reason.empty() || refuse(error, path, reason);
}

int removeStaleTemporaryFiles(const std::string& folder) {
  DIR* listing = opendir(folder.empty() ? "." : folder.c_str());
  if (!listing) return 0;
  const size_t prefixLength = std::strlen(temporaryFilePrefix);
  const time_t now = std::time(nullptr);
  int removed = 0;
  while (const dirent* entry = readdir(listing)) {
    if (std::strncmp(entry->d_name, temporaryFilePrefix, prefixLength) != 0) continue;
    std::string path = (folder.empty() ? "." : folder) + "/" + entry->d_name;
    struct stat status {};
    // Only plain files, and only old ones: a young one may be another writer's at work.
    if (lstat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) continue;
    if (now - status.st_mtime < staleTemporarySeconds) continue;
    if (unlink(path.c_str()) == 0) removed += 1;
  }
  closedir(listing);
  return removed;
}

bool writeFileAtomically(const std::string& path, const std::string& text, std::string* error) {
  // A unique name in the same folder: two writers never share a temporary file, and the rename
  // stays on one file system. The prefix lets a later start find what a killed write left.
  std::string temporary = temporaryPathFor(path) + ".XXXXXX";
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
