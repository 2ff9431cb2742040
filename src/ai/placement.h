// Bit-column form of boards and piece grids, shared by the evaluation and the move search.
// Used by src/ai and the laboratory's expert evaluation: a board column becomes one integer (bit y
// set = row y filled), so stamping, dropping and counting are a few bit operations instead of 200
// cell reads.
#pragma once

#include "ai/ai.h"
#include "game/state.h"

#include <cstdint>

// ---------------------------------------------------------------------------------------------
// Records
// ---------------------------------------------------------------------------------------------

constexpr int maxGridColumns = 12; // grid columns beyond this can never reach the board
constexpr uint64_t boardRows = (uint64_t{1} << boardHeight) - 1;

// What the evaluation counts in one column.
struct ColumnFeatures {
  int32_t top;              // row of the first filled cell, 20 when empty
  int32_t holes;            // empty cells below the top
  int32_t coveredBelowHole; // filled cells below the first hole
  int32_t buriedPairs;      // pairs of a filled cell and an empty cell somewhere below it
};

// A whole board as bit columns.
struct BoardColumns {
  uint64_t filled[boardWidth];         // bit y: cell (x, y) is not empty
  ColumnFeatures features[boardWidth]; // of each column as it stands
};

// One rotation of a piece, reduced to what the search and the evaluation need.
struct GridShape {
  uint64_t blocks[maxGridColumns]; // bit j: cell (i, j) is exactly 1 (stamped by the evaluation)
  uint64_t solid[maxGridColumns];  // bit j: cell (i, j) is non-zero (collides in the search)
  int32_t blockCount;              // cells of value 1
  int32_t rowSum;                  // sum of j over those cells: the landing depth at y = 0
  int32_t firstSolid, lastSolid;   // first and last grid column holding a non-zero cell, or -1
  bool blockNeverOnBoard;          // a block lies too far right or down to ever fit
  bool solidTooDeep;               // a non-zero cell lies below row 19 at any drop height
};

// The four heuristic weights as the evaluation applies them.
struct EvaluationWeights {
  double hole, cliff, bumpiness, buried;
  // Every weight a multiple of 1/1024 of moderate size: then every sum the evaluation forms is
  // exact, the order of the additions cannot change the score, and counts may be multiplied
  // out. Other weights are applied one subtraction at a time, in the described order.
  bool exact;
};

// ---------------------------------------------------------------------------------------------
// Evaluation and search on bit columns
// ---------------------------------------------------------------------------------------------

BoardColumns boardColumns(const Board& board); // the board's columns and their features
GridShape gridShape(const PieceGrid& grid);    // one rotation's columns
EvaluationWeights evaluationWeights();         // set 0 of fitnessParams, or the shipped ones
// The evaluation on bit columns: same operations in the same order as the cell-by-cell
// description, so the score is identical to the last bit.
double evaluateShape(const BoardColumns& board, const GridShape& shape, int32_t x, int32_t y,
                     const EvaluationWeights& weights);

// First drop height at which the piece in column x collides, or 0 when some cell is already
// below the floor: it rests one row higher.
int32_t collisionHeight(const BoardColumns& board, const GridShape& shape, int32_t x);
// A ShapeScore's scores (ai/state.h) may go far below -1000.0; the searches it drives start
// from minus infinity.
// The best straight-drop placement of the player's piece under score.
PlacementChoice searchBestPlacement(ShapeScore score, int32_t player = 1);
// scoreEveryAction under score.
void scoreEveryAction(double scores[actionCount], ShapeScore score);
