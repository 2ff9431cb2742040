#include "ai/ai.h"
#include "pictures.h"
#include "reference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>

namespace {

// Weights that are exact in binary, so the worked scores below are exact too.
const std::vector<double> plainWeights = {3.0, 5.0, 0.5, 7.0}; // hole, cliff, bumpiness, buried

void useSevenPieces(const std::vector<double>& weights) {
  useCatalogue(sevenPieces());
  fitnessParams = {weights};
}

constexpr int32_t bar = 1, square = 2;

TEST(Evaluation, WorkedPlacementsOfTheSquare) {
  useSevenPieces(plainWeights);
  p1Board = Board{};
  // Columns 0 and 1: landing 74, one cliff, bumpiness 4.
  EXPECT_EQ(evaluatePlacement(1, square, 0, {0, 18}), 74 - 5.0 - 4 * 0.5 + 500);
  // Columns 1 and 2: two cliffs, bumpiness 8.
  EXPECT_EQ(evaluatePlacement(1, square, 0, {1, 18}), 74 - 2 * 5.0 - 8 * 0.5 + 500);

  // Completing two rows adds 200; the full rows still count as filled for tops and holes.
  p1Board = boardFromPicture({"..########", "..########"});
  EXPECT_EQ(evaluatePlacement(1, square, 0, {0, 18}), 74 + 200 + 500.0);

  // A cell with two holes below it: two holes, a cliff on each side of the square's pair of
  // columns ... and the covering cell pays buried twice.
  p2Board = boardFromPicture({".........#", "..........", ".........."});
  EXPECT_EQ(evaluatePlacement(2, square, 0, {0, 18}),
            74 - 2 * 3.0 - 2 * 5.0 - 10 * 0.5 - 2 * 7.0 + 500);
  // A filled cell under the first hole pays 2 x buried while scanning down, and the covering
  // cell now has one hole below it.
  p2Board = boardFromPicture({".........#", "..........", ".........#"});
  EXPECT_EQ(evaluatePlacement(2, square, 0, {0, 18}),
            74 - 3.0 - 2 * 7.0 - 2 * 5.0 - 10 * 0.5 - 7.0 + 500);
  // The player picks the board: player 1's board is still the two nearly full rows.
  EXPECT_NE(evaluatePlacement(1, square, 0, {0, 18}), evaluatePlacement(2, square, 0, {0, 18}));
}

TEST(Evaluation, BlocksOffTheBoardScoreTheFloor) {
  useSevenPieces(plainWeights);
  p1Board = boardFromPicture({"##########", "##########"});
  EXPECT_EQ(evaluatePlacement(1, square, 0, {0, -1}), -1000.0); // a block in row -1
  EXPECT_EQ(evaluatePlacement(1, square, 0, {9, 10}), -1000.0); // a block in column 10
  EXPECT_EQ(evaluatePlacement(1, square, 0, {4, 19}), -1000.0); // a block in row 20
  EXPECT_EQ(evaluatePlacement(1, bar, 0, {-1, 5}), -1000.0);    // the bar's row 1 at column -1
  // Overlapping cells are not an error: the evaluation trusts its callers.
  EXPECT_GT(evaluatePlacement(1, square, 0, {0, 18}), -1000.0);
}

TEST(Evaluation, MatchesThePlainTranscriptionOnRandomBoards) {
  const std::vector<double> weights = {1.37, 0.61, 0.29, 0.83};
  useSevenPieces(weights);
  std::mt19937 random(7);
  for (int trial = 0; trial < 3000; ++trial) {
    Board board{};
    for (int x = 0; x < 10; ++x) {
      int height = static_cast<int>(random() % 14);
      for (int y = 20 - height; y < 20; ++y) board[x][y] = random() % 4 ? 1 + random() % 7 : 0;
    }
    p1Board = board;
    int32_t id = 1 + random() % 7, rotation = random() % 4;
    Point at = {static_cast<int32_t>(random() % 13) - 2, static_cast<int32_t>(random() % 23) - 2};
    const PieceGrid& grid = pieceCatalogue[id - 1].grids[rotation];
    ASSERT_EQ(evaluatePlacement(1, id, rotation, at),
              referenceEvaluation(board, grid, id, at, weights))
        << "trial " << trial;
  }
}

TEST(Search, TiesGoToTheLowestRotationThenTheLeftmostColumn) {
  useSevenPieces(plainWeights);
  // Walls at both sides: the square fits best against either wall, equally.
  p1Board =
      boardFromPicture({"#........#", "#........#", "#........#", "#........#", "#........#",
                        "#........#", "#........#", "#........#", "#........#", "#........#"});
  p1PieceId = square;
  EXPECT_EQ(findBestPlacement(1, false), (std::vector<int32_t>{1, 0}));
  EXPECT_EQ(evaluatePlacement(1, square, 0, {1, 18}), evaluatePlacement(1, square, 0, {7, 18}));
  std::vector<int32_t> score = findBestPlacement(1, true);
  ASSERT_EQ(score.size(), 1u);
  EXPECT_EQ(score[0], static_cast<int32_t>(evaluatePlacement(1, square, 0, {1, 18})));
  EXPECT_EQ(findBestPlacement(3, false), (std::vector<int32_t>{0, 0})); // no such player
}

TEST(Search, FullBoardFindsNothing) {
  // Every rotation of the square has a block in its grid's row 0, so on a board filled up to
  // row 0 each candidate rests at y = -1 and scores the floor.
  useSevenPieces(plainWeights);
  p2Board = boardFromPicture(std::vector<std::string>(20, "ggggg.gggg"));
  p2Board[5][0] = 1;
  p2PieceId = square;
  EXPECT_EQ(findBestPlacement(2, false), (std::vector<int32_t>{0, 0}));
  EXPECT_EQ(findBestPlacement(2, true), (std::vector<int32_t>{-1000}));
  // Pieces with an empty grid row 0 still land their lower rows over the full board.
  p2PieceId = 3;
  EXPECT_GT(findBestPlacement(2, true)[0], -1000);
}

TEST(Search, BarIntoTheWellFromColumnMinusOne) {
  useSevenPieces(plainWeights);
  // The upright bar sits in its grid's column 1, so the well at column 0 needs x = -1.
  p1Board = boardFromPicture({".#########", ".#########", ".#########", ".#########"});
  p1PieceId = bar;
  PlacementChoice best = searchBestPlacement(1);
  EXPECT_EQ(best.x, -1);
  EXPECT_EQ(best.rotation, 1);
  EXPECT_EQ(best.score, 16 + 17 + 18 + 19 + 400 + 500.0); // four rows, level tops, no holes
  // The square has a block in its grid's column 0 and is never tried at x = -1.
  p1PieceId = square;
  EXPECT_GE(searchBestPlacement(1).x, 0);
}

TEST(Search, SingleBlockReachesTheFloorOfAnEmptyColumn) {
  // A one-cell grid has its block in grid row 0: the floor must still stop it on row 19.
  useCatalogue({pieceFromPicture({"#"})});
  fitnessParams = {plainWeights};
  p1Board = boardFromPicture({"#########."});
  p1PieceId = 1;
  PlacementChoice best = searchBestPlacement(1);
  EXPECT_EQ(best.x, 9);
  EXPECT_EQ(best.score, 19 + 100 + 500.0);
}

TEST(Search, MatchesThePlainTranscriptionOnRandomBoards) {
  const std::vector<double> weights = {0.91, 1.73, 0.37, 0.47};
  useSevenPieces(weights);
  std::mt19937 random(11);
  for (int trial = 0; trial < 2000; ++trial) {
    Board board{};
    for (int x = 0; x < 10; ++x) {
      int height = static_cast<int>(random() % 21);
      for (int y = 20 - height; y < 20; ++y) board[x][y] = random() % 5 ? 100 : 0;
    }
    p2Board = board;
    p2PieceId = 1 + random() % 7;
    ReferenceChoice expected =
        referenceSearch(board, pieceCatalogue[p2PieceId - 1], p2PieceId, weights);
    PlacementChoice found = searchBestPlacement(2);
    ASSERT_EQ(found.x, expected.x) << "trial " << trial;
    ASSERT_EQ(found.rotation, expected.rotation) << "trial " << trial;
    ASSERT_EQ(found.score, expected.score) << "trial " << trial;
    ASSERT_EQ(findBestPlacement(2, true)[0], static_cast<int32_t>(expected.score));
  }
}

TEST(FitnessParams, FileReplacesSetZeroAndBadFilesFallBack) {
  std::string path = testing::TempDir() + "fitness.txt";
  std::ofstream(path) << "1.5\n2.25\n  0.75 \n3e-1\n9\n";
  fitnessParams.clear();
  loadFitnessParams(path);
  ASSERT_EQ(fitnessParams.size(), 10u);
  EXPECT_EQ(fitnessParams[0], (std::vector<double>{1.5, 2.25, 0.75, 0.3, 9}));
  for (size_t set = 1; set < 10; ++set) {
    ASSERT_EQ(fitnessParams[set].size(), 4u);
    for (double w : fitnessParams[set]) EXPECT_TRUE(w >= 0.0 && w <= 2.99) << w;
  }

  fitnessParams.clear();
  loadFitnessParams(BRIKKA_SOURCE_DIR "/Storage/BestFitnessParams.txt");
  const std::vector<double> shipped = fitnessParams[0];
  ASSERT_EQ(shipped.size(), 4u);

  for (const char* bad : {"1\n2\nthree\n4\n", "1\n2\n3\n", ""}) {
    std::ofstream(path) << bad;
    fitnessParams.clear();
    testing::internal::CaptureStderr();
    loadFitnessParams(path);
    std::string message = testing::internal::GetCapturedStderr();
    EXPECT_EQ(fitnessParams[0], shipped) << bad;
    EXPECT_NE(message.find(path), std::string::npos) << message;
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
  }
  std::remove(path.c_str());
  fitnessParams.clear();
  testing::internal::CaptureStderr();
  loadFitnessParams(path);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot be opened"), std::string::npos);
  EXPECT_EQ(fitnessParams[0], shipped);
}

} // namespace
