#include "play.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

std::string writeFile(const std::string& name, const std::string& text) {
  std::string path = (std::filesystem::path(::testing::TempDir()) / name).string();
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

// Loads one piece file into an empty set of loaded pieces.
bool loadOnly(const std::string& name, const std::string& text, std::string* error) {
  loadedPieces.clear();
  pieceSelection.clear();
  defaultPieceSelection.clear();
  return loadPieceFile(writeFile(name, text), false, error);
}

// Four copies of the same grid, each closed by a comma line, then the piece's semicolon.
std::string pieceText(const std::string& columns) {
  std::string text;
  for (int k = 0; k < 4; ++k) text += columns + ",\n";
  return text + ";\n";
}

TEST(PieceFile, ColumnsAnySeparatorDigitsAndRaggedColumns) {
  std::string error;
  ASSERT_TRUE(loadOnly("separators.txt",
                       pieceText("1 0 1\n1,0,1\n1x0x1\n") + pieceText("2 3 9 1\r\n\r\n1\r\n"),
                       &error))
      << error;
  ASSERT_EQ(loadedPieces.size(), 2u);
  EXPECT_EQ(loadedPieces[0].grids[2], PieceGrid({{1, 0, 1}, {1, 0, 1}, {1, 0, 1}}));
  EXPECT_EQ(loadedPieces[1].grids[3], PieceGrid({{2, 3, 9, 1}, {}, {1}}));

  // The ragged piece collides and locks by its two 1s only, whatever lies under 2, 3 and 9.
  startGame({Piece(loadedPieces[1])});
  p1Board = boardFromPicture(std::vector<std::string>(20, "ggggggggg."));
  p1Board[0][19] = p1Board[2][16] = 0;
  Point at{0, 16};
  ASSERT_TRUE(pieceFits(1, pieceGrid(1, 0), 0, 0, &at));
  placePiece(1, 1, 0, at);
  lockPiece(1);
  EXPECT_EQ(boardPicture(p1Board)[16], "gg1gggggg.");
  EXPECT_EQ(boardPicture(p1Board)[19], "1gggggggg.");
}

TEST(PieceFile, OpenColumnsCarryOverASemicolonAndUnfinishedPiecesAreDropped) {
  std::string error;
  std::string text = "1 1\n,\n1 1\n,\n1 1\n,\n1 1\n,\n1\n;\n" + pieceText("0 1\n");
  ASSERT_TRUE(loadOnly("carried.txt", text + "1\n,\n1\n,\n1\n,\n1\n,\n0 1\n", &error)) << error;
  ASSERT_EQ(loadedPieces.size(), 2u); // the third piece has no semicolon
  EXPECT_EQ(loadedPieces[0].grids[3], PieceGrid({{1, 1}}));
  EXPECT_EQ(loadedPieces[1].grids[0], PieceGrid({{1}, {0, 1}}));
  EXPECT_EQ(loadedPieces[1].grids[1], PieceGrid({{0, 1}}));
  EXPECT_EQ(pieceSelection, std::vector<bool>({false, false}));
  EXPECT_TRUE(loadPieceFile(::testing::TempDir() + "/no-such-folder/x.txt", true, &error));
  EXPECT_EQ(loadedPieces.size(), 2u);
}

TEST(PieceFile, BrokenFilesNameTheLineAndLoadNothing) {
  // A letter where a cell belongs, and a piece of three rotations that turning would overrun.
  for (const auto& [text, line] : std::vector<std::pair<std::string, std::string>>{
           {pieceText("1 0\n") + "1 0\nx 1\n", ":11: "}, {"1\n,\n1\n,\n1\n,\n;\n", ":7: "}}) {
    std::string error;
    EXPECT_FALSE(loadOnly("broken.txt", text, &error));
    EXPECT_EQ(error.rfind(writeFile("broken.txt", text) + line, 0), 0u) << error;
    EXPECT_TRUE(loadedPieces.empty() && pieceSelection.empty());
  }
}

TEST(PieceColours, ValuesEndAtCommasAndGapsShowMagenta) {
  std::string error;
  std::string path = writeFile("colours.txt", "12,34,56\n12, 34, 56,\n\n -7,+8x,255,99,\r\n");
  ASSERT_TRUE(loadPieceColours(&error, path)) << error;
  std::vector<std::vector<int32_t>> rows = {{12, 34}, {12, 34, 56}, {}, {-7, 8, 255, 99}};
  EXPECT_EQ(pieceColours, rows);

  useCatalogue({tPiece, oPiece, iPiece, longBar, tPiece});
  pieceColours = rows;
  pieceSelection = {false, true, false, true, true};
  rebuildCatalogue();
  using Colour = std::array<int32_t, 3>;
  EXPECT_EQ(pieceColour(1), Colour({12, 34, 56}));
  EXPECT_EQ(pieceColour(2), Colour({0, 8, 255}));         // held to the range of a byte
  EXPECT_EQ(pieceColour(3), Colour({255, 0, 255}));       // no row for loaded piece 4
  EXPECT_EQ(loadedPieceColour(0), Colour({255, 0, 255})); // two values only

  for (const char* bad : {"12,,56,\n", "12,a,56,\n", "99999999999,\n"}) {
    std::string badPath = writeFile("bad.txt", std::string("1,2,3,\n") + bad);
    EXPECT_FALSE(loadPieceColours(&error, badPath)) << bad;
    EXPECT_EQ(error.rfind(badPath + ":2: ", 0), 0u) << error;
    EXPECT_EQ(pieceColours, rows);
  }
}

TEST(PieceSelection, ToggleKeepsOnePieceAndResetRestoresTheDefaults) {
  useCatalogue(std::vector<Piece>(12, tPiece));
  pieceSelection.assign(12, false);
  pieceSelection[5] = true;
  togglePieceSelected(5);
  EXPECT_TRUE(pieceSelection[5]);
  togglePieceSelected(6);
  togglePieceSelected(5);
  EXPECT_EQ(pieceSelection, std::vector<bool>({0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0}));
  selectAllPieces();
  EXPECT_EQ(pieceSelection, std::vector<bool>(12, true));
  resetPieceSelection();
  EXPECT_EQ(pieceSelection, std::vector<bool>({0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 0}));

  // Fewer pieces than the fixed pattern needs: back to what the files said.
  useCatalogue({tPiece, oPiece, iPiece});
  defaultPieceSelection = {false, true, true};
  resetPieceSelection();
  EXPECT_EQ(pieceSelection, defaultPieceSelection);

  // The next set-up plays exactly the chosen pieces, in load order.
  startGame(std::vector<Piece>(loadedPieces));
  pieceSelection = {true, false, true};
  setUpGame();
  ASSERT_EQ(pieceCatalogue.size(), 2u);
  EXPECT_EQ(pieceCatalogue[1].grids[0], iPiece.grids[0]);
  for (int32_t id : pieceQueue) EXPECT_TRUE(id == 1 || id == 2);
  for (const MenuPiece& piece : menuPieces) EXPECT_LT(piece.pieceIndex, 2);
}

} // namespace
