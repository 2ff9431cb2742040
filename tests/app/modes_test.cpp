// Sprint, Ultra, restart, the statistics files and replays of games played through the frame
// update, re-simulated headless.
#include "ai/playback.h"
#include "ai/state.h"
#include "app/input.h"
#include "app/play.h"
#include "app/records.h"
#include "render/render.h"
#include "scenario.h"

namespace {

const Piece flatBar = pieceFromPicture({"#####"});

// Frames until the game ends (at most limit): player 1 fills rows with flat five-bars, left
// half then right half; player 2 drops straight down. Clicks, a pause and a paused click on the
// way, as a player might.
int playUntilOver(int limit) {
  int frames = 0;
  for (int k = 0; k < limit && !matchOver; ++k, ++frames) {
    releaseKeys();
    int step = k % 8, piece = p1PieceCount % 2;
    p1RotateCw = p1Rotation != 0;
    p1MoveLeft = piece == 0 && step < 3;
    p1MoveRight = piece == 1 && step < 2;
    p1HardDrop = step == 5;
    p2HardDrop = k % 3 == 0;
    pauseRequested = k == 40 || k == 44;
    frame(700, 40 + k % 300, k % 97 == 13 || k == 42);
  }
  releaseKeys();
  return frames;
}

// Sprint and Ultra start on "Go": frames with nothing pressed until then.
int waitForGo() {
  int frames = 0;
  for (; countdownLeft > 0.0 && frames < 1000; ++frames) frame(5, 5);
  return frames;
}

// Later tests start games the old way, with no variant chosen and the bot as it was: leave no
// variant, weights or bot settings behind.
class Modes : public Scenario {
protected:
  std::vector<std::vector<double>> weights = fitnessParams;
  double interval = botStepInterval;
  bool stepwise = botStepwise;
  void TearDown() override {
    fitnessParams = weights;
    botStepInterval = interval;
    botStepwise = stepwise;
    soloVariant = marathonVariant;
    gamePaused = false;
    gameMode = menuMode;
    Scenario::TearDown();
  }
};

} // namespace

TEST_F(Modes, SoloVersusAndBotGamesReplayBitForBit) {
  start({flatBar, pieceFromPicture({".#.", "###"}), pieceFromPicture({"##", "##"})});
  fitnessParams = {{-2.0, -1.0, -0.5, -1.0}};
  for (int32_t mode : {1, 2, 4}) {
    std::filesystem::remove_all(replaysFolder);
    botStepInterval = 5;
    botStepwise = true;
    botLevelName = "Mid";
    startGameOfMode(mode);
    playUntilOver(20000);
    ASSERT_TRUE(matchOver) << "mode " << mode;
    // The history row says how it ended, and at which level a bot game was played.
    std::string history = readFile(historyPath);
    size_t rowStart = history.rfind('\n', history.size() - 2) + 1;
    GameRecord row;
    ASSERT_TRUE(parseHistoryRow(history.substr(rowStart, history.size() - rowStart - 1), row));
    // Player 1's points (the other's top-outs) first, as the match's end showed them.
    std::string points = std::to_string(p2Losses) + "-" + std::to_string(p1Losses);
    std::string result = mode == 1 ? "topped out" : (p2Losses >= 3 ? "win " : "loss ") + points;
    EXPECT_EQ(row.result, result);
    EXPECT_EQ(row.level, mode == 4 ? "Mid" : "");
    ReplayResult played = currentResult(0);
    std::vector<std::string> names = storedReplays();
    ASSERT_EQ(names.size(), 1u);
    Replay replay;
    std::string error;
    ASSERT_TRUE(readReplayFile(std::string(replaysFolder) + "/" + names[0], replay, &error))
        << error;
    // Another game in between: the re-simulation must not depend on what is in memory.
    startGameOfMode(1);
    ReplayResult again;
    ASSERT_TRUE(resimulate(replay, again, &error)) << error;
    EXPECT_EQ(again.boardHash, played.boardHash) << "mode " << mode;
    EXPECT_EQ(again.score, played.score);
    EXPECT_EQ(again.pieces, played.pieces);
    EXPECT_EQ(again.clock, played.clock);
    EXPECT_EQ(again.frames, replay.result.frames);
    EXPECT_EQ(again.boardHash, replay.result.boardHash);
    EXPECT_GT(again.pieces, 10);
  }
}

