// The player's networks are never lost: training runs put the old one aside, the archive keeps
// its bound, and any kept network (the shipped one included) can be chosen back.
#include "ai/ai.h"
#include "app/play.h"
#include "app/screens.h"
#include "scenario.h"

namespace {

// A small network file of its own: one hidden layer of `neurons` + 1.
std::string networkText(int32_t neurons) {
  std::string path = "scratch.txt";
  seedRandom(static_cast<uint32_t>(neurons));
  saveNetwork(createNetwork(5, 44, 0.0, 1, neurons), path);
  std::string text = readFile(path);
  std::filesystem::remove(path);
  return text;
}

double clockSeconds = 0.0;
double fakeClock() {
  return clockSeconds;
}

class Networks : public Scenario {
protected:
  void SetUp() override {
    Scenario::SetUp();
    writeFile("Storage/networks/Shipped.txt", networkText(30));
  }
};

// One training run of one generation: its elite is saved at once.
void trainingRun() {
  useCatalogue({pieceFromPicture({"##", "##"})});
  gameMode = trainingMode;
  setUpGame();
  populationSize = 1;
  movesPerSubject = 1;
  hiddenLayerCount = 1;
  hiddenLayerNeurons = 3;
  clockSeconds += 10.0;
  startTrainingRun();
  trainingStep();
}

TEST_F(Networks, TwoRunsInARowLeaveBothEarlierNetworksRestorable) {
  trainingClock = fakeClock;
  std::string own = networkText(9);
  writeFile("Storage/BestNeuralNet.txt", own);
  describeBotNetwork();
  std::string playing = botNetworkLabel;
  trainingRun();
  std::string firstRun = readFile("Storage/BestNeuralNet.txt");
  // Back from training: the level still plays its network, and the screen says which plays next.
  leavePlay();
  EXPECT_EQ(botNetworkLabel, playing);
  EXPECT_EQ(nextNetworkLabel, "Trained (401-4-44)");
  trainingRun();
  ASSERT_NE(firstRun, own);
  std::vector<std::string> kept = archivedNetworks(networkArchiveFolder);
  ASSERT_EQ(kept.size(), 3u); // the first run's, the player's own, the shipped
  EXPECT_EQ(kept.back(), "Shipped");
  EXPECT_NE(kept[1].find("5-10-44"), std::string::npos) << kept[1];

  ASSERT_TRUE(chooseNetwork(kept[1], nullptr));
  EXPECT_EQ(readFile("Storage/BestNeuralNet.txt"), own);
  EXPECT_EQ(botNetwork.layers.size(), 3u);
  EXPECT_EQ(botNetworkLabel, kept[1] + " (5-10-44)");
  ASSERT_TRUE(chooseNetwork(kept[0], nullptr));
  EXPECT_EQ(readFile("Storage/BestNeuralNet.txt"), firstRun);
  // The second run's network was put aside by that choice, not lost.
  EXPECT_EQ(archivedNetworks(networkArchiveFolder).size(), 4u);
}

TEST_F(Networks, ArchiveKeepsItsBoundAndShippedComesBackByteForByte) {
  for (int32_t k = 1; k <= 25; ++k) {
    writeFile("Storage/BestNeuralNet.txt", networkText(k));
    ASSERT_TRUE(archiveNetworkFile("Storage/BestNeuralNet.txt", networkArchiveFolder, nullptr));
    ASSERT_TRUE(archiveNetworkFile("Storage/BestNeuralNet.txt", networkArchiveFolder, nullptr));
  }
  std::vector<std::string> kept = archivedNetworks(networkArchiveFolder);
  ASSERT_EQ(kept.size(), archivedNetworkLimit + 1);
  EXPECT_EQ(archivedNetworkMatching(networkText(25), networkArchiveFolder), kept[0]);
  EXPECT_EQ(archivedNetworkMatching(networkText(5), networkArchiveFolder), "");

  // The networks screen lists them all, and a click on "Shipped" restores it.
  openNetworksScreen();
  ASSERT_EQ(currentScreen, networksScreen);
  const Button& shipped = screenButtons[networksScreen][archivedNetworkLimit];
  ASSERT_EQ(shipped.text, "Shipped");
  clickOn(shipped);
  EXPECT_EQ(currentScreen, difficultyScreen);
  EXPECT_EQ(readFile("Storage/BestNeuralNet.txt"), readFile("Storage/networks/Shipped.txt"));
  EXPECT_EQ(botNetworkLabel, "Shipped (5-31-44)");
}

} // namespace
