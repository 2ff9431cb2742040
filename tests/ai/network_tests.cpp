#include "players.h"

#include <cmath>

TEST(Network, CreateMutateSaveAndLoadBack) {
  // Two hidden layers of the setting plus one neuron; weights of two decimals within +-2.
  Network created = createNetwork(5, 44, 0.25, 2, 3), network;
  std::string path = scratchPath("network.txt");
  ASSERT_TRUE(saveNetwork(created, path));
  std::string text = readFile(path);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + 4 + 4 + 44);
  EXPECT_EQ(text.substr(0, 10), "5,4,4,44,\n");
  std::vector<double> before = allWeights(created);
  for (double w : before) {
    EXPECT_LE(std::abs(w), 2.0);
    EXPECT_NEAR(w * 100, std::round(w * 100), 1e-9);
  }
  // A copy mutates by its own learning rate, in whole steps of at most four; the source stays.
  network.learningRate = 0.5;
  copyNetworkFrom(network, created);
  mutate(network);
  std::vector<double> after = allWeights(network);
  int changed = 0;
  double largest = 0.0;
  for (size_t k = 0; k < before.size(); ++k) {
    double steps = (after.at(k) - before[k]) / 0.5;
    EXPECT_NEAR(steps, std::round(steps), 1e-9);
    EXPECT_LT(std::abs(steps), 4.5);
    changed += steps != 0.0;
    largest = std::max(largest, std::abs(std::round(steps)));
  }
  EXPECT_GT(changed, 50);
  EXPECT_EQ(largest, 4.0);
  // Biases move by one step or stay.
  int biasesMoved = 0;
  for (size_t l = 1; l < network.layers.size(); ++l)
    for (const Neuron& neuron : network.layers[l]) {
      EXPECT_EQ(std::abs(neuron.bias) * (std::abs(neuron.bias) - 0.5), 0.0) << neuron.bias;
      biasesMoved += neuron.bias != 0.0;
    }
  EXPECT_GT(biasesMoved, 10);
  EXPECT_EQ(allWeights(created), before);
  // A private stream mutates and leaves rand() be (it draws as rand() does: the replay tests).
  Network streamed = network;
  RandomStream stream;
  seedStream(stream, 77);
  seedRandom(5);
  int32_t untouched = randomDraw();
  seedRandom(5);
  mutate(streamed, stream);
  EXPECT_EQ(randomDraw(), untouched);
  EXPECT_NE(allWeights(streamed), allWeights(network));
  // Weights come back to six decimals, biases as zero.
  network.layers[1][0].connections[0].weight = -1.2345678;
  network.layers[2][1].bias = 0.75;
  ASSERT_TRUE(saveNetwork(network, path));
  EXPECT_EQ(readFile(path).substr(10, 10), "-1.234568,");
  ASSERT_TRUE(loadNetwork(path));
  after = allWeights(network);
  std::vector<double> loaded = allWeights(botNetwork);
  ASSERT_EQ(loaded.size(), after.size());
  for (size_t k = 0; k < after.size(); ++k) EXPECT_NEAR(loaded[k], after[k], 5e-7);
  EXPECT_EQ(botNetwork.layers[2][1].bias, 0.0);
  EXPECT_FALSE(saveNetwork(network, testing::TempDir() + "ai_no/such/folder/net.txt"));
}

TEST(Network, MalformedFilesLeaveTheBotNetworkEmpty) {
  std::string path = scratchPath("bad.txt");
  ASSERT_TRUE(saveNetwork(createNetwork(407, 44, 0.1, 2, 32), path));
  const std::string whole = readFile(path);
  // Sizes that would ask for gigabytes are refused at line 1, before any memory is taken; a
  // file cut anywhere (even just before its last comma or line feed) is refused too.
  for (const std::string& text : std::vector<std::string>{
           "", "abc,\n", "3,0,2,\n", "3,\n1,2,3,\n", "2,1,\n0.5,x,\n", "2,1,\n0.5,0.25,0.125,\n",
           "2,1,\n0.5,nan,\n", "100000,100000,", "9,9,9,9,9,9,9,9,9,9,9,9,99999,\n",
           "2,1,\n0.5,0.25", "2,1,\n0.5,0.25,", "2,0,\n", whole.substr(0, 3000),
           whole.substr(0, whole.size() - 1)}) {
    botNetwork = createNetwork(2, 1, 0.0, 0, 0);
    std::ofstream(path) << text;
    expectOneLineNaming(errorsOf([&] { EXPECT_FALSE(loadNetwork(path)) << text.substr(0, 40); }),
                        path);
    EXPECT_TRUE(botNetwork.layers.empty()) << text.substr(0, 40);
  }
  std::ofstream(path) << "9,9,9,9,9,9,9,9,9,9,9,9,99999,\n"; // few weights, too many neurons
  EXPECT_NE(errorsOf([&] { loadNetwork(path); }).find("line 1: more than"), std::string::npos);
  std::ofstream(path) << whole;
  EXPECT_TRUE(loadNetwork(path));
}

TEST(Network, LeakyHiddenLinearOutputAndArgMax) {
  Network network = createNetwork(1, 2, 0.0, 1, 0); // 1 input, 1 hidden neuron, 2 outputs
  network.layers[1][0].connections[0].weight = -2.0;
  network.layers[2][0].connections[0].weight = 10.0;
  network.layers[2][1].connections[0].weight = 20.0;
  feedForward(network);                // weights changed by hand
  EXPECT_EQ(predict(network, {1}), 0); // every output negative
  EXPECT_DOUBLE_EQ(network.layers[1][0].value, -0.2);
  EXPECT_DOUBLE_EQ(network.layers[2][0].value, -2.0);
  network.layers[2][0].connections[0].weight = -10.0;
  network.layers[2][1].connections[0].weight = -10.0;
  feedForward(network);
  EXPECT_EQ(predict(network, {1}), 0); // equal positive maxima: the lower index
  network.layers[2][1].bias = 0.5;
  feedForward(network);
  EXPECT_EQ(predict(network, {1, 1, 1}), 1); // values beyond the input layer are dropped
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
  EXPECT_EQ(buildNetworkInput(board, 6)[406], 1);
  input = buildNetworkInput(board, 7); // the last piece sets no flag
  EXPECT_EQ(std::count(input.begin() + 400, input.end(), 1), 0);
}
