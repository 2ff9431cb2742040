#include "canvas.h"

#include "pictures.h"

#include <ostream>

std::ostream& operator<<(std::ostream& out, const Rgb& c) {
  return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

void Canvas::SetUpTestSuite() {
  if (fontSmall != nullptr) return;
  ASSERT_EQ(TTF_Init(), 0);
  fontSmall = TTF_OpenFont(BRIKKA_FONT_FILE, 24);
  fontMedium = TTF_OpenFont(BRIKKA_FONT_FILE, 36);
  fontLarge = TTF_OpenFont(BRIKKA_FONT_FILE, 48);
  ASSERT_TRUE(fontSmall && fontMedium && fontLarge);
}

void Canvas::SetUp() {
  surface =
      SDL_CreateRGBSurfaceWithFormat(0, windowWidth, windowHeight, 32, SDL_PIXELFORMAT_ARGB8888);
  ASSERT_NE(surface, nullptr);
  renderer = SDL_CreateSoftwareRenderer(surface);
  ASSERT_NE(renderer, nullptr);
  // Piece 1: a 3-wide T, piece 2: a 2 x 2 square, piece 3: a 5-long bar.
  useCatalogue({pieceFromPicture({".#.", "###", "..."}), pieceFromPicture({"##", "##"}),
                pieceFromPicture({".....", ".....", "#####", ".....", "....."})});
  p1Board = p2Board = Board{};
  p1PieceId = p2PieceId = 0;
  p1Rotation = p2Rotation = 0;
  p1Position = p2Position = spawnPosition;
  p1HeldPiece = p2HeldPiece = 0;
  p1GhostCells.clear();
  p2GhostCells.clear();
  pieceQueue.clear();
  queueBase = p1PieceCount = p2PieceCount = 0;
  p1DamageFlash = p2DamageFlash = 0.0;
  p1IncomingDamage.clear();
  p2IncomingDamage.clear();
  p1Losses = p2Losses = 0;
  lineClearParticles.clear();
  menuPieces.clear();
  matchOver = false;
  gameMode = currentScreen = lastHoveredChoice = 0;
  score = highscore = 0;
  showFitnessGraph = true;
  population.clear();
  averageHistory.clear();
  generation = 1;
  screenButtons.assign(5, {});
  screenSliders.assign(5, {});
}

void Canvas::TearDown() {
  SDL_DestroyRenderer(renderer);
  renderer = nullptr;
  SDL_FreeSurface(surface);
}

Rgb Canvas::pixel(int x, int y) {
  SDL_RenderFlush(renderer);
  uint32_t value = static_cast<uint32_t*>(surface->pixels)[y * (surface->pitch / 4) + x];
  uint8_t r, g, b;
  SDL_GetRGB(value, surface->format, &r, &g, &b);
  return {r, g, b};
}

int Canvas::count(SDL_Rect area, Rgb colour) {
  int n = 0;
  for (int y = area.y; y < area.y + area.h; ++y)
    for (int x = area.x; x < area.x + area.w; ++x) n += pixel(x, y) == colour;
  return n;
}

SDL_Rect Canvas::extent(SDL_Rect area, Rgb colour) {
  int left = area.x + area.w, top = area.y + area.h, right = area.x - 1, bottom = area.y - 1;
  for (int y = area.y; y < area.y + area.h; ++y)
    for (int x = area.x; x < area.x + area.w; ++x)
      if (pixel(x, y) == colour) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  if (right < left) return {0, 0, 0, 0};
  return {left, top, right - left + 1, bottom - top + 1};
}

Rgb Canvas::colourOfPiece(int32_t id) {
  return {std::min(255, 40 + 20 * (id - 1)), 200, 100};
}
