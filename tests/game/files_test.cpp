// Two game instances saving the same file at once: the file is always one of them, whole.
#include "game/game.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(AtomicWrite, RacingWritersAlwaysLeaveOneWholeFile) {
  const std::string folder = testing::TempDir() + "brikka_race";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const std::string path = folder + "/BestNeuralNet.txt";
  // Different lengths too, so a mix of the two could not pass for either.
  const std::string texts[2] = {std::string(300000, 'a') + "\n", std::string(200001, 'b')};
  ASSERT_TRUE(writeFileAtomically(path, texts[0]));
  pid_t writers[2];
  for (int w = 0; w < 2; ++w) {
    writers[w] = fork();
    ASSERT_GE(writers[w], 0);
    if (writers[w] == 0) {
      bool ok = true;
      for (int k = 0; k < 60; ++k) ok = writeFileAtomically(path, texts[w]) && ok;
      _exit(ok ? 0 : 1);
    }
  }
  int reads = 0, torn = 0, failedWriters = 0;
  for (int running = 2; running > 0;) { // read while they write
    std::string seen = readAll(path);
    torn += seen != texts[0] && seen != texts[1];
    ++reads;
    int status = 0;
    if (waitpid(-1, &status, WNOHANG) <= 0) continue;
    --running;
    failedWriters += !WIFEXITED(status) || WEXITSTATUS(status) != 0;
  }
  EXPECT_EQ(failedWriters, 0);
  EXPECT_EQ(torn, 0) << "of " << reads << " reads";
  const std::string last = readAll(path);
  EXPECT_TRUE(last == texts[0] || last == texts[1]);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1); // no temp left
  std::filesystem::remove_all(folder);
}

} // namespace
