#include "pictures.h"

static int32_t cellFromChar(char c) {
  if (c == '#') return 1;
  if (c == 'g') return garbageGrey;
  if (c == 'r') return garbageRed;
  if (c == 'b') return garbageBlue;
  return (c >= '1' && c <= '9') ? c - '0' : 0;
}

static char charFromCell(int32_t v) {
  if (v == 0) return '.';
  if (v == garbageGrey) return 'g';
  if (v == garbageRed) return 'r';
  if (v == garbageBlue) return 'b';
  if (v >= 1 && v <= 9) return static_cast<char>('0' + v);
  return '#';
}

Board boardFromPicture(const std::vector<std::string>& rows) {
  Board board{};
  int top = boardHeight - static_cast<int>(rows.size());
  for (size_t r = 0; r < rows.size(); ++r)
    for (int x = 0; x < boardWidth && x < static_cast<int>(rows[r].size()); ++x)
      board[x][top + static_cast<int>(r)] = cellFromChar(rows[r][x]);
  return board;
}

std::vector<std::string> boardPicture(const Board& board) {
  std::vector<std::string> rows(boardHeight, std::string(boardWidth, '.'));
  for (int y = 0; y < boardHeight; ++y)
    for (int x = 0; x < boardWidth; ++x) rows[y][x] = charFromCell(board[x][y]);
  return rows;
}

PieceGrid gridFromPicture(const std::vector<std::string>& rows) {
  size_t width = rows.empty() ? 0 : rows[0].size();
  PieceGrid grid(width, std::vector<int32_t>(rows.size(), 0));
  for (size_t r = 0; r < rows.size(); ++r)
    for (size_t c = 0; c < width && c < rows[r].size(); ++c) grid[c][r] = rows[r][c] == '#';
  return grid;
}

// A quarter turn counter-clockwise of a square grid, as drawn (x right, y down).
static PieceGrid turnCounterClockwise(const PieceGrid& grid) {
  size_t n = grid.size();
  PieceGrid turned(n, std::vector<int32_t>(n, 0));
  for (size_t c = 0; c < n; ++c)
    for (size_t r = 0; r < n && r < grid[c].size(); ++r) turned[r][n - 1 - c] = grid[c][r];
  return turned;
}

Piece pieceFromPicture(const std::vector<std::string>& rows) {
  Piece piece;
  piece.grids[0] = gridFromPicture(rows);
  for (int k = 1; k < 4; ++k) piece.grids[k] = turnCounterClockwise(piece.grids[k - 1]);
  return piece;
}

void useCatalogue(const std::vector<Piece>& pieces) {
  loadedPieces = pieces;
  pieceSelection.assign(pieces.size(), true);
  defaultPieceSelection = pieceSelection;
  pieceCatalogue = pieces;
  catalogueSource.clear();
  pieceColours.clear();
  for (size_t k = 0; k < pieces.size(); ++k) {
    catalogueSource.push_back(static_cast<int32_t>(k));
    pieceColours.push_back({static_cast<int32_t>(40 + 20 * k), 200, 100});
  }
}
