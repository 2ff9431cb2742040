// The texts about the "Neural Network" level's network: which one it plays (difficulty
// screen), what a training run does to it (training screen), and the networks screen's title.
#include "app/state.h"
#include "render/render.h"

namespace {

constexpr SDL_Color textColour = {255, 255, 255, 255};

// Lines of small text from (x, y) down, each at most maxWidth wide.
void drawLines(const std::vector<std::string>& lines, int x, int y, int maxWidth) {
  for (const std::string& line : lines) {
    drawText(
        fontSmall, line, textColour,
        [x, y](int, int) {
          return SDL_Point{x, y};
        },
        maxWidth);
    y += 32;
  }
}

} // namespace

void drawNetworkTexts() {
  if (gameMode != menuMode) return;
  if (currentScreen == difficultyScreen) {
    // Between the level buttons (down to 750) and "Back" (from 800).
    drawLines({"Neural Network plays: " + botNetworkLabel}, 600, 758, 850);
    // Under "Back" and "Network".
    if (!nextNetworkLabel.empty())
      drawLines({"From the next start: " + nextNetworkLabel}, 600, 870, 850);
  } else if (currentScreen == trainingScreen) {
    // Below "Back", right of the sliders' tracks (which end at 1000).
    drawLines({"Run Sim replaces the network", "the Neural Network level plays.",
               "The one it plays now is kept", "in Storage/networks: choose it",
               "again with Versus Bot, Network."},
              1060, 615, 420);
  } else if (currentScreen == networksScreen) {
    drawLines({"Choose the network the Neural Network level plays"}, 100, 50, 1300);
  }
}
