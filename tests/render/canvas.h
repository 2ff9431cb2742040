// A 1500 x 1000 software canvas that the drawing code paints into, and a clean game state.
#pragma once

#include "render/render.h"

#include <gtest/gtest.h>

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
  bool operator!=(const Rgb& o) const { return !(*this == o); }
};
std::ostream& operator<<(std::ostream& out, const Rgb& c);

constexpr Rgb blackPixel = {0, 0, 0};
constexpr Rgb whitePixel = {255, 255, 255};

class Canvas : public ::testing::Test {
protected:
  static void SetUpTestSuite(); // fonts, opened once
  void SetUp() override;        // blank canvas, empty boards, three small pieces
  void TearDown() override;
  Rgb pixel(int x, int y);
  // Pixels of exactly this colour inside the rectangle.
  int count(SDL_Rect area, Rgb colour);
  // Bounding box of the pixels of this colour inside the area ({0,0,0,0} when none).
  SDL_Rect extent(SDL_Rect area, Rgb colour);
  Rgb colourOfPiece(int32_t id); // the colour the test catalogue gives piece id
  SDL_Surface* surface = nullptr;
};
