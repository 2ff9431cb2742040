#include "canvas.h"

TEST_F(Canvas, ButtonFaceFrameAndCaptionHaveOppositeColours) {
  drawButton({{100, 200}, {350, 100}, "Solo Play", "", false, 2});
  drawButton({{100, 400}, {350, 100}, "Solo Play", "", true, 2});
  expectAt(whitePixel, {105, 205, 100, 200, 100, 400, 449, 499});
  expectAt(blackPixel, {105, 405});
  SDL_Rect plain = extent({101, 201, 348, 98}, blackPixel);
  SDL_Rect hovered = extent({101, 401, 348, 98}, whitePixel);
  EXPECT_GT(plain.w, 100);
  EXPECT_NEAR(plain.x + plain.w / 2.0, 275, 3); // centred on the button
  EXPECT_NEAR(plain.y + plain.h / 2.0, 250, 6);
  EXPECT_EQ(hovered.x, plain.x);
  EXPECT_EQ(hovered.y, plain.y + 200);
}

TEST_F(Canvas, ButtonCaptionFontAndOverhang) {
  auto captionHeight = [&](int32_t code) {
    clear();
    drawButton({{100, 100}, {600, 200}, "Hg", "", false, code});
    return extent({100, 100, 600, 200}, blackPixel).h;
  };
  int small = captionHeight(0); // codes other than 2 and 3 take the small font
  EXPECT_EQ(captionHeight(7), small);
  EXPECT_LT(small, captionHeight(2));
  EXPECT_LT(captionHeight(2), captionHeight(3));
  // Text and key name make one caption; wider than the button, it overhangs both sides equally.
  clear();
  drawButton({{700, 500}, {100, 50}, "P1 | Rotate CW:   ", "Up", true, 1});
  SDL_Rect caption = extent({0, 500, 1500, 50}, whitePixel);
  EXPECT_LT(caption.x, 700);
  EXPECT_NEAR(caption.x + caption.w / 2.0, 750, 3);
}

TEST_F(Canvas, PieceColoursAndTheirSpecialIndices) {
  SDL_Rect r = {0, 0, 10, 10};
  auto colourOf = [&](int32_t k, bool direct) {
    setPieceDrawColour(k, 255, direct);
    SDL_RenderFillRect(renderer, &r);
    return pixel(5, 5);
  };
  EXPECT_EQ(colourOf(99, true), (Rgb{100, 100, 100}));
  EXPECT_EQ(colourOf(100, false), (Rgb{220, 0, 0}));
  EXPECT_EQ(colourOf(101, true), (Rgb{0, 0, 220}));
  EXPECT_EQ(colourOf(-1, true), blackPixel);
  // Only loaded pieces 0 and 2 in play: direct names a loaded piece, otherwise a catalogue entry.
  pieceCatalogue = {loadedPieces[0], loadedPieces[2]};
  catalogueSource = {0, 2};
  EXPECT_EQ(colourOf(1, false), colourOfPiece(3));
  EXPECT_EQ(colourOf(1, true), colourOfPiece(2));
  pieceColours.pop_back(); // a piece without a colour row is still visible
  EXPECT_NE(colourOf(2, true), blackPixel);
  EXPECT_NE(colourOf(1, false), blackPixel);
}
