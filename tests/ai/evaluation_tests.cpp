#include "reference.h"

#include <cstdio>

constexpr int32_t bar = 1, square = 2;
// Weights exact in binary, so the worked scores are exact: hole, cliff, bumpiness, buried.
const std::vector<double> plain = {3.0, 5.0, 0.5, 7.0};

TEST(Evaluation, WorkedPlacements) {
  useCatalogue(sevenPieces());
  fitnessParams = {plain};
  auto score = [](const std::vector<std::string>& board, int32_t piece, Point at) {
    p2Board = boardFromPicture(board);
    return evaluatePlacement(2, piece, 0, at);
  };
  // Landing 18 + 19 + 18 + 19; one cliff and bumpiness 4, or two cliffs and bumpiness 8.
  EXPECT_EQ(score({}, square, {0, 18}), 74 - 5 - 4 * 0.5 + 500);
  EXPECT_EQ(score({}, square, {1, 18}), 74 - 2 * 5 - 8 * 0.5 + 500);
  // Two completed rows add 200 and still count as filled for tops and holes.
  EXPECT_EQ(score({"..########", "..########"}, square, {0, 18}), 74 + 200 + 500);
  // A cell over two holes: two holes, and buried twice for the covering cell; a filled cell
  // under the first hole pays 2 x buried on the way down.
  EXPECT_EQ(score({".........#", "..........", ".........."}, square, {0, 18}),
            74 - 2 * 3 - 2 * 5 - 10 * 0.5 - 2 * 7 + 500);
  EXPECT_EQ(score({".........#", "..........", ".........#"}, square, {0, 18}),
            74 - 3 - 2 * 7 - 2 * 5 - 10 * 0.5 - 7 + 500);
  // Blocks off the board (row -1, column 10, the bar's row 1 in row 20) score the floor.
  EXPECT_EQ(score({"#########."}, square, {0, -1}), -1000);
  EXPECT_EQ(score({}, square, {9, 10}), -1000);
  EXPECT_EQ(score({}, bar, {0, 19}), -1000);
}

TEST(Search, TieOrderFullBoardAndWells) {
  useCatalogue(sevenPieces());
  fitnessParams = {plain};
  // Against either wall the square scores the same: the leftmost wins.
  p1Board = boardFromPicture(std::vector<std::string>(10, "#........#"));
  p1PieceId = square;
  EXPECT_EQ(evaluatePlacement(1, square, 0, {1, 18}), evaluatePlacement(1, square, 0, {7, 18}));
  EXPECT_EQ(findBestPlacement(1, false), (std::vector<int32_t>{1, 0}));
  EXPECT_EQ(findBestPlacement(1, true)[0], int32_t(evaluatePlacement(1, square, 0, {1, 18})));
  EXPECT_EQ(findBestPlacement(3, false), (std::vector<int32_t>{0, 0})); // no such player
  // Board full up to row 0: every square rests at y = -1 and nothing beats the floor.
  p2Board = boardFromPicture(std::vector<std::string>(20, "gggggggggg"));
  p2PieceId = square;
  EXPECT_EQ(findBestPlacement(2, false), (std::vector<int32_t>{0, 0}));
  EXPECT_EQ(findBestPlacement(2, true), (std::vector<int32_t>{-1000}));
  // The upright bar sits in its grid's column 1: the well at column 0 needs x = -1.
  p1Board = boardFromPicture(std::vector<std::string>(4, ".#########"));
  p1PieceId = bar;
  EXPECT_EQ(findBestPlacement(1, false), (std::vector<int32_t>{-1, 1}));
  EXPECT_EQ(searchBestPlacement(1).score, 16 + 17 + 18 + 19 + 400 + 500.0);
}

TEST(Search, FastAndPlainAgreeOnRandomBoards) {
  std::mt19937 random(7);
  // Weights of few binary digits take a shortcut through counts; others go term by term.
  const std::vector<double> weightSets[] = {{2.75, 0.5, 1.25, 0.375}, {1.37, 0.61, 0.29, 0.83}};
  useCatalogue(sevenPieces());
  for (int trial = 0; trial < 4000; ++trial) {
    const std::vector<double>& w = weightSets[trial % 2];
    fitnessParams = {w};
    p1Board = Board{};
    int height = random() % 21, emptyOneIn = 3 + random() % 3;
    for (auto& column : p1Board)
      for (int y = 20 - random() % (height + 1); y < 20; ++y)
        column[y] = random() % emptyOneIn ? 1 + random() % 7 : 0;
    int32_t id = p1PieceId = 1 + random() % 7, rotation = random() % 4;
    Point at = {int32_t(random() % 13) - 2, int32_t(random() % 23) - 2};
    ASSERT_EQ(evaluatePlacement(1, id, rotation, at),
              referenceEvaluation(p1Board, pieceCatalogue[id - 1].grids[rotation], id, at, w))
        << "trial " << trial;
    PlacementChoice expected = referenceSearch(p1Board, pieceCatalogue[id - 1], id, w);
    ASSERT_EQ(findBestPlacement(1, false), (std::vector<int32_t>{expected.x, expected.rotation}))
        << "trial " << trial;
    ASSERT_EQ(searchBestPlacement(1).score, expected.score) << "trial " << trial;
  }
}

TEST(FitnessParams, FileReplacesSetZeroAndBadFilesFallBack) {
  std::string path = testing::TempDir() + "ai_fitness.txt";
  std::ofstream(path) << "1.5\n2.25\n  0.75 \n3e-1\n9\n";
  fitnessParams.clear();
  loadFitnessParams(path);
  ASSERT_EQ(fitnessParams.size(), 10u); // nine random sets of 0.00 to 2.99 follow set 0
  EXPECT_EQ(fitnessParams[0], (std::vector<double>{1.5, 2.25, 0.75, 0.3, 9}));
  for (double w : fitnessParams[9]) EXPECT_TRUE(w >= 0.0 && w <= 2.99) << w;
  // A bad file falls back to the built-in weights, which are the shipped file's.
  loadFitnessParams(BRIKKA_SOURCE_DIR "/Storage/BestFitnessParams.txt");
  const std::vector<double> shipped = fitnessParams[0];
  for (const char* bad : {"1\n2\nthree\n4\n", "1\n2\n3\n", "", "5e8\n1\n1\n1\n", "1\n-1e12\n1\n1\n",
                          "1\n1\n\n1\n1\n", "inf\n1\n1\n1\n"}) {
    std::remove(path.c_str());
    if (*bad) std::ofstream(path) << bad;
    fitnessParams.clear();
    testing::internal::CaptureStderr();
    loadFitnessParams(path);
    expectOneLineNaming(path);
    EXPECT_EQ(fitnessParams[0], shipped);
  }
}
