// Move search: every rotation and column of the falling piece, dropped straight from row 0.
#include "ai/ai.h"
#include "ai/placement.h"

#include <algorithm>
#include <cmath>

// The floor stops every block, so a piece always comes to rest, even one whose lowest
// block is in its grid's row 0 (it rests on row 19).
int32_t collisionHeight(const BoardColumns& board, const GridShape& shape, int32_t x) {
  if (shape.solidTooDeep) return 0;
  int32_t height = boardHeight;
  for (int32_t i = shape.firstSolid; i <= shape.lastSolid; ++i) {
    uint64_t cells = shape.solid[i];
    uint64_t stops = board.filled[x + i] | ~boardRows;
    while (cells != 0) {
      int j = __builtin_ctzll(cells);
      height = std::min(height, __builtin_ctzll(stops >> j));
      cells &= cells - 1;
    }
  }
  return height;
}

// Every rotation and column dropped straight; the first placement scoring strictly more than
// every earlier one (and than best's start) wins.
template <typename Score>
static PlacementChoice searchWith(int32_t player, PlacementChoice best, Score score) {
  if (player != 1 && player != 2) return best;
  int32_t pieceId = player == 1 ? p1PieceId : p2PieceId;
  if (pieceId < 1 || pieceId > static_cast<int32_t>(pieceCatalogue.size())) return best;
  BoardColumns board = boardColumns(player == 1 ? p1Board : p2Board);
  const Piece& piece = pieceCatalogue[pieceId - 1];
  for (int32_t r = 0; r < 4; ++r) {
    GridShape shape = gridShape(piece.grids[r]);
    if (shape.firstSolid < 0) continue;
    for (int32_t x = -1; x < boardWidth; ++x) {
      if (x + shape.firstSolid < 0 || x + shape.lastSolid >= boardWidth) continue;
      int32_t y = collisionHeight(board, shape, x) - 1;
      double value = score(board, shape, x, y);
      if (value > best.score) best = {x, r, value};
    }
  }
  return best;
}

PlacementChoice searchBestPlacement(int32_t player) {
  EvaluationWeights weights = evaluationWeights();
  return searchWith(player, PlacementChoice{},
                    [&weights](const BoardColumns& board, const GridShape& shape, int32_t x,
                               int32_t y) { return evaluateShape(board, shape, x, y, weights); });
}

PlacementChoice searchBestPlacement(ShapeScore score, int32_t player) {
  PlacementChoice lowest;
  lowest.score = -HUGE_VAL;
  return searchWith(player, lowest, score);
}

std::vector<int32_t> findBestPlacement(int32_t player, bool wantScore) {
  if (player != 1 && player != 2) return {0, 0};
  PlacementChoice best = searchBestPlacement(player);
  if (wantScore) return {truncatedScore(best.score)};
  return {best.x, best.rotation};
}
