#include "ai/ai.h"
#include "pictures.h"
#include "reference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>

namespace {

constexpr int32_t bar = 1, square = 2;
// Weights exact in binary, so the worked scores are exact: hole, cliff, bumpiness, buried.
const std::vector<double> plain = {3.0, 5.0, 0.5, 7.0};

void usePieces(const std::vector<double>& weights, std::vector<Piece> pieces = sevenPieces()) {
  useCatalogue(pieces);
  fitnessParams = {weights};
}

Board randomBoard(std::mt19937& random, int maxHeight, int emptyOneIn) {
  Board board{};
  for (auto& column : board)
    for (int y = 20 - static_cast<int>(random() % (maxHeight + 1)); y < 20; ++y)
      column[y] = random() % emptyOneIn ? 1 + random() % 7 : 0;
  return board;
}

TEST(Evaluation, WorkedPlacements) {
  usePieces(plain);
  p1Board = Board{};
  // Landing 18 + 19 + 18 + 19; one cliff and bumpiness 4, or two cliffs and bumpiness 8.
  EXPECT_EQ(evaluatePlacement(1, square, 0, {0, 18}), 74 - 5 - 4 * 0.5 + 500);
  EXPECT_EQ(evaluatePlacement(1, square, 0, {1, 18}), 74 - 2 * 5 - 8 * 0.5 + 500);
  // Two completed rows add 200 and still count as filled for tops and holes.
  p1Board = boardFromPicture({"..########", "..########"});
  EXPECT_EQ(evaluatePlacement(1, square, 0, {0, 18}), 74 + 200 + 500.0);
  // A cell over two holes: two holes, and buried twice for the covering cell.
  p2Board = boardFromPicture({".........#", "..........", ".........."});
  EXPECT_EQ(evaluatePlacement(2, square, 0, {0, 18}),
            74 - 2 * 3 - 2 * 5 - 10 * 0.5 - 2 * 7 + 500.0);
  // A filled cell under the first hole pays 2 x buried on the way down.
  p2Board = boardFromPicture({".........#", "..........", ".........#"});
  EXPECT_EQ(evaluatePlacement(2, square, 0, {0, 18}),
            74 - 3 - 2 * 7 - 2 * 5 - 10 * 0.5 - 7 + 500.0);
  // Blocks off the board score the floor, whatever the board.
  EXPECT_EQ(evaluatePlacement(1, square, 0, {0, -1}), -1000.0); // row -1
  EXPECT_EQ(evaluatePlacement(1, square, 0, {9, 10}), -1000.0); // column 10
  EXPECT_EQ(evaluatePlacement(1, bar, 0, {0, 19}), -1000.0);    // the bar's row 1 in row 20
}

// Weights of few binary digits take a shortcut through counts; others are applied term by term.
const std::vector<double> roundWeights = {2.75, 0.5, 1.25, 0.375};

TEST(Evaluation, MatchesThePlainTranscriptionOnRandomBoards) {
  std::mt19937 random(7);
  for (int trial = 0; trial < 4000; ++trial) {
    const std::vector<double> weights =
        trial % 2 ? roundWeights : std::vector<double>{1.37, 0.61, 0.29, 0.83};
    usePieces(weights);
    p1Board = randomBoard(random, 13, 4);
    int32_t id = 1 + random() % 7, rotation = random() % 4;
    Point at = {static_cast<int32_t>(random() % 13) - 2, static_cast<int32_t>(random() % 23) - 2};
    const PieceGrid& grid = pieceCatalogue[id - 1].grids[rotation];
    ASSERT_EQ(evaluatePlacement(1, id, rotation, at),
              referenceEvaluation(p1Board, grid, id, at, weights))
        << "trial " << trial;
  }
}

TEST(Search, TieOrderAndEmptyResults) {
  usePieces(plain);
  // Against either wall the square scores the same: the leftmost wins.
  p1Board = boardFromPicture(std::vector<std::string>(10, "#........#"));
  p1PieceId = square;
  EXPECT_EQ(findBestPlacement(1, false), (std::vector<int32_t>{1, 0}));
  EXPECT_EQ(evaluatePlacement(1, square, 0, {1, 18}), evaluatePlacement(1, square, 0, {7, 18}));
  EXPECT_EQ(findBestPlacement(1, true),
            (std::vector<int32_t>{static_cast<int32_t>(evaluatePlacement(1, square, 0, {1, 18}))}));
  EXPECT_EQ(findBestPlacement(3, false), (std::vector<int32_t>{0, 0})); // no such player
  // Board full up to row 0: every square rests at y = -1 and nothing beats the floor.
  p2Board = boardFromPicture(std::vector<std::string>(20, "gggggggggg"));
  p2PieceId = square;
  EXPECT_EQ(findBestPlacement(2, false), (std::vector<int32_t>{0, 0}));
  EXPECT_EQ(findBestPlacement(2, true), (std::vector<int32_t>{-1000}));
}

TEST(Search, WellsAtTheEdges) {
  usePieces(plain);
  // The upright bar sits in its grid's column 1: the well at column 0 needs x = -1.
  p1Board = boardFromPicture({".#########", ".#########", ".#########", ".#########"});
  p1PieceId = bar;
  PlacementChoice best = searchBestPlacement(1);
  EXPECT_EQ(best.x, -1);
  EXPECT_EQ(best.rotation, 1);
  EXPECT_EQ(best.score, 16 + 17 + 18 + 19 + 400 + 500.0);
  p1PieceId = square; // a block in grid column 0: never tried at x = -1
  EXPECT_GE(searchBestPlacement(1).x, 0);
  // A one-cell grid has its block in grid row 0: the floor still stops it on row 19.
  usePieces(plain, {pieceFromPicture({"#"})});
  p1Board = boardFromPicture({"#########."});
  p1PieceId = 1;
  best = searchBestPlacement(1);
  EXPECT_EQ(best.x, 9);
  EXPECT_EQ(best.score, 19 + 100 + 500.0);
}

TEST(Search, MatchesThePlainTranscriptionOnRandomBoards) {
  std::mt19937 random(11);
  for (int trial = 0; trial < 3000; ++trial) {
    const std::vector<double> weights =
        trial % 2 ? roundWeights : std::vector<double>{0.91, 1.73, 0.37, 0.47};
    usePieces(weights);
    p2Board = randomBoard(random, 20, 5);
    p2PieceId = 1 + random() % 7;
    ReferenceChoice expected =
        referenceSearch(p2Board, pieceCatalogue[p2PieceId - 1], p2PieceId, weights);
    PlacementChoice found = searchBestPlacement(2);
    ASSERT_EQ(std::vector<double>({double(found.x), double(found.rotation), found.score}),
              std::vector<double>({double(expected.x), double(expected.rotation), expected.score}))
        << "trial " << trial;
    ASSERT_EQ(findBestPlacement(2, true)[0], static_cast<int32_t>(expected.score));
  }
}

TEST(FitnessParams, FileReplacesSetZeroAndBadFilesFallBack) {
  std::string path = testing::TempDir() + "ai_fitness.txt";
  std::ofstream(path) << "1.5\n2.25\n  0.75 \n3e-1\n9\n";
  fitnessParams.clear();
  loadFitnessParams(path);
  ASSERT_EQ(fitnessParams.size(), 10u);
  EXPECT_EQ(fitnessParams[0], (std::vector<double>{1.5, 2.25, 0.75, 0.3, 9}));
  for (double w : fitnessParams[9]) EXPECT_TRUE(w >= 0.0 && w <= 2.99) << w;
  // The built-in weights are the shipped file's.
  fitnessParams.clear();
  loadFitnessParams(BRIKKA_SOURCE_DIR "/Storage/BestFitnessParams.txt");
  const std::vector<double> shipped = fitnessParams[0];
  for (const char* bad : std::vector<const char*>{"1\n2\nthree\n4\n", "1\n2\n3\n", nullptr}) {
    std::remove(path.c_str());
    if (bad) std::ofstream(path) << bad;
    fitnessParams.clear();
    testing::internal::CaptureStderr();
    loadFitnessParams(path);
    std::string message = testing::internal::GetCapturedStderr();
    EXPECT_EQ(fitnessParams[0], shipped);
    EXPECT_EQ(message.find(path), 0u) << message;
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
  }
}

} // namespace
