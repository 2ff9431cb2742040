#include "play.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

namespace {

std::string writeFile(const std::string& name, const std::string& text) {
  std::string path = (std::filesystem::path(::testing::TempDir()) / name).string();
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

void forgetPieces() {
  loadedPieces.clear();
  pieceSelection.clear();
  defaultPieceSelection.clear();
  pieceColours.clear();
}

// Four copies of the same grid, each closed by a comma line, then the piece's semicolon.
std::string pieceText(const std::string& columns) {
  std::string text;
  for (int k = 0; k < 4; ++k) text += columns + ",\n";
  return text + ";\n";
}

TEST(PieceFile, ColumnsAnySeparatorDigitsAndRaggedColumns) {
  forgetPieces();
  std::string error;
  std::string path = writeFile("separators.txt", pieceText("1 0 1\n1,0,1\n1x0x1\n") +
                                                     pieceText("2 3 9 1\r\n\r\n1\r\n"));
  ASSERT_TRUE(loadPieceFile(path, true, &error)) << error;
  ASSERT_EQ(loadedPieces.size(), 2u);
  PieceGrid sameColumns = {{1, 0, 1}, {1, 0, 1}, {1, 0, 1}};
  for (const PieceGrid& grid : loadedPieces[0].grids) EXPECT_EQ(grid, sameColumns);
  // A carriage return is not a cell; an empty line is a column without cells.
  PieceGrid ragged = {{2, 3, 9, 1}, {}, {1}};
  EXPECT_EQ(loadedPieces[1].grids[3], ragged);
  EXPECT_EQ(pieceSelection, std::vector<bool>({true, true}));

  // Digits 2 to 9 are empty: only the blocks at rows 3 (column 0) and 0 (column 2) collide.
  Piece raggedPiece = loadedPieces[1];
  startGame({raggedPiece});
  p1Board = boardFromPicture(std::vector<std::string>(20, "ggggggggg."));
  p1Board[0][19] = p1Board[2][16] = 0;
  Point at{0, 16};
  EXPECT_TRUE(pieceFits(1, pieceGrid(1, 0), 0, 0, &at));
  placePiece(1, 1, 0, at);
  lockPiece(1);
  EXPECT_EQ(boardPicture(p1Board)[16], "gg1gggggg.");
  EXPECT_EQ(boardPicture(p1Board)[19], "1gggggggg.");
}

TEST(PieceFile, UnclosedColumnsAndPiecesAtTheEnd) {
  forgetPieces();
  std::string error;
  // Columns left open at a semicolon start the next piece's first grid.
  std::string carried = "1 1\n,\n1 1\n,\n1 1\n,\n1 1\n,\n1\n;\n" + pieceText("0 1\n");
  ASSERT_TRUE(loadPieceFile(writeFile("carried.txt", carried), false, &error)) << error;
  ASSERT_EQ(loadedPieces.size(), 2u);
  EXPECT_EQ(loadedPieces[0].grids[3], PieceGrid({{1, 1}}));
  EXPECT_EQ(loadedPieces[1].grids[0], PieceGrid({{1}, {0, 1}}));
  EXPECT_EQ(loadedPieces[1].grids[1], PieceGrid({{0, 1}}));
  EXPECT_EQ(pieceSelection, std::vector<bool>({false, false}));

  // A last piece without its semicolon, and columns after the last comma, add nothing.
  forgetPieces();
  std::string unfinished = pieceText("1 1\n") + "1\n,\n1\n,\n1\n,\n1\n,\n0 1\n";
  ASSERT_TRUE(loadPieceFile(writeFile("unfinished.txt", unfinished), true, &error)) << error;
  EXPECT_EQ(loadedPieces.size(), 1u);
  EXPECT_EQ(pieceSelection.size(), 1u);

  // A file that is not there adds nothing and is not an error.
  EXPECT_TRUE(loadPieceFile(::testing::TempDir() + "/no-such-folder/missing.txt", true, &error));
  EXPECT_EQ(loadedPieces.size(), 1u);
}

TEST(PieceFile, BrokenFilesNameTheLineAndLoadNothing) {
  forgetPieces();
  std::string error;
  std::string letter = writeFile("letter.txt", pieceText("1 0\n") + "1 0\nx 1\n");
  EXPECT_FALSE(loadPieceFile(letter, true, &error));
  EXPECT_EQ(error.rfind(letter + ":11: ", 0), 0u) << error;
  EXPECT_TRUE(loadedPieces.empty());
  EXPECT_TRUE(pieceSelection.empty());

  // Three rotations only: turning would read a fourth that is not there.
  std::string shortPiece = writeFile("short.txt", "1\n,\n1\n,\n1\n,\n;\n");
  error.clear();
  EXPECT_FALSE(loadPieceFile(shortPiece, true, &error));
  EXPECT_EQ(error.rfind(shortPiece + ":7: ", 0), 0u) << error;
  EXPECT_TRUE(loadedPieces.empty());
}

TEST(PieceColours, ValuesEndAtCommasAndBadTokensAreFatal) {
  std::string error;
  std::string path = writeFile("colours.txt", "12,34,56\n12, 34, 56,\n\n -7,+8x,255,99,\r\n");
  ASSERT_TRUE(loadPieceColours(&error, path)) << error;
  std::vector<std::vector<int32_t>> expected = {{12, 34}, {12, 34, 56}, {}, {-7, 8, 255, 99}};
  EXPECT_EQ(pieceColours, expected);

  useCatalogue({tPiece, oPiece, iPiece, longBar, tPiece});
  pieceColours = expected;
  pieceSelection = {false, true, false, true, true};
  rebuildCatalogue();
  // Id 1 is loaded piece 1, whose row is whole; a row of two or no values, a missing row and a
  // value outside 0 to 255 show as magenta or are held to the range.
  EXPECT_EQ(pieceColour(1), (std::array<int32_t, 3>{12, 34, 56}));
  EXPECT_EQ(pieceColour(2), (std::array<int32_t, 3>{0, 8, 255}));
  EXPECT_EQ(pieceColour(3), (std::array<int32_t, 3>{255, 0, 255}));
  EXPECT_EQ(loadedPieceColour(0), (std::array<int32_t, 3>{255, 0, 255}));
  EXPECT_EQ(pieceColour(0), (std::array<int32_t, 3>{255, 0, 255}));

  for (const char* bad : {"12,,56,\n", "12,a,56,\n", "99999999999,\n"}) {
    std::string badPath = writeFile("bad.txt", std::string("1,2,3,\n") + bad);
    error.clear();
    EXPECT_FALSE(loadPieceColours(&error, badPath)) << bad;
    EXPECT_EQ(error.rfind(badPath + ":2: ", 0), 0u) << error;
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
  EXPECT_FALSE(pieceSelection[5]);
  EXPECT_TRUE(pieceSelection[6]);

  selectAllPieces();
  EXPECT_EQ(pieceSelection, std::vector<bool>(12, true));
  resetPieceSelection();
  std::vector<bool> expected = {false, false, false, false, true, true,
                                true,  true,  true,  true,  true, false};
  EXPECT_EQ(pieceSelection, expected);

  // Fewer pieces than the fixed pattern needs: back to what the files said.
  useCatalogue({tPiece, oPiece, iPiece});
  defaultPieceSelection = {false, true, true};
  selectAllPieces();
  resetPieceSelection();
  EXPECT_EQ(pieceSelection, defaultPieceSelection);

  // The next set-up plays exactly the chosen pieces, in load order.
  startGame(std::vector<Piece>(loadedPieces));
  pieceSelection = {true, false, true};
  setUpGame();
  ASSERT_EQ(pieceCatalogue.size(), 2u);
  EXPECT_EQ(pieceCatalogue[1].grids[0], iPiece.grids[0]);
  for (int32_t id : pieceQueue) EXPECT_TRUE(id == 1 || id == 2);
}

} // namespace
