#include "canvas.h"

#include "pictures.h"

// At pitch 40 and centre 750 column i, row j starts at (550 + 40i, 100 + 40j).
TEST_F(Canvas, BoardCellsFallingPieceAndGhost) {
  p1Board = boardFromPicture({"2.........", "grb......."});
  p1PieceId = 1; // the T, flat side down, at the top
  p1Position = {3, 0};
  p1GhostCells = {{4, 17}, {3, 18}, {4, 18}, {5, 18}};
  drawBoard(1, 750, 40, false);
  EXPECT_EQ(pixel(560, 830), colourOfPiece(2)); // row 18, column 0
  EXPECT_EQ(pixel(550, 820), whitePixel);       // its grid line
  EXPECT_EQ(pixel(590, 830), whitePixel);       // shared edge
  EXPECT_EQ(pixel(570, 880), (Rgb{100, 100, 100}));
  EXPECT_EQ(pixel(610, 880), (Rgb{220, 0, 0}));
  EXPECT_EQ(pixel(650, 880), (Rgb{0, 0, 220}));
  EXPECT_EQ(pixel(700, 510), blackPixel); // empty cell
  EXPECT_EQ(pixel(950, 900), whitePixel); // overhang of the last cells
  // The falling piece has no grid lines: the edge between its blocks is its colour.
  EXPECT_EQ(pixel(710, 160), colourOfPiece(1)); // column 4 starts at x 710, row 1 at 140
  EXPECT_EQ(pixel(690, 160), colourOfPiece(1));
  // Ghost cell (3, 18) at (670, 820): a hollow square with a 4-pixel border.
  Rgb ghost = colourOfPiece(1);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(pixel(670 + k, 840), ghost) << k;
  EXPECT_EQ(pixel(674, 840), blackPixel);
  EXPECT_EQ(pixel(690, 840), blackPixel);
  EXPECT_EQ(pixel(710, 840), ghost); // outer ring of the next ghost cell
}

TEST_F(Canvas, HoldAndNextBoxesWithInsetMiniCells) {
  p1HeldPiece = 3; // five columns: inset 1 inside the 10-pixel margin
  pieceQueue = {1, 2, 2, 2, 2, 2, 3};
  drawBoard(1, 750, 40, true);
  // Hold box (390, 220, 133, 133): a white frame two pixels thick.
  EXPECT_EQ(pixel(390, 250), whitePixel);
  EXPECT_EQ(pixel(391, 250), whitePixel);
  EXPECT_EQ(pixel(392, 250), blackPixel);
  EXPECT_EQ(pixel(522, 250), whitePixel);
  EXPECT_EQ(pixel(523, 250), blackPixel);
  // Bar in row 2 of its grid: mini cells of 22 from x 401, y 220 + 10 + 1 + 44 = 275.
  EXPECT_EQ(pixel(400, 280), blackPixel);
  EXPECT_EQ(pixel(401, 280), whitePixel);
  EXPECT_EQ(pixel(405, 280), colourOfPiece(3));
  EXPECT_EQ(pixel(405, 275), whitePixel);
  EXPECT_EQ(pixel(405, 274), blackPixel);
  // Next box (1056, 193, 133, 666); the square (2 columns) is inset 34: x from 1100.
  EXPECT_EQ(pixel(1057, 500), whitePixel);
  EXPECT_EQ(pixel(1058, 500), blackPixel);
  EXPECT_EQ(pixel(1188, 858), whitePixel);
  EXPECT_EQ(pixel(1099, 240), blackPixel);
  EXPECT_EQ(pixel(1100, 240), whitePixel);
  EXPECT_EQ(pixel(1105, 245), colourOfPiece(2));
  // Slots step 133.33 pixels: slot 4 starts at 237 + 533, not 237 + 532.
  EXPECT_EQ(pixel(1105, 769), blackPixel);
  EXPECT_EQ(pixel(1105, 770), whitePixel);
  EXPECT_EQ(pixel(1105, 775), colourOfPiece(2));
}

