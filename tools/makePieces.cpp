// Writes the shipped piece files (Storage/1BlockPieces.txt .. 5BlockPieces.txt) and their
// colours (Storage/colorPieces.txt) into the folder given as the only argument.
//
// Each piece is drawn once, in its first rotation, on a square grid; the three other rotations
// are that drawing turned a quarter counter-clockwise at a time, so every piece turns about the
// middle of its grid and, being at most five cells wide, spawns inside the board at column 3.
#include "game/game.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Drawing = std::vector<std::string>; // rows from the top, '#' a block

struct ShippedPiece {
  Drawing drawing;
  std::array<int, 3> colour; // chosen to stay apart from each other, black and garbage
};

// Pieces per file, in file order: one to five blocks.
const std::vector<std::vector<ShippedPiece>> shippedFiles = {
    {{{"#"}, {240, 255, 255}}},
    {{{"##", ".."}, {135, 255, 135}}},
    {{{"...", "###", "..."}, {120, 180, 0}}, {{"#.", "##"}, {210, 165, 165}}},
    {
        {{"....", "####", "....", "...."}, {0, 240, 240}}, // I
        {{"##", "##"}, {240, 240, 0}},                     // O
        {{".#.", "###", "..."}, {170, 60, 255}},           // T
        {{".##", "##.", "..."}, {0, 220, 60}},             // S
        {{"##.", ".##", "..."}, {255, 70, 110}},           // Z
        {{"#..", "###", "..."}, {60, 140, 255}},           // J
        {{"..#", "###", "..."}, {255, 150, 0}},            // L
    },
    {
        {{".##", "##.", ".#."}, {0, 150, 150}},                         // F
        {{"##.", ".##", ".#."}, {135, 225, 255}},                       // F mirrored
        {{".....", ".....", "#####", ".....", "....."}, {180, 90, 15}}, // I
        {{"...#", "####", "....", "...."}, {255, 120, 255}},            // L
        {{"#...", "####", "....", "...."}, {255, 255, 120}},            // L mirrored
        {{"..##", "###.", "....", "...."}, {75, 255, 0}},               // N
        {{"##..", ".###", "....", "...."}, {105, 180, 165}},            // N mirrored
        {{".##", "###", "..."}, {30, 255, 150}},                        // P
        {{"##.", "###", "..."}, {165, 150, 255}},                       // P mirrored
        {{"###", ".#.", ".#."}, {180, 195, 75}},                        // T
        {{"#.#", "###", "..."}, {105, 90, 195}},                        // U
        {{"#..", "#..", "###"}, {45, 150, 45}},                         // V
        {{"#..", "##.", ".##"}, {180, 60, 150}},                        // W
        {{".#.", "###", ".#."}, {150, 255, 45}},                        // X
        {{"..#.", "####", "....", "...."}, {90, 210, 75}},              // Y
        {{".#..", "####", "....", "...."}, {255, 60, 15}},              // Y mirrored
        {{"##.", ".#.", ".##"}, {255, 60, 210}},                        // Z
        {{".##", ".#.", "##."}, {240, 135, 90}},                        // Z mirrored
    },
};

// A quarter turn counter-clockwise as drawn (x right, y down): the right column becomes the
// top row.
Drawing turnCounterClockwise(const Drawing& drawing) {
  size_t n = drawing.size();
  Drawing turned(n, std::string(n, '.'));
  for (size_t y = 0; y < n; ++y)
    for (size_t x = 0; x < n; ++x) turned[n - 1 - x][y] = drawing[y][x];
  return turned;
}

// One grid: a line per column, left to right, its cells from the top down, blank-separated.
void writeGrid(std::ofstream& out, const Drawing& drawing) {
  for (size_t x = 0; x < drawing.size(); ++x) {
    std::string line;
    for (size_t y = 0; y < drawing.size(); ++y) {
      if (y > 0) line += ' ';
      line += drawing[y][x] == '#' ? '1' : '0';
    }
    out << line << '\n';
  }
  out << ",\n";
}

} // namespace

static int run(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  std::ofstream colours(folder + "/colorPieces.txt");
  for (size_t f = 0; f < shippedFiles.size(); ++f) {
    const std::string path = folder + "/" + std::to_string(f + 1) + "BlockPieces.txt";
    std::ofstream out(path);
    for (const ShippedPiece& piece : shippedFiles[f]) {
      Drawing drawing = piece.drawing;
      for (int k = 0; k < 4; ++k) {
        writeGrid(out, drawing);
        drawing = turnCounterClockwise(drawing);
      }
      out << ";\n";
      colours << piece.colour[0] << ',' << piece.colour[1] << ',' << piece.colour[2] << ",\n";
    }
    if (!out) {
      std::fprintf(stderr, "%s: could not be written\n", path.c_str());
      return 1;
    }
  }
  if (!colours) {
    std::fprintf(stderr, "%s/colorPieces.txt: could not be written\n", folder.c_str());
    return 1;
  }
  return 0;
}

int main(int argc, char** argv) {
  return runGuarded("makePieces", [&] { return run(argc, argv); });
}
