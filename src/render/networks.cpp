// The texts about the "Neural Network" level's network: which one it plays (difficulty
// screen), what a training run does to it (training screen), and the networks screen's title.
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

// The shell keeps the label in English ("none", "Trained (…)" or an archived network's name,
// which is the player's and stays as it is).
std::string shownNetworkLabel(const std::string& label) {
  // TRANSLATORS: no network at all.
  if (label == "none") return tr("none");
  const std::string trained = "Trained (";
  if (label.compare(0, trained.size(), trained) == 0)
    // TRANSLATORS: a network trained here and not archived yet.
    return tr("Trained") + label.substr(trained.size() - 2);
  return label;
}

} // namespace

void drawNetworkTexts() {
  if (gameMode != menuMode) return;
  if (currentScreen == difficultyScreen) {
    // Between the level buttons (down to 750) and "Back" (from 800).
    drawLines({trf("Neural Network plays: %s", shownNetworkLabel(botNetworkLabel).c_str())}, 600,
              758, 850);
    // Under "Back" and "Network".
    if (!nextNetworkLabel.empty())
      drawLines({trf("From the next start: %s", shownNetworkLabel(nextNetworkLabel).c_str())}, 600,
                870, 850);
  } else if (currentScreen == trainingScreen) {
    // Below "Back", right of the sliders' tracks (which end at 1000).
    // TRANSLATORS: five lines of one sentence, each at most 420 pixels of small text; the
    // translation may break it into its own five lines.
    drawLines({tr("Run Sim replaces the network"), tr("the Neural Network level plays."),
               tr("The one it plays now is kept"), tr("in Storage/networks: choose it"),
               tr("again with Versus Bot, Network.")},
              1060, 615, 420);
  } else if (currentScreen == networksScreen) {
    drawLines({tr("Choose the network the Neural Network level plays")}, 100, 50, 1300);
  }
}