TEST_F(Canvas, EmptyHoldShowsOnlyItsFrame) {
  pieceQueue = {1, 1, 1, 1, 1, 1};
  drawBoard(2, 350, 33, true); // hold box (53, 269, 110, 110)
  EXPECT_EQ(pixel(53, 300), whitePixel);
  EXPECT_EQ(count({55, 271, 106, 106}, blackPixel), 106 * 106);
}

TEST_F(Canvas, DamageFlashAlphaIsTruncatedAndCapped) {
  p1DamageFlash = 0.9;
  drawBoard(1, 750, 40, false);
  EXPECT_EQ(pixel(700, 510), blackPixel);
  p1DamageFlash = 300;
  drawBoard(1, 750, 40, false);
  EXPECT_EQ(pixel(700, 510), (Rgb{255, 0, 0}));
  EXPECT_EQ(pixel(950, 900), (Rgb{255, 0, 0})); // the overhang is covered too
  EXPECT_EQ(pixel(951, 500), blackPixel);
}

TEST_F(Canvas, WaitingGarbageBarsShowHowSoonTheyRise) {
  damageDelay = 500.0;
  p1IncomingDamage = {{2, 0, 400.0}, {3, 0, 300.0}, {1, 0, damageDelay / 3}, {1, 0, 0.0}};
  p2IncomingDamage = {{1, 0, -5.0}};
  drawIncomingDamage();
  EXPECT_EQ(pixel(1300, 200), (Rgb{0, 255, 0})); // rows 0-1: just arrived
  EXPECT_EQ(pixel(1300, 299), (Rgb{0, 255, 0}));
  EXPECT_EQ(pixel(1300, 300), (Rgb{255, 255, 0})); // rows 2-4: y 300..450
  EXPECT_EQ(pixel(1314, 449), (Rgb{255, 255, 0}));
  EXPECT_EQ(pixel(1300, 460), (Rgb{255, 0, 0})); // exactly a third: red
  EXPECT_EQ(pixel(1300, 510), (Rgb{255, 100, 100}));
  EXPECT_EQ(pixel(1315, 300), blackPixel); // bars are 25 wide
  EXPECT_EQ(pixel(1300, 199), blackPixel);
  EXPECT_EQ(pixel(550, 220), (Rgb{255, 100, 100}));
}

TEST_F(Canvas, RoundPointsCountTopOutsAndNeverShowMoreThanThree) {
  p1Losses = 2;
  p2Losses = 5;
  drawRoundPoints({0, 0, 255}, {255, 0, 0});
  EXPECT_EQ(pixel(355, 125), (Rgb{0, 0, 255}));
  EXPECT_EQ(pixel(415, 125), (Rgb{0, 0, 255}));
  EXPECT_EQ(pixel(475, 125), blackPixel);
  EXPECT_EQ(pixel(450, 125), whitePixel); // outlined even when empty
  for (int x : {1105, 1165, 1225}) EXPECT_EQ(pixel(x, 125), (Rgb{255, 0, 0}));
  EXPECT_EQ(count({1260, 90, 240, 70}, whitePixel), 0);
  // "Points: " ends at the boxes' left, centred on their row.
  SDL_Rect label = extent({0, 90, 330, 70}, whitePixel);
  EXPECT_GT(label.w, 80);
  EXPECT_LE(label.x + label.w, 320);
  EXPECT_NEAR(label.y + label.h / 2.0, 125, 6);
  EXPECT_GT(count({900, 90, 180, 70}, whitePixel), 50);
}

TEST_F(Canvas, LineClearParticlesAreTranslucentWhite) {
  lineClearParticles = {{100.7, 200.2, 0, 0, 10.9, 0, 0, 0}};
  drawLineClearParticles();
  Rgb lit = pixel(105, 205);
  EXPECT_NEAR(lit.r, 100, 2);
  EXPECT_EQ(lit.r, lit.b);
  EXPECT_NE(pixel(100, 200), blackPixel);
  EXPECT_EQ(pixel(110, 205), blackPixel);
}
