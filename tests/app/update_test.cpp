// Play modes frame by frame: ends of games and matches, the high score, gravity, effects.
#include "scenario.h"

#include <gtest/gtest.h>

namespace {
using Gravity = Scenario;
using PlayScreens = Scenario;
using PlayerVersus = Scenario;
using SoloPlay = Scenario;
// Column 3 stacked to one below the top: the next block locks at the spawn and tops out.
const std::vector<std::string> tower(19, "...#......");

void dropIntoTower(Board& board, bool& hardDrop) {
  board = boardFromPicture(tower);
  hardDrop = true;
  frame(700, 500);
  hardDrop = false;
}
} // namespace

TEST_F(SoloPlay, TopOutKeepsABetterScoreInItsFileOnceAndAnEqualScoreNever) {
  highscore = 1200;
  clickOn(screenButtons[0][0]);
  ASSERT_EQ(gameMode, 1);
  score = 1500;
  dropIntoTower(p1Board, p1HardDrop);
  frame(700, 500);
  EXPECT_TRUE(matchOver);
  EXPECT_EQ(highscore, 1500);
  EXPECT_EQ(readFile(highscorePath), "1500");
  std::filesystem::remove(highscorePath);
  std::vector<std::string> stopped = boardPicture(p1Board);
  p1HardDrop = true;
  for (int i = 0; i < 30; ++i) frame(700, 500);
  p1HardDrop = false;
  EXPECT_FALSE(std::filesystem::exists(highscorePath));
  EXPECT_EQ(boardPicture(p1Board), stopped);

  clickOn(backButton);
  clickOn(screenButtons[0][0]);
  score = 1500;
  dropIntoTower(p1Board, p1HardDrop);
  frame(700, 500);
  EXPECT_TRUE(matchOver);
  EXPECT_FALSE(std::filesystem::exists(highscorePath));
}

TEST_F(PlayerVersus, ThirdTopOutEndsTheMatchAndOnlyEffectsMoveAfterwards) {
  clickOn(screenButtons[0][1]);
  ASSERT_EQ(gameMode, 2);
  p2Board = boardFromPicture({"##........"});
  for (int loss = 1; loss <= 3; ++loss) {
    dropIntoTower(p1Board, p1HardDrop);
    EXPECT_EQ(p1Losses, loss);
    EXPECT_EQ(matchOver, loss == 3);
    EXPECT_EQ(boardPicture(p1Board)[0], loss == 3 ? "...1......" : "..........");
  }
  EXPECT_EQ(boardPicture(p2Board), boardPicture(boardFromPicture({"##........"})));
  // One particle already on its target, one flying from (100, 100) towards (400, 500).
  lineClearParticles = {{200, 200, 200, 200, 30, 10, 1, 0}, {100, 100, 400, 500, 40, 10, 1, 0.1}};
  p2DamageFlash = 200;
  dropIntoTower(p2Board, p2HardDrop); // the match is over: nobody plays on
  EXPECT_EQ(p2Losses, 0);
  EXPECT_NEAR(p2DamageFlash, 195.2, 1e-9);
  ASSERT_EQ(lineClearParticles.size(), 1u);
  const LineClearParticle& flying = lineClearParticles[0];
  EXPECT_NEAR((flying.y - 100) / (flying.x - 100), 4.0 / 3.0, 1e-9);
  EXPECT_LT(flying.size, 40);
  for (int i = 0; i < 500 && !lineClearParticles.empty(); ++i) {
    EXPECT_LE(lineClearParticles[0].x, 400);
    frame(700, 500);
  }
  EXPECT_TRUE(lineClearParticles.empty()); // gone once it passes its target
}

TEST_F(Gravity, ReachesItsFastestAfterSixteenMinutesSoloAndFiveMinutesVersus) {
  struct Case {
    int button;
    double notYet, reached; // frameDelta units
  };
  for (Case c : {Case{0, 94000, 95100}, Case{1, 29000, 30500}}) {
    clickOn(screenButtons[0][c.button]);
    for (double elapsed = 1.6; elapsed < c.reached; elapsed += 1.6) {
      emptyBoard(p1Board);
      emptyBoard(p2Board);
      frame(700, 500);
      if (elapsed < c.notYet) {
        EXPECT_GT(gravityInterval, 5.0);
      }
    }
    EXPECT_EQ(gravityInterval, 5.0);
    clickOn(backButton);
  }
}

TEST_F(PlayScreens, BackAlwaysReturnsToTheMainMenuWithAFreshGame) {
  for (int mode : {1, 2, 4}) {
    gameMode = mode;
    currentScreen = 2;
    frame(1299, 925, true); // just beside the button
    ASSERT_EQ(gameMode, mode);
    score = 700;
    p1Losses = 2;
    clickOn(backButton);
    EXPECT_EQ(gameMode, 0);
    EXPECT_EQ(currentScreen, 0);
    EXPECT_EQ(score, 0);
    EXPECT_EQ(p1Losses, 0);
  }
}
