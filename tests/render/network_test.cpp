#include "canvas.h"

// Three layers of 2, 2 and 1 neurons; columns at x 700, 1000, 1300.
static Network smallNetwork() {
  Network network;
  network.layers.resize(3);
  for (int l = 0; l < 3; ++l)
    for (int j = 0; j < (l == 2 ? 1 : 2); ++j) {
      Neuron neuron;
      neuron.layer = l;
      neuron.index = j;
      network.layers[l].push_back(neuron);
    }
  network.layers[0][0].value = 1.0;
  network.layers[0][1].value = 0.7; // exactly 0.7 starts no line
  network.layers[1][0].connections = {{0, 20.0}, {1, 5.0}};
  network.layers[1][1].connections = {{0, -0.5}, {1, 5.0}};
  network.layers[2][0].connections = {{0, 30.0}, {1, 30.0}};
  return network;
}

TEST_F(Canvas, NetworkNodesAndConnectionLines) {
  drawNetwork(smallNetwork());
  // Layers of 2: rows at 316 and 583, nodes of the maximum size 50.
  EXPECT_EQ(pixel(700, 316), whitePixel); // value 1.0: full white
  Rgb dim = pixel(700, 583);              // value 0.7: alpha 178
  EXPECT_NEAR(dim.r, 178, 1);
  EXPECT_EQ(pixel(1300, 450), blackPixel); // value 0.0: black with a white outline
  EXPECT_EQ(pixel(1275, 450), whitePixel);
  EXPECT_EQ(pixel(1274, 450), blackPixel);      // hidden neurons are 0: no lines into the output
  EXPECT_EQ(pixel(850, 316), (Rgb{0, 255, 0})); // weight 20: opaque green
  // Weight -0.5 from (700, 316) to (1000, 583): red of alpha 7.
  SDL_Rect red = extent({770, 370, 11, 25}, Rgb{7, 0, 0});
  EXPECT_GT(red.w, 0);
  // The source of value 0.7 draws nothing from (700, 583) to (1000, 316).
  EXPECT_EQ(count({770, 505, 11, 25}, blackPixel), 11 * 25);
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
  currentSubject = 0;
  drawFrame();
  EXPECT_EQ(pixel(1390, 60), blackPixel);
  EXPECT_EQ(pixel(700, 316), whitePixel);
}
