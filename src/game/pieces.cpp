// Piece files, the active catalogue, the selection screen's operations and piece colours.
#include "game/game.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <sstream>

namespace {

// Shown for a piece that has no usable colour row, so the gap is obvious on screen.
constexpr std::array<int32_t, 3> fallbackColour = {255, 0, 255};

void setError(std::string* error, const std::string& path, int line, const std::string& what) {
  if (error) *error = path + ":" + std::to_string(line) + ": " + what;
}

// Reads one line without its line feed and without a carriage return before it.
bool readLine(std::istream& in, std::string& line) {
  if (!std::getline(in, line)) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

// A colour value: leading blanks and a sign are accepted, trailing non-digits ignored.
bool parseColourValue(const std::string& token, int32_t& value) {
  size_t i = 0;
  while (i < token.size() && std::isspace(static_cast<unsigned char>(token[i]))) ++i;
  bool negative = false;
  if (i < token.size() && (token[i] == '+' || token[i] == '-')) negative = token[i++] == '-';
  if (i >= token.size() || !std::isdigit(static_cast<unsigned char>(token[i]))) return false;
  int64_t number = 0;
  for (; i < token.size() && std::isdigit(static_cast<unsigned char>(token[i])); ++i) {
    number = number * 10 + (token[i] - '0');
    if (number > static_cast<int64_t>(INT32_MAX) + 1) return false;
  }
  number = negative ? -number : number;
  if (number > INT32_MAX) return false;
  value = static_cast<int32_t>(number);
  return true;
}

} // namespace

bool loadPieceFile(const std::string& path, bool selectedByDefault, std::string* error,
                   bool required) {
  std::string text, problem;
  if (!readFileLimited(path, pieceFileLimit, &text, &problem)) {
    if (required) {
      if (error) *error = problem;
      return false;
    }
    // Not fatal: the game plays with the pieces of the other files.
    std::fprintf(stderr, "%s; its pieces are left out\n", problem.c_str());
    return true;
  }
  std::istringstream in(text);
  // Everything is gathered first, so a broken file leaves the catalogue as it was.
  std::vector<Piece> pieces;
  std::vector<PieceGrid> grids;
  PieceGrid columns;
  std::string line;
  for (int lineNumber = 1; readLine(in, line); ++lineNumber) {
    if (!line.empty() && line[0] == ';') {
      // A piece with fewer than four rotations would be read past its end when turned.
      if (grids.size() < 4) {
        setError(error, path, lineNumber,
                 "piece has " + std::to_string(grids.size()) + " grids, four are needed");
        return false;
      }
      Piece piece;
      for (int k = 0; k < 4; ++k) piece.grids[k] = std::move(grids[k]);
      pieces.push_back(std::move(piece));
      grids.clear();
    } else if (!line.empty() && line[0] == ',') {
      grids.push_back(std::move(columns));
      columns.clear();
    } else {
      // A grid larger than the board could never be placed, and its counts would overflow.
      if (columns.size() >= boardWidth || (line.size() + 1) / 2 > boardHeight) {
        setError(error, path, lineNumber,
                 "grid is larger than the board (" + std::to_string(boardWidth) + " columns of " +
                     std::to_string(boardHeight) + " cells)");
        return false;
      }
      std::vector<int32_t> column;
      for (size_t i = 0; i < line.size(); i += 2) {
        if (!std::isdigit(static_cast<unsigned char>(line[i]))) {
          setError(error, path, lineNumber,
                   "cell '" + std::string(1, line[i]) + "' at position " + std::to_string(i) +
                       " is not a digit");
          return false;
        }
        column.push_back(line[i] - '0');
      }
      columns.push_back(std::move(column));
    }
  }
  if (required && pieces.empty()) {
    if (error) *error = path + ": holds no pieces";
    return false;
  }
  for (Piece& piece : pieces) {
    loadedPieces.push_back(std::move(piece));
    pieceSelection.push_back(selectedByDefault);
    defaultPieceSelection.push_back(selectedByDefault);
  }
  return true;
}

bool loadPieceFiles(std::string* error, const std::string& folder, bool required) {
  // The load order fixes every piece's catalogue index and selection button.
  for (int blocks = 1; blocks <= 5; ++blocks) {
    std::string path = folder + "/" + std::to_string(blocks) + "BlockPieces.txt";
    if (!loadPieceFile(path, blocks == 4, error, required)) return false;
  }
  if (!loadedPieces.empty()) return true;
  if (error)
    *error =
        folder + "/1BlockPieces.txt to " + folder + "/5BlockPieces.txt: no piece could be loaded";
  return false;
}

bool loadPieceColours(std::string* error, const std::string& path) {
  std::string text, problem;
  if (!readFileLimited(path, pieceFileLimit, &text, &problem)) {
    // Pieces without a colour show in magenta, which says enough on screen; a broken file
    // (rather than none) is said once.
    if (errno != ENOENT) std::fprintf(stderr, "%s; pieces are drawn in magenta\n", problem.c_str());
    return true;
  }
  std::istringstream in(text);
  std::vector<std::vector<int32_t>> rows;
  std::string line;
  for (int lineNumber = 1; readLine(in, line); ++lineNumber) {
    std::vector<int32_t> row;
    std::string token;
    for (char c : line) {
      if (c != ',') {
        token += c;
        continue;
      }
      int32_t value = 0;
      if (!parseColourValue(token, value)) {
        setError(error, path, lineNumber, "colour value '" + token + "' is not a number");
        return false;
      }
      row.push_back(value);
      token.clear();
    }
    rows.push_back(std::move(row));
  }
  pieceColours = std::move(rows);
  return true;
}

void rebuildCatalogue() {
  pieceCatalogue.clear();
  catalogueSource.clear();
  bool anySelected = false;
  for (bool flag : pieceSelection) anySelected = anySelected || flag;
  // Play needs at least one piece: with none selected (say the four-block file is missing)
  // every loaded piece takes part instead of the queue dividing by zero.
  if (!anySelected) pieceSelection.assign(loadedPieces.size(), true);
  for (size_t k = 0; k < loadedPieces.size() && k < pieceSelection.size(); ++k) {
    if (!pieceSelection[k]) continue;
    pieceCatalogue.push_back(loadedPieces[k]);
    catalogueSource.push_back(static_cast<int32_t>(k));
  }
}

void togglePieceSelected(int32_t k) {
  if (k < 0 || k >= static_cast<int32_t>(pieceSelection.size())) return;
  pieceSelection[k] = !pieceSelection[k];
  for (bool flag : pieceSelection)
    if (flag) return;
  pieceSelection[k] = true;
}

void selectAllPieces() {
  pieceSelection.assign(pieceSelection.size(), true);
}

void setAsideOwnSelection() {
  if (ownPieceSelection.empty()) ownPieceSelection = pieceSelection;
}

bool restoreOwnSelection() {
  if (ownPieceSelection.empty()) return false;
  pieceSelection = ownPieceSelection;
  ownPieceSelection.clear();
  return true;
}

const std::vector<bool>& playersOwnSelection() {
  return ownPieceSelection.empty() ? pieceSelection : ownPieceSelection;
}

void resetPieceSelection() {
  // The fixed pattern below assumes the shipped files; with fewer pieces the load-time choice
  // is the only sensible default.
  if (loadedPieces.size() < 11) {
    pieceSelection = defaultPieceSelection;
    return;
  }
  pieceSelection.assign(loadedPieces.size(), false);
  for (size_t k = 4; k < 11; ++k) pieceSelection[k] = true;
}

std::array<int32_t, 3> loadedPieceColour(int32_t k) {
  if (k < 0 || k >= static_cast<int32_t>(pieceColours.size())) return fallbackColour;
  const std::vector<int32_t>& row = pieceColours[k];
  if (row.size() < 3) return fallbackColour;
  std::array<int32_t, 3> colour{};
  for (int i = 0; i < 3; ++i) colour[i] = row[i] < 0 ? 0 : (row[i] > 255 ? 255 : row[i]);
  return colour;
}

std::array<int32_t, 3> pieceColour(int32_t pieceId) {
  if (pieceId < 1 || pieceId > static_cast<int32_t>(catalogueSource.size())) return fallbackColour;
  return loadedPieceColour(catalogueSource[pieceId - 1]);
}

const PieceGrid& pieceGrid(int32_t pieceId, int32_t rotation) {
  static const PieceGrid noGrid;
  if (pieceId < 1 || pieceId > static_cast<int32_t>(pieceCatalogue.size())) return noGrid;
  return pieceCatalogue[pieceId - 1].grids[rotation & 3];
}

const PieceGrid& currentGrid(int player) {
  PlayerState s = playerState(player);
  return pieceGrid(s.pieceId, s.rotation);
}
