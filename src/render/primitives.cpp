// What every drawing shares: numbers as text, the cell colour rule, text, buttons, cells, frames.
#include "render/render.h"

#include <algorithm>
#include <cmath>

namespace {

const std::array<uint8_t, 3> black = {0, 0, 0};
const std::array<uint8_t, 3> garbageGreyColour = {100, 100, 100};
const std::array<uint8_t, 3> garbageRedColour = {220, 0, 0};
const std::array<uint8_t, 3> garbageBlueColour = {0, 0, 220};

std::array<uint8_t, 3> asBytes(std::array<int32_t, 3> colour) {
  return {static_cast<uint8_t>(colour[0]), static_cast<uint8_t>(colour[1]),
          static_cast<uint8_t>(colour[2])};
}

// Black never turns a black pixel into another colour, in any blend mode: it needs no record.
void recordDrawing(const SDL_Rect& area) {
  if (!recordingAreas || area.w <= 0 || area.h <= 0) return;
  uint8_t r = 0, g = 0, b = 0, a = 0;
  SDL_GetRenderDrawColor(renderer, &r, &g, &b, &a);
  if ((r | g | b) != 0) drawnAreas.push_back(area);
}

// Drawing units per output pixel: above 1 when the window is smaller than the drawing. A line
// one unit wide would then be narrower than a pixel and fall between pixel centres.
float outputPixel() {
  float scaleX = 1.0f, scaleY = 1.0f;
  SDL_RenderGetScale(renderer, &scaleX, &scaleY);
  float scale = std::min(scaleX, scaleY);
  return scale > 0.0f && scale < 1.0f ? 1.0f / scale : 1.0f;
}

// A line or edge as a filled strip at least one output pixel across.
void fillStrip(float x, float y, float w, float h) {
  int left = static_cast<int>(std::floor(x)), top = static_cast<int>(std::floor(y));
  recordDrawing({left, top, static_cast<int>(std::ceil(x + w)) - left,
                 static_cast<int>(std::ceil(y + h)) - top});
  SDL_FRect strip = {x, y, w, h};
  SDL_RenderFillRectF(renderer, &strip);
}

// Where drawText copies a text rendered w by h: shrunk to maxWidth when wider, then placed.
SDL_Rect textArea(int w, int h, const TextPlacement& place, int maxWidth) {
  if (maxWidth > 0 && w > maxWidth) {
    h = h * maxWidth / w;
    w = maxWidth;
  }
  SDL_Point at = place(w, h);
  return {at.x, at.y, w, h};
}

// A button's caption: centred on its face, and shrunk into it when too long ("Keypad MemRecall"
// on a control). The margin grows with the menus' size, so a long caption keeps clear of the
// button's edges at 150 % as it does at 100.
int captionMargin() {
  return 2 * (5 * uiScalePercent() / 100); // even: a centred caption splits it evenly
}
TextPlacement captionPlacement(const SDL_Rect& r) {
  return [r](int w, int h) { return SDL_Point{r.x + (r.w / 2 - w / 2), r.y + (r.h / 2 - h / 2)}; };
}

void drawButtonIn(const Button& button, TTF_Font* font);

} // namespace

void fillRect(const SDL_Rect& area) {
  recordDrawing(area);
  SDL_RenderFillRect(renderer, &area);
}

void outlineRect(const SDL_Rect& area) {
  float t = outputPixel();
  if (t > 1.0f && area.w > 0 && area.h > 0) {
    // Each edge a pixel thick inside the box's outer border, so that all four always show.
    float x = static_cast<float>(area.x), y = static_cast<float>(area.y);
    float w = static_cast<float>(area.w), h = static_cast<float>(area.h);
    fillStrip(x, y, w, std::min(t, h));
    fillStrip(x, std::max(y, y + h - t), w, std::min(t, h));
    fillStrip(x, y, std::min(t, w), h);
    fillStrip(std::max(x, x + w - t), y, std::min(t, w), h);
    return;
  }
  // The four edges, not the inside, which stays as it was.
  recordDrawing({area.x, area.y, area.w, 1});
  recordDrawing({area.x, area.y + area.h - 1, area.w, 1});
  recordDrawing({area.x, area.y, 1, area.h});
  recordDrawing({area.x + area.w - 1, area.y, 1, area.h});
  SDL_RenderDrawRect(renderer, &area);
}

