// The distiller's trainer: its gradients, and a distilled network's file read back by the game.
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

TEST(Trainer, BackwardPassMatchesFiniteDifferences) {
  std::mt19937_64 random(7);
  Trainer trainer = makeTrainer({6, 5, 4, 3}, random);
  PositionSet set = toyPositions();
  std::vector<uint32_t> rows = {0, 1, 2, 3};
  batchLoss(trainer, set, rows.data(), 4, true);
  std::vector<Eigen::MatrixXf> analytic = trainer.gradients;

  const float step = 1e-2f;
  int checked = 0;
  for (size_t l = 0; l < trainer.weights.size(); ++l) {
    for (int r = 0; r < trainer.weights[l].rows(); ++r) {
      for (int c = 0; c < trainer.weights[l].cols(); ++c) {
        float kept = trainer.weights[l](r, c);
        trainer.weights[l](r, c) = kept + step;
        double up = batchLoss(trainer, set, rows.data(), 4, false);
        trainer.weights[l](r, c) = kept - step;
        double down = batchLoss(trainer, set, rows.data(), 4, false);
        trainer.weights[l](r, c) = kept;
        double numeric = (up - down) / (2.0 * step);
        EXPECT_NEAR(analytic[l](r, c), numeric, 1e-3 + 1e-2 * std::abs(numeric))
            << "layer " << l << " weight " << r << "," << c;
        checked += 1;
      }
    }
  }
  EXPECT_EQ(checked, 6 * 5 + 5 * 4 + 4 * 3);

  // Adam steps on these gradients bring the loss down.
  double before = batchLoss(trainer, set, rows.data(), 4, true);
  for (int s = 0; s < 200; ++s) {
    batchLoss(trainer, set, rows.data(), 4, true);
    adamStep(trainer, 0.01f);
  }
  EXPECT_LT(batchLoss(trainer, set, rows.data(), 4, false), before / 4);
}
