#include "ai/ai.h"
#include "canvas.h"

TEST_F(Canvas, NetworkNodesLinesAndTheEmptyCases) {
  // Three layers of 2, 2 and 1 neurons; columns at x 700, 1000, 1300, rows at 316 and 583.
  Network network = createNetwork(2, 1, 0.01, 1, 1);
  network.layers[0][0].value = 1.0;
  network.layers[0][1].value = 0.7; // exactly 0.7 starts no line
  network.layers[1][0].connections = {{0, 20.0}, {1, 5.0}};
  network.layers[1][1].connections = {{0, -0.5}, {1, 5.0}};
  network.layers[2][0].connections = {{0, 30.0}, {1, 30.0}};
  // On the training screen, with the graph switched off, the network replaces the panel.
  gameMode = trainingMode;
  showFitnessGraph = false;
  population = {network};
  drawFrame();
  // Nodes of 50 lit by value (1.0 white, 0.7 at 178, 0.0 black with a white edge); a weight of
  // 20 draws opaque green; the hidden values of 0 start no lines into the output.
  EXPECT_NEAR(pixel(700, 583)[0], 178, 1);
  expectAt(whitePixel, {700, 316, 1275, 450});
  expectAt(blackPixel, {1300, 450, 1274, 450, 1390, 60});
  expectAt(Rgb{0, 255, 0}, {850, 316});
  EXPECT_GT(extent({770, 370, 11, 25}, Rgb{7, 0, 0}).w, 0);  // weight -0.5: red of alpha 7
  EXPECT_EQ(count({770, 505, 11, 25}, blackPixel), 11 * 25); // nothing from the 0.7 source
  // The picture is kept between frames and redrawn a tenth of a second later at the latest.
  population[0].layers[0][1].value = 1.0;
  SDL_Delay(100);
  drawFrame();
  EXPECT_EQ(pixel(700, 583), whitePixel);
  // No layers, or a layer of 401 (node size 400 / 401 = 0): nothing drawn.
  clear();
  network.layers.resize(1);
  network.layers[0].assign(401, {{}, 1.0, 0.0, 0, 0});
  drawNetwork(network);
  drawNetwork(Network{});
  EXPECT_EQ(count({990, 0, 20, 1000}, blackPixel), 20 * 1000);
}
