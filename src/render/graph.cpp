// The training's fitness graph: the average fitness of each generation, on the training screen
// and in the laboratory's plot.
#include "render/render.h"

#include <algorithm>

namespace {

const SDL_Color blueText = {0, 0, 255, 255};
constexpr size_t graphWidth = 700; // pixels from the first generation's point to the last

// Point k of the graph: spread over x 600..1300, lowest average at y 750, highest at 150.
SDL_Point graphPoint(size_t k, size_t count, const SDL_Rect& panel) {
  int32_t x = truncPixel(static_cast<double>(k) / (count - 1) * graphWidth + (panel.x + 100));
  int64_t range = static_cast<int64_t>(highestAverage) - lowestAverage;
  double bottom = panel.y + panel.h - 100;
  // Equal bounds have no scale: the line lies flat along the bottom.
  if (range == 0) return {x, truncPixel(bottom)};
  double rise = (averageHistory[k] - lowestAverage) / static_cast<double>(range) * 600.0;
  return {x, truncPixel(bottom - rise)};
}

} // namespace

void drawFitnessGraph() {
  SDL_Rect panel = fitnessGraphPanel;
  SDL_SetRenderDrawColor(renderer, 255, 255, 255, 255);
  fillRect(panel);
  SDL_SetRenderDrawColor(renderer, 0, 0, 255, 255);
  size_t n = averageHistory.size();
  // At most one point per pixel column: a long run's graph costs what a short one's does.
  size_t steps = n >= 2 ? std::min<size_t>(n - 1, graphWidth) : 0;
  for (size_t i = 0; i < steps; ++i) {
    SDL_Point a = graphPoint(i * (n - 1) / steps, n, panel);
    SDL_Point b = graphPoint((i + 1) * (n - 1) / steps, n, panel);
    // Four copies, right and down by a pixel: a line 2 pixels thick.
    for (int dx = 0; dx < 2; ++dx)
      for (int dy = 0; dy < 2; ++dy) drawLine(a.x + dx, a.y + dy, b.x + dx, b.y + dy);
  }
  if (generation > 2) {
    drawTextAt(fontSmall, formatInt(highestAverage), blueText, panel.x + 50, panel.y + 125);
    drawTextAt(fontSmall, formatInt(lowestAverage), blueText, panel.x + 50,
               panel.y + panel.h - 125);
  }
}

void drawWith(SDL_Renderer* target, TTF_Font* small, const std::function<void()>& draw) {
  // Drawing goes through render's renderer and small font: the target borrows their places.
  SDL_Renderer* screen = renderer;
  TTF_Font* screenFont = fontSmall;
  renderer = target;
  fontSmall = small;
  draw();
  renderer = screen;
  fontSmall = screenFont;
}
