// Finesse on pictures: the fewest inputs that bring a piece from the spawn to the cells drawn.
#include "play.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// The rotation and column at which piece 1 covers exactly the drawn cells of the top rows.
std::pair<int32_t, int32_t> placementOf(const std::vector<std::string>& rows) {
  std::set<std::pair<size_t, size_t>> drawn;
  for (size_t r = 0; r < rows.size(); ++r)
    for (size_t c = 0; c < rows[r].size(); ++c)
      if (rows[r][c] == '#') drawn.insert({c, r});
  for (int32_t rotation = 0; rotation < 4; ++rotation)
    for (int32_t x = -4; x < boardWidth; ++x) {
      const PieceGrid& grid = pieceGrid(1, rotation);
      std::set<std::pair<size_t, size_t>> covered;
      size_t top = 99;
      for (const auto& column : grid)
        for (size_t r = 0; r < column.size(); ++r)
          if (column[r] == 1) top = std::min(top, r);
      for (size_t c = 0; c < grid.size(); ++c)
        for (size_t r = 0; r < grid[c].size(); ++r)
          if (grid[c][r] == 1) covered.insert({x + c, r - top});
      if (covered == drawn) return {rotation, x};
    }
  ADD_FAILURE() << "no placement covers the picture";
  return {0, 0};
}

int32_t fewest(const std::vector<std::string>& rows) {
  auto [rotation, x] = placementOf(rows);
  return fewestInputs(1, 0, spawnPosition.x, rotation, x);
}

TEST(Finesse, AWallIsOneHeldDirectionAndATurnedPieceCostsItsTurn) {
  startGame({iPiece});
  EXPECT_EQ(fewest({"...####..."}), 0); // where it appears
  EXPECT_EQ(fewest({"####......"}), 1); // held to the left wall, not three taps
  EXPECT_EQ(fewest({"....####.."}), 1); // one tap
  EXPECT_EQ(fewest({".####....."}), 2); // to the wall and one back
  EXPECT_EQ(fewest({".........#", ".........#", ".........#", ".........#"}), 2);
  startGame({tPiece});
  EXPECT_EQ(fewest({"#.........", "##........", "#........."}), 2); // a turn and the wall
}

} // namespace
