#include "folders.h"
#include "play.h"

#include <algorithm>
#include <set>

namespace {

using Colour = std::array<int32_t, 3>;

std::string pieceFile(const std::string& text) {
  const std::string path = scratchPath("pieces.txt");
  writeFile(path, text);
  return path;
}

// Four copies of the same grid, each closed by a comma line, then the piece's semicolon.
std::string pieceText(const std::string& columns) {
  std::string text;
  for (int k = 0; k < 4; ++k) text += columns + ",\n";
  return text + ";\n";
}

TEST(PieceFile, SeparatorsRaggedColumnsCarriedColumnsAndUnfinishedPieces) {
  std::string error, carried = "1 1\n,\n1 1\n,\n1 1\n,\n1 1\n,\n1\n;\n";
  std::string text = pieceText("1 0 1\n1,0,1\n1x0x1\n") + pieceText("2 3 9 1\r\n\r\n1\r\n") +
                     carried + pieceText("0 1\n") + "1\n,\n1\n,\n1\n,\n1\n,\n0 1\n";
  useCatalogue({});
  ASSERT_TRUE(loadPieceFile(pieceFile(text), false, &error)) << error;
  ASSERT_EQ(loadedPieces.size(), 4u); // the fifth piece has no semicolon
  EXPECT_EQ(pieceSelection, std::vector<bool>(4, false));
  EXPECT_EQ(loadedPieces[0].grids[2], PieceGrid({{1, 0, 1}, {1, 0, 1}, {1, 0, 1}}));
  EXPECT_EQ(loadedPieces[1].grids[3], PieceGrid({{2, 3, 9, 1}, {}, {1}}));
  EXPECT_EQ(loadedPieces[3].grids[0], PieceGrid({{1}, {0, 1}})); // left open before ";"
  EXPECT_EQ(loadedPieces[3].grids[1], PieceGrid({{0, 1}}));

  // The ragged piece collides and locks by its two 1s only, whatever lies under 2, 3 and 9.
  startGame({Piece(loadedPieces[1])});
  p1Board = boardFromPicture({"g.........", "g.........", "g.........", ".........."});
  placePiece(1, 1, 0, {0, 16});
  ASSERT_TRUE(pieceFits(1, currentGrid(1), 0, 0));
  lockPiece(1);
  EXPECT_EQ(boardPicture(p1Board),
            bottomRows({"g.1.......", "g.........", "g.........", "1........."}));
  // A missing file adds nothing and says so in one line naming it; the game plays on.
  std::string missing = ::testing::TempDir() + "/no-such-folder/x.txt";
  size_t loaded = loadedPieces.size();
  EXPECT_EQ(errorsOf([&] { EXPECT_TRUE(loadPieceFile(missing, true, &error)); }),
            missing + ": missing; its pieces are left out\n");
  EXPECT_EQ(loadedPieces.size(), loaded);

  // A letter where a cell belongs, a piece of three rotations that turning would overrun, and
  // grids taller or wider than the board (a column of 20 cells still fits).
  std::string tall(2 * 65537 - 1, ' '), wide = std::string(20, '1') + "\n";
  for (size_t i = 0; i < tall.size(); i += 2) tall[i] = '1';
  for (int x = 0; x < 10; ++x) wide += "1\n";
  for (const auto& [broken, line] : std::vector<std::pair<std::string, std::string>>{
           {pieceText("1 0\n") + "1 0\nx 1\n", ":11: "},
           {"1\n,\n1\n,\n1\n,\n;\n", ":7: "},
           {pieceText("1\n") + tall + "\n", ":10: "},
           {wide, ":11: "}}) {
    std::string path = pieceFile(broken);
    EXPECT_FALSE(loadPieceFile(path, true, &error));
    EXPECT_EQ(error.rfind(path + line, 0), 0u) << error;
  }
}

TEST(PieceColours, ValuesEndAtCommasAndGapsShowMagenta) {
  useCatalogue({tPiece, oPiece, iPiece, longBar, tPiece});
  pieceSelection = {false, true, false, true, true};
  rebuildCatalogue();
  std::string error;
  ASSERT_TRUE(loadPieceColours(&error, pieceFile("12,34,56\n12, 34, 56,\n\n -7,+8x,255,99,\r\n")));
  std::vector<std::vector<int32_t>> rows = {{12, 34}, {12, 34, 56}, {}, {-7, 8, 255, 99}};
  EXPECT_EQ(pieceColours, rows);
  // Held to the range of a byte; magenta where loaded piece 4 has no row and piece 0 two values.
  EXPECT_EQ(
      std::vector<Colour>({pieceColour(1), pieceColour(2), pieceColour(3), loadedPieceColour(0)}),
      std::vector<Colour>({{12, 34, 56}, {0, 8, 255}, {255, 0, 255}, {255, 0, 255}}));
  for (const char* bad : {"12,,56,\n", "12,a,56,\n", "99999999999,\n"}) {
    std::string path = pieceFile(std::string("1,2,3,\n") + bad);
    EXPECT_FALSE(loadPieceColours(&error, path)) << bad;
    EXPECT_EQ(error.rfind(path + ":2: ", 0), 0u) << error;
    EXPECT_EQ(pieceColours, rows);
  }
}

TEST(PieceSelection, ToggleKeepsOnePieceAndResetRestoresTheDefaults) {
  useCatalogue(std::vector<Piece>(12, tPiece));
  pieceSelection = std::vector<bool>({0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0});
  for (int k : {5, 6, 5}) togglePieceSelected(k); // the only piece selected cannot go
  EXPECT_EQ(pieceSelection, std::vector<bool>({0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0}));
  selectAllPieces();
  EXPECT_EQ(pieceSelection, std::vector<bool>(12, true));
  resetPieceSelection();
  EXPECT_EQ(pieceSelection, std::vector<bool>({0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 0}));

  useCatalogue({tPiece, oPiece, iPiece}); // too few for the pattern: the files' own defaults
  defaultPieceSelection = {false, true, true};
  resetPieceSelection();
  EXPECT_EQ(pieceSelection, defaultPieceSelection);
  pieceSelection = {true, false, true}; // the next set-up plays exactly these, in load order
  setUpGame();
  ASSERT_EQ(pieceCatalogue.size(), 2u);
  EXPECT_EQ(pieceCatalogue[1].grids, iPiece.grids);
  for (int32_t id : pieceQueue) EXPECT_TRUE(id == 1 || id == 2);
}

TEST(ShippedPieces, BlockCountsQuarterTurnsSpawnAndAColourEach) {
  const std::string storage = std::string(BRIKKA_SOURCE_DIR) + "/Storage/";
  std::string error;
  useCatalogue({});
  resetBoards(0);
  ASSERT_TRUE(loadPieceFiles(&error, storage)) << error; // as start-up loads them
  ASSERT_EQ(loadedPieces.size(), 29u);                   // 1 + 1 + 2 + 7 + 18
  for (size_t k = 0; k < loadedPieces.size(); ++k)
    for (int r = 0; r < 4; ++r) {
      const PieceGrid& grid = loadedPieces[k].grids[r];
      const PieceGrid& next = loadedPieces[k].grids[(r + 1) % 4];
      int32_t cells = 0;
      for (size_t x = 0; x < grid.size(); ++x)
        for (size_t y = 0; y < grid.size(); ++y) { // drawn, the next grid is turned left
          cells += grid.at(x).at(y) == 1;
          EXPECT_EQ(next.at(y).at(grid.size() - 1 - x), grid[x][y]) << k << " " << r;
        }
      EXPECT_EQ(cells, k < 2 ? k + 1 : k < 4 ? 3 : k < 11 ? 4 : 5) << "piece " << k;
      EXPECT_TRUE(pieceFits(1, grid, 0, 0, &spawnPosition)) << "piece " << k;
    }
  ASSERT_TRUE(loadPieceColours(&error, storage + "colorPieces.txt"));
  ASSERT_EQ(pieceColours.size(), 29u);
  for (const std::vector<int32_t>& row : pieceColours) {
    ASSERT_EQ(row.size(), 3u);
    EXPECT_GE(*std::min_element(row.begin(), row.end()), 0);
    EXPECT_LE(*std::max_element(row.begin(), row.end()), 255);
  }
  EXPECT_EQ(std::set<std::vector<int32_t>>(pieceColours.begin(), pieceColours.end()).size(), 29u);
  // Only the four-block pieces are chosen.
  EXPECT_EQ(pieceSelection, std::vector<bool>({0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0,
                                               0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  useCatalogue({});
  EXPECT_FALSE(loadPieceFiles(&error, ::testing::TempDir() + "/no-pieces-here"));
  EXPECT_NE(error.find("no piece could be loaded"), std::string::npos);
}

} // namespace
