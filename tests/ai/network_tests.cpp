#include "ai/ai.h"
#include "pictures.h"
#include "reference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace {

std::vector<std::string> fileLines(const std::string& path) {
  std::ifstream file(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  return lines;
}

size_t commas(const std::string& line) {
  return std::count(line.begin(), line.end(), ',');
}

std::vector<size_t> layerSizes(const Network& network) {
  std::vector<size_t> sizes;
  for (const auto& layer : network.layers) sizes.push_back(layer.size());
  return sizes;
}

TEST(Network, CreatedLayersAndTheirFile) {
  srand(3);
  Network network = createNetwork(5, 44, 0.25, 2, 3);
  EXPECT_EQ(layerSizes(network), (std::vector<size_t>{5, 4, 4, 44}));
  EXPECT_EQ(network.learningRate, 0.25);
  for (size_t l = 1; l < network.layers.size(); ++l)
    for (const Neuron& neuron : network.layers[l]) {
      ASSERT_EQ(neuron.connections.size(), network.layers[l - 1].size());
      EXPECT_EQ(neuron.bias, 0.0);
      for (const Connection& c : neuron.connections) {
        EXPECT_TRUE(c.weight >= -2.0 && c.weight <= 2.0) << c.weight;
        EXPECT_NEAR(c.weight * 100, std::round(c.weight * 100), 1e-9);
      }
    }
  // Same seed, same draws: the same network.
  srand(3);
  EXPECT_EQ(createNetwork(5, 44, 0.25, 2, 3).layers[3][43].connections[3].weight,
            network.layers[3][43].connections[3].weight);

  std::string path = testing::TempDir() + "network.txt";
  ASSERT_TRUE(saveNetwork(network, path));
  std::vector<std::string> lines = fileLines(path);
  ASSERT_EQ(lines.size(), 1u + 4 + 4 + 44);
  EXPECT_EQ(lines[0], "5,4,4,44,");
  EXPECT_EQ(commas(lines[1]), 5u);
  EXPECT_EQ(commas(lines[5]), 4u);
  EXPECT_EQ(commas(lines[52]), 4u);
}

TEST(Network, SaveAndLoadKeepWeightsToSixDecimalsAndResetBiases) {
  srand(5);
  Network network = createNetwork(7, 3, 0.5, 1, 4);
  mutate(network);
  network.layers[1][0].connections[0].weight = -1.2345678;
  network.layers[2][1].bias = 0.75;
  std::string path = testing::TempDir() + "roundtrip.txt";
  ASSERT_TRUE(saveNetwork(network, path));
  EXPECT_EQ(fileLines(path)[1].substr(0, 10), "-1.234568,");
  ASSERT_TRUE(loadNetwork(path));
  ASSERT_EQ(layerSizes(botNetwork), layerSizes(network));
  for (size_t l = 1; l < network.layers.size(); ++l)
    for (size_t k = 0; k < network.layers[l].size(); ++k) {
      const Neuron& loaded = botNetwork.layers[l][k];
      EXPECT_EQ(loaded.bias, 0.0);
      ASSERT_EQ(loaded.connections.size(), network.layers[l][k].connections.size());
      for (size_t c = 0; c < loaded.connections.size(); ++c)
        EXPECT_NEAR(loaded.connections[c].weight, network.layers[l][k].connections[c].weight, 5e-7);
    }
  // Saving what was loaded gives the same bytes.
  std::string again = testing::TempDir() + "roundtrip2.txt";
  ASSERT_TRUE(saveNetwork(botNetwork, again));
  EXPECT_EQ(fileLines(again), fileLines(path));
  EXPECT_FALSE(saveNetwork(network, testing::TempDir() + "no/such/folder/net.txt"));
}

TEST(Network, MalformedFilesLeaveTheBotNetworkEmpty) {
  std::string path = testing::TempDir() + "bad.txt";
  const char* bad[] = {"",
                       "\n",
                       "abc,\n",
                       "3,0,2,\n",
                       "3,\n1,2,3,\n",
                       "2,1,\n0.5,x,\n",
                       "2,1,\n0.5,0.25,0.125,\n",
                       "2,1,\n0.5,nan,\n"};
  std::string good = testing::TempDir() + "good.txt";
  ASSERT_TRUE(saveNetwork(createNetwork(2, 1, 0.0, 0, 0), good));
  for (const char* text : bad) {
    ASSERT_TRUE(loadNetwork(good));
    std::ofstream(path) << text;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(loadNetwork(path)) << text;
    std::string message = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(botNetwork.layers.empty()) << text;
    EXPECT_NE(message.find(path), std::string::npos) << message;
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
  }
  testing::internal::CaptureStderr();
  EXPECT_FALSE(loadNetwork(testing::TempDir() + "missing.txt"));
  EXPECT_NE(testing::internal::GetCapturedStderr().find("missing.txt"), std::string::npos);

  // Short lines and missing lines are allowed: those neurons have fewer connections.
  std::ofstream(path) << "3,2,1,\n0.5,0.25,\n1,\n";
  ASSERT_TRUE(loadNetwork(path));
  EXPECT_EQ(botNetwork.layers[1][0].connections.size(), 2u);
  EXPECT_EQ(botNetwork.layers[1][1].connections.size(), 1u);
  EXPECT_EQ(botNetwork.layers[2][0].connections.size(), 0u);
  EXPECT_EQ(predict(botNetwork, {1, 1, 1}), 0);
}

TEST(Network, LeakyHiddenAndLinearOutput) {
  Network network = createNetwork(1, 2, 0.0, 1, 0); // 1 input, 1 hidden, 2 outputs
  network.layers[1][0].connections[0].weight = -2.0;
  network.layers[2][0].connections[0].weight = 10.0;
  network.layers[2][1].connections[0].weight = 20.0;
  EXPECT_EQ(predict(network, {1}), 0); // every output negative: action 0
  EXPECT_DOUBLE_EQ(network.layers[1][0].value, -0.2);
  EXPECT_DOUBLE_EQ(network.layers[2][0].value, -2.0);
  EXPECT_DOUBLE_EQ(network.layers[2][1].value, -4.0);
  network.layers[2][0].connections[0].weight = -10.0;
  network.layers[2][1].connections[0].weight = -10.0;
  EXPECT_EQ(predict(network, {1}), 0); // equal positive maxima: the lower index
  EXPECT_DOUBLE_EQ(network.layers[2][1].value, 2.0);
  network.layers[2][1].bias = 0.5;
  EXPECT_EQ(predict(network, {1}), 1);
  EXPECT_EQ(network.layers[2][1].layer, 2);
  EXPECT_EQ(network.layers[2][1].index, 1);
}

TEST(Network, ForwardPassMatchesThePlainSumsBitForBit) {
  srand(9);
  Network fast = createNetwork(407, 44, 0.5, 2, 64);
  for (int k = 0; k < 3; ++k) mutate(fast);
  // Shorten some neurons as a file with short lines would.
  fast.layers[1][3].connections.resize(100);
  fast.layers[2][64].connections.resize(7);
  std::mt19937 random(2);
  for (int trial = 0; trial < 50; ++trial) {
    std::vector<int32_t> input(407);
    for (int32_t& v : input) v = random() % 10 == 0;
    predict(fast, input);
    Network plain = fast;
    referenceFeedForward(plain);
    for (size_t l = 1; l < plain.layers.size(); ++l)
      for (size_t k = 0; k < plain.layers[l].size(); ++k)
        ASSERT_EQ(fast.layers[l][k].value, plain.layers[l][k].value) << l << " " << k;
  }
}

TEST(Network, MutationAndDeepCopy) {
  srand(4);
  Network source = createNetwork(6, 5, 0.25, 1, 3);
  Network copy;
  copy.learningRate = 0.5;
  copyNetworkFrom(copy, source);
  EXPECT_EQ(copy.learningRate, 0.5);
  ASSERT_EQ(layerSizes(copy), layerSizes(source));
  mutate(copy);
  int changed = 0;
  for (size_t l = 1; l < copy.layers.size(); ++l)
    for (size_t k = 0; k < copy.layers[l].size(); ++k) {
      for (size_t c = 0; c < copy.layers[l][k].connections.size(); ++c) {
        double step =
            (copy.layers[l][k].connections[c].weight - source.layers[l][k].connections[c].weight) /
            0.5;
        EXPECT_NEAR(step, std::round(step), 1e-9);
        EXPECT_LE(std::abs(step), 4.0 + 1e-9);
        changed += step != 0.0;
      }
      double biasStep = copy.layers[l][k].bias / 0.5;
      EXPECT_TRUE(biasStep == -1.0 || biasStep == 0.0 || biasStep == 1.0) << biasStep;
      EXPECT_EQ(source.layers[l][k].bias, 0.0); // the source is untouched
    }
  EXPECT_GT(changed, 10);
  Network still;
  copyNetworkFrom(still, source);
  still.learningRate = 0.0;
  mutate(still);
  EXPECT_EQ(still.layers[2][4].connections[3].weight, source.layers[2][4].connections[3].weight);
}

TEST(NetworkInput, BoardSurfaceHolesAndPieceFlags) {
  useCatalogue(sevenPieces());
  Board board = boardFromPicture({"#.........", "..........", "#.#......."});
  std::vector<int32_t> input = buildNetworkInput(board, 3);
  ASSERT_EQ(input.size(), 407u);
  EXPECT_EQ(input[0 * 20 + 17], 1);       // column 0's top
  EXPECT_EQ(input[2 * 20 + 19], 1);       // column 2's top
  EXPECT_EQ(input[200 + 0 * 20 + 18], 1); // the hole under column 0's top
  EXPECT_EQ(input[403], 1);
  int ones = 0;
  for (int32_t v : input) ones += v;
  EXPECT_EQ(ones, 4);
  std::vector<int32_t> last = buildNetworkInput(board, 7);
  EXPECT_EQ(std::count(last.begin() + 400, last.end(), 1), 0);
  EXPECT_EQ(buildNetworkInput(Board{}, 1)[401], 1);
}

} // namespace
