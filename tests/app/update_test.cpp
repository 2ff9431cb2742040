// Play modes frame by frame: ends of games and matches, the high score, gravity, effects.
#include "ai/ai.h"
#include "scenario.h"

namespace {

using PlayModes = Scenario;

// Column 3 stacked to one below the top: the next block locks at the spawn and tops out.
void dropIntoTower(Board& board, bool& hardDrop) {
  board = boardFromPicture(std::vector<std::string>(19, "...#......"));
  hardDrop = true;
  frame(700, 500);
  hardDrop = false;
}

TEST_F(PlayModes, SoloTopOutKeepsABetterScoreInItsFileOnceAndAnEqualScoreNever) {
  highscore = 1200;
  for (int game = 0; game < 2; ++game) {
    clickOn(screenButtons[0][0]);
    ASSERT_EQ(gameMode, 1);
    score = 1500;
    dropIntoTower(p1Board, p1HardDrop);
    for (int i = 0; i < 5; ++i) frame(700, 500); // the game stays over: no second write
    EXPECT_TRUE(matchOver);
    EXPECT_EQ(highscore, 1500);
    if (game == 0) {
      EXPECT_EQ(readFile(highscorePath), "1500");
      std::filesystem::remove(highscorePath);
    }
    clickOn(backButton);
    EXPECT_EQ(gameMode, menuMode);
    EXPECT_EQ(currentScreen, mainMenuScreen);
    EXPECT_FALSE(matchOver);
    EXPECT_EQ(score, 0);
  }
  EXPECT_FALSE(std::filesystem::exists(highscorePath));
}

TEST_F(PlayModes, ThirdTopOutEndsTheVersusMatchAndOnlyEffectsMoveAfterwards) {
  clickOn(screenButtons[0][1]);
  ASSERT_EQ(gameMode, 2);
  p2Board = boardFromPicture({"##........"});
  for (int loss = 1; loss <= 3; ++loss) {
    dropIntoTower(p1Board, p1HardDrop);
    EXPECT_EQ(p1Losses, loss);
    EXPECT_EQ(matchOver, loss == 3);
    EXPECT_EQ(boardPicture(p1Board)[0], loss == 3 ? "...1......" : "..........");
  }
  EXPECT_EQ(boardPicture(p2Board)[19], "11........");
  // One particle already on its target, one flying from (100, 100) towards (400, 500).
  lineClearParticles = {{200, 200, 200, 200, 30, 10, 1, 0}, {100, 100, 400, 500, 40, 10, 1, 0.1}};
  p2DamageFlash = 200;
  dropIntoTower(p2Board, p2HardDrop); // the match is over: nobody plays on
  EXPECT_EQ(p2Losses, 0);
  EXPECT_NEAR(p2DamageFlash, 195.2, 1e-9);
  ASSERT_EQ(lineClearParticles.size(), 1u);
  EXPECT_NEAR((lineClearParticles[0].y - 100) / (lineClearParticles[0].x - 100), 4.0 / 3, 1e-9);
  for (int i = 0; i < 500 && !lineClearParticles.empty(); ++i) {
    EXPECT_LE(lineClearParticles[0].x, 400);
    frame(700, 500);
  }
  EXPECT_TRUE(lineClearParticles.empty()); // gone once it passes its target
}

TEST_F(PlayModes, GravityReachesItsFastestAfterSixteenMinutesSoloAndFiveMinutesVersus) {
  for (auto [button, notYet, reached] : {std::tuple{0, 94000.0, 95100.0}, {1, 29000.0, 30500.0}}) {
    clickOn(screenButtons[0][button]);
    for (double elapsed = 1.6; elapsed < reached; elapsed += 1.6) { // frameDelta units
      p1Board = p2Board = Board{};
      frame(700, 500);
      ASSERT_TRUE(elapsed >= notYet || gravityInterval > 5.0) << elapsed;
    }
    EXPECT_EQ(gravityInterval, 5.0);
    clickOn(backButton);
    EXPECT_EQ(gameMode, menuMode);
    EXPECT_GT(gravityInterval, 5.0);
  }
}

// The menu demos behind the main menu's buttons and a level's preview, thousands of pieces each:
// the queue holds the next pieces only, and no garbage waits for a player who does not play.
TEST_F(PlayModes, MenuDemosRunOnWithAShortQueueAndNoWaitingGarbage) {
  start({pieceFromPicture({"##", "##"}), pieceFromPicture({"####"}),
         pieceFromPicture({".#.", "###"}), pieceFromPicture({"##.", ".##"})});
  for (auto [screen, choice] : {std::pair{0, 0}, {0, 1}, {0, 2}, {0, 3}, {2, 6}}) {
    currentScreen = screen;
    lastHoveredChoice = choice;
    setUpGame();
    size_t longestQueue = 0, longestDamage = 0;
    for (int k = 0; k < 3000; ++k) {
      frame(1490, 995); // over no button
      longestQueue = std::max(longestQueue, pieceQueue.size());
      longestDamage = std::max({longestDamage, p1IncomingDamage.size(), p2IncomingDamage.size()});
    }
    EXPECT_GT(queueBase, 30) << choice; // pieces were played
    EXPECT_LE(longestQueue, 8) << choice;
    EXPECT_EQ(longestDamage, 0) << choice;
  }
}

} // namespace
