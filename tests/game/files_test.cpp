// Saves that survive a power cut and a second game instance writing the same file at once.
#include "folders.h"
#include "game/game.h"

#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>

namespace {

int syncedFiles = 0;         // fsync calls on regular files
std::string watched, atSync; // a file, and what it held when a regular file was last synced

} // namespace

// Every fsync of the game passes here first.
extern "C" int fsync(int descriptor) {
  struct stat status {};
  if (fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode)) {
    ++syncedFiles;
    if (!watched.empty()) atSync = readFile(watched);
  }
  return static_cast<int>(syscall(SYS_fsync, descriptor));
}

namespace {

using AtomicWrite = TempFolder;

TEST_F(AtomicWrite, DataReachesTheDiskBeforeTheNameAndRacingWritersLeaveOneWholeFile) {
  const std::string file = path("Storage/BestNeuralNet.txt");
  // Different lengths too, so a mix of the two could not pass for either.
  const std::string texts[2] = {std::string(300000, 'a') + "\n", std::string(200001, 'b')};
  ASSERT_TRUE(writeFileAtomically(file, texts[0]));
  watched = file;
  syncedFiles = 0;
  ASSERT_TRUE(writeFileAtomically(file, texts[1]));
  watched.clear();
  EXPECT_EQ(syncedFiles, 1);
  EXPECT_TRUE(atSync == texts[0]) << "the new data was not synced before the rename";

  pid_t writers[2];
  for (int w = 0; w < 2; ++w) {
    writers[w] = fork();
    ASSERT_GE(writers[w], 0);
    if (writers[w] == 0) {
      bool ok = true;
      for (int k = 0; k < 60; ++k) ok = writeFileAtomically(file, texts[w]) && ok;
      _exit(ok ? 0 : 1);
    }
  }
  int reads = 0, torn = 0, failedWriters = 0;
  for (int running = 2; running > 0;) { // read while they write
    std::string seen = readFile(file);
    torn += seen != texts[0] && seen != texts[1];
    ++reads;
    int status = 0;
    if (waitpid(-1, &status, WNOHANG) <= 0) continue;
    --running;
    failedWriters += !WIFEXITED(status) || WEXITSTATUS(status) != 0;
  }
  EXPECT_EQ(failedWriters, 0);
  EXPECT_EQ(torn, 0) << "of " << reads << " reads";
  EXPECT_EQ(filesIn(folder / "Storage"), 1); // no temporary file left
}

} // namespace
