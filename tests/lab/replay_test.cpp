// brikka-lab replay: a replay recorded in the window plays to its stored end; a changed result
// fails the check (damaged files: the replay reader's own tests).
#include "game/replay.h"

#include "folders.h"

namespace {

const std::string seedReplay = BRIKKA_SOURCE_DIR "/tests/fuzz/seeds/replay/bot.replay";

// Exit status and everything printed.
int replayCommand(const std::string& arguments, std::string& printed) {
  CommandRun run = runCommand(std::string(BRIKKA_LAB_PROGRAM) + " replay " + arguments);
  printed = run.out + run.err;
  return run.status;
}

} // namespace

TEST(LabReplay, ChecksAStoredGameAndFailsAChangedOne) {
  std::string printed;
  EXPECT_EQ(replayCommand("--check " + seedReplay, printed), 0) << printed;
  EXPECT_NE(printed.find("score 0 lines 0 pieces 30 frames 451 board 1512cd5b5b36e225\n"),
            std::string::npos)
      << printed;

  Replay replay;
  std::string error;
  ASSERT_TRUE(readReplayFile(seedReplay, replay, &error)) << error;
  replay.result.score += 100;
  std::string changed = scratchPath("changed.replay");
  writeFile(changed, replayBytes(replay));
  EXPECT_EQ(replayCommand(changed, printed), 0) << printed;
  EXPECT_EQ(replayCommand("--check " + changed, printed), 1) << printed;
  EXPECT_NE(printed.find("differs from the stored score 100"), std::string::npos) << printed;
  std::remove(changed.c_str());
}
