// What play shows over the game at its end.
#include "canvas.h"

namespace {

TEST_F(Canvas, TheEndOfEachModeSaysWhoWonAndTheScore) {
  gameMode = 1;
  matchOver = true;
  score = 1200;
  newHighscore = true;
  EXPECT_EQ(gameOverTexts(),
            (std::vector<std::string>{"Game Over", "Score: 1200", "New high score"}));
  newHighscore = false;
  EXPECT_EQ(gameOverTexts().size(), 2u);
  gameMode = 2;
  p1Losses = 3, p2Losses = 1; // player 1 topped out three times
  EXPECT_EQ(gameOverTexts(), (std::vector<std::string>{"Player 2 wins", "Points: 3 - 1"}));
  gameMode = 4;
  EXPECT_EQ(gameOverTexts()[0], "Bot wins");
  p1Losses = 0, p2Losses = 3;
  EXPECT_EQ(gameOverTexts(), (std::vector<std::string>{"You win", "Points: 3 - 0"}));
  // The banner stands over the well that topped out (the bot's, on the left), not the other.
  drawFrame();
  EXPECT_GT(count({200, 260, 300, 130}, whitePixel), 500);
  EXPECT_EQ(count({950, 260, 300, 130}, whitePixel), 0);
  matchOver = false;
  EXPECT_TRUE(gameOverTexts().empty());
}

} // namespace
