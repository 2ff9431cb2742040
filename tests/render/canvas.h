// A 1500 x 1000 software canvas that the drawing code paints into, and a clean game state.
#pragma once

#include "app/state.h" // the screens the tests draw read the shell's state
#include "pictures.h"
#include "render/render.h"

#include <gtest/gtest.h>

#include <array>

using Rgb = std::array<int, 3>;
constexpr Rgb blackPixel = {0, 0, 0}, whitePixel = {255, 255, 255};

class Canvas : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    if (fontSmall != nullptr) return;
    ASSERT_EQ(TTF_Init(), 0);
    for (auto [font, size] : {std::pair{&fontSmall, 24}, {&fontMedium, 36}, {&fontLarge, 48}}) {
      *font = TTF_OpenFont(BRIKKA_FONT_FILE, size);
      ASSERT_NE(*font, nullptr) << size;
    }
  }
  void SetUp() override {
    surface = SDL_CreateRGBSurfaceWithFormat(0, 1500, 1000, 32, SDL_PIXELFORMAT_ARGB8888);
    renderer = SDL_CreateSoftwareRenderer(surface);
    ASSERT_NE(renderer, nullptr);
    // Piece 1: a 3-wide T, piece 2: a 2 x 2 square, piece 3: a 5-long bar.
    useCatalogue({pieceFromPicture({".#.", "###", "..."}), pieceFromPicture({"##", "##"}),
                  pieceFromPicture({".....", ".....", "#####", ".....", "....."})});
    resetGameState();
    palette = standardPalette, pieceSymbolsOn = reduceMotion = false;
    population.clear(), averageHistory.clear();
    showFitnessGraph = true;
    currentScreen = lastHoveredChoice = highscore = 0;
    generation = 1;
    screenButtons.assign(5, {});
    screenSliders.assign(5, {});
    backButton = {{1300, 900}, {150, 50}, "Back", "", false, 1};
    visualizationButton = {{1000, 875}, {250, 100}, "Toggle Visualization", "", false, 1};
  }
  void TearDown() override {
    releaseRenderCaches();
    SDL_DestroyRenderer(renderer);
    renderer = nullptr;
    SDL_FreeSurface(surface);
  }
  void clear() {
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
  }
  Rgb pixel(int x, int y) {
    SDL_RenderFlush(renderer);
    uint32_t value = static_cast<uint32_t*>(surface->pixels)[y * (surface->pitch / 4) + x];
    uint8_t r, g, b;
    SDL_GetRGB(value, surface->format, &r, &g, &b);
    return {r, g, b};
  }
  void expectAt(Rgb colour, std::initializer_list<int> xy) { // pixels x, y, x, y, ...
    for (const int* p = xy.begin(); p + 1 < xy.end(); p += 2)
      EXPECT_EQ(pixel(p[0], p[1]), colour) << "at " << p[0] << ", " << p[1];
  }
  int count(SDL_Rect area, Rgb colour) { // pixels of this colour in the area
    int n = 0;
    for (int y = area.y; y < area.y + area.h; ++y)
      for (int x = area.x; x < area.x + area.w; ++x) n += pixel(x, y) == colour;
    return n;
  }
  SDL_Rect extent(SDL_Rect area, Rgb colour) { // their bounding box; w = 0 when none
    int left = area.x + area.w, top = area.y + area.h, right = area.x - 1, bottom = area.y - 1;
    for (int y = area.y; y < area.y + area.h; ++y)
      for (int x = area.x; x < area.x + area.w; ++x)
        if (pixel(x, y) == colour)
          left = std::min(left, x), right = std::max(right, x), top = std::min(top, y),
          bottom = std::max(bottom, y);
    return right < left ? SDL_Rect{0, 0, 0, 0}
                        : SDL_Rect{left, top, right - left + 1, bottom - top + 1};
  }
  Rgb colourOfPiece(int32_t id) { return {std::min(255, 40 + 20 * (id - 1)), 200, 100}; }
  SDL_Surface* surface = nullptr;
};
