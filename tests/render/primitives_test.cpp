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
