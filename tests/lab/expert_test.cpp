// The expert evaluation: its features on drawn boards, its weights file, and how it plays.
#include "lab/lab.h"
#include "lab/state.h"

#include "folders.h"
#include "pictures.h"

namespace {

// The features of an O piece resting with its top-left block at (x, y) on the drawn board.
ExpertFeatures squareAt(const std::vector<std::string>& rows, int32_t x, int32_t y) {
  GridShape square = gridShape(gridFromPicture({"##", "##"}));
  bool onBoard = false;
  ExpertFeatures f = expertFeatures(boardColumns(boardFromPicture(rows)), square, x, y, &onBoard);
  EXPECT_TRUE(onBoard);
  return f;
}

TEST(Expert, FeaturesOfDrawnBoards) {
  // Two rows finished by the square: both clear, leaving an empty well.
  ExpertFeatures cleared = squareAt({"########..", "########.."}, 8, 18);
  EXPECT_EQ(cleared.landingHeight, 1.5);
  EXPECT_EQ(cleared.erodedCells, 2 * 4);
  EXPECT_EQ(cleared.rowTransitions, 2 * boardHeight); // only the walls
  EXPECT_EQ(cleared.columnTransitions, boardWidth);   // each empty column meets the floor
  EXPECT_EQ(cleared.holes + cleared.wellDepth + cleared.rowsWithHoles + cleared.holeDepth, 0);

  // A hole under column 0, wells in columns 1 (two single cells), 7 (two deep) and 9 (three).
  ExpertFeatures rough = squareAt({"#.#.....#.", "..#.....#.", "#.#.....#."}, 5, 18);
  EXPECT_EQ(rough.erodedCells, 0);
  EXPECT_EQ(rough.rowTransitions, 6 + 8 + 8 + 17 * 2);
  EXPECT_EQ(rough.columnTransitions, 3 + 9);
  EXPECT_EQ(rough.holes, 1);
  EXPECT_EQ(rough.rowsWithHoles, 1);
  EXPECT_EQ(rough.holeDepth, 1);
  EXPECT_EQ(rough.wellDepth, 2 + 3 + 6);

  // Off the board: no score at all.
  bool onBoard = true;
  expertFeatures(boardColumns(boardFromPicture({})), gridShape(gridFromPicture({"##", "##"})), 9,
                 18, &onBoard);
  EXPECT_FALSE(onBoard);
}

TEST(Expert, WeightsFileReloadsAndRejectsDamage) {
  std::string path = scratchPath("expert.txt");
  std::vector<double> tuned = {-4.5, 3.25, -1.125, -9.75, -7.0, -3.5, -0.0625, -0.5};
  writeFile(path, expertWeightsText(tuned));
  std::vector<double> read;
  EXPECT_EQ(readExpertWeights(path, read), "");
  EXPECT_EQ(read, tuned);

  // A damaged weight: the loader says so and plays with the shipped weights.
  std::string text = expertWeightsText(tuned);
  text.replace(text.find("3.25"), 4, "x");
  writeFile(path, text);
  expertWeights = tuned;
  std::string said = errorsOf([&] { loadExpertWeights(path); });
  EXPECT_NE(said.find("line 3 is not a number"), std::string::npos) << said;
  EXPECT_EQ(expertWeights, shippedExpertWeights);
  writeFile(path, "landing holes\n-1\n-4\n");
  EXPECT_NE(readExpertWeights(path, read), "");
  std::remove(path.c_str());
}

// The expert outlasts the heuristic on a game the heuristic loses early; with every piece, the
// lookahead clears more than the heuristic.
TEST(Expert, OutlastsTheHeuristicAndWithEveryPieceTheLookaheadClearsMore) {
  DataOptions data;
  data.dataFolder = BRIKKA_SOURCE_DIR;
  auto play = [&](const char* pieces, const char* evaluation, uint32_t seed, int64_t cap) {
    data.pieces = pieces;
    data.evaluation = evaluation;
    loadLabData(data);
    return playGame(seed, nullptr, cap);
  };
  GameResult heuristic = play("default", "heuristic", 8, 3000);
  GameResult expert = play("default", "expert", 8, 3000);
  EXPECT_LT(heuristic.pieces, 3000);
  EXPECT_EQ(expert.pieces, 3000); // still alive at the cap
  EXPECT_GT(expert.lines, heuristic.lines);
  int64_t plainLines = 0, lookaheadLines = 0;
  for (uint32_t seed = 1; seed <= 4; ++seed)
    plainLines += play("all", "heuristic", seed, 200).lines;
  for (uint32_t seed = 1; seed <= 4; ++seed)
    lookaheadLines += play("all", "lookahead", seed, 200).lines;
  expertEvaluation = expertLookahead = false;
  EXPECT_GT(lookaheadLines, plainLines);
}

} // namespace
