// Training never makes the network in --out worse: the elite is chosen, and the file replaced,
// on held-out games only.
#include "lab/lab.h"

#include "ai/ai.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string read(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

TEST(HeldOut, AWorseEliteNeverReplacesOut) {
  fs::path folder = fs::path(testing::TempDir()) / ("brikka-heldout-" + std::to_string(getpid()));
  fs::create_directories(folder);
  const std::string shipped = std::string(BRIKKA_SOURCE_DIR) + "/Storage/seed/BestNeuralNet.txt";
  // A network of the shipped shape that knows nothing: every weight zero.
  Network blank;
  ASSERT_EQ(readNetworkFile(shipped, blank), "");
  for (std::vector<Neuron>& layer : blank.layers)
    for (Neuron& neuron : layer)
      for (Connection& connection : neuron.connections) connection.weight = 0.0;
  ASSERT_TRUE(saveNetwork(blank, (folder / "blank.txt").string()));
  fs::copy_file(shipped, folder / "good.txt");

  auto train = [&](const std::string& out) {
    std::string command = std::string(BRIKKA_LAB_PROGRAM) + " train --data " + BRIKKA_SOURCE_DIR +
                          " --from " + (folder / "blank.txt").string() + " --out " +
                          (folder / out).string() +
                          " --population 3 --moves 30 --generations 2 --games-per-subject 2 "
                          "--held-out-games 3 2>/dev/null";
    return std::system(command.c_str());
  };
  // The blank network's run cannot beat the shipped one on the held-out games.
  ASSERT_EQ(train("good.txt"), 0);
  EXPECT_EQ(read(folder / "good.txt"), read(shipped));
  // Nothing there yet: the run's elite is written.
  ASSERT_EQ(train("new.txt"), 0);
  Network written;
  EXPECT_EQ(readNetworkFile((folder / "new.txt").string(), written), "");
  fs::remove_all(folder);
}

} // namespace
