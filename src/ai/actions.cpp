// Every action of player 1's piece scored at once, as moveToAction would carry it out and
// evaluatePlacement score it. Labelling positions for the laboratory does this for millions of
// positions, so the board is turned into bit columns once and each move is a few bit tests.
#include "ai/ai.h"
#include "ai/placement.h"

#include <cmath>
#include <cstdlib>

// pieceFits for player 1 on bit columns: only cells of value 1 collide, rows from 0 down.
static bool blocksFit(const BoardColumns& board, const GridShape& shape, int32_t x, int32_t y) {
  for (int32_t i = 0; i < maxGridColumns; ++i) {
    uint64_t cells = shape.blocks[i];
    if (cells == 0) continue;
    int32_t column = x + i;
    if (column < 0 || column >= boardWidth) return false;
    uint64_t placed = cells << y;
    if ((placed & ~boardRows) != 0 || (placed & board.filled[column]) != 0) return false;
  }
  return true;
}

template <typename Score>
static void scoreActionsWith(double scores[actionCount], Score score, bool longWay) {
  const int32_t rotation = p1Rotation;
  const Point position = p1Position;
  const bool known = p1PieceId >= 1 && p1PieceId <= static_cast<int32_t>(pieceCatalogue.size());
  BoardColumns board = boardColumns(p1Board);
  for (int32_t r = 0; r < 4; ++r) {
    GridShape shape{};
    if (known) shape = gridShape(pieceCatalogue[p1PieceId - 1].grids[r]);
    for (int32_t action = actionOf(-1, r); action <= actionOf(boardWidth - 1, r); ++action) {
      // Grids the bit form cannot hold take the long way.
      if (!known || shape.blockNeverOnBoard) {
        if (!longWay) {
          scores[action] = -HUGE_VAL;
          continue;
        }
        moveToAction(action);
        scores[action] = evaluatePlacement(1, p1PieceId, p1Rotation, p1Position);
        p1Rotation = rotation;
        p1Position = position;
        continue;
      }
      int32_t x = position.x;
      int32_t distance = actionColumn(action) - x;
      int32_t direction = distance >= 0 ? 1 : -1;
      for (int32_t attempt = 0; attempt < std::abs(distance); ++attempt)
        if (blocksFit(board, shape, x + direction, 0)) x += direction;
      int32_t y = 0;
      while (y < boardHeight && blocksFit(board, shape, x, y + 1)) y += 1;
      scores[action] = score(board, shape, x, y);
    }
  }
}

void scoreEveryAction(double scores[actionCount]) {
  EvaluationWeights weights = evaluationWeights();
  scoreActionsWith(
      scores,
      [&weights](const BoardColumns& board, const GridShape& shape, int32_t x, int32_t y) {
        return evaluateShape(board, shape, x, y, weights);
      },
      true);
}

void scoreEveryAction(double scores[actionCount], ShapeScore score) {
  // A piece that can never be on the board has no placement worth anything.
  scoreActionsWith(scores, score, false);
}
