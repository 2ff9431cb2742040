#include "canvas.h"

// At pitch 40 and centre 750, column i and row j start at (550 + 40i, 100 + 40j).
TEST_F(Canvas, BoardCellsFallingPieceGhostAndFlash) {
  p1Board = boardFromPicture({"2.........", "grb......."});
  p1PieceId = 1; // the T, its long side in row 1
  p1GhostCells = {{4, 17}, {3, 18}, {4, 18}, {5, 18}};
  p1DamageFlash = 0.9; // alpha 0: no flash
  drawBoard(1, 750, 40, false);
  expectAt(colourOfPiece(2), {560, 830});
  expectAt(whitePixel, {550, 820, 590, 830, 950, 900});
  expectAt(Rgb{100, 100, 100}, {570, 880});
  expectAt(Rgb{220, 0, 0}, {610, 880});
  expectAt(Rgb{0, 0, 220}, {650, 880});
  expectAt(blackPixel, {700, 510});
  // The falling piece has no grid lines; the ghost is a hollow square with a 4-pixel border.
  expectAt(colourOfPiece(1), {710, 160, 690, 160, 670, 840, 673, 840, 710, 840});
  expectAt(blackPixel, {674, 840, 690, 840});
  p1DamageFlash = 300; // alpha 255, over the whole board
  drawBoard(1, 750, 40, false);
  expectAt(Rgb{255, 0, 0}, {700, 510, 950, 900, 674, 840});
  expectAt(blackPixel, {951, 500});
  // A line-clear square adds its light to whatever lies beneath: grey 100 becomes 200.
  lineClearParticles = {{565.5, 865.9, 300, 510, 20.7, 10, 0, 0.5}};
  p1DamageFlash = 0;
  drawBoard(1, 750, 40, false);
  drawLineClearParticles();
  expectAt(Rgb{200, 200, 200}, {565, 865, 584, 884});
  expectAt(Rgb{100, 100, 100}, {585, 885});
}

TEST_F(Canvas, HoldAndNextBoxesWithInsetMiniCells) {
  p1HeldPiece = 3;
  pieceQueue = {1, 2, 2, 2, 2, 2, 3};
  drawBoard(1, 750, 40, true);
  // Hold box (390, 220, 133, 133) framed 2 pixels thick; the 5-column bar is inset 1 inside the
  // 10-pixel margin: mini cells of 22 from (401, 275).
  expectAt(whitePixel, {390, 250, 391, 250, 522, 250, 401, 280});
  expectAt(blackPixel, {392, 250, 523, 250, 400, 280, 405, 274});
  expectAt(colourOfPiece(3), {405, 280});
  // Next box (1056, 193, 133, 666); the 2-column square is inset 34, from (1100, 237). Slots are
  // 133.33 apart: slot 4 starts at 237 + 533, not 237 + 532.
  expectAt(whitePixel, {1057, 500, 1188, 858, 1100, 240, 1105, 770});
  expectAt(blackPixel, {1058, 500, 1099, 240, 1105, 769});
  expectAt(colourOfPiece(2), {1105, 245, 1105, 775});
}

TEST_F(Canvas, GarbageBarsAndRoundPoints) {
  damageDelay = 500.0;
  p1IncomingDamage = {{2, 0, 400.0}, {3, 0, 300.0}, {1, 0, damageDelay / 3}, {1, 0, 0.0}};
  p2IncomingDamage = {{1, 0, -5.0}};
  drawIncomingDamage();
  // Rows 0-1 green, 2-4 yellow, then exactly a third (red) and run out (pale red); 25 wide.
  expectAt(blackPixel, {1300, 199, 1315, 300});
  expectAt(Rgb{0, 255, 0}, {1300, 200, 1300, 299});
  expectAt(Rgb{255, 255, 0}, {1300, 300, 1314, 449});
  expectAt(Rgb{255, 0, 0}, {1300, 460});
  expectAt(Rgb{255, 100, 100}, {1300, 510, 550, 220});
  // Against a fast bot the waiting rows outgrow the board: the bar stops at its bottom edge.
  p2IncomingDamage = {{40, 0, 400.0}};
  drawIncomingDamage();
  expectAt(Rgb{0, 255, 0}, {550, 830});
  EXPECT_EQ(count({540, 831, 25, 169}, blackPixel), 25 * 169);
  p1Losses = 2;
  p2Losses = 5; // never more than three boxes
  drawRoundPoints({0, 0, 255}, {255, 0, 0});
  expectAt(Rgb{0, 0, 255}, {355, 125, 415, 125});
  expectAt(blackPixel, {475, 125});
  expectAt(whitePixel, {450, 125});
  expectAt(Rgb{255, 0, 0}, {1105, 125, 1225, 125});
  EXPECT_EQ(count({1260, 90, 240, 70}, whitePixel), 0);
}

// A cleared row's squares start on the cells of the well as drawn: solo in the middle, player 2
// against the bot on the left flying right; none behind the menus.
TEST(LineClearLayout, SquaresStartOnTheWellAsDrawn) {
  gameMode = soloPlayMode;
  const ParticleLayout* solo = lineClearLayout(1);
  ASSERT_NE(solo, nullptr);
  EXPECT_EQ(std::vector<double>({solo->left + solo->cell * 3, solo->top + solo->cell * 19,
                                 solo->targetX, solo->targetY, solo->size}),
            std::vector<double>({550 + 40 * 3, 100 + 40 * 19, 300, 510, 40}));
  gameMode = versusBotMode;
  ASSERT_NE(lineClearLayout(2), nullptr);
  EXPECT_EQ(lineClearLayout(2)->targetX, 1290);
  gameMode = menuMode;
  EXPECT_EQ(lineClearLayout(1), nullptr);
}
