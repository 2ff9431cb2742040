#include "players.h"

#include <cstdio>

constexpr int32_t bar = 1, square = 2;

TEST(Evaluation, WorkedPlacementsWithExactAndInexactWeights) {
  useCatalogue(sevenPieces());
  struct Case {
    std::vector<std::string> board;
    int32_t piece;
    Point at;
    int landing, holes, cliffs, bumpiness, buried, rows; // the weights multiply the middle four
  };
  // Landing 18 + 19 + 18 + 19 = 74 for the square in the bottom rows. Completed rows add 100
  // each and still count as filled. A cell over two holes: two holes, buried twice for the
  // covering cell; a filled cell under the first hole pays 2 x buried on the way down.
  const Case cases[] = {
      {{}, square, {0, 18}, 74, 0, 1, 4, 0, 0},
      {{}, square, {1, 18}, 74, 0, 2, 8, 0, 0},
      {{"..########", "..########"}, square, {0, 18}, 74, 0, 0, 0, 0, 2},
      {{".........#", "..........", ".........."}, square, {0, 18}, 74, 2, 2, 10, 2, 0},
      {{".........#", "..........", ".........#"}, square, {0, 18}, 74, 1, 2, 10, 3, 0},
      {{".#########"}, square, {2, 17}, 70, 0, 2, 10, 0, 0}}; // a row short of column 0
  // Weights exact in binary take a shortcut through counts; others go term by term.
  for (const std::vector<double>& w :
       {std::vector<double>{3.0, 5.0, 0.5, 7.0}, {3.1, 5.3, 0.7, 6.9}}) {
    fitnessParams = {w};
    for (const Case& c : cases) {
      p2Board = boardFromPicture(c.board);
      EXPECT_NEAR(evaluatePlacement(2, c.piece, 0, c.at),
                  c.landing - c.holes * w[0] - c.cliffs * w[1] - c.bumpiness * w[2] -
                      c.buried * w[3] + 100 * c.rows + 500,
                  1e-9)
          << w[0] << " " << c.at.x << " " << c.board.size();
    }
    // Blocks off the board (row -1, column 10, the bar's row 1 in row 20) score the floor.
    p2Board = boardFromPicture({"#########."});
    EXPECT_EQ(evaluatePlacement(2, square, 0, {0, -1}), -1000);
    EXPECT_EQ(evaluatePlacement(2, square, 0, {9, 10}), -1000);
    EXPECT_EQ(evaluatePlacement(2, bar, 0, {0, 19}), -1000);
  }
}

TEST(Search, TieOrderFullBoardAndWells) {
  useCatalogue(sevenPieces());
  fitnessParams = {{3.0, 5.0, 0.5, 7.0}};
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
  // The rightmost column is a place too.
  p1Board = boardFromPicture(std::vector<std::string>(4, "#########."));
  EXPECT_EQ(findBestPlacement(1, false), (std::vector<int32_t>{8, 1}));
  // Scores are truncated toward zero: 571.75 on the empty board.
  fitnessParams = {{2.5, 1.25, 0.25, 0.5}};
  p1Board = Board{};
  p1PieceId = square;
  EXPECT_EQ(findBestPlacement(1, true), (std::vector<int32_t>{571}));
  // A piece whose blocks lie in its grid's row 0 rests on the floor, row 19.
  useCatalogue({pieceFromPicture({"##"})});
  p1PieceId = 1;
  PlacementChoice flat = searchBestPlacement(1);
  EXPECT_EQ(flat.score, evaluatePlacement(1, 1, flat.rotation, {flat.x, 19}));
}

TEST(Actions, EachActionIsScoredWherePieceSlidesAndDrops) {
  useCatalogue(sevenPieces());
  fitnessParams = {{3.0, 5.0, 0.5, 7.0}};
  p1Board = boardFromPicture(std::vector<std::string>(4, ".....g...."));
  p1PieceId = square;
  p1Rotation = 0;
  p1Position = {4, 0};
  double scores[actionCount];
  scoreEveryAction(scores);
  for (int32_t rotation = 0; rotation < 4; ++rotation)
    for (int32_t column = -1; column < boardWidth; ++column) {
      // The walls stop the square at columns 0 and 8; column 5's stack holds it up at 4 and 5.
      int32_t x = std::clamp(column, 0, boardWidth - 2);
      Point rest = {x, x == 4 || x == 5 ? 14 : 18};
      EXPECT_EQ(scores[actionOf(column, rotation)], evaluatePlacement(1, square, rotation, rest))
          << column << " " << rotation;
    }
  EXPECT_EQ(p1Position.x, 4); // scoring moves nothing
  moveToAction(actionOf(7, 2));
  EXPECT_EQ(p1Rotation, 2);
  EXPECT_EQ(p1Position.x, 7);
  EXPECT_EQ(p1Position.y, 18);
}

TEST(FitnessParams, FileReplacesSetZeroAndBadFilesFallBack) {
  std::string path = scratchPath("fitness.txt");
  std::ofstream(path) << "1.5\n2.25\n  0.75 \n3e-1\n9\n";
  fitnessParams.clear();
  loadFitnessParams(path);
  ASSERT_EQ(fitnessParams.size(), 10u); // nine random sets of 0.00 to 2.99 follow set 0
  EXPECT_EQ(fitnessParams[0], (std::vector<double>{1.5, 2.25, 0.75, 0.3, 9}));
  for (double w : fitnessParams[9]) {
    EXPECT_GE(w, 0.0);
    EXPECT_LE(w, 2.99);
  }
  // A bad file falls back to the built-in weights, which are the shipped file's.
  loadFitnessParams(BRIKKA_SOURCE_DIR "/Storage/BestFitnessParams.txt");
  const std::vector<double> shipped = fitnessParams[0];
  for (const char* bad : {"1\n2\nthree\n4\n", "1\n2\n3\n", "", "5e8\n1\n1\n1\n", "1\n-1e12\n1\n1\n",
                          "1\n1\n\n1\n1\n", "inf\n1\n1\n1\n"}) {
    std::remove(path.c_str());
    if (*bad) std::ofstream(path) << bad;
    fitnessParams.clear();
    expectOneLineNaming(errorsOf([&] { loadFitnessParams(path); }), path);
    EXPECT_EQ(fitnessParams[0], shipped);
  }
}