void drawLine(int x1, int y1, int x2, int y2) {
  float t = outputPixel();
  if (t > 1.0f && (x1 == x2 || y1 == y2)) { // grid lines and frames: never thinner than a pixel
    float left = static_cast<float>(std::min(x1, x2)), top = static_cast<float>(std::min(y1, y2));
    fillStrip(left, top, x1 == x2 ? t : std::abs(x2 - x1) + 1.0f,
              y1 == y2 ? t : std::abs(y2 - y1) + 1.0f);
    return;
  }
  recordDrawing({std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1) + 1, std::abs(y2 - y1) + 1});
  SDL_RenderDrawLine(renderer, x1, y1, x2, y2);
}

std::string formatInt(int32_t value) {
  return std::to_string(value);
}

int32_t truncPixel(double value) {
  // Far outside the window nothing shows anyway; the clamp keeps the conversion defined.
  if (!(value > -1e8)) return -100000000;
  if (value > 1e8) return 100000000;
  return static_cast<int32_t>(value);
}

std::array<uint8_t, 3> cellColour(int32_t cellCode) {
  if (palette != standardPalette && cellCode != 0) return paletteCellColour(cellCode);
  switch (cellCode) {
  case 0:
    return black;
  case garbageGrey:
    return garbageGreyColour;
  case garbageRed:
    return garbageRedColour;
  case garbageBlue:
    return garbageBlueColour;
  default: // a piece id; one without a colour row gets the core's fallback colour
    return asBytes(pieceColour(cellCode));
  }
}

void setDrawColour(std::array<uint8_t, 3> colour, uint8_t alpha) {
  SDL_SetRenderDrawColor(renderer, colour[0], colour[1], colour[2], alpha);
}

std::array<uint8_t, 3> pieceTypeColour(int32_t k) {
  return palette == standardPalette ? asBytes(loadedPieceColour(k)) : paletteTypeColour(k);
}

void setPieceDrawColour(int32_t k, uint8_t alpha, bool direct) {
  // The four special indices are the cell codes 0, 100, 101 and 102 less one.
  bool special = k == -1 || k == garbageGrey - 1 || k == garbageRed - 1 || k == garbageBlue - 1;
  setDrawColour(special || !direct ? cellColour(k + 1) : pieceTypeColour(k), alpha);
}

TTF_Font* fontForSize(int32_t textSize) {
  if (textSize == 2) return fontMedium;
  if (textSize == 3) return fontLarge;
  return fontSmall;
}

void drawText(TTF_Font* font, const std::string& text, SDL_Color colour, const TextPlacement& place,
              int maxWidth) {
  if (font == nullptr || text.empty()) return;
  colour.a = 255;
  // UTF-8: the online texts end in "…"; plain ASCII renders as it always did.
  SDL_Surface* surface = TTF_RenderUTF8_Solid(font, text.c_str(), colour);
  if (surface == nullptr) return;
  SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer, surface);
  if (texture != nullptr) {
    SDL_Rect target = textArea(surface->w, surface->h, place, maxWidth);
    if (recordingAreas) drawnAreas.push_back(target);
    SDL_RenderCopy(renderer, texture, nullptr, &target);
    SDL_DestroyTexture(texture);
  }
  SDL_FreeSurface(surface);
}

void drawTextAt(TTF_Font* font, const std::string& text, SDL_Color colour, int x, int y,
                int maxWidth) {
  drawText(
      font, text, colour,
      [x, y](int, int) {
        return SDL_Point{x, y};
      },
      maxWidth);
}

namespace {

// Words laid on lines while they fit maxWidth; a word wider on its own keeps a line to itself.
std::vector<std::string> fillLines(TTF_Font* font, const std::string& text, int maxWidth) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(' ', start);
    for (size_t next = end; next != std::string::npos;) {
      next = text.find(' ', next + 1);
      int w = 0;
      TTF_SizeUTF8(font, text.substr(start, next - start).c_str(), &w, nullptr);
      if (w > maxWidth) break;
      end = next;
    }
    lines.push_back(text.substr(start, end - start));
    start = end == std::string::npos ? text.size() : end + 1;
  }
  return lines;
}

} // namespace

