// Finesse: the fewest inputs that could have taken a piece from where it appeared to where it
// locked, on an open well at the spawn row. Taps left and right, a held direction to the wall and
// a turn either way cost one each; hold and soft drop cost nothing. Allocation-free: it runs at
// every lock.
#include "game/game.h"

#include <algorithm>

namespace {

constexpr int32_t columnOffset = 8;  // x from -8: a grid may start left of the well
constexpr int32_t columnSlots = 32;  // x up to 23
constexpr int32_t footprintRows = 6; // a footprint's rows, from the piece's top block down

// The grid's blocks lie inside the walls at column x (rows are not tested: the row is free).
bool insideWalls(const PieceGrid& grid, int32_t x) {
  for (size_t c = 0; c < grid.size(); ++c)
    for (int32_t cell : grid[c])
      if (cell == 1 &&
          (x + static_cast<int32_t>(c) < 0 || x + static_cast<int32_t>(c) >= boardWidth))
        return false;
  return true;
}

// The cells the grid covers at column x, as bits (row from its top block) * boardWidth + column:
// two rotations that cover the same cells are the same placement.
uint64_t footprint(const PieceGrid& grid, int32_t x) {
  int32_t top = 1 << 20;
  for (const auto& column : grid)
    for (size_t r = 0; r < column.size(); ++r)
      if (column[r] == 1) top = std::min(top, static_cast<int32_t>(r));
  uint64_t bits = 0;
  for (size_t c = 0; c < grid.size(); ++c)
    for (size_t r = 0; r < grid[c].size(); ++r) {
      int32_t row = static_cast<int32_t>(r) - top, column = x + static_cast<int32_t>(c);
      if (grid[c][r] == 1 && row < footprintRows && column >= 0 && column < boardWidth)
        bits |= uint64_t{1} << (row * boardWidth + column);
    }
  return bits;
}

} // namespace

int32_t fewestInputs(int32_t pieceId, int32_t fromRotation, int32_t fromX, int32_t toRotation,
                     int32_t toX) {
  int8_t distance[4][columnSlots];
  for (auto& row : distance) std::fill(std::begin(row), std::end(row), int8_t{-1});
  int16_t queue[4 * columnSlots];
  int32_t head = 0, tail = 0;
  auto slot = [](int32_t x) { return x + columnOffset; };
  auto valid = [&](int32_t rotation, int32_t x) {
    return slot(x) >= 0 && slot(x) < columnSlots && insideWalls(pieceGrid(pieceId, rotation), x);
  };
  auto reach = [&](int32_t rotation, int32_t x, int8_t cost) {
    if (!valid(rotation, x) || distance[rotation][slot(x)] >= 0) return;
    distance[rotation][slot(x)] = cost;
    queue[tail++] = static_cast<int16_t>(rotation * columnSlots + slot(x));
  };
  fromRotation &= 3;
  reach(fromRotation, fromX, 0);
  uint64_t target = footprint(pieceGrid(pieceId, toRotation), toX);
  while (head < tail) {
    int32_t rotation = queue[head] / columnSlots, x = queue[head] % columnSlots - columnOffset;
    ++head;
    int8_t cost = distance[rotation][slot(x)];
    if (footprint(pieceGrid(pieceId, rotation), x) == target) return cost;
    for (int32_t step : {-1, 1}) {
      reach(rotation, x + step, cost + 1); // a tap
      int32_t wall = x;
      while (valid(rotation, wall + step)) wall += step;
      reach(rotation, wall, cost + 1); // held to the wall
    }
    // A turn either way, with the sideways kicks of a real turn (the upward one never works
    // at the spawn row).
    for (int32_t turned : {(rotation + 1) & 3, (rotation + 3) & 3})
      for (int32_t kick : {0, -1, 1})
        if (valid(turned, x + kick)) {
          reach(turned, x + kick, cost + 1);
          break;
        }
  }
  return -1;
}
