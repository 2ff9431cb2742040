// The expert evaluation: a weighted sum of richer board features of the placement carried out
// (rows cleared and removed), for the laboratory's strongest player and teacher. The game's own
// bot levels keep the four-weight evaluation.
#include "lab/state.h"

#include "ai/ai.h"
#include "game/game.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>

static int32_t bits(uint64_t value) {
  return __builtin_popcountll(value);
}

// Rows at or above row r (smaller y) of a column.
static uint64_t rowsAbove(int32_t r) {
  return (uint64_t{1} << r) - 1;
}

bool settlePiece(const BoardColumns& board, const GridShape& shape, int32_t x, int32_t y,
                 SettledPiece& settled) {
  if (shape.blockNeverOnBoard || shape.blockCount == 0) return false;
  uint64_t* columns = settled.columns;
  for (int c = 0; c < boardWidth; ++c) columns[c] = board.filled[c];
  uint64_t pieceRows = 0; // rows holding a block of the piece
  uint64_t pieceCells[boardWidth] = {};
  for (int i = 0; i < maxGridColumns; ++i) {
    uint64_t blocks = shape.blocks[i];
    if (blocks == 0) continue;
    int32_t column = x + i;
    if (static_cast<uint32_t>(column) >= static_cast<uint32_t>(boardWidth)) return false;
    if (y + __builtin_ctzll(blocks) < 0 || y + 63 - __builtin_clzll(blocks) >= boardHeight)
      return false;
    uint64_t placed = y >= 0 ? blocks << y : blocks >> -y;
    columns[column] |= placed;
    pieceCells[column] |= placed;
    pieceRows |= placed;
  }
  // Heights count from the floor: row 19 is height 1. The middle of the piece's rows.
  int32_t topRow = __builtin_ctzll(pieceRows), bottomRow = 63 - __builtin_clzll(pieceRows);
  settled.landingHeight = boardHeight - (topRow + bottomRow) / 2.0;

  uint64_t full = boardRows;
  for (int c = 0; c < boardWidth; ++c) full &= columns[c];
  int32_t pieceCellsCleared = 0;
  for (int c = 0; c < boardWidth; ++c) pieceCellsCleared += bits(pieceCells[c] & full);
  settled.erodedCells = bits(full) * pieceCellsCleared;
  // Remove the full rows top-down: everything above a cleared row falls one row.
  for (uint64_t rest = full; rest != 0; rest &= rest - 1) {
    int32_t r = __builtin_ctzll(rest);
    for (int c = 0; c < boardWidth; ++c)
      columns[c] = ((columns[c] & rowsAbove(r)) << 1) | (columns[c] & ~rowsAbove(r + 1));
  }
  return true;
}

ExpertFeatures expertFeatures(const BoardColumns& board, const GridShape& shape, int32_t x,
                              int32_t y, bool* onBoard) {
  ExpertFeatures f{};
  SettledPiece settled;
  *onBoard = settlePiece(board, shape, x, y, settled);
  if (!*onBoard) return f;
  const uint64_t* columns = settled.columns;
  f.landingHeight = settled.landingHeight;
  f.erodedCells = settled.erodedCells;

  uint64_t rowsHoled = 0;
  for (int c = 0; c <= boardWidth; ++c) {
    // The walls count as filled.
    uint64_t left = c > 0 ? columns[c - 1] : boardRows;
    uint64_t here = c < boardWidth ? columns[c] : boardRows;
    f.rowTransitions += bits((left ^ here) & boardRows);
    if (c == boardWidth) break;
    // Down the column, the floor counting as filled.
    f.columnTransitions += bits((here ^ (here << 1)) & boardRows & ~uint64_t{1});
    f.columnTransitions += (here >> (boardHeight - 1) & 1) == 0;
    uint64_t right = c + 1 < boardWidth ? columns[c + 1] : boardRows;
    uint64_t wellCells = ~here & left & right & boardRows;
    // A well of depth d costs 1 + 2 + ... + d: each well cell pays its depth in the well.
    int32_t depth = 0, previous = -2;
    for (uint64_t rest = wellCells; rest != 0; rest &= rest - 1) {
      int32_t r = __builtin_ctzll(rest);
      depth = r == previous + 1 ? depth + 1 : 1;
      previous = r;
      f.wellDepth += depth;
    }
    if (here == 0) continue;
    uint64_t holes = ~here & boardRows & (~uint64_t{0} << __builtin_ctzll(here));
    f.holes += bits(holes);
    rowsHoled |= holes;
    for (uint64_t rest = holes; rest != 0; rest &= rest - 1)
      f.holeDepth += bits(here & rowsAbove(__builtin_ctzll(rest)));
  }
  f.rowsWithHoles = bits(rowsHoled);
  return f;
}