std::vector<std::string> wrapText(TTF_Font* font, const std::string& text, int maxWidth) {
  if (font == nullptr || text.empty()) return {text};
  // As few lines as maxWidth allows, then the narrowest width that keeps that many: lines of
  // like length rather than a long one and a stub.
  size_t count = fillLines(font, text, maxWidth).size();
  int low = 1, high = maxWidth;
  while (low < high) {
    int mid = (low + high) / 2;
    if (fillLines(font, text, mid).size() <= count)
      high = mid;
    else
      low = mid + 1;
  }
  return fillLines(font, text, high);
}

void drawButton(const Button& button) {
  drawButtonIn(button, fontForSize(button.textSize));
}

void drawMenuButton(const Button& button) {
  drawButtonIn(button, menuFont(button.textSize));
}

int32_t uiScalePercent() {
  return 100 + 25 * std::clamp(uiScaleStep, 0, uiScaleSteps - 1);
}

TTF_Font* menuFont(int32_t textSize) {
  TTF_Font* font = textSize == 2 ? menuFontMedium : (textSize == 3 ? menuFontLarge : menuFontSmall);
  return font ? font : fontForSize(textSize);
}

CaptionFit captionFit(const Button& button, TTF_Font* font) {
  std::string caption = buttonCaption(button);
  SDL_Rect r = {button.position.x, button.position.y, button.size.x, button.size.y};
  SDL_Rect room = {r.x + captionMargin() / 2, r.y, r.w - captionMargin(), r.h};
  SDL_Surface* surface = font && !caption.empty()
                             ? TTF_RenderUTF8_Solid(font, caption.c_str(), {0, 0, 0, 255})
                             : nullptr;
  if (surface == nullptr) return {caption, room, {0, 0, 0, 0}, 0, 0.0};
  SDL_Rect area = textArea(surface->w, surface->h, captionPlacement(r), r.w - captionMargin());
  double factor = surface->w > 0 ? static_cast<double>(area.w) / surface->w : 1.0;
  int natural = surface->w;
  SDL_FreeSurface(surface);
  return {caption, room, area, natural, factor};
}

namespace {

void drawButtonIn(const Button& button, TTF_Font* font) {
  SDL_Rect r = {button.position.x, button.position.y, button.size.x, button.size.y};
  if (r.w <= 0 || r.h <= 0) return; // a list's empty row: its placeholder caption is no text
  // High contrast reads white text on black, lit white under the pointer.
  bool dark = palette == highContrastPalette ? !button.hovered : button.hovered;
  // A clashing binding is marked in amber: the face, or the caption on a dark face.
  std::array<uint8_t, 3> face = dark ? black : (button.warning ? warningColour : white);
  setDrawColour(face, 255);
  SDL_BlendMode mode = SDL_BLENDMODE_NONE;
  SDL_GetRenderDrawBlendMode(renderer, &mode);
  if (mode != SDL_BLENDMODE_ADD) {
    fillRect(r);
  } else if (!dark || palette == highContrastPalette) {
    // Over the menu backdrop the mode is additive: white adds up to white and black adds
    // nothing, so a plain fill gives the same face without blending every pixel. High
    // contrast's black faces are filled too: no backdrop behind its text.
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
    fillRect(r);
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_ADD);
  }
  setDrawColour(white, 255);
  outlineRect(r);
  // Caption and face always have opposite colours.
  SDL_Color caption = dark ? SDL_Color{255, 255, 255, 255} : SDL_Color{0, 0, 0, 255};
  if (dark && button.warning) caption = {warningColour[0], warningColour[1], warningColour[2], 255};
  drawText(font, buttonCaption(button), caption, captionPlacement(r), r.w - captionMargin());
}

} // namespace

std::string buttonCaption(const Button& button) {
  return tr(button.text) + button.valueText;
}

void fillCell(SDL_Rect cell, std::array<uint8_t, 3> colour) {
  setDrawColour(colour, 255);
  fillRect(cell);
  setDrawColour(white, 255);
  outlineRect(cell);
}

