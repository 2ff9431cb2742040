// The distiller's trainer learns: its steps bring the loss on a toy set down.
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

TEST(Trainer, AdamStepsOnTheBackwardPassBringTheLossDown) {
  std::mt19937_64 random(7);
  Trainer trainer = makeTrainer({6, 5, 4, 3}, random);
  PositionSet set = toyPositions();
  std::vector<uint32_t> rows = {0, 1, 2, 3};
  double before = batchLoss(trainer, set, rows.data(), 4, false);
  for (int s = 0; s < 200; ++s) {
    batchLoss(trainer, set, rows.data(), 4, true);
    adamStep(trainer, 0.01f);
  }
  EXPECT_LT(batchLoss(trainer, set, rows.data(), 4, false), before / 4);
}
