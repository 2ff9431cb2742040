#include "canvas.h"

TEST_F(Canvas, ButtonColoursInvertWhenHovered) {
  drawButton({{100, 200}, {350, 100}, "Solo Play", "", false, 2});
  drawButton({{100, 400}, {350, 100}, "Solo Play", "", true, 2});
  expectAt(whitePixel, {105, 205, 100, 200, 100, 400, 449, 499});
  expectAt(blackPixel, {105, 405});
  SDL_Rect plain = extent({101, 201, 348, 98}, blackPixel);
  SDL_Rect hovered = extent({101, 401, 348, 98}, whitePixel);
  EXPECT_NEAR(plain.x + plain.w / 2.0, 275, 3); // centred on the button
  EXPECT_NEAR(plain.y + plain.h / 2.0, 250, 6);
  EXPECT_EQ(hovered.x, plain.x);
  EXPECT_EQ(hovered.y, plain.y + 200);
}

TEST_F(Canvas, PieceColoursByCatalogueEntryOrLoadedPiece) {
  auto colourOf = [&](int32_t k, bool direct) {
    SDL_Rect r = {0, 0, 10, 10};
    setPieceDrawColour(k, 255, direct);
    SDL_RenderFillRect(renderer, &r);
    return pixel(5, 5);
  };
  // Only loaded pieces 0 and 2 in play: direct names a loaded piece, otherwise a catalogue entry.
  pieceCatalogue = {loadedPieces[0], loadedPieces[2]};
  catalogueSource = {0, 2};
  EXPECT_EQ(colourOf(1, false), colourOfPiece(3));
  EXPECT_EQ(colourOf(1, true), colourOfPiece(2));
  pieceColours.pop_back(); // a piece without a colour row is still visible
  EXPECT_NE(colourOf(2, true), blackPixel);
  EXPECT_NE(colourOf(1, false), blackPixel);
}
