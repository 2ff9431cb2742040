// The distiller's trainer: the game's network form (leaky hidden layers, linear outputs, no
// biases) in dense single-precision algebra, taught by softmax cross-entropy and Adam.
#pragma once

#include "lab/lab.h"

#include <Eigen/Dense>

#include <cstdint>
#include <random>
#include <vector>

struct Trainer {
  std::vector<int> sizes;                     // neurons per layer, input layer first
  std::vector<Eigen::MatrixXf> weights;       // weights[l]: layer l+1 (rows) from layer l (columns)
  std::vector<Eigen::MatrixXf> gradients;     // of the mean loss of the last batch
  std::vector<Eigen::MatrixXf> firstMoments;  // Adam's running mean of the gradients
  std::vector<Eigen::MatrixXf> secondMoments; // Adam's running mean of their squares
  int64_t steps = 0;                          // Adam steps taken
  float temperature = 0.0f; // above 0, targets spread over the actions by their gaps (see distill)
  // Scratch of the last batch, one matrix a non-input layer (a column a position).
  std::vector<Eigen::MatrixXf> sums, values, errors;
};

// Random weights drawn for a leaky network of these layer sizes (He scaling).
Trainer makeTrainer(const std::vector<int>& sizes, std::mt19937_64& random);
// Mean loss of the count positions of set whose indices rows lists; with wantGradients the
// gradients of that mean are left in trainer.gradients.
double batchLoss(Trainer& trainer, const PositionSet& set, const uint32_t* rows, int count,
                 bool wantGradients);
void adamStep(Trainer& trainer, float learningRate); // one update from trainer.gradients
// The trainer's network in the game's form, every weight rounded as the file stores it, so
// that what is measured on it is what a player loading the file gets.
Network trainerNetwork(const Trainer& trainer);