void drawBoardCells(const Board& board, int32_t left, int32_t top, int32_t c) {
  // Cells overlap only on their shared edges, which the grid lines paint white at the end, so
  // fills may be merged: one black fill for the empty cells (adding black changes nothing),
  // one per run of equal cells in a row, then the grid. Few large fills cost far less than 200
  // small ones on the software renderer, with the same pixels.
  SDL_BlendMode mode = SDL_BLENDMODE_NONE;
  SDL_GetRenderDrawBlendMode(renderer, &mode);
  if (mode != SDL_BLENDMODE_ADD) {
    setDrawColour(black, 255);
    SDL_Rect all = {left, top, boardWidth * c + 1, boardHeight * c + 1};
    fillRect(all);
  }
  for (int32_t j = 0; j < boardHeight; ++j)
    for (int32_t i = 0; i < boardWidth;) {
      int32_t code = board[i][j], end = i + 1;
      while (end < boardWidth && board[end][j] == code) ++end;
      if (code != 0) {
        setDrawColour(cellColour(code), 255);
        SDL_Rect run = {left + i * c, top + j * c, (end - i) * c + 1, c + 1};
        fillRect(run);
      }
      i = end;
    }
  if (palette != standardPalette || pieceSymbolsOn)
    for (int32_t j = 0; j < boardHeight; ++j)
      for (int32_t i = 0; i < boardWidth; ++i) {
        int32_t code = board[i][j];
        if (code > 0 && code < garbageGrey)
          decoratePieceCell(pieceTypeOf(code), {left + i * c, top + j * c, c + 1, c + 1},
                            cellColour(code));
      }
  setDrawColour(white, 255);
  for (int32_t i = 0; i <= boardWidth; ++i)
    drawLine(left + i * c, top, left + i * c, top + boardHeight * c);
  for (int32_t j = 0; j <= boardHeight; ++j)
    drawLine(left, top + j * c, left + boardWidth * c, top + j * c);
}

void drawDoubleFrame(SDL_Rect frame) {
  setDrawColour(white, 255);
  outlineRect(frame);
  SDL_Rect inner = {frame.x + 1, frame.y + 1, frame.w - 2, frame.h - 2};
  outlineRect(inner);
}

void recordDrawnAreas(bool on) {
  recordingAreas = on;
  drawnAreas.clear();
}

std::vector<SDL_Rect> drawnPartsOf(SDL_Rect area) {
  if (!recordingAreas) return {area}; // nothing known: all of it may hold drawing
  std::vector<SDL_Rect> parts;
  for (const SDL_Rect& drawn : drawnAreas) {
    SDL_Rect part;
    if (SDL_IntersectRect(&drawn, &area, &part)) parts.push_back(part);
  }
  return disjointUnion(parts);
}

void drawVeil() {
  SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
  SDL_SetRenderDrawColor(renderer, 0, 0, 0, 100);
  // Darkening black leaves it black: with the drawn areas known, only they need the blend,
  // which costs milliseconds over the whole window on the software renderer.
  std::vector<SDL_Rect> parts = drawnPartsOf({0, 0, windowWidth, windowHeight});
  SDL_RenderFillRects(renderer, parts.data(), static_cast<int>(parts.size()));
  SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
}

std::vector<SDL_Rect> disjointUnion(const std::vector<SDL_Rect>& rects) {
  // Bands between consecutive top and bottom edges; in each, the covering rectangles' spans
  // merged. A band that repeats the one above it extends those rectangles downwards.
  std::vector<int> edges;
  for (const SDL_Rect& r : rects)
    if (r.w > 0 && r.h > 0) edges.insert(edges.end(), {r.y, r.y + r.h});
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
  std::vector<SDL_Rect> result;
  std::vector<std::pair<int, int>> spans, above;
  size_t aboveFirst = 0;
  for (size_t b = 0; b + 1 < edges.size(); ++b) {
    int top = edges[b], bottom = edges[b + 1];
    spans.clear();
    for (const SDL_Rect& r : rects)
      if (r.w > 0 && r.y <= top && r.y + r.h >= bottom) spans.push_back({r.x, r.x + r.w});
    std::sort(spans.begin(), spans.end());
    size_t merged = 0;
    for (const auto& span : spans) {
      if (merged > 0 && span.first <= spans[merged - 1].second)
        spans[merged - 1].second = std::max(spans[merged - 1].second, span.second);
      else
        spans[merged++] = span;
    }
    spans.resize(merged);
    bool continues = spans == above && !result.empty() && result.back().y + result.back().h == top;
    if (continues) {
      for (size_t k = aboveFirst; k < result.size(); ++k) result[k].h += bottom - top;
      continue;
    }
    aboveFirst = result.size();
    for (const auto& span : spans)
      result.push_back({span.first, top, span.second - span.first, bottom - top});
    above = spans;
  }
  return result;
}
