#include "canvas.h"

static Slider slider(double value, bool isInteger, double y = 500, bool held = false) {
  return {{650, y}, {650, y},  0.0,  1.0,  value, "Learning Rate", 700, 50,
          54,       isInteger, held, held, ""};
}

TEST_F(Canvas, SliderValueTrackKnobAndCaption) {
  // Hundredths truncated (0.29 * 100 is just below 29), the sign kept.
  const std::tuple<double, bool, const char*> shown[] = {
      {0.05, false, "0.05"},  {1.5, false, "1.50"}, {0.29, false, "0.28"},
      {-0.5, false, "-0.50"}, {7.9, true, "7"},     {-7.9, true, "-7"}};
  for (auto [value, isInteger, text] : shown)
    EXPECT_EQ(sliderValueText(slider(value, isInteger)), text);
  drawSlider(slider(0.5, false));
  // Track (300, 475, 700, 50), knob (623, 473, 54, 54): both black with a white edge.
  expectAt(whitePixel, {300, 475, 623, 500});
  expectAt(blackPixel, {310, 500, 650, 500});
  SDL_Rect caption = extent({0, 380, 1500, 93}, whitePixel); // middle 20 above the track
  EXPECT_NEAR(caption.x + caption.w / 2.0, 650, 3);
  EXPECT_NEAR(caption.y + caption.h / 2.0, 455, 8);
  // Hovered, the knob grows to 58 (621..678); held, it is white with a black edge.
  drawSlider(slider(0.5, false, 800, true));
  expectAt(blackPixel, {621, 800, 678, 800, 650, 771});
  expectAt(whitePixel, {622, 800, 677, 800, 650, 772});
}

TEST_F(Canvas, PieceSelectionTilesInRowsOfTen) {
  useCatalogue(std::vector<Piece>(29, pieceFromPicture({"#..", "###", "..."})));
  pieceSelection[0] = false;
  currentScreen = 4;
  drawMenuScreen();
  // Tiles are black at alpha 200 over black; selected ones lighter. Rows at y 50, 300, 550.
  Rgb on = pixel(155, 55);
  EXPECT_GT(on[0], 100);
  expectAt(blackPixel, {5, 55, 1355, 555, 5, 705});
  expectAt(on, {1355, 55, 5, 305, 1205, 555});
  // A tick on the chosen pieces, none on the others.
  expectAt({40, 200, 40}, {150 + 126, 50 + 31, 1200 + 126, 550 + 31});
  EXPECT_NE(pixel(126, 81), (Rgb{40, 200, 40}));
  // A 3-column grid: cell (0, 0) at the tile's corner + 37, cell (2, 1) ending at + 111, + 86.
  expectAt(colourOfPiece(12), {187, 337, 261, 386});
  expectAt(on, {186, 337, 262, 386, 237, 340});
  // Backdrop pieces drifting under the tiles, overlapping: the frame, which blends only over
  // what it drew, shows what blending whole tiles shows.
  menuPieces = {{1, 0, 50, 50, 120, 20}, {2, 1, 40, 40, 140, 40}, {0, 2, 30, 30, 1300, 500}};
  drawFrame();
  std::vector<uint32_t> frame(static_cast<uint32_t*>(surface->pixels),
                              static_cast<uint32_t*>(surface->pixels) + 1500 * 1000);
  clear();
  drawMenuScreen();
  SDL_RenderFlush(renderer);
  EXPECT_TRUE(std::equal(frame.begin(), frame.end(), static_cast<uint32_t*>(surface->pixels)));
  EXPECT_NE(pixel(125, 55), on); // the backdrop shows through a tile
}
