// One player's field (board, piece, ghost, hold and next boxes, damage flash) and the furniture
// of the two-player screens: waiting garbage, round points, line-clear particles.
#include "render/render.h"

#include <algorithm>

namespace {

constexpr int32_t boardCentreY = 500;

// Where the squares of a cleared row start and fly to, by player and mode.
constexpr ParticleLayout soloLayout = {550, 100, 40, 300, 510, 40};
constexpr ParticleLayout versusP1Layout = {935, 170, 33, 540, 200, 33};
constexpr ParticleLayout botP1Layout = {935, 170, 33, 540, 200, 40};
constexpr ParticleLayout versusP2Layout = {185, 170, 33, 1290, 200, 40};

SDL_Rect boardCell(int32_t originX, int32_t c, int32_t column, int32_t row) {
  return {(column - 5) * c + originX, (row - 10) * c + boardCentreY, c + 1, c + 1};
}

// A piece's rotation-0 blocks in a hold or next box, centred by the grid's column count and
// moved down by shiftY (the next box's slot offset, fraction included).
void drawBoxedPiece(int32_t pieceId, SDL_Rect box, double shiftY) {
  const PieceGrid& grid = pieceGrid(pieceId, 0);
  int32_t s = (box.w - 20) / 5;
  int32_t n = static_cast<int32_t>(grid.size());
  int32_t off = ((box.w - 20) - s * n) / 2;
  std::array<uint8_t, 3> colour = cellColour(pieceId);
  for (int32_t i = 0; i < n; ++i)
    for (int32_t j = 0; j < static_cast<int32_t>(grid[i].size()); ++j) {
      if (grid[i][j] != 1) continue;
      int32_t y = s * j + off + box.y + 10;
      SDL_Rect cell = {s * i + off + box.x + 10, truncPixel(shiftY + y), s, s};
      fillCell(cell, colour);
      decoratePieceCell(pieceTypeOf(pieceId), cell, colour);
    }
}

void drawBoxes(const PlayerState& player, int32_t originX, int32_t c) {
  int32_t b = static_cast<int32_t>(c * 3.3333333333333335);
  SDL_Rect hold = {originX - 9 * c, boardCentreY - 7 * c, b, b};
  drawDoubleFrame(hold);
  if (player.heldPiece != 0) drawBoxedPiece(player.heldPiece, hold, 0.0);

  SDL_Rect next = {static_cast<int32_t>(originX + c * 7.666666666666667),
                   static_cast<int32_t>(boardCentreY - c * 7.666666666666667), b,
                   static_cast<int32_t>(c * 16.666666666666668)};
  drawDoubleFrame(next);
  for (int32_t t = 0; t < 5; ++t) {
    int64_t index = static_cast<int64_t>(player.pieceCount) - queueBase + 1 + t;
    if (index < 0 || index >= static_cast<int64_t>(pieceQueue.size())) continue;
    // The slot step is c * 10/3 before truncation, so the fraction accumulates.
    drawBoxedPiece(pieceQueue[index], next, t * c * 3.3333333333333335);
  }
}

void drawFallingPiece(const PlayerState& player, int32_t originX, int32_t c) {
  const PieceGrid& grid = pieceGrid(player.pieceId, player.rotation);
  std::array<uint8_t, 3> colour = cellColour(player.pieceId);
  for (int32_t i = 0; i < static_cast<int32_t>(grid.size()); ++i)
    for (int32_t j = 0; j < static_cast<int32_t>(grid[i].size()); ++j) {
      if (grid[i][j] != 1) continue;
      SDL_Rect r = boardCell(originX, c, player.position.x + i, player.position.y + j);
      setDrawColour(colour, 255);
      fillRect(r);
      decoratePieceCell(pieceTypeOf(player.pieceId), r, colour);
    }
}

void drawGhost(const PlayerState& player, int32_t originX, int32_t c) {
  std::array<uint8_t, 3> colour = ghostColour(player.pieceId);
  for (const Point& cell : player.ghostCells) {
    SDL_Rect r = boardCell(originX, c, cell.x, cell.y);
    setDrawColour(colour, 255);
    // With marks the ring is thinner, so that it does not swallow the mark's edge pattern.
    for (int32_t k = 0; k < (pieceSymbolsOn ? 2 : 4); ++k) {
      SDL_Rect ring = {r.x + k, r.y + k, c + 1 - 2 * k, c + 1 - 2 * k};
      outlineRect(ring);
    }
    // Over the ring's black inside, in the ring's colour.
    if (pieceSymbolsOn) drawPieceMark(pieceTypeOf(player.pieceId), r, colour);
  }
}

void drawDamageFlash(double flash, int32_t originX, int32_t c) {
  uint8_t alpha = static_cast<uint8_t>(std::clamp(truncPixel(flash), 0, 255));
  if (reduceMotion) alpha = 0;
  // Blending at alpha 0 leaves every pixel as it is; only the blend mode is left as drawn.
  if (alpha == 0) {
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
    return;
  }
  SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
  SDL_SetRenderDrawColor(renderer, 255, 0, 0, alpha);
  SDL_Rect r = {originX - 5 * c, boardCentreY - 10 * c, 10 * c + 1, 20 * c + 1};
  fillRect(r);
  SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
}

// Rows about to rise say so by more than their colour: a white outline flashing four times a
// second, or held steady and thick when nothing may flash.
void outlineRisingBar(SDL_Rect bar) {
  if (!reduceMotion && SDL_GetTicks() / 125 % 2 != 0) return;
  setDrawColour(white, 255);
  int32_t thickness = reduceMotion ? 3 : 2;
  for (int32_t k = 0; k < thickness; ++k)
    outlineRect({bar.x + k, bar.y + k, bar.w - 2 * k, bar.h - 2 * k});
}

} // namespace

