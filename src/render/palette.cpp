// Telling pieces apart without telling colours apart: the three palettes and each piece type's
// own mark. The standard palette draws exactly what the colour file says; nothing here runs then.
#include "render/render.h"

#include <algorithm>

namespace {

using Rgb = std::array<uint8_t, 3>;

// Okabe and Ito's eight, with a light grey where theirs has black: our well is black.
constexpr std::array<Rgb, 8> okabeItoColours = {{{230, 159, 0},
                                                 {86, 180, 233},
                                                 {0, 158, 115},
                                                 {240, 228, 66},
                                                 {0, 114, 178},
                                                 {213, 94, 0},
                                                 {204, 121, 167},
                                                 {200, 200, 200}}};
// Full-strength hues that stand out on black; none is white, which the edges are.
constexpr std::array<Rgb, 8> highContrastColours = {{{255, 40, 40},
                                                     {40, 255, 40},
                                                     {60, 130, 255},
                                                     {255, 255, 0},
                                                     {0, 255, 255},
                                                     {255, 0, 255},
                                                     {255, 140, 0},
                                                     {255, 170, 200}}};
// Garbage is darker than every piece colour of either palette, so it reads as "not a piece" by
// lightness alone; the senders' two tints stay apart from each other the same way.
constexpr Rgb darkGarbageGrey = {80, 80, 80};
constexpr Rgb darkGarbageRed = {110, 35, 20};
constexpr Rgb darkGarbageBlue = {25, 45, 120};

const std::array<Rgb, 8>& paletteColours() {
  return palette == highContrastPalette ? highContrastColours : okabeItoColours;
}

// A mark is one of five centre shapes and one of six edge patterns: 30 pairs, the empty one
// unused, one for each of 29 piece types. The centre and the edge band never share a pixel.
constexpr int32_t centreShapes = 5, edgePatterns = 6;

void drawEdgePattern(int32_t pattern, SDL_Rect cell, int32_t side) {
  int32_t e = std::max(2, side / 8), t = std::max(2, side / 9);
  int32_t far = side - e - t; // the far band's first pixel
  SDL_Rect top = {cell.x + e, cell.y + e, side - 2 * e, t};
  SDL_Rect bottom = {cell.x + e, cell.y + far, side - 2 * e, t};
  SDL_Rect left = {cell.x + e, cell.y + e, t, side - 2 * e};
  SDL_Rect right = {cell.x + far, cell.y + e, t, side - 2 * e};
  auto corner = [&](int32_t x, int32_t y) { fillRect({cell.x + x, cell.y + y, t + 1, t + 1}); };
  switch (pattern) {
  case 1: // bars above and below
    fillRect(top), fillRect(bottom);
    break;
  case 2: // bars left and right
    fillRect(left), fillRect(right);
    break;
  case 3: // four corners
    corner(e, e), corner(far - 1, e), corner(e, far - 1), corner(far - 1, far - 1);
    break;
  case 4: // a frame
    fillRect(top), fillRect(bottom), fillRect(left), fillRect(right);
    break;
  case 5: // two opposite corners
    corner(e, e), corner(far - 1, far - 1);
    break;
  default:
    break;
  }
}

void drawCentreShape(int32_t shape, SDL_Rect cell, int32_t side) {
  int32_t e = std::max(2, side / 8), t = std::max(2, side / 9);
  int32_t inner = side - 2 * (e + t + 1); // room left inside the edge band
  int32_t r = std::max(5, inner - inner / 4);
  int32_t x = cell.x + (side - r) / 2, y = cell.y + (side - r) / 2;
  int32_t dot = std::max(3, r / 3);
  switch (shape) {
  case 1: // dot
    fillRect({x + (r - dot) / 2, y + (r - dot) / 2, dot, dot});
    break;
  case 2: // ring
    outlineRect({x, y, r, r});
    outlineRect({x + 1, y + 1, r - 2, r - 2});
    break;
  case 3: // plus
    fillRect({x, y + (r - 2) / 2, r, 2});
    fillRect({x + (r - 2) / 2, y, 2, r});
    break;
  case 4: // diagonal cross
    drawLine(x, y, x + r - 1, y + r - 1);
    drawLine(x + 1, y, x + r - 1, y + r - 2);
    drawLine(x + r - 1, y, x, y + r - 1);
    drawLine(x + r - 2, y, x, y + r - 2);
    break;
  default:
    break;
  }
}

} // namespace

int32_t pieceTypeOf(int32_t cellCode) {
  if (cellCode < 1 || cellCode > static_cast<int32_t>(catalogueSource.size())) return -1;
  return catalogueSource[cellCode - 1];
}

std::array<uint8_t, 3> paletteCellColour(int32_t cellCode) {
  if (cellCode == garbageGrey) return darkGarbageGrey;
  if (cellCode == garbageRed) return darkGarbageRed;
  if (cellCode == garbageBlue) return darkGarbageBlue;
  return paletteTypeColour(pieceTypeOf(cellCode));
}

std::array<uint8_t, 3> paletteTypeColour(int32_t type) {
  if (type < 0) return darkGarbageGrey;
  return paletteColours()[static_cast<size_t>(type) % 8];
}

std::array<uint8_t, 3> ghostColour(int32_t pieceId) {
  // White is no piece's colour in the other two palettes.
  return palette == standardPalette ? cellColour(pieceId) : white;
}

std::array<uint8_t, 3> markColourOn(std::array<uint8_t, 3> fill) {
  int lightness = fill[0] * 299 + fill[1] * 587 + fill[2] * 114;
  return lightness > 140000 ? std::array<uint8_t, 3>{0, 0, 0} : white;
}

void drawPieceMark(int32_t type, SDL_Rect cell, std::array<uint8_t, 3> colour) {
  if (type < 0) return;
  int32_t mark = type % (centreShapes * edgePatterns - 1) + 1;
  int32_t side = std::min(cell.w, cell.h);
  // Solid even over the menus' additive backdrop, where a black mark would add nothing.
  SDL_BlendMode mode = SDL_BLENDMODE_NONE;
  SDL_GetRenderDrawBlendMode(renderer, &mode);
  SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
  setDrawColour(colour, 255);
  drawCentreShape(mark % centreShapes, cell, side);
  drawEdgePattern(mark / centreShapes, cell, side);
  SDL_SetRenderDrawBlendMode(renderer, mode);
}

void decoratePieceCell(int32_t type, SDL_Rect cell, std::array<uint8_t, 3> fill) {
  if (type < 0) return;
  if (palette == highContrastPalette) {
    setDrawColour(white, 255);
    outlineRect(cell);
    outlineRect({cell.x + 1, cell.y + 1, cell.w - 2, cell.h - 2});
  }
  if (pieceSymbolsOn) drawPieceMark(type, cell, markColourOn(fill));
}
