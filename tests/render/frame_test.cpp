#include "canvas.h"

#include "pictures.h"

class Frame : public Canvas {
protected:
  void SetUp() override {
    Canvas::SetUp();
    backButton = {{1300, 900}, {150, 50}, "Back", "", false, 1};
    visualizationButton = {{1000, 875}, {250, 100}, "Toggle Visualization", "", false, 1};
    pieceQueue = {1, 2, 3, 1, 2, 3, 1};
  }
  int textWidth(SDL_Rect area) { return extent(area, whitePixel).w; }
};

TEST_F(Frame, FinishedSoloGameIsVeiledButScoreBoxAndBackStayBright) {
  gameMode = 1;
  score = 5;
  highscore = 1200;
  drawFrame();
  EXPECT_EQ(pixel(550, 300), whitePixel);
  int positiveWidth = textWidth({151, 451, 298, 100});
  matchOver = true;
  score = -5;
  drawFrame();
  Rgb veiled = pixel(550, 300);
  EXPECT_NEAR(veiled.r, 155, 2); // white under black at alpha 100
  EXPECT_EQ(veiled.r, veiled.b);
  EXPECT_NEAR(pixel(390, 250).r, 155, 2);                    // the hold box is under the veil too
  EXPECT_EQ(pixel(150, 500), whitePixel);                    // score box frame
  EXPECT_GT(count({151, 451, 298, 100}, whitePixel), 100);   // "Score: -5"
  EXPECT_GT(count({151, 551, 298, 98}, whitePixel), 100);    // "Highscore: 1200"
  EXPECT_GT(textWidth({151, 451, 298, 100}), positiveWidth); // the minus sign shows
  EXPECT_EQ(pixel(1305, 905), whitePixel);                   // "Back" on top of everything
}

TEST_F(Frame, VersusMatchPointsAndResultBanner) {
  gameMode = 4;
  p1Losses = 1;
  p1IncomingDamage = {{2, 0, 450.0}};
  drawFrame();
  EXPECT_EQ(pixel(355, 125), (Rgb{255, 0, 0})); // against the bot: red points on the left
  EXPECT_EQ(pixel(1300, 220), (Rgb{0, 255, 0}));
  EXPECT_EQ(pixel(935, 170), whitePixel); // player 1's board on the right at pitch 33
  EXPECT_EQ(pixel(185, 170), whitePixel);

  gameMode = 2;
  p2Losses = 3;
  matchOver = true;
  drawFrame();
  EXPECT_NEAR(pixel(355, 125).b, 155, 2); // blue point, under the veil
  // Player 2 (left) lost: "LOSE" from x 290, "WIN" from x 1060, both around y 500.
  SDL_Rect lose = extent({0, 400, 750, 200}, Rgb{100, 100, 255});
  SDL_Rect win = extent({750, 400, 750, 200}, Rgb{255, 255, 0});
  EXPECT_GE(lose.x, 290);
  EXPECT_LE(lose.x, 295); // the glyphs' own side bearing is a few pixels
  EXPECT_GE(win.x, 1060);
  EXPECT_LE(win.x, 1065);
  EXPECT_NEAR(win.y + win.h / 2.0, 500, 8);

  p1Losses = 3; // now player 1 (right) lost
  drawFrame();
  EXPECT_GE(extent({750, 400, 750, 200}, Rgb{100, 100, 255}).x, 1040);
  EXPECT_LT(extent({0, 400, 750, 200}, Rgb{255, 255, 0}).x, 320);
}

TEST_F(Frame, FitnessGraphLineAndLabels) {
  const Rgb blue = {0, 0, 255};
  gameMode = 3;
  showFitnessGraph = true;
  generation = 2;
  averageHistory = {7.0};
  drawFrame();
  EXPECT_EQ(pixel(501, 51), whitePixel); // panel
  EXPECT_EQ(count({500, 50, 900, 800}, blue), 0);

  averageHistory = {10.0, 20.0};
  lowestAverage = 10;
  highestAverage = 20;
  drawFrame();
  for (Rgb corner : {pixel(600, 750), pixel(601, 751), pixel(1300, 150), pixel(1301, 151)})
    EXPECT_EQ(corner, blue);
  EXPECT_EQ(pixel(599, 750), whitePixel);

  generation = 3; // labels from the third generation on
  averageHistory = {5.0, 5.0, 5.0};
  lowestAverage = highestAverage = 5;
  drawFrame();
  EXPECT_EQ(count({600, 750, 702, 2}, blue), 702 * 2); // equal bounds: flat along the bottom
  EXPECT_EQ(pixel(950, 749), whitePixel);
  EXPECT_GT(count({550, 175, 100, 40}, blue), 10);
  EXPECT_GT(count({550, 725, 100, 40}, blue), 10);
}

TEST_F(Frame, TrainingScreenBoardAndReadOut) {
  gameMode = 3;
  p1Board = boardFromPicture({"..2......."});
  p1PieceId = 2;
  p1Position = {0, 0};
  drawFrame();
  EXPECT_EQ(pixel(140, 820), colourOfPiece(2)); // column 2, row 19 at (130, 810)
  EXPECT_EQ(pixel(130, 820), whitePixel);
  EXPECT_EQ(pixel(90, 90), colourOfPiece(2)); // the falling square, no grid line
  EXPECT_GT(textWidth({0, 875, 1000, 40}), 300);
  EXPECT_GT(textWidth({0, 925, 1000, 40}), 300);
  EXPECT_EQ(pixel(1005, 880), whitePixel); // "Toggle Visualization"
}
