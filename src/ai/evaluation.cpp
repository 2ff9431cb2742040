// Placement evaluation and its weights.
#include "ai/ai.h"
#include "ai/placement.h"
#include "game/game.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

// The weights shipped in Storage/BestFitnessParams.txt, used when that file cannot be read.
// Chosen by comparing candidate sets over long headless games (tools/compareWeights).
const std::vector<double> shippedFitnessParams = {12.0, 1.25, 1.0, 0.125};

static bool exactWeight(double w) {
  double scaled = w * 1024;
  return std::fabs(w) <= 1048576.0 && scaled == std::trunc(scaled);
}

EvaluationWeights evaluationWeights() {
  const std::vector<double>& set = !fitnessParams.empty() && fitnessParams[0].size() >= 4
                                       ? fitnessParams[0]
                                       : shippedFitnessParams;
  bool exact =
      exactWeight(set[0]) && exactWeight(set[1]) && exactWeight(set[2]) && exactWeight(set[3]);
  return {set[0], set[1], set[2], set[3], exact};
}

static int lowestBit(uint64_t bits) {
  return __builtin_ctzll(bits);
}
static int highestBit(uint64_t bits) {
  return 63 - __builtin_clzll(bits);
}

// Set bits of a 20-row column, counted inline (the portable builtin is a library call).
static int32_t bitCount(uint64_t bits) {
  bits = bits - ((bits >> 1) & 0x5555555555555555ull);
  bits = (bits & 0x3333333333333333ull) + ((bits >> 2) & 0x3333333333333333ull);
  bits = (bits + (bits >> 4)) & 0x0f0f0f0f0f0f0f0full;
  return static_cast<int32_t>((bits * 0x0101010101010101ull) >> 56);
}

static ColumnFeatures columnFeatures(uint64_t filled) {
  ColumnFeatures f = {boardHeight, 0, 0, 0};
  if (filled == 0) return f;
  f.top = lowestBit(filled);
  uint64_t holes = ~filled & boardRows & (~uint64_t{0} << f.top);
  if (holes == 0) return f;
  f.holes = bitCount(holes);
  f.coveredBelowHole = bitCount(filled >> lowestBit(holes));
  // Each hole pairs with every filled cell above it.
  for (uint64_t rest = holes; rest != 0; rest &= rest - 1)
    f.buriedPairs += bitCount(filled & ((uint64_t{1} << lowestBit(rest)) - 1));
  return f;
}

BoardColumns boardColumns(const Board& board) {
  BoardColumns columns{};
  for (int x = 0; x < boardWidth; ++x) {
    for (int y = 0; y < boardHeight; ++y)
      if (board[x][y] != 0) columns.filled[x] |= uint64_t{1} << y;
    columns.features[x] = columnFeatures(columns.filled[x]);
  }
  return columns;
}

GridShape gridShape(const PieceGrid& grid) {
  GridShape shape{};
  shape.firstSolid = shape.lastSolid = -1;
  for (size_t i = 0; i < grid.size(); ++i) {
    for (size_t j = 0; j < grid[i].size(); ++j) {
      int32_t cell = grid[i][j];
      if (cell == 0) continue;
      if (shape.firstSolid < 0) shape.firstSolid = static_cast<int32_t>(i);
      shape.lastSolid = static_cast<int32_t>(i);
      bool reachable = i < maxGridColumns && j < boardHeight;
      if (!reachable) shape.solidTooDeep = shape.solidTooDeep || j >= boardHeight;
      if (cell == 1) {
        shape.blockCount += 1;
        shape.rowSum += static_cast<int32_t>(j);
        if (!reachable) shape.blockNeverOnBoard = true;
      }
      if (!reachable) continue;
      shape.solid[i] |= uint64_t{1} << j;
      if (cell == 1) shape.blocks[i] |= uint64_t{1} << j;
    }
  }
  return shape;
}

// Holes, and the filled cells found below the first hole of each column (scan top-down).
static double chargeHoles(const uint64_t* columns, const EvaluationWeights& w, double score) {
  const double buriedTwice = 2 * w.buried;
  for (int x = 0; x < boardWidth; ++x) {
    uint64_t filled = columns[x];
    if (filled == 0) continue;
    uint64_t holes = ~filled & boardRows & (~uint64_t{0} << lowestBit(filled));
    if (holes == 0) continue;
    for (int y = lowestBit(holes); y < boardHeight; ++y)
      score -= (filled >> y & 1) ? buriedTwice : w.hole;
  }
  return score;
}

// Each filled cell pays once per empty cell below it (scan bottom-up). Cells with nothing
// empty below pay zero, which leaves the score unchanged, so the scan starts above the
// lowest empty cell.
static double chargeBuried(const uint64_t* columns, const EvaluationWeights& w, double score) {
  for (int x = 0; x < boardWidth; ++x) {
    uint64_t filled = columns[x];
    uint64_t empty = ~filled & boardRows;
    if (filled == 0 || empty == 0) continue;
    int top = lowestBit(filled);
    int emptyBelow = 1;
    for (int y = highestBit(empty) - 1; y >= top; --y) {
      if (filled >> y & 1)
        score -= emptyBelow * w.buried;
      else
        emptyBelow += 1;
    }
  }
  return score;
}

static int32_t fullRowCount(const uint64_t* columns) {
  uint64_t fullRows = boardRows;
  for (int c = 0; c < boardWidth; ++c) fullRows &= columns[c];
  return bitCount(fullRows);
}

