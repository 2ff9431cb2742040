// The networks screen: the player picks which network the "Neural Network" level plays, among
// the archived ones and the shipped one. The choice is copied over Storage/BestNeuralNet.txt,
// so that file keeps meaning "the level's network" for everything else.
#include "ai/ai.h"
#include "app/screens.h"
#include "app/widgets.h"
#include "game/game.h"

#include <fstream>
#include <iterator>

namespace {

bool readText(const std::string& path, std::string& text) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  text.assign(std::istreambuf_iterator<char>(file), {});
  return !file.bad();
}

// Two columns of eleven: the archive's twenty and "Shipped" always fit.
constexpr int rowsPerColumn = 11;

} // namespace

namespace {

std::string networkLabel(const std::string& text) {
  std::string name = archivedNetworkMatching(text, networkArchiveFolder);
  // Not archived yet: a training run's result, put aside when the next run starts.
  if (name.empty()) name = "Trained";
  return name + " (" + networkLayerSizes(text) + ")";
}

} // namespace

void describeBotNetwork() {
  std::string text;
  nextNetworkLabel.clear();
  if (!readText(bestNetworkPath, text)) {
    botNetworkLabel = "none";
    botNetworkText.clear();
    return;
  }
  botNetworkLabel = networkLabel(text);
  botNetworkText = text;
}

void noteNetworkForNextStart() {
  std::string text;
  // The level goes on playing the network it was given; the file now holds the one it plays
  // from the next start.
  if (readText(bestNetworkPath, text) && text != botNetworkText)
    nextNetworkLabel = networkLabel(text);
  else
    nextNetworkLabel.clear();
}

bool chooseNetwork(const std::string& name, std::string* error) {
  std::string path = std::string(networkArchiveFolder) + "/" + name + ".txt";
  std::string text;
  if (!readText(path, text)) {
    if (error) *error = path + ": cannot be read";
    return false;
  }
  // The network being replaced is kept too, unless the archive already has it.
  if (!archiveNetworkFile(bestNetworkPath, networkArchiveFolder, error) ||
      !writeFileAtomically(bestNetworkPath, text, error))
    return false;
  loadNetwork(bestNetworkPath);
  describeBotNetwork();
  return true;
}

void openNetworksScreen() {
  networkChoices = archivedNetworks(networkArchiveFolder);
  std::vector<Button> buttons;
  for (size_t k = 0; k < networkChoices.size(); ++k) {
    int32_t column = static_cast<int32_t>(k) / rowsPerColumn;
    int32_t row = static_cast<int32_t>(k) % rowsPerColumn;
    buttons.push_back(
        makeButton(100 + 700 * column, 130 + 65 * row, 600, 50, networkChoices[k], 1));
  }
  buttons.push_back(makeButton(625, 880, 250, 50, "Back", 1));
  screenButtons[networksScreen] = buttons;
  layOutScreen(networksScreen);
  currentScreen = networksScreen;
}

void runNetworksScreen() {
  if (!mouseClicked) return;
  const std::vector<Button>& buttons = screenButtons[networksScreen];
  for (size_t k = 0; k < buttons.size(); ++k) {
    if (!buttons[k].hovered) continue;
    if (k < networkChoices.size()) {
      std::string error;
      if (!chooseNetwork(networkChoices[k], &error))
        std::fprintf(stderr, "Brikka: could not choose %s; %s\n", networkChoices[k].c_str(),
                     error.c_str());
    }
    currentScreen = difficultyScreen;
  }
}
