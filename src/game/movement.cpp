// Collision and one frame of a player's falling piece: gravity, lock timer, drops, sideways
// moves, rotation with its kicks, the ghost and hold.
#include "game/game.h"

namespace {

// Offsets tried in order when a piece turns: in place, left, right, up.
constexpr Point rotationKicks[] = {{0, 0}, {-1, 0}, {1, 0}, {0, -1}};

// Moves a copy of position down while the grid still fits one row lower. The row limit only
// matters for a grid without blocks, which fits everywhere.
Point landingPosition(int player, const PieceGrid& grid, Point position) {
  while (position.y < boardHeight && pieceFits(player, grid, 0, 1, &position)) ++position.y;
  return position;
}

void updateGhost(int player, const PieceGrid& grid, Point start) {
  Point landing = landingPosition(player, grid, start);
  std::vector<Point>& ghost = playerState(player).ghostCells;
  ghost.clear(); // keeps its capacity: no allocation once the first ghost is built
  for (size_t c = 0; c < grid.size(); ++c)
    for (size_t r = 0; r < grid[c].size(); ++r)
      if (grid[c][r] == 1)
        ghost.push_back({landing.x + static_cast<int32_t>(c), landing.y + static_cast<int32_t>(r)});
}

void holdPiece(int player, int32_t idAtStart, int32_t heldAtStart) {
  PlayerState s = playerState(player);
  s.position = spawnPosition;
  s.holdUsed = true;
  s.gravityTimer = gravityInterval;
  s.lockTimer = s.lockDelay;
  if (heldAtStart == 0)
    takeNextPiece(player);
  else
    s.pieceId = heldAtStart;
  s.heldPiece = idAtStart;
}

// A custom soft drop: gravity runs the given number of times as fast while the key is down,
// several rows in one frame if they are due; instant goes straight to the floor. Neither locks.
void softDropByFactor(int player, const PieceGrid& grid) {
  PlayerState s = playerState(player);
  if (s.softDropFactor == instantSoftDrop) {
    s.position = landingPosition(player, grid, s.position);
    s.gravityTimer = gravityInterval;
    s.lockTimer = s.lockDelay;
    return;
  }
  s.gravityTimer -= frameDelta * (s.softDropFactor - 1); // the step's own delta is already off
  while (s.gravityTimer < 0.0 && pieceFits(player, grid, 0, 1)) {
    ++s.position.y;
    s.gravityTimer += gravityInterval;
    s.lockTimer = s.lockDelay;
  }
}

} // namespace

bool pieceFits(int player, const PieceGrid& grid, int32_t dx, int32_t dy, const Point* position) {
  // Straight to the two variables: this runs for every placement the bots consider.
  const Board& board = player == 1 ? p1Board : p2Board;
  Point at = position ? *position : (player == 1 ? p1Position : p2Position);
  for (size_t c = 0; c < grid.size(); ++c) {
    int32_t x = at.x + static_cast<int32_t>(c) + dx;
    for (size_t r = 0; r < grid[c].size(); ++r) {
      if (grid[c][r] != 1) continue;
      int32_t y = at.y + static_cast<int32_t>(r) + dy;
      if (x < 0 || x >= boardWidth || y < 0 || y >= boardHeight || board[x][y] != 0) return false;
    }
  }
  return true;
}

void stepPlayer(int player) {
  PlayerState s = playerState(player);
  const int32_t idAtStart = s.pieceId;
  const int32_t heldAtStart = s.heldPiece;
  const bool holdUsedAtStart = s.holdUsed;
  const Point positionAtStart = s.position;
  const PieceGrid& gridAtStart = currentGrid(player);

  s.gravityTimer -= frameDelta;

  if (!pieceFits(player, gridAtStart, 0, 1)) {
    s.lockTimer -= frameDelta;
    if (s.softDrop) s.lockTimer -= frameDelta;
    if (s.lockTimer < 0.0) {
      lockPiece(player);
      return; // the locked piece takes no further part in this frame
    }
  } else if (s.softDrop && s.softDropFactor >= instantSoftDrop) {
    softDropByFactor(player, gridAtStart);
  } else if (s.gravityTimer < 0.0 || (s.softDrop && s.gravityTimer < gravityInterval * 49 / 50)) {
    ++s.position.y;
    s.gravityTimer = gravityInterval;
    s.lockTimer = s.lockDelay;
  }

  if (s.hardDrop) {
    s.position = landingPosition(player, gridAtStart, s.position);
    lockPiece(player);
    return;
  }

  // A handling may ask for several columns in one frame (up to the wall): each must fit.
  int32_t dx = (s.moveRight ? 1 : 0) - (s.moveLeft ? 1 : 0);
  for (int32_t cell = 0; dx != 0 && cell < s.moveCells; ++cell) {
    if (!pieceFits(player, gridAtStart, dx, 0)) break;
    s.position.x += dx;
  }

  if (s.rotateCcw || s.rotateCw) {
    int32_t turned = (s.rotation + (s.rotateCcw ? 1 : 3)) & 3; // 3 steps forward = 1 back
    const PieceGrid& grid = pieceGrid(s.pieceId, turned);
    for (const Point& kick : rotationKicks) {
      if (!pieceFits(player, grid, kick.x, kick.y)) continue;
      s.rotation = turned;
      s.position.x += kick.x;
      s.position.y += kick.y;
      break;
    }
  }

  updateGhost(player, gridAtStart, positionAtStart);

  if (s.hold && !holdUsedAtStart) holdPiece(player, idAtStart, heldAtStart);
}
