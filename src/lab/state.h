// The laboratory's program-wide state: the expert evaluation. Defined once in state.cpp.
#pragma once

#include "ai/placement.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// ---------------------------------------------------------------------------------------------
// Expert evaluation (expert.cpp): richer features of the board after the placement's clears
// ---------------------------------------------------------------------------------------------

// First line of an expert weights file: the features, in the order of the weights below it.
constexpr const char* expertFeatureSet =
    "landing eroded row-transitions column-transitions holes wells rows-with-holes hole-depth";
constexpr size_t expertFeatureCount = 8;

struct ExpertFeatures {
  double landingHeight = 0;      // middle of the piece's rows, in rows above the floor
  int32_t erodedCells = 0;       // rows the placement clears times the piece's cells in them
  int32_t rowTransitions = 0;    // filled/empty changes along each row, walls filled
  int32_t columnTransitions = 0; // filled/empty changes down each column, floor filled
  int32_t holes = 0;             // empty cells below a column's top
  int32_t wellDepth = 0;         // 1 + 2 + ... + d over every well of depth d
  int32_t rowsWithHoles = 0;     // rows holding at least one hole
  int32_t holeDepth = 0;         // filled cells above each hole in its column, summed
};

extern std::vector<double> expertWeights;              // one a feature, in file order
extern const std::vector<double> shippedExpertWeights; // when the file cannot be read
extern bool expertEvaluation; // the lab's players and teacher use the expert, not the heuristic
extern bool expertLookahead;  // and the expert scores each placement by the next piece's best
extern std::vector<std::array<GridShape, 4>> catalogueShapes; // each piece's rotations, in order

// The features of the piece resting at (x, y) after its rows clear; *onBoard false (and no
// features) when a block lies off the board.
ExpertFeatures expertFeatures(const BoardColumns& board, const GridShape& shape, int32_t x,
                              int32_t y, bool* onBoard);
// A piece come to rest: the board's columns after its full rows are removed, and what the
// placement itself scores.
struct SettledPiece {
  uint64_t columns[boardWidth]; // bit y: cell (x, y) filled
  double landingHeight;         // as ExpertFeatures counts it
  int32_t erodedCells;          //
};
// The piece at (x, y) stamped and its rows cleared; false (settled unfinished) off the board.
bool settlePiece(const BoardColumns& board, const GridShape& shape, int32_t x, int32_t y,
                 SettledPiece& settled);
// The weighted sum of those features; minus infinity off the board.
double expertShapeScore(const BoardColumns& board, const GridShape& shape, int32_t x, int32_t y);
// Looking one piece ahead: the placement's own landing and eroded cells, plus the expert's best
// score for player 1's next piece on the board it leaves (far below any such score when the
// next piece has no place).
double lookaheadShapeScore(const BoardColumns& board, const GridShape& shape, int32_t x, int32_t y);
ShapeScore labShapeScore(); // the expert, or with expertLookahead the expert looking ahead
std::string expertWeightsText(const std::vector<double>& weights); // the file's contents
// An empty string and the file's weights, or what is wrong with the file (weights untouched).
std::string readExpertWeights(const std::string& path, std::vector<double>& weights);
// The file's weights into expertWeights; a bad file: one line on standard error, the shipped ones.
void loadExpertWeights(const std::string& path);