TEST_F(Modes, SprintCountsDownEndsAtFortyLinesWithItsSplitsAndKeepsTheBest) {
  start({flatBar});
  startGameOfMode(1, sprintVariant);
  // The countdown holds the first piece and the clock, whatever is pressed.
  EXPECT_EQ(countdownText(), "3");
  p1HardDrop = p1MoveLeft = true;
  for (int k = 0; k < 100; ++k) frame(5, 5);
  EXPECT_EQ(countdownText(), "2");
  EXPECT_EQ(p1PieceCount, 0);
  EXPECT_EQ(p1Position.x, spawnPosition.x);
  EXPECT_EQ(gameClock, 0.0);
  releaseKeys();
  EXPECT_EQ(waitForGo(), 88); // 300 hundredths in frames of 1.6
  EXPECT_EQ(countdownText(), "Go");
  int frames = playUntilOver(5000);
  EXPECT_TRUE(matchOver);
  EXPECT_EQ(p1Lines, 40);
  EXPECT_FALSE(p1GameOver);
  // Two paused frames add no time.
  EXPECT_NEAR(gameClock, (frames - 4) * 1.6, 1e-6);
  std::string history = readFile(historyPath);
  EXPECT_NE(history.find(",sprint,4000,40,"), std::string::npos) << history;
  EXPECT_TRUE(lastGameNewBest);
  std::vector<std::string> said = gameOverTexts();
  ASSERT_EQ(said.size(), 3u);
  EXPECT_EQ(said[0], "Finished!");
  EXPECT_EQ(said[1], "Time: " + clockText(gameClock / 100.0));
  EXPECT_EQ(said[2], "New best");
  EXPECT_EQ(sprintSplits.size(), 4u);
  EXPECT_EQ(sprintSplits.back(), lastGame.seconds);
  EXPECT_NE(readFile(historyPath).find(",finished,"), std::string::npos);
  // The countdown is no part of the replay: it plays to the same end.
  Replay replay;
  std::string error;
  ASSERT_TRUE(
      readReplayFile(std::string(replaysFolder) + "/" + lastGame.replayFile, replay, &error));
  ReplayResult again;
  double clock = gameClock;
  ASSERT_TRUE(resimulate(replay, again, &error)) << error;
  EXPECT_EQ(again.boardHash, replay.result.boardHash);
  EXPECT_EQ(again.clock, clock);
  const PersonalBest* best = personalBest("sprint");
  ASSERT_NE(best, nullptr);
  EXPECT_NEAR(best->value, gameClock / 100.0, 0.005);
  // The Replays list shows it as the results did, marked as the best, and Tab reaches it first.
  gameMode = menuMode;
  currentScreen = replaysScreen;
  listReplays();
  std::string row = screenButtons[replaysScreen][0].text;
  EXPECT_NE(row.find("   " + clockText(gameClock / 100.0) + "   40 lines   personal best"),
            std::string::npos)
      << row;
  focusVisible = false;
  menuCommand(MenuCommand::next);
  EXPECT_EQ(focusedButton(), &screenButtons[replaysScreen][0]);
  menuCommand(MenuCommand::up); // nothing visible above it
  EXPECT_EQ(focusedButton(), &screenButtons[replaysScreen][0]);

  // A slower sprint is no best; the best's replay outlives fifty newer games.
  for (int i = 0; i < 55; ++i)
    writeFile(std::string(replaysFolder) + "/29991231-0000" + std::to_string(10 + i) +
                  "_solo_0_0_0.replay",
              "x");
  startGameOfMode(1, sprintVariant);
  waitForGo();
  frame(5, 5);
  frame(5, 5);
  playUntilOver(5000);
  EXPECT_FALSE(lastGameNewBest);
  // Two frames slower: measured against the best, in red.
  EXPECT_EQ(gameOverTexts().at(2), "+0.03 s");
  std::vector<std::string> kept = storedReplays();
  EXPECT_EQ(kept.size(), replaysKept + 1);
  EXPECT_NE(std::find(kept.begin(), kept.end(), best->replayFile), kept.end());

  // The bests come back from their file (from the history alone: the next test).
  personalBests.clear();
  readBests();
  ASSERT_NE(personalBest("sprint"), nullptr);
}

