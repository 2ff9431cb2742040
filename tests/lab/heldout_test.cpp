// Training never makes the network in --out worse: the elite is chosen, and the file replaced,
// on held-out games only.
#include "lab/lab.h"

#include "ai/ai.h"

#include "folders.h"

namespace {

using HeldOut = TempFolder;

TEST_F(HeldOut, AWorseEliteNeverReplacesOut) {
  const std::string shipped = std::string(BRIKKA_SOURCE_DIR) + "/Storage/seed/BestNeuralNet.txt";
  // A network of the shipped shape that knows nothing: every weight zero.
  Network blank;
  ASSERT_EQ(readNetworkFile(shipped, blank), "");
  for (std::vector<Neuron>& layer : blank.layers)
    for (Neuron& neuron : layer)
      for (Connection& connection : neuron.connections) connection.weight = 0.0;
  ASSERT_TRUE(saveNetwork(blank, (folder / "blank.txt").string()));
  std::filesystem::copy_file(shipped, folder / "good.txt");

  allowMpiRuns();
  auto train = [&](const std::string& out) {
    return runCommand(std::string(BRIKKA_LAB_PROGRAM) +
                      " train --data " BRIKKA_SOURCE_DIR
                      " --population 3 --moves 30 --generations 2 --games-per-subject 2 "
                      "--held-out-games 3 --from " +
                      path("blank.txt") + " --out " + path(out))
        .status;
  };
  // The blank network's run cannot beat the shipped one on the held-out games.
  ASSERT_EQ(train("good.txt"), 0);
  EXPECT_EQ(readFile(folder / "good.txt"), readFile(shipped));
  // Nothing there yet: the run's elite is written.
  ASSERT_EQ(train("new.txt"), 0);
  Network written;
  EXPECT_EQ(readNetworkFile((folder / "new.txt").string(), written), "");
}

} // namespace
