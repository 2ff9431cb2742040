// The piece files and colours that ship with the game, loaded the way start-up loads them.
#include "play.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {

void loadShippedPieces() {
  const std::string storage = std::string(BRIKKA_SOURCE_DIR) + "/Storage/";
  loadedPieces.clear();
  pieceSelection.clear();
  defaultPieceSelection.clear();
  std::string error;
  for (int blocks = 1; blocks <= 5; ++blocks)
    ASSERT_TRUE(
        loadPieceFile(storage + std::to_string(blocks) + "BlockPieces.txt", blocks == 4, &error))
        << error;
  ASSERT_TRUE(loadPieceColours(&error, storage + "colorPieces.txt")) << error;
}

// The blocks of a grid as rows of text, and as cells moved to the top-left corner.
std::vector<std::string> gridRows(const PieceGrid& grid) {
  std::vector<std::string> rows(grid.size(), std::string(grid.size(), '.'));
  for (size_t c = 0; c < grid.size(); ++c)
    for (size_t r = 0; r < grid[c].size() && r < grid.size(); ++r)
      if (grid[c][r] == 1) rows[r][c] = '#';
  return rows;
}
std::set<std::pair<size_t, size_t>> shape(const PieceGrid& grid) {
  std::vector<std::string> rows = gridRows(grid);
  while (!rows.empty() && rows[0].find('#') == std::string::npos) rows.erase(rows.begin());
  size_t left = std::string::npos;
  for (const std::string& row : rows) left = std::min(left, row.find('#'));
  std::set<std::pair<size_t, size_t>> cells;
  for (size_t r = 0; r < rows.size(); ++r)
    for (size_t c = 0; c < rows[r].size(); ++c)
      if (rows[r][c] == '#') cells.insert({c - left, r});
  return cells;
}

TEST(ShippedPieces, BlockCountsQuarterTurnsSpawnAndDefaults) {
  loadShippedPieces();
  const std::vector<size_t> piecesPerFile = {1, 1, 2, 7, 18};
  ASSERT_EQ(loadedPieces.size(), 29u);
  std::vector<std::set<std::pair<size_t, size_t>>> earlierShapes;
  resetBoards(0);
  for (size_t file = 0, k = 0; file < piecesPerFile.size(); ++file) {
    for (size_t i = 0; i < piecesPerFile[file]; ++i, ++k) {
      const Piece& piece = loadedPieces[k];
      for (int r = 0; r < 4; ++r) {
        std::vector<std::string> rows = gridRows(piece.grids[r]);
        size_t blocks = 0;
        for (const std::string& row : rows) blocks += std::count(row.begin(), row.end(), '#');
        EXPECT_EQ(blocks, file + 1) << "piece " << k;
        for (const auto& column : piece.grids[r]) EXPECT_EQ(column.size(), rows.size());
        EXPECT_EQ(pieceFromPicture(rows).grids[1], piece.grids[(r + 1) % 4])
            << "piece " << k << ": grid " << r + 1 << " is not grid " << r << " turned left";
        EXPECT_TRUE(pieceFits(1, piece.grids[r], 0, 0, &spawnPosition)) << "piece " << k;
        for (const auto& earlier : earlierShapes) EXPECT_NE(shape(piece.grids[r]), earlier);
      }
      earlierShapes.push_back(shape(piece.grids[0]));
    }
  }
  std::vector<bool> fourBlockPieces(29, false);
  std::fill(fourBlockPieces.begin() + 4, fourBlockPieces.begin() + 11, true);
  EXPECT_EQ(pieceSelection, fourBlockPieces);
  selectAllPieces();
  resetPieceSelection();
  EXPECT_EQ(pieceSelection, fourBlockPieces);
}

TEST(ShippedPieces, ColoursAreDistinctAndReadWellOnBlackAndBesideGarbage) {
  loadShippedPieces();
  ASSERT_EQ(pieceColours.size(), loadedPieces.size());
  // A rough perceptual distance (red-mean weighted).
  auto distance = [](const std::array<int32_t, 3>& a, const std::array<int32_t, 3>& b) {
    double redMean = (a[0] + b[0]) / 2.0, dr = a[0] - b[0], dg = a[1] - b[1], db = a[2] - b[2];
    return std::sqrt((2 + redMean / 256) * dr * dr + 4 * dg * dg +
                     (2 + (255 - redMean) / 256) * db * db);
  };
  std::vector<std::array<int32_t, 3>> seen = {
      {0, 0, 0}, {100, 100, 100}, {220, 0, 0}, {0, 0, 220}, {255, 0, 255}};
  for (size_t k = 0; k < pieceColours.size(); ++k) {
    ASSERT_EQ(pieceColours[k].size(), 3u) << "row " << k;
    std::array<int32_t, 3> colour = loadedPieceColour(static_cast<int32_t>(k));
    EXPECT_EQ(std::vector<int32_t>(colour.begin(), colour.end()), pieceColours[k]);
    EXPECT_GE(0.299 * colour[0] + 0.587 * colour[1] + 0.114 * colour[2], 100.0) << "row " << k;
    for (const auto& other : seen) EXPECT_GE(distance(colour, other), 120.0) << "row " << k;
    seen.push_back(colour);
  }
}

} // namespace
