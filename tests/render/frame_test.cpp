#include "canvas.h"

TEST_F(Canvas, FinishedGamesAreVeiledButScoreBoxAndBannerStayBright) {
  gameMode = soloPlayMode;
  score = 5;
  highscore = 1200;
  matchOver = true;
  drawFrame();
  // Board and hold box darkened (white under black at alpha 100); box, texts and Back bright.
  EXPECT_NEAR(pixel(550, 300)[0], 155, 2);
  EXPECT_NEAR(pixel(390, 250)[2], 155, 2);
  expectAt(whitePixel, {150, 500, 1305, 905});
  EXPECT_GT(count({151, 551, 298, 98}, whitePixel), 100); // "Highscore: 1200"
  // The longest scores still fit inside the box.
  score = INT32_MIN;
  highscore = INT32_MAX;
  clear();
  drawFrame();
  EXPECT_EQ(count({0, 450, 150, 200}, whitePixel) + count({450, 450, 100, 200}, whitePixel), 0);
  EXPECT_GT(count({151, 451, 298, 198}, whitePixel), 200);
  gameMode = playerVersusMode;
  p1Losses = 1;
  p2Losses = 3;
  drawFrame();
  EXPECT_NEAR(pixel(355, 125)[2], 155, 2); // a blue point, under the veil
  // Player 2 (left) lost: "LOSE" from x 290, "WIN" from x 1060, allowing the glyphs' bearing.
  EXPECT_NEAR(extent({0, 400, 750, 200}, Rgb{100, 100, 255}).x, 292, 3);
  EXPECT_NEAR(extent({750, 400, 750, 200}, Rgb{255, 255, 0}).x, 1062, 3);
}

TEST_F(Canvas, TrainingScreenBoardReadOutAndFitnessGraph) {
  const Rgb blue = {0, 0, 255};
  gameMode = trainingMode;
  p1Board = boardFromPicture({"..2......."});
  p1PieceId = 2;
  p1Position = {0, 0};
  averageHistory = {7.0};
  drawFrame();
  EXPECT_EQ(count({500, 50, 900, 800}, whitePixel), 900 * 800); // the panel, with no line
  // Column 2, row 19 at (130, 810); the falling square without grid lines; the read-out lines.
  expectAt(colourOfPiece(2), {140, 820, 90, 90});
  expectAt(whitePixel, {130, 820, 1005, 880});
  EXPECT_GT(extent({0, 875, 1000, 40}, whitePixel).w, 300);
  EXPECT_GT(extent({0, 925, 1000, 40}, whitePixel).w, 300);
  generation = 3; // labels from the third generation; equal bounds draw flat along the bottom
  averageHistory = {5.0, 5.0, 5.0};
  lowestAverage = highestAverage = 5;
  drawFrame();
  EXPECT_EQ(count({600, 750, 702, 2}, blue), 702 * 2);
  EXPECT_GT(count({550, 175, 100, 40}, blue), 10);
  EXPECT_GT(count({550, 725, 100, 40}, blue), 10);
  // A long run draws one point per pixel column, from the first average to the last.
  averageHistory.clear();
  for (int k = 0; k <= 100000; ++k) averageHistory.push_back(k / 1000.0);
  lowestAverage = 0;
  highestAverage = 100;
  drawFrame();
  expectAt(blue, {600, 750, 1300, 150, 950, 450});
  expectAt(whitePixel, {950, 300, 950, 600});
}

TEST_F(Canvas, APadLeavingSaysWhoseAndTheOneLineNoticeIsAmberUnderTheWells) {
  gameMode = playerVersusMode;
  gamePaused = true;
  padLostPlayer = 2;
  drawFrame();
  EXPECT_GT(count({20, 280, 1460, 40}, whitePixel), 300); // the line above "Paused"
  padLostPlayer = 0;
  clear();
  drawFrame();
  EXPECT_EQ(count({20, 280, 1460, 40}, whitePixel), 0);
  gamePaused = false;
  playNotice = "Press R again to restart";
  playNoticeMs = 1000.0;
  clear();
  drawFrame();
  EXPECT_GT(count({30, 900, 1220, 50}, Rgb{255, 150, 0}), 300);
  playNoticeMs = 0.0;
  gameMode = menuMode;
}
