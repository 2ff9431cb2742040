// The piece files and colours that ship with the game, loaded the way start-up loads them.
#include "play.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {

const std::string storage = std::string(BRIKKA_SOURCE_DIR) + "/Storage/";

void loadShippedPieces() {
  loadedPieces.clear();
  pieceSelection.clear();
  defaultPieceSelection.clear();
  for (int blocks = 1; blocks <= 5; ++blocks) {
    std::string error;
    std::string path = storage + std::to_string(blocks) + "BlockPieces.txt";
    ASSERT_TRUE(loadPieceFile(path, blocks == 4, &error)) << error;
  }
  std::string error;
  ASSERT_TRUE(loadPieceColours(&error, storage + "colorPieces.txt")) << error;
}

int blockCount(const PieceGrid& grid) {
  int count = 0;
  for (const auto& column : grid)
    for (int32_t cell : column) count += cell == 1;
  return count;
}

std::vector<std::string> gridRows(const PieceGrid& grid) {
  std::vector<std::string> rows(grid.size(), std::string(grid.size(), '.'));
  for (size_t c = 0; c < grid.size(); ++c)
    for (size_t r = 0; r < grid[c].size() && r < grid.size(); ++r)
      if (grid[c][r] == 1) rows[r][c] = '#';
  return rows;
}

// The blocks of a grid moved to the top-left corner, so shapes compare wherever they sit.
std::set<std::pair<int, int>> shape(const PieceGrid& grid) {
  std::set<std::pair<int, int>> cells;
  int left = 99, top = 99;
  for (size_t c = 0; c < grid.size(); ++c)
    for (size_t r = 0; r < grid[c].size(); ++r)
      if (grid[c][r] == 1) {
        left = std::min(left, static_cast<int>(c));
        top = std::min(top, static_cast<int>(r));
      }
  for (size_t c = 0; c < grid.size(); ++c)
    for (size_t r = 0; r < grid[c].size(); ++r)
      if (grid[c][r] == 1) cells.insert({static_cast<int>(c) - left, static_cast<int>(r) - top});
  return cells;
}

// A rough perceptual distance between two colours (red-mean weighted).
double colourDistance(const std::array<int32_t, 3>& a, const std::array<int32_t, 3>& b) {
  double redMean = (a[0] + b[0]) / 2.0;
  double dr = a[0] - b[0], dg = a[1] - b[1], db = a[2] - b[2];
  return std::sqrt((2 + redMean / 256) * dr * dr + 4 * dg * dg +
                   (2 + (255 - redMean) / 256) * db * db);
}

TEST(ShippedPieces, CountsBlocksRotationsAndSpawn) {
  loadShippedPieces();
  const std::vector<size_t> piecesPerFile = {1, 1, 2, 7, 18};
  ASSERT_EQ(loadedPieces.size(), 29u);
  std::vector<std::set<std::pair<int, int>>> seenShapes;
  size_t k = 0;
  for (size_t file = 0; file < piecesPerFile.size(); ++file) {
    for (size_t i = 0; i < piecesPerFile[file]; ++i, ++k) {
      const Piece& piece = loadedPieces[k];
      for (int r = 0; r < 4; ++r) {
        const PieceGrid& grid = piece.grids[r];
        EXPECT_EQ(blockCount(grid), static_cast<int>(file + 1)) << "piece " << k;
        for (const auto& column : grid) EXPECT_EQ(column.size(), grid.size()) << "piece " << k;
        // Turning grid r a quarter counter-clockwise as drawn gives grid r + 1.
        Piece turned = pieceFromPicture(gridRows(grid));
        EXPECT_EQ(turned.grids[1], piece.grids[(r + 1) % 4]) << "piece " << k << " grid " << r;
      }
      // Every rotation appears inside an empty board at the spawn point.
      resetBoards(0);
      for (int r = 0; r < 4; ++r)
        EXPECT_TRUE(pieceFits(1, piece.grids[r], 0, 0, &spawnPosition)) << "piece " << k;
      for (const auto& seen : seenShapes)
        for (int r = 0; r < 4; ++r) EXPECT_NE(shape(piece.grids[r]), seen) << "piece " << k;
      seenShapes.push_back(shape(piece.grids[0]));
    }
  }
}

TEST(ShippedPieces, DefaultsAreTheSevenFourBlockPiecesAndResetKeepsThem) {
  loadShippedPieces();
  std::vector<bool> expected(29, false);
  for (int k = 4; k < 11; ++k) expected[k] = true;
  EXPECT_EQ(pieceSelection, expected);
  selectAllPieces();
  resetPieceSelection();
  EXPECT_EQ(pieceSelection, expected);
}

TEST(ShippedPieces, ColoursAreDistinctAndReadWellOnBlackAndBesideGarbage) {
  loadShippedPieces();
  ASSERT_EQ(pieceColours.size(), loadedPieces.size());
  const std::vector<std::array<int32_t, 3>> backgrounds = {
      {0, 0, 0}, {100, 100, 100}, {220, 0, 0}, {0, 0, 220}, {255, 0, 255}};
  for (size_t k = 0; k < pieceColours.size(); ++k) {
    ASSERT_EQ(pieceColours[k].size(), 3u) << "row " << k;
    std::array<int32_t, 3> colour = loadedPieceColour(static_cast<int32_t>(k));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(colour[i], pieceColours[k][i]) << "row " << k;
    double brightness = 0.299 * colour[0] + 0.587 * colour[1] + 0.114 * colour[2];
    EXPECT_GE(brightness, 100.0) << "row " << k;
    for (const auto& background : backgrounds)
      EXPECT_GE(colourDistance(colour, background), 120.0) << "row " << k;
    for (size_t j = 0; j < k; ++j)
      EXPECT_GE(colourDistance(colour, loadedPieceColour(static_cast<int32_t>(j))), 120.0)
          << "rows " << j << " and " << k;
  }
}

} // namespace