void drawDamageBars(const std::vector<DamageRecord>& records, int32_t x) {
  // Beside the board and never below it: against a fast bot the waiting rows outgrow the board.
  const int32_t bottom = boardCentreY + 10 * versusCellPitch + 1;
  int32_t rowsDrawn = 0;
  for (const DamageRecord& record : records) {
    std::array<uint8_t, 3> colour = {255, 100, 100}; // timer run out
    if (record.timer > 0) colour = {255, 0, 0};
    if (record.timer > damageDelay / 3) colour = {255, 255, 0};
    if (record.timer > damageDelay * 2 / 3) colour = {0, 255, 0}; // just arrived
    setDrawColour(colour, 255);
    int64_t top = (static_cast<int64_t>(rowsDrawn) + 4) * 50;
    if (top >= bottom) break;
    int64_t height = std::min<int64_t>(static_cast<int64_t>(record.rows) * 50, bottom - top);
    SDL_Rect bar = {x, static_cast<int32_t>(top), 25, static_cast<int32_t>(height)};
    fillRect(bar);
    if (record.timer <= damageDelay / 3) outlineRisingBar(bar);
    rowsDrawn += record.rows;
  }
}

namespace {

void drawPointRow(int32_t labelRight, int32_t boxesX, int32_t losses,
                  std::array<int32_t, 3> colour) {
  drawText(
      fontMedium, tr("Points: "), {255, 255, 255, 255},
      [labelRight](int w, int h) {
        return SDL_Point{labelRight - w, static_cast<int>((50 - h) * 0.5 + 100)};
      },
      200);
  for (int32_t b = 0; b < 3; ++b) {
    SDL_Rect box = {boxesX + 60 * b, 100, 50, 50};
    if (b < losses) {
      SDL_SetRenderDrawColor(renderer, static_cast<uint8_t>(colour[0]),
                             static_cast<uint8_t>(colour[1]), static_cast<uint8_t>(colour[2]), 255);
      fillRect(box);
    }
    setDrawColour(white, 255);
    outlineRect(box);
  }
}

} // namespace

void drawBoard(int player, int32_t originX, int32_t cellPitch, bool showBoxes) {
  PlayerState state = playerState(player);
  int32_t c = cellPitch;
  drawBoardCells(state.board, originX - 5 * c, boardCentreY - 10 * c, c);
  if (showBoxes) drawBoxes(state, originX, c);
  // A race's first piece comes on "Go".
  if (countdownLeft <= 0.0 || gameMode != soloPlayMode) {
    drawFallingPiece(state, originX, c);
    drawGhost(state, originX, c); // over the piece where they overlap
  }
  drawDamageFlash(state.damageFlash, originX, c);
}

void drawIncomingDamage() {
  drawDamageBars(p2IncomingDamage, 540);  // beside player 2's board, on the left
  drawDamageBars(p1IncomingDamage, 1290); // beside player 1's board, on the right
}

void drawRoundPoints(std::array<int32_t, 3> left, std::array<int32_t, 3> right) {
  // Player 1's top-outs are player 2's points, shown on the left with player 2's board.
  drawPointRow(320, 330, p1Losses, left);
  drawPointRow(1070, 1080, p2Losses, right);
}

const ParticleLayout* lineClearLayout(int player) {
  if (player == 1) {
    if (gameMode == soloPlayMode) return &soloLayout;
    if (gameMode == playerVersusMode) return &versusP1Layout;
    if (gameMode == versusBotMode) return &botP1Layout;
    if (gameMode == onlineVersusMode) return &versusP2Layout; // the local player is on the left
    return nullptr;
  }
  // Online, the opponent's copy is drawn on the right, where player 1's well is elsewhere.
  if (gameMode == onlineVersusMode) return &versusP1Layout;
  return versusMode() ? &versusP2Layout : nullptr;
}

void drawLineClearParticles() {
  if (reduceMotion) return; // they still fly in the game's state, unseen
  for (const LineClearParticle& particle : lineClearParticles) {
    // Added light: a square over a bright cell brightens it rather than greying it.
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_ADD);
    SDL_SetRenderDrawColor(renderer, 255, 255, 255, 100);
    int32_t size = truncPixel(particle.size);
    SDL_Rect r = {truncPixel(particle.x), truncPixel(particle.y), size, size};
    fillRect(r);
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
  }
}
