#include "ai/ai.h"
#include "pictures.h"
#include "reference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>

namespace {

std::vector<std::string> fileLines(const std::string& path) {
  std::ifstream file(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  return lines;
}

TEST(Network, CreatedLayersAndTheirFile) {
  Network network = createNetwork(5, 44, 0.25, 2, 3);
  std::string path = testing::TempDir() + "ai_network.txt";
  ASSERT_TRUE(saveNetwork(network, path));
  std::vector<std::string> lines = fileLines(path);
  ASSERT_EQ(lines.size(), 1u + 4 + 4 + 44);
  EXPECT_EQ(lines[0], "5,4,4,44,");
  for (size_t line = 1; line < lines.size(); ++line)
    EXPECT_EQ(std::count(lines[line].begin(), lines[line].end(), ','), line <= 4 ? 5 : 4);
  for (double w : allWeights(network)) {
    EXPECT_TRUE(w >= -2.0 && w <= 2.0) << w;
    EXPECT_NEAR(w * 100, std::round(w * 100), 1e-9);
  }
}

TEST(Network, SaveAndLoadKeepWeightsToSixDecimalsAndResetBiases) {
  Network network = createNetwork(7, 3, 0.5, 1, 4);
  mutate(network);
  network.layers[1][0].connections[0].weight = -1.2345678;
  std::string path = testing::TempDir() + "ai_roundtrip.txt";
  ASSERT_TRUE(saveNetwork(network, path));
  std::string expected; // line 2: the first hidden neuron's weights as printf writes them
  char number[64];
  for (const Connection& c : network.layers[1][0].connections)
    expected += std::string(number, std::snprintf(number, sizeof number, "%f,", c.weight));
  EXPECT_EQ(fileLines(path)[1], expected);
  EXPECT_EQ(expected.substr(0, 10), "-1.234568,");
  ASSERT_TRUE(loadNetwork(path));
  std::vector<double> saved = allWeights(network), loaded = allWeights(botNetwork);
  ASSERT_EQ(loaded.size(), saved.size());
  for (size_t k = 0; k < saved.size(); ++k) EXPECT_NEAR(loaded[k], saved[k], 5e-7);
  for (const Neuron& neuron : botNetwork.layers[2]) EXPECT_EQ(neuron.bias, 0.0);
  EXPECT_FALSE(saveNetwork(network, testing::TempDir() + "ai_no/such/folder/net.txt"));
}

TEST(Network, MalformedFilesLeaveTheBotNetworkEmpty) {
  std::string path = testing::TempDir() + "ai_bad.txt", good = testing::TempDir() + "ai_good.txt";
  ASSERT_TRUE(saveNetwork(createNetwork(2, 1, 0.0, 0, 0), good));
  for (const char* text : {"", "abc,\n", "3,0,2,\n", "3,\n1,2,3,\n", "2,1,\n0.5,x,\n",
                           "2,1,\n0.5,0.25,0.125,\n", "2,1,\n0.5,nan,\n"}) {
    ASSERT_TRUE(loadNetwork(good));
    std::ofstream(path) << text;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(loadNetwork(path)) << text;
    std::string message = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(botNetwork.layers.empty()) << text;
    EXPECT_EQ(message.find(path), 0u) << message;
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
  }
  // Short and missing lines are allowed: those neurons have fewer connections.
  std::ofstream(path) << "3,2,1,\n0.5,0.25,\n1,\n";
  ASSERT_TRUE(loadNetwork(path));
  EXPECT_EQ(botNetwork.layers[1][0].connections.size(), 2u);
  EXPECT_EQ(botNetwork.layers[2][0].connections.size(), 0u);
}

TEST(Network, LeakyHiddenLinearOutputAndArgMax) {
  Network network = createNetwork(1, 2, 0.0, 1, 0); // 1 input, 1 hidden neuron, 2 outputs
  network.layers[1][0].connections[0].weight = -2.0;
  network.layers[2][0].connections[0].weight = 10.0;
  network.layers[2][1].connections[0].weight = 20.0;
  EXPECT_EQ(predict(network, {1}), 0); // every output negative
  EXPECT_DOUBLE_EQ(network.layers[1][0].value, -0.2);
  EXPECT_DOUBLE_EQ(network.layers[2][0].value, -2.0);
  network.layers[2][0].connections[0].weight = -10.0;
  network.layers[2][1].connections[0].weight = -10.0;
  EXPECT_EQ(predict(network, {1}), 0); // equal positive maxima: the lower index
  network.layers[2][1].bias = 0.5;
  EXPECT_EQ(predict(network, {1, 1, 1}), 1); // values beyond the input layer are dropped
  EXPECT_DOUBLE_EQ(network.layers[2][1].value, 2.5);
}

TEST(Network, ForwardPassMatchesThePlainSumsBitForBit) {
  Network fast = createNetwork(407, 44, 0.5, 2, 64);
  for (int k = 0; k < 3; ++k) mutate(fast);
  fast.layers[1][3].connections.resize(100); // as a file with short lines gives
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

TEST(Network, MutationStepsAndDeepCopy) {
  Network source = createNetwork(6, 5, 0.25, 1, 3);
  Network copy;
  copy.learningRate = 0.5;
  copyNetworkFrom(copy, source);
  EXPECT_EQ(copy.learningRate, 0.5); // the destination keeps its own
  mutate(copy);
  std::vector<double> before = allWeights(source), after = allWeights(copy);
  ASSERT_EQ(after.size(), before.size());
  int changed = 0;
  for (size_t k = 0; k < before.size(); ++k) {
    double steps = (after[k] - before[k]) / 0.5;
    EXPECT_TRUE(std::abs(steps - std::round(steps)) < 1e-9 && std::abs(steps) < 4.5) << steps;
    changed += steps != 0.0;
  }
  EXPECT_GT(changed, 10);
  EXPECT_EQ(allWeights(source), before); // the source is untouched
}

TEST(NetworkInput, BoardSurfaceHolesAndPieceFlags) {
  useCatalogue(sevenPieces());
  Board board = boardFromPicture({"#.........", "..........", "#.#......."});
  std::vector<int32_t> input = buildNetworkInput(board, 3);
  ASSERT_EQ(input.size(), 407u);
  std::vector<size_t> ones;
  for (size_t k = 0; k < input.size(); ++k)
    if (input[k]) ones.push_back(k);
  // Tops of columns 0 and 2, the hole under column 0's top, piece 3.
  EXPECT_EQ(ones, (std::vector<size_t>{17, 59, 218, 403}));
  std::vector<int32_t> last = buildNetworkInput(board, 7);
  EXPECT_EQ(std::count(last.begin() + 400, last.end(), 1), 0);
}

} // namespace
