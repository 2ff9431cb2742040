#include "play.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <set>

namespace {

using Colour = std::array<int32_t, 3>;

std::string writeFile(const std::string& text) {
  std::string path = ::testing::TempDir() + "/brikka-pieces.txt";
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

// Loads one piece file into an empty set of loaded pieces.
bool loadOnly(const std::string& path, bool selected, std::string* error) {
  loadedPieces.clear();
  pieceSelection.clear();
  defaultPieceSelection.clear();
  return loadPieceFile(path, selected, error);
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
  ASSERT_TRUE(loadOnly(writeFile(text), false, &error)) << error;
  ASSERT_EQ(loadedPieces.size(), 4u); // the fifth piece has no semicolon
  EXPECT_EQ(pieceSelection, std::vector<bool>(4, false));
  EXPECT_EQ(loadedPieces[0].grids[2], PieceGrid({{1, 0, 1}, {1, 0, 1}, {1, 0, 1}}));
  EXPECT_EQ(loadedPieces[1].grids[3], PieceGrid({{2, 3, 9, 1}, {}, {1}}));
  EXPECT_EQ(loadedPieces[3].grids[0], PieceGrid({{1}, {0, 1}})); // left open before ";"
  EXPECT_EQ(loadedPieces[3].grids[1], PieceGrid({{0, 1}}));

  // The ragged piece collides and locks by its two 1s only, whatever lies under 2, 3 and 9.
  startGame({Piece(loadedPieces[1])});
  p1Board = boardFromPicture(std::vector<std::string>(20, "ggggggggg."));
  p1Board[0][19] = p1Board[2][16] = 0;
  placePiece(1, 1, 0, {0, 16});
  ASSERT_TRUE(pieceFits(1, currentGrid(1), 0, 0));
  lockPiece(1);
  EXPECT_EQ(boardPicture(p1Board)[16] + boardPicture(p1Board)[19], "gg1gggggg.1gggggggg.");
  EXPECT_TRUE(loadPieceFile(::testing::TempDir() + "/no-such-folder/x.txt", true, &error));

  // A letter where a cell belongs, and a piece of three rotations that turning would overrun.
  for (const auto& [broken, line] : std::vector<std::pair<std::string, std::string>>{
           {pieceText("1 0\n") + "1 0\nx 1\n", ":11: "}, {"1\n,\n1\n,\n1\n,\n;\n", ":7: "}}) {
    std::string path = writeFile(broken);
    EXPECT_FALSE(loadOnly(path, true, &error));
    EXPECT_EQ(error.rfind(path + line, 0), 0u) << error;
    EXPECT_TRUE(loadedPieces.empty() && pieceSelection.empty());
  }
}

TEST(PieceColours, ValuesEndAtCommasAndGapsShowMagenta) {
  std::string error;
  ASSERT_TRUE(loadPieceColours(&error, writeFile("12,34,56\n12, 34, 56,\n\n -7,+8x,255,99,\r\n")));
  std::vector<std::vector<int32_t>> rows = {{12, 34}, {12, 34, 56}, {}, {-7, 8, 255, 99}};
  EXPECT_EQ(pieceColours, rows);
  useCatalogue({tPiece, oPiece, iPiece, longBar, tPiece});
  pieceColours = rows;
  pieceSelection = {false, true, false, true, true};
  rebuildCatalogue();
  EXPECT_EQ(pieceColour(1), Colour({12, 34, 56}));
  EXPECT_EQ(pieceColour(2), Colour({0, 8, 255}));         // held to the range of a byte
  EXPECT_EQ(pieceColour(3), Colour({255, 0, 255}));       // no row for loaded piece 4
  EXPECT_EQ(loadedPieceColour(0), Colour({255, 0, 255})); // two values only

  for (const char* bad : {"12,,56,\n", "12,a,56,\n", "99999999999,\n"}) {
    std::string path = writeFile(std::string("1,2,3,\n") + bad);
    EXPECT_FALSE(loadPieceColours(&error, path)) << bad;
    EXPECT_EQ(error.rfind(path + ":2: ", 0), 0u) << error;
    EXPECT_EQ(pieceColours, rows);
  }
}

TEST(PieceSelection, ToggleKeepsOnePieceAndResetRestoresTheDefaults) {
  useCatalogue(std::vector<Piece>(12, tPiece));
  pieceSelection.assign(12, false);
  pieceSelection[5] = true;
  togglePieceSelected(5);
  togglePieceSelected(6);
  togglePieceSelected(5);
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
  EXPECT_EQ(pieceCatalogue[1].grids[0], iPiece.grids[0]);
  for (int32_t id : pieceQueue) EXPECT_TRUE(id == 1 || id == 2);
}

// The blocks of a square grid as rows of text, and as cells moved to the top-left corner.
std::vector<std::string> gridRows(const PieceGrid& grid) {
  std::vector<std::string> rows(grid.size(), std::string(grid.size(), '.'));
  for (size_t c = 0; c < grid.size(); ++c)
    for (size_t r = 0; r < grid[c].size() && r < grid.size(); ++r)
      if (grid[c][r] == 1) rows[r][c] = '#';
  return rows;
}
std::set<std::pair<size_t, size_t>> shape(const PieceGrid& grid) {
  std::vector<std::string> rows = gridRows(grid);
  size_t left = 99, top = 99;
  std::set<std::pair<size_t, size_t>> cells;
  for (int pass = 0; pass < 2; ++pass)
    for (size_t r = 0; r < rows.size(); ++r)
      for (size_t c = 0; c < rows.size(); ++c)
        if (rows[r][c] == '#' && pass == 0)
          left = std::min(left, c), top = std::min(top, r);
        else if (rows[r][c] == '#')
          cells.insert({c - left, r - top});
  return cells;
}

double colourDistance(const Colour& a, const Colour& b) { // red-mean weighted
  double redMean = (a[0] + b[0]) / 2.0, dr = a[0] - b[0], dg = a[1] - b[1], db = a[2] - b[2];
  return std::sqrt((2 + redMean / 256) * dr * dr + 4 * dg * dg +
                   (2 + (255 - redMean) / 256) * db * db);
}

TEST(ShippedPieces, BlockCountsQuarterTurnsSpawnDistinctShapesAndColours) {
  const std::string storage = std::string(BRIKKA_SOURCE_DIR) + "/Storage/";
  std::string error;
  loadOnly("", false, &error); // no pieces yet: the empty path opens nothing
  for (int blocks = 1; blocks <= 5; ++blocks)
    ASSERT_TRUE(
        loadPieceFile(storage + std::to_string(blocks) + "BlockPieces.txt", blocks == 4, &error));
  ASSERT_TRUE(loadPieceColours(&error, storage + "colorPieces.txt"));
  ASSERT_EQ(loadedPieces.size(), 29u);
  ASSERT_EQ(pieceColours.size(), 29u);
  const std::vector<int> firstOfFile = {0, 1, 2, 4, 11, 29};
  std::set<std::set<std::pair<size_t, size_t>>> earlierShapes;
  std::vector<Colour> seen = {{0, 0, 0}, {100, 100, 100}, {220, 0, 0}, {0, 0, 220}, {255, 0, 255}};
  resetBoards(0);
  for (int file = 0; file < 5; ++file) {
    for (int k = firstOfFile[file]; k < firstOfFile[file + 1]; ++k) {
      EXPECT_EQ(pieceSelection[k], file == 3);
      std::set<std::set<std::pair<size_t, size_t>>> ownShapes;
      for (int r = 0; r < 4; ++r) {
        const PieceGrid& grid = loadedPieces[k].grids[r];
        ownShapes.insert(shape(grid));
        EXPECT_EQ(shape(grid).size(), static_cast<size_t>(file + 1)) << "piece " << k;
        EXPECT_EQ(pieceFromPicture(gridRows(grid)).grids[1], loadedPieces[k].grids[(r + 1) % 4])
            << "piece " << k << ": grid " << r + 1 << " is not grid " << r << " turned left";
        EXPECT_TRUE(pieceFits(1, grid, 0, 0, &spawnPosition)) << "piece " << k;
      }
      for (const auto& own : ownShapes) EXPECT_EQ(earlierShapes.count(own), 0u) << "piece " << k;
      earlierShapes.insert(ownShapes.begin(), ownShapes.end());
      Colour colour = loadedPieceColour(k);
      EXPECT_EQ(std::vector<int32_t>(colour.begin(), colour.end()), pieceColours[k]);
      EXPECT_GE(0.299 * colour[0] + 0.587 * colour[1] + 0.114 * colour[2], 100.0) << "row " << k;
      for (const Colour& other : seen) EXPECT_GE(colourDistance(colour, other), 120.0) << k;
      seen.push_back(colour);
    }
  }
  selectAllPieces();
  resetPieceSelection();
  EXPECT_EQ(pieceSelection, defaultPieceSelection);
}

} // namespace
