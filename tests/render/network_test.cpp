#include "canvas.h"

// Three layers of 2, 2 and 1 neurons; columns at x 700, 1000, 1300, rows at 316 and 583.
static Network smallNetwork() {
  Network network;
  network.layers.resize(3);
  for (int l = 0; l < 3; ++l)
    for (int j = 0; j < (l == 2 ? 1 : 2); ++j) network.layers[l].push_back({{}, 0.0, 0.0, l, j});
  network.layers[0][0].value = 1.0;
  network.layers[0][1].value = 0.7; // exactly 0.7 starts no line
  network.layers[1][0].connections = {{0, 20.0}, {1, 5.0}};
  network.layers[1][1].connections = {{0, -0.5}, {1, 5.0}};
  network.layers[2][0].connections = {{0, 30.0}, {1, 30.0}};
  return network;
}

TEST_F(Canvas, NetworkNodesAndConnectionLines) {
  drawNetwork(smallNetwork());
  // Nodes of 50 lit by value (1.0 white, 0.7 at 178, 0.0 black with a white edge); a weight of
  // 20 draws opaque green; the hidden values of 0 start no lines into the output.
  EXPECT_NEAR(pixel(700, 583).r, 178, 1);
  expectAt(whitePixel, {700, 316, 1275, 450});
  expectAt(blackPixel, {1300, 450, 1274, 450});
  expectAt(Rgb{0, 255, 0}, {850, 316});
  EXPECT_GT(extent({770, 370, 11, 25}, Rgb{7, 0, 0}).w, 0);  // weight -0.5: red of alpha 7
  EXPECT_EQ(count({770, 505, 11, 25}, blackPixel), 11 * 25); // nothing from the 0.7 source
}

TEST_F(Canvas, NetworkWithoutNodesOrLayersDrawsNothing) {
  Network wide;
  wide.layers.resize(1);
  wide.layers[0].resize(401); // node size 400 / 401 = 0
  for (Neuron& neuron : wide.layers[0]) neuron.value = 1.0;
  drawNetwork(wide);
  drawNetwork(Network{});
  EXPECT_EQ(count({990, 0, 20, 1000}, blackPixel), 20 * 1000);
  // On the training screen the network replaces the graph panel.
  gameMode = 3;
  showFitnessGraph = false;
  population = {smallNetwork()};
  drawFrame();
  expectAt(blackPixel, {1390, 60});
  expectAt(whitePixel, {700, 316});
}
