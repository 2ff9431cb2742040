// The distiller's trainer: its gradients, and its steps bring the loss on a toy set down.
#include "lab/trainer.h"

#include "ai/ai.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

// Positions of a 6-input toy: some with several right answers, one whose right answer is
// action 0 (which the fixed logit also stands for).
PositionSet toyPositions() {
  PositionSet set;
  addPosition(set, {1, 0, 1, 0, 0, 1}, 0b010);
  addPosition(set, {0, 1, 0, 0, 1, 0}, 0b101);
  addPosition(set, {1, 1, 0, 1, 0, 0}, 0b001);
  addPosition(set, {0, 0, 0, 1, 1, 1}, 0b110);
  return set;
}

} // namespace

TEST(Trainer, GradientsMatchFiniteDifferencesAndAdamStepsBringTheLossDown) {
  std::mt19937_64 random(7);
  Trainer trainer = makeTrainer({6, 5, 4, 3}, random);
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
      EXPECT_NEAR(analytic[l].data()[k], numeric, 1e-3 + 1e-2 * std::abs(numeric)) << l << " " << k;
    }
  for (int s = 0; s < 200; ++s) {
    loss(true);
    adamStep(trainer, 0.01f);
  }
  EXPECT_LT(loss(false), before / 4);
}
