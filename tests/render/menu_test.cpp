#include "canvas.h"

#include "pictures.h"

static Slider slider(double value, bool isInteger) {
  Slider s;
  s.position = {650, 500};
  s.knob = {650, 500};
  s.trackWidth = 700;
  s.value = value;
  s.label = "Learning Rate";
  s.isInteger = isInteger;
  return s;
}

TEST(SliderValueText, TruncatesToHundredthsAndKeepsTheSign) {
  EXPECT_EQ(sliderValueText(slider(0.05, false)), "0.05");
  EXPECT_EQ(sliderValueText(slider(1.5, false)), "1.50");
  EXPECT_EQ(sliderValueText(slider(0.29, false)), "0.28"); // 0.29 * 100 is just below 29
  EXPECT_EQ(sliderValueText(slider(3.0, false)), "3.00");
  EXPECT_EQ(sliderValueText(slider(0.001, false)), "0.00");
  EXPECT_EQ(sliderValueText(slider(-0.5, false)), "-0.50");
  EXPECT_EQ(sliderValueText(slider(-2.25, false)), "-2.25");
  EXPECT_EQ(sliderValueText(slider(7.9, true)), "7");
  EXPECT_EQ(sliderValueText(slider(-7.9, true)), "-7");
}

TEST_F(Canvas, SliderTrackKnobAndCaption) {
  Slider plain = slider(0.5, false);
  drawSlider(plain);
  EXPECT_EQ(pixel(300, 475), whitePixel); // track (300, 475, 700, 50)
  EXPECT_EQ(pixel(310, 500), blackPixel);
  EXPECT_EQ(pixel(623, 500), whitePixel); // knob (623, 473, 54, 54), white edge
  EXPECT_EQ(pixel(650, 500), blackPixel);
  // The caption is centred over the track, its middle 20 pixels above the track's top.
  SDL_Rect caption = extent({0, 380, 1500, 93}, whitePixel);
  EXPECT_NEAR(caption.x + caption.w / 2.0, 650, 3);
  EXPECT_NEAR(caption.y + caption.h / 2.0, 455, 8);

  Slider held = slider(0.5, false);
  held.position.y = held.knob.y = 800;
  held.hovered = held.dragging = true;
  drawSlider(held);
  // Hovered, the knob grows to 58 (621..678); held, it is white with a black edge.
  EXPECT_EQ(pixel(621, 800), blackPixel);
  EXPECT_EQ(pixel(622, 800), whitePixel);
  EXPECT_EQ(pixel(677, 800), whitePixel);
  EXPECT_EQ(pixel(678, 800), blackPixel);
  EXPECT_EQ(pixel(650, 771), blackPixel);
  EXPECT_EQ(pixel(650, 772), whitePixel);
}

TEST_F(Canvas, PieceSelectionTilesInRowsOfTen) {
  std::vector<Piece> pieces(29, pieceFromPicture({"#..", "###", "..."}));
  useCatalogue(pieces);
  pieceSelection[0] = false;
  gameMode = 0;
  currentScreen = 4;
  drawMenuScreen();
  // Tiles are black at alpha 200 over black; selected ones lighter. Rows at y 50, 300, 550.
  Rgb unselected = pixel(5, 55), selected = pixel(155, 55);
  EXPECT_EQ(unselected, blackPixel);
  EXPECT_GT(selected.r, 100);
  EXPECT_EQ(pixel(1355, 55), selected); // the tenth tile
  EXPECT_EQ(pixel(5, 305), selected);
  EXPECT_EQ(pixel(1205, 555), selected); // the 29th tile
  EXPECT_EQ(pixel(1355, 555), blackPixel);
  EXPECT_EQ(pixel(5, 555 + 150), blackPixel);
  // A 3-column grid: cell (0, 0) at tile + 37, cell (2, 1) at tile + 87, tile + 62.
  Rgb colour = colourOfPiece(12);
  EXPECT_EQ(pixel(150 + 37, 300 + 37), colour);
  EXPECT_EQ(pixel(150 + 36, 300 + 37), selected);
  EXPECT_EQ(pixel(150 + 111, 300 + 86), colour);
  EXPECT_EQ(pixel(150 + 112, 300 + 86), selected);
  EXPECT_EQ(pixel(150 + 87, 300 + 40), selected);
}

TEST_F(Canvas, BackdropBrightnessAndDemonstrationBoards) {
  menuPieces = {{1, 0, 50, 50, 0, 0}, {1, 0, 10, 10, 300, 0}};
  p1Board = boardFromPicture({"1........."});
  p2Board = boardFromPicture({"2........."});
  currentScreen = 0;
  lastHoveredChoice = 0;
  drawMenuScreen();
  EXPECT_EQ(pixel(10, 10), colourOfPiece(2)); // blocks 50 wide at full strength
  Rgb faint = pixel(302, 2);                  // blocks 10 wide at alpha 55
  EXPECT_NEAR(faint.g, 200 * 55 / 255, 1);
  // One board at 950; its empty cells let the backdrop through, additive.
  EXPECT_EQ(pixel(760, 880), colourOfPiece(1));
  EXPECT_EQ(pixel(750, 500), whitePixel);
  EXPECT_EQ(pixel(1210, 880), blackPixel);

  lastHoveredChoice = 1; // two-player entries: boards at 750 and 1200
  SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
  SDL_RenderClear(renderer);
  drawMenuScreen();
  EXPECT_EQ(pixel(560, 880), colourOfPiece(1));
  EXPECT_EQ(pixel(1010, 880), colourOfPiece(2));
}
