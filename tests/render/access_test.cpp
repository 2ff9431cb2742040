#include "canvas.h"

#include <set>
#include <vector>

// At pitch 40 and centre 750, column i and row j start at (550 + 40i, 100 + 40j).
TEST_F(Canvas, EachPaletteColoursTheWellsCellsGarbageAndGhost) {
  p1Board = boardFromPicture({"2.........", "g........."});
  p1PieceId = 1;
  p1GhostCells = {{4, 18}};
  const Rgb standardTwo = colourOfPiece(2);
  const Rgb pieceTwo[] = {standardTwo, {86, 180, 233}, {40, 255, 40}}; // loaded piece 1's hue
  const Rgb garbage[] = {{100, 100, 100}, {80, 80, 80}, {80, 80, 80}};
  const Rgb ghost[] = {colourOfPiece(1), whitePixel, whitePixel};
  for (int32_t p : {standardPalette, okabeItoPalette, highContrastPalette}) {
    palette = p;
    clear();
    drawBoard(1, 750, 40, false);
    EXPECT_EQ(pixel(570, 830), pieceTwo[p]) << "palette " << p;
    EXPECT_EQ(pixel(570, 880), garbage[p]) << "palette " << p;
    EXPECT_EQ(pixel(712, 842), ghost[p]) << "palette " << p;
    // High contrast edges each piece cell in white inside its grid line; the others do not.
    EXPECT_EQ(pixel(551, 830), p == highContrastPalette ? whitePixel : pieceTwo[p]);
    // and writes white on black buttons; the others black on white.
    Button back = {{100, 100}, {150, 50}, "Back", "", false, 1};
    drawButton(back);
    const Rgb face = p == highContrastPalette ? blackPixel : whitePixel;
    const Rgb caption = p == highContrastPalette ? whitePixel : blackPixel;
    EXPECT_EQ(pixel(103, 103), face) << "palette " << p;
    EXPECT_GT(count({105, 105, 140, 40}, caption), 30) << "palette " << p;
  }
}

TEST_F(Canvas, TheTwentyNineMarksDifferPairwiseInsideTheSmallestCell) {
  // The smallest cells drawn: a hold or next box beside a versus well, 18 pixels a side.
  const int side = 18;
  std::set<std::vector<bool>> marks;
  int onGridLine = 0;
  for (int32_t type = 0; type < 29; ++type) {
    clear();
    drawPieceMark(type, {0, 0, side, side}, {255, 255, 255});
    std::vector<bool> drawn;
    for (int y = 0; y < side; ++y)
      for (int x = 0; x < side; ++x) {
        drawn.push_back(pixel(x, y) == whitePixel);
        onGridLine += drawn.back() && (x == 0 || y == 0 || x == side - 1 || y == side - 1);
      }
    marks.insert(drawn);
  }
  EXPECT_EQ(marks.size(), 29u);
  EXPECT_EQ(marks.count(std::vector<bool>(side * side, false)), 0u); // none is blank
  EXPECT_EQ(onGridLine, 0);
}

TEST_F(Canvas, MarksShowInTheWellGhostAndBoxesOnlyWhenAskedFor) {
  p1Board = boardFromPicture({"2.........", ".........."});
  p1PieceId = 2;
  p1GhostCells = {{4, 17}};
  p1HeldPiece = 2;
  // Well cell (550, 820), ghost cell (710, 780), the held square's first 22-pixel mini cell
  // from (434, 264).
  const SDL_Rect well = {551, 821, 39, 39}, ghostInside = {715, 785, 31, 31};
  const SDL_Rect held = {435, 265, 20, 20};
  for (bool on : {false, true}) {
    pieceSymbolsOn = on;
    clear();
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_ADD); // as over the menus' backdrop
    drawBoard(1, 750, 40, true);
    EXPECT_EQ(count(well, blackPixel) > 0, on); // black reads on this light green
    EXPECT_EQ(count(ghostInside, colourOfPiece(2)) > 0, on);
    // With marks the ghost's ring leaves a black gap before the mark's edge band.
    EXPECT_EQ(count({712, 790, 2, 20}, blackPixel) == 40, on);
    EXPECT_EQ(count(held, blackPixel) > 0, on);
  }
}

TEST_F(Canvas, ReducedMotionDrawsNoFlashNoParticlesAndASteadyGarbageOutline) {
  reduceMotion = true;
  p1DamageFlash = 300;
  lineClearParticles = {{565.5, 865.9, 300, 510, 20.7, 10, 0, 0.5}};
  drawBoard(1, 750, 40, false);
  drawLineClearParticles();
  expectAt(blackPixel, {700, 510, 570, 870});
  damageDelay = 500.0;
  p1IncomingDamage = {{2, 0, 0.0}};
  drawIncomingDamage();
  // Bar (1290, 200, 25, 100) outlined three pixels thick in white, every frame.
  expectAt(whitePixel, {1290, 250, 1292, 250, 1314, 299});
  expectAt(Rgb{255, 100, 100}, {1293, 250});
}
