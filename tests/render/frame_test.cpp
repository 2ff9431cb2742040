#include "canvas.h"

TEST_F(Canvas, FinishedGamesAreVeiledButScoreBoxAndBannerStayBright) {
  gameMode = 1;
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
  gameMode = 2;
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
  gameMode = 3;
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
  averageHistory = {10.0, 20.0};
  lowestAverage = 10;
  highestAverage = 20;
  drawFrame();
  expectAt(blue, {600, 750, 601, 751, 1300, 150, 1301, 151});
  expectAt(whitePixel, {599, 750});
  EXPECT_EQ(count({550, 175, 100, 40}, blue), 0); // no labels before the third generation
  generation = 3;
  averageHistory = {5.0, 5.0, 5.0};
  lowestAverage = highestAverage = 5;
  drawFrame();
  EXPECT_EQ(count({600, 750, 702, 2}, blue), 702 * 2); // equal bounds: flat along the bottom
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

TEST_F(Canvas, VeilOverWhatWasDrawnMatchesAVeilOverTheWholeWindow) {
  // A finished versus match showing all a field can: stack, piece, ghost, hold, queue, flash,
  // waiting garbage, points, and flying squares over the board and over each other.
  gameMode = 2;
  matchOver = true;
  p1Losses = 1;
  p2Losses = 3;
  p1Board = boardFromPicture({"2.1..ggg..", "rrrrrrrrr.", "b.b.b.b.b."});
  p2Board = boardFromPicture({"..3333.2..", "1111111111"});
  p1PieceId = p2PieceId = 1;
  p1HeldPiece = 3;
  pieceQueue = {1, 2, 3, 1, 2, 3, 1};
  p1GhostCells = {{4, 17}, {3, 18}, {4, 18}, {5, 18}};
  p2DamageFlash = 40.0;
  p1IncomingDamage = {{3, 0, 400.0}, {30, 0, 10.0}};
  lineClearParticles = {{1000.5, 600.2, 0, 0, 30.0, 10, 0, 0},
                        {1010.0, 610.0, 0, 0, 30.0, 10, 0, 0},
                        {1280.0, 300.0, 0, 0, 40.0, 10, 0, 0},
                        {700.0, 50.0, 0, 0, 20.0, 10, 0, 0}};
  drawFrame();
  SDL_RenderFlush(renderer);
  std::vector<uint32_t> fast(static_cast<uint32_t*>(surface->pixels),
                             static_cast<uint32_t*>(surface->pixels) + 1500 * 1000);
  clear();
  drawBoard(1, 1100, 33, true);
  drawBoard(2, 350, 33, true);
  drawLineClearParticles();
  drawIncomingDamage();
  drawRoundPoints({0, 0, 255}, {255, 0, 0});
  drawPlayerLabels();
  drawVeil(); // nothing recorded: the whole window
  drawResultBanner();
  drawGameOverBanner();
  drawPlayFigures();
  drawButton(backButton);
  SDL_RenderFlush(renderer);
  const uint32_t* whole = static_cast<uint32_t*>(surface->pixels);
  int differing = 0;
  for (int k = 0; k < 1500 * 1000; ++k) differing += fast[k] != whole[k];
  EXPECT_EQ(differing, 0);
  EXPECT_NEAR(pixel(1001, 650)[0], 155, 2); // a veiled grid line
}