TEST_F(Modes, UltraEndsAtTwoMinutesAndRestartIsFresh) {
  start({pieceFromPicture({"#"})});
  startGameOfMode(1, ultraVariant);
  waitForGo();
  while (!matchOver && gameClock < 20000) frame(5, 5);
  EXPECT_TRUE(matchOver);
  EXPECT_GE(gameClock, ultraDuration);
  EXPECT_LT(gameClock - 1.6, ultraDuration);
  EXPECT_NE(readFile(historyPath).find(",ultra,"), std::string::npos);
  // Not one line: no best, and "Finished!" leads with the score.
  EXPECT_EQ(personalBest("ultra"), nullptr);
  EXPECT_EQ(gameOverTexts().at(1), "Score: 0");

  // The restart key starts the same variant afresh (what else it clears, the pause tests check).
  restartRequested = true;
  frame(5, 5);
  EXPECT_EQ(soloVariant, ultraVariant);
  EXPECT_FALSE(matchOver);
  EXPECT_EQ(gameClock, 0.0);
  EXPECT_FALSE(lastGameShown);
  EXPECT_EQ(countdownText(), "3");
  // Back from a race goes to the Modes screen.
  clickOn(backButton);
  EXPECT_EQ(currentScreen, modesScreen);
}

TEST_F(Modes, ABestWhoseWriteWasCutShortComesBackFromTheHistory) {
  writeFile(bestsPath, "ultra 500.00 a.replay\n");
  std::filesystem::last_write_time(bestsPath, std::filesystem::file_time_type::clock::now() -
                                                  std::chrono::hours(1));
  writeFile(historyPath, "2026-12-07 10:00:00,ultra,500,9,30,120.00,0.25,0,a.replay\n"
                         "2026-12-07 11:00:00,ultra,900,9,30,120.00,0.25,0,b.replay\n");
  readBests();
  ASSERT_NE(personalBest("ultra"), nullptr);
  EXPECT_EQ(personalBest("ultra")->value, 900.0);
  EXPECT_EQ(readFile(bestsPath), "ultra 900.00 b.replay\n");
}

TEST_F(Modes, HostileStatisticsFilesCostOneLine) {
  writeFile(bestsPath, std::string(5000, 'x') + "\n");
  writeFile(historyPath, "date,mode\n2026-12-07 10:00:00,ultra,900,9,30,120.00,0.25,0,a.replay\n"
                         "junk\n2026-12-07 10:00:00,ultra,12,1,1,1.00,1.00,0,../../etc/passwd\n");
  std::string said = errorsOf(readBests);
  EXPECT_EQ(lineCount(said), 2) << said; // bests file, history rows
  ASSERT_NE(personalBest("ultra"), nullptr);
  EXPECT_EQ(personalBest("ultra")->value, 900.0);

  // Rows of today's width count beside the old ones; a row past the last column does not.
  writeFile(historyPath, "2026-12-07 10:00:00,ultra,900,9,30,120.00,0.25,0,a.replay\n"
                         "2026-12-08 10:00:00,ultra,950,9,30,120.00,0.25,0,b.replay,,finished,"
                         "2,1.50,,0\n2026-12-08 11:00:00,ultra,990,9,30,120.00,0.25,0,c.replay,,"
                         "finished,2,1.50,,0,extra\n");
  std::filesystem::remove(bestsPath);
  said = errorsOf(readBests);
  EXPECT_EQ(lineCount(said), 1) << said;
  ASSERT_NE(personalBest("ultra"), nullptr);
  EXPECT_EQ(personalBest("ultra")->value, 950.0);
  GameRecord written, row;
  written.date = "2026-12-08 12:00:00";
  written.mode = "bot";
  written.level = "Easy Peasy";
  written.result = "win 3-1";
  written.keysPerPiece = 2.5;
  written.garbageReceived = 7;
  std::string line = historyRow(written);
  ASSERT_TRUE(parseHistoryRow(line.substr(0, line.size() - 1), row)) << line;
  EXPECT_EQ(row.level, "Easy Peasy");
  EXPECT_EQ(row.result, "win 3-1");
  EXPECT_EQ(row.keysPerPiece, 2.5);
  EXPECT_EQ(row.garbageReceived, 7);

  std::filesystem::remove(historyPath);
  std::filesystem::create_directory(historyPath);
  said = errorsOf([] { EXPECT_FALSE(appendHistory(GameRecord{})); });
  EXPECT_EQ(lineCount(said), 1) << said;

  writeFile("cut.replay", replayBytes(Replay{}).substr(0, 30));
  said = errorsOf([] { EXPECT_FALSE(openReplay("cut.replay")); });
  EXPECT_EQ(lineCount(said), 1) << said;
  EXPECT_FALSE(replayPlaying);
  EXPECT_NE(menuNotice.find("cut.replay"), std::string::npos) << menuNotice; // in the window too
}
