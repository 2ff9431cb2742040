// brikka-lab replay: a replay recorded in the window plays to its stored end; a changed result
// fails the check (damaged files: the replay reader's own tests).
#include "game/replay.h"

#include "folders.h"

const std::string seedReplay = BRIKKA_SOURCE_DIR "/tests/fuzz/seeds/replay/bot.replay";
const std::string replayCommand = std::string(BRIKKA_LAB_PROGRAM) + " replay ";

TEST(LabReplay, ChecksAStoredGameAndFailsAChangedOne) {
  CommandRun run = runCommand(replayCommand + "--check " + seedReplay);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "score 0 lines 0 pieces 30 frames 451 board 1512cd5b5b36e225\n");

  Replay replay;
  std::string error;
  ASSERT_TRUE(readReplayFile(seedReplay, replay, &error)) << error;
  replay.result.score += 100;
  replay.result.garbageSent += 2;
  replay.result.clock += 1.6;
  std::string changed = scratchPath("changed.replay");
  writeFile(changed, replayBytes(replay));
  EXPECT_EQ(runCommand(replayCommand + changed).status, 0);
  run = runCommand(replayCommand + "--check " + changed);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("differs from the stored score 100"), std::string::npos) << run.err;
  // Each field that differs is named, those that agree are not.
  EXPECT_NE(run.err.find("\n  score: stored 100, played 0\n"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("\n  garbage sent: stored 2, played 0\n"), std::string::npos);
  EXPECT_NE(run.err.find("\n  game time: stored "), std::string::npos);
  EXPECT_EQ(run.err.find("  pieces:"), std::string::npos);
  std::remove(changed.c_str());
}

// An online game recorded in a window against a duel: this side's frames and the opponent's
// placements as they came play both boards to the stored end.
TEST(LabReplay, ChecksAnOnlineGameWithBothBoards) {
  CommandRun run = runCommand(replayCommand + "--check " BRIKKA_SOURCE_DIR
                                              "/tests/fuzz/seeds/replay/online.replay");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "score 0 lines 0 pieces 3 frames 1690 board 02668c7f93f496e5\n");
}
