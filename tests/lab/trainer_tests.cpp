// The distiller's trainer: its gradients, and its steps bring the loss on a toy set down.
#include "lab/trainer.h"

#include "ai/ai.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

// Positions of a 6-input toy: some with several right answers, one whose right answer is
// action 0 (which the fixed logit also stands for); the other actions a gap or two below.
PositionSet toyPositions() {
  PositionSet set;
  set.keepGaps = true;
  auto add = [&](std::vector<int32_t> input, uint64_t best) {
    float gaps[actionCount];
    for (int32_t a = 0; a < actionCount; ++a) gaps[a] = best >> a & 1 ? 0.0f : 0.5f + a;
    addPosition(set, input, best, gaps);
  };
  add({1, 0, 1, 0, 0, 1}, 0b010);
  add({0, 1, 0, 0, 1, 0}, 0b101);
  add({1, 1, 0, 1, 0, 0}, 0b001);
  add({0, 0, 0, 1, 1, 1}, 0b110);
  return set;
}

} // namespace

// With hard answers, and with answers spread by the gaps.
TEST(Trainer, GradientsMatchFiniteDifferencesAndAdamStepsBringTheLossDown) {
  for (float temperature : {0.0f, 1.0f}) {
    SCOPED_TRACE(temperature);
    std::mt19937_64 random(7);
    Trainer trainer = makeTrainer({6, 5, 4, 3}, random);
    trainer.temperature = temperature;
    PositionSet set = toyPositions();
    std::vector<uint32_t> rows = {0, 1, 2, 3};
    auto loss = [&](bool gradients) { return batchLoss(trainer, set, rows.data(), 4, gradients); };
    const double before = loss(true);
    const std::vector<Eigen::MatrixXf> analytic = trainer.gradients;
    for (size_t l = 0; l < trainer.weights.size(); ++l)
      for (Eigen::Index k = 0; k < trainer.weights[l].size(); ++k) {
        float& weight = trainer.weights[l].data()[k];
        const float kept = weight;
        weight = kept + 1e-2f;
        const double up = loss(false);
        weight = kept - 1e-2f;
        const double numeric = (up - loss(false)) / 2e-2;
        weight = kept;
        EXPECT_NEAR(analytic[l].data()[k], numeric, 1e-3 + 1e-2 * std::abs(numeric))
            << l << " " << k;
      }
    for (int s = 0; s < 200; ++s) {
      loss(true);
      adamStep(trainer, 0.01f);
    }
    // The soft targets' own spread is a floor the loss cannot go under; either way the network
    // the file gets now picks a best action everywhere.
    EXPECT_LT(loss(false), temperature > 0.0f ? before * 0.85 : before / 4);
    Network network = trainerNetwork(trainer);
    EXPECT_EQ(agreement(network, set), 1.0);
    if (temperature == 0.0f) continue;
    // Spread answers also rank the misses: where action 2 falls furthest short, it scores lowest.
    std::vector<int32_t> input;
    for (size_t k : {size_t{0}, size_t{2}}) {
      positionInput(set, k, input);
      predict(network, input);
      const std::vector<Neuron>& outputs = network.layers.back();
      EXPECT_LT(outputs[2].value, std::min(outputs[0].value, outputs[1].value)) << k;
    }
  }
}