double expertShapeScore(const BoardColumns& board, const GridShape& shape, int32_t x, int32_t y) {
  bool onBoard = false;
  ExpertFeatures f = expertFeatures(board, shape, x, y, &onBoard);
  if (!onBoard) return -HUGE_VAL;
  const std::vector<double>& w = expertWeights;
  return w[0] * f.landingHeight + w[1] * f.erodedCells + w[2] * f.rowTransitions +
         w[3] * f.columnTransitions + w[4] * f.holes + w[5] * f.wellDepth + w[6] * f.rowsWithHoles +
         w[7] * f.holeDepth;
}

// Player 1's piece after the falling one, or 0 when the sequence does not hold it yet.
static int32_t upcomingPiece() {
  size_t index = static_cast<size_t>(p1PieceCount + 1 - queueBase);
  return index < pieceQueue.size() ? pieceQueue[index] : 0;
}

double lookaheadShapeScore(const BoardColumns& board, const GridShape& shape, int32_t x,
                           int32_t y) {
  SettledPiece settled;
  if (!settlePiece(board, shape, x, y, settled)) return -HUGE_VAL;
  int32_t next = upcomingPiece();
  if (next < 1 || next > static_cast<int32_t>(catalogueShapes.size()))
    return expertShapeScore(board, shape, x, y);
  const std::vector<double>& w = expertWeights;
  double own = w[0] * settled.landingHeight + w[1] * settled.erodedCells;
  BoardColumns after;
  for (int c = 0; c < boardWidth; ++c) after.filled[c] = settled.columns[c];
  // The search's own candidates for the next piece: every rotation and column, dropped.
  double best = -HUGE_VAL;
  for (const GridShape& nextShape : catalogueShapes[next - 1]) {
    if (nextShape.firstSolid < 0) continue;
    for (int32_t nx = -1; nx < boardWidth; ++nx) {
      if (nx + nextShape.firstSolid < 0 || nx + nextShape.lastSolid >= boardWidth) continue;
      int32_t ny = collisionHeight(after, nextShape, nx) - 1;
      best = std::max(best, expertShapeScore(after, nextShape, nx, ny));
    }
  }
  // A placement after which the next piece cannot rest ends the game: last of all choices.
  constexpr double noPlaceLeft = -1e12;
  return own + (best == -HUGE_VAL ? noPlaceLeft : best);
}

ShapeScore labShapeScore() {
  return expertLookahead ? lookaheadShapeScore : expertShapeScore;
}

std::string expertWeightsText(const std::vector<double>& weights) {
  std::string text = std::string(expertFeatureSet) + "\n";
  char line[64];
  for (double weight : weights) {
    std::snprintf(line, sizeof line, "%.6g\n", weight);
    text += line;
  }
  return text;
}

std::string readExpertWeights(const std::string& path, std::vector<double>& weights) {
  std::ifstream file(path);
  if (!file) return "cannot be opened";
  std::string line;
  if (!std::getline(file, line) ||
      line.substr(0, line.find_last_not_of("\r") + 1) != expertFeatureSet)
    return std::string("line 1 is not \"") + expertFeatureSet + "\"";
  std::vector<double> values;
  for (int lineNumber = 2; std::getline(file, line); ++lineNumber) {
    double value = 0.0;
    std::string problem = readWeightLine(line, lineNumber, value);
    if (!problem.empty()) return problem;
    values.push_back(value);
  }
  if (values.size() != expertFeatureCount)
    return "holds " + std::to_string(values.size()) + " weights instead of " +
           std::to_string(expertFeatureCount);
  weights = values;
  return "";
}

void loadExpertWeights(const std::string& path) {
  std::string problem = readExpertWeights(path, expertWeights);
  if (problem.empty()) return;
  std::fprintf(stderr, "%s: %s; using the built-in expert weights\n", path.c_str(),
               problem.c_str());
  expertWeights = shippedExpertWeights;
}