// With exact weights: the counts of untouched columns come from the board as it stands.
static double countedScore(const BoardColumns& board, const uint64_t* columns, uint32_t touched,
                           double landing, const EvaluationWeights& w) {
  int32_t holes = 0, covered = 0, pairs = 0, cliffs = 0, bumpiness = 0, previousTop = 0;
  for (int c = 0; c < boardWidth; ++c) {
    ColumnFeatures f = (touched >> c & 1) ? columnFeatures(columns[c]) : board.features[c];
    holes += f.holes;
    covered += f.coveredBelowHole;
    pairs += f.buriedPairs;
    if (c > 0) {
      int32_t d = std::abs(f.top - previousTop);
      cliffs += 2 * d >= 3;
      bumpiness += 2 * d;
    }
    previousTop = f.top;
  }
  return landing - holes * w.hole - covered * (2 * w.buried) - cliffs * w.cliff -
         bumpiness * w.bumpiness - pairs * w.buried + 100.0 * fullRowCount(columns) + 500.0;
}

double evaluateShape(const BoardColumns& board, const GridShape& shape, int32_t x, int32_t y,
                     const EvaluationWeights& w) {
  if (shape.blockNeverOnBoard) return -1000.0;
  uint64_t columns[boardWidth];
  for (int c = 0; c < boardWidth; ++c) columns[c] = board.filled[c];
  uint32_t touched = 0;
  for (int i = 0; i < maxGridColumns; ++i) {
    uint64_t blocks = shape.blocks[i];
    if (blocks == 0) continue;
    int32_t column = x + i;
    if (static_cast<uint32_t>(column) >= static_cast<uint32_t>(boardWidth)) return -1000.0;
    if (y + lowestBit(blocks) < 0 || y + highestBit(blocks) >= boardHeight) return -1000.0;
    columns[column] |= y >= 0 ? blocks << y : blocks >> -y;
    touched |= 1u << column;
  }
  // Landing depth: whole numbers, exact in any order.
  double score = static_cast<double>(shape.blockCount * y + shape.rowSum);
  if (w.exact) return countedScore(board, columns, touched, score, w);
  score = chargeHoles(columns, w, score);

  int32_t tops[boardWidth];
  for (int c = 0; c < boardWidth; ++c) tops[c] = columns[c] ? lowestBit(columns[c]) : boardHeight;
  int32_t bumpiness = 0;
  for (int c = 1; c < boardWidth; ++c) {
    int32_t d = std::abs(tops[c] - tops[c - 1]);
    if (2 * d >= 3) score -= w.cliff;
    bumpiness += 2 * d;
  }
  score -= bumpiness * w.bumpiness;

  score = chargeBuried(columns, w, score);
  score += 100.0 * fullRowCount(columns);
  score += 500.0;
  return score;
}

int32_t truncatedScore(double score) {
  if (!(score > INT32_MIN)) return INT32_MIN;
  if (score > INT32_MAX) return INT32_MAX;
  return static_cast<int32_t>(score);
}

double evaluatePlacement(int32_t player, int32_t pieceId, int32_t rotation, Point position) {
  if (pieceId < 1 || pieceId > static_cast<int32_t>(pieceCatalogue.size())) return -1000.0;
  if (rotation < 0 || rotation > 3) return -1000.0;
  const Board& board = player == 2 ? p2Board : p1Board;
  GridShape shape = gridShape(pieceCatalogue[pieceId - 1].grids[rotation]);
  return evaluateShape(boardColumns(board), shape, position.x, position.y, evaluationWeights());
}

// Weights beyond this are a broken file, not a choice: scores would run into the billions.
constexpr double maxWeight = 1e6;

std::string readWeightLine(const std::string& line, int lineNumber, double& value) {
  std::string where = "line " + std::to_string(lineNumber);
  if (line.find_first_not_of(" \t\r") == std::string::npos) return where + " is blank";
  errno = 0;
  char* end = nullptr;
  value = std::strtod(line.c_str(), &end);
  if (end == line.c_str() || errno == ERANGE || !std::isfinite(value))
    return where + " is not a number";
  if (std::fabs(value) > maxWeight) return where + " is beyond plus or minus a million";
  return "";
}

// Reads one weight per line. Returns an empty string or the problem.
std::string readFitnessWeights(const std::string& path, std::vector<double>& values) {
  std::string text, problem;
  // The reason without the path, which the callers put in front.
  if (!readFileLimited(path, weightsFileLimit, &text, &problem))
    return problem.substr(path.size() + 2);
  std::istringstream file(text);
  std::string line;
  int lineNumber = 0;
  while (std::getline(file, line)) {
    lineNumber += 1;
    double value = 0.0;
    std::string problem = readWeightLine(line, lineNumber, value);
    if (!problem.empty()) return problem;
    values.push_back(value);
  }
  if (values.size() < 4)
    return "holds " + std::to_string(values.size()) + " weights instead of four";
  return "";
}

void loadFitnessParams(const std::string& path) {
  for (int set = 0; set < 10; ++set) {
    std::vector<double> values;
    for (int k = 0; k < 4; ++k) values.push_back((randomDraw() % 300) / 100.0);
    fitnessParams.push_back(values);
  }
  std::vector<double> values;
  std::string problem = readFitnessWeights(path, values);
  if (!problem.empty()) {
    std::fprintf(stderr, "%s: %s; using the built-in weights\n", path.c_str(), problem.c_str());
    values = shippedFitnessParams;
  }
  fitnessParams[0] = values;
}
