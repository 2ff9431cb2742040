#include "canvas.h"

#include <climits>

TEST(FormatInt, WritesPlainDecimalWithSign) {
  EXPECT_EQ(formatInt(-7), "-7");
  EXPECT_EQ(formatInt(0), "0");
  EXPECT_EQ(formatInt(1500), "1500");
  EXPECT_EQ(formatInt(INT_MIN), "-2147483648");
}

TEST_F(Canvas, ButtonFaceFrameAndCaptionHaveOppositeColours) {
  Button plain{{100, 200}, {350, 100}, "Solo Play", "", false, 2};
  Button hovered{{100, 400}, {350, 100}, "Solo Play", "", true, 2};
  drawButton(plain);
  drawButton(hovered);
  EXPECT_EQ(pixel(105, 205), whitePixel); // face
  EXPECT_EQ(pixel(100, 200), whitePixel); // frame
  EXPECT_EQ(pixel(105, 405), blackPixel); // hovered face
  EXPECT_EQ(pixel(100, 400), whitePixel); // hovered frame
  EXPECT_EQ(pixel(449, 499), whitePixel);
  SDL_Rect plainCaption = extent({101, 201, 348, 98}, blackPixel);
  SDL_Rect hoveredCaption = extent({101, 401, 348, 98}, whitePixel);
  EXPECT_GT(plainCaption.w, 100);
  // Both captions sit on the button's centre (275, y + 50), to within a couple of pixels.
  EXPECT_NEAR(plainCaption.x + plainCaption.w / 2.0, 275, 3);
  EXPECT_NEAR(plainCaption.y + plainCaption.h / 2.0, 250, 6);
  EXPECT_EQ(hoveredCaption.x, plainCaption.x);
  EXPECT_EQ(hoveredCaption.y, plainCaption.y + 200);
}

TEST_F(Canvas, ButtonCaptionFontAndOverhang) {
  // Codes other than 2 and 3 take the small font: the same caption height.
  int heights[5];
  int32_t codes[5] = {0, 1, 7, 2, 3};
  for (int k = 0; k < 5; ++k) {
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    drawButton({{100, 100}, {600, 200}, "Hg", "", false, codes[k]});
    heights[k] = extent({100, 100, 600, 200}, blackPixel).h;
  }
  EXPECT_EQ(heights[0], heights[1]);
  EXPECT_EQ(heights[0], heights[2]);
  EXPECT_GT(heights[3], heights[0]);
  EXPECT_GT(heights[4], heights[3]);

  // A caption wider than its button overhangs both sides equally; control text and key name
  // are one caption.
  SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
  SDL_RenderClear(renderer);
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
  // The catalogue holds only loaded pieces 0 and 2: direct names a loaded piece, the other
  // form a catalogue entry.
  pieceCatalogue = {loadedPieces[0], loadedPieces[2]};
  catalogueSource = {0, 2};
  EXPECT_EQ(colourOf(1, false), colourOfPiece(3));
  EXPECT_EQ(colourOf(1, true), colourOfPiece(2));
  EXPECT_EQ((Rgb{cellColour(2)[0], cellColour(2)[1], cellColour(2)[2]}), colourOfPiece(3));
  // A piece without a colour row is still visible.
  pieceColours.pop_back();
  EXPECT_NE(colourOf(2, true), blackPixel);
  EXPECT_NE(colourOf(1, false), blackPixel);
}
