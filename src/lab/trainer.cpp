// The distiller's trainer. The forward pass is the game's: hidden sums at or below zero are
// scaled by 0.1, outputs are linear, nothing is added to a sum. The loss is a softmax over the
// 44 outputs and one fixed logit of 0, which stands for the game's arg-max starting at 0.0 with
// action 0: the extra logit counts as a right answer exactly when action 0 is one.
#include "lab/trainer.h"

#include "ai/ai.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>

using Eigen::MatrixXf;

constexpr float leakSlope = 0.1f;

Trainer makeTrainer(const std::vector<int>& sizes, std::mt19937_64& random) {
  Trainer trainer;
  trainer.sizes = sizes;
  for (size_t l = 0; l + 1 < sizes.size(); ++l) {
    // The input layer is 0/1 and sparse: scale by the ones a position typically has, not by
    // all inputs, or the first layer starts out nearly silent.
    float fanIn = l == 0 ? 24.0f : static_cast<float>(sizes[l]);
    std::normal_distribution<float> draw(0.0f, std::sqrt(2.0f / fanIn));
    MatrixXf weights(sizes[l + 1], sizes[l]);
    for (int c = 0; c < weights.cols(); ++c)
      for (int r = 0; r < weights.rows(); ++r) weights(r, c) = draw(random);
    trainer.weights.push_back(weights);
    trainer.gradients.push_back(MatrixXf::Zero(sizes[l + 1], sizes[l]));
    trainer.firstMoments.push_back(MatrixXf::Zero(sizes[l + 1], sizes[l]));
    trainer.secondMoments.push_back(MatrixXf::Zero(sizes[l + 1], sizes[l]));
  }
  size_t layers = trainer.weights.size();
  trainer.sums.resize(layers);
  trainer.values.resize(layers);
  trainer.errors.resize(layers);
  return trainer;
}

double batchLoss(Trainer& trainer, const PositionSet& set, const uint32_t* rows, int count,
                 bool wantGradients) {
  const size_t layers = trainer.weights.size();
  // Forward. The first layer adds the weight columns of each position's ones.
  for (size_t l = 0; l < layers; ++l) {
    MatrixXf& sums = trainer.sums[l];
    sums.resize(trainer.sizes[l + 1], count);
    if (l == 0) {
      sums.setZero();
      for (int b = 0; b < count; ++b)
        for (uint32_t i = set.start[rows[b]]; i < set.start[rows[b] + 1]; ++i)
          sums.col(b) += trainer.weights[0].col(set.active[i]);
    } else {
      sums.noalias() = trainer.weights[l] * trainer.values[l - 1];
    }
    if (l + 1 < layers)
      trainer.values[l] = sums.unaryExpr([](float s) { return s <= 0.0f ? s * leakSlope : s; });
  }

  // Loss: minus the log of the probability given to the right answers.
  const MatrixXf& outputs = trainer.sums[layers - 1];
  MatrixXf& outputErrors = trainer.errors[layers - 1];
  outputErrors.resize(outputs.rows(), count);
  double loss = 0.0;
  const bool soft = trainer.temperature > 0.0f && !set.gaps.empty();
  std::array<double, actionCount> targets{};
  for (int b = 0; b < count; ++b) {
    uint64_t right = set.bestActions[rows[b]];
    float top = std::max(0.0f, outputs.col(b).maxCoeff());
    const double fixed = std::exp(-static_cast<double>(top)); // the fixed logit
    double total = fixed;
    double rightTotal = (right & 1) ? fixed : 0.0;
    for (int k = 0; k < outputs.rows(); ++k) {
      double e = std::exp(static_cast<double>(outputs(k, b) - top));
      outputErrors(k, b) = static_cast<float>(e);
      total += e;
      if (right >> k & 1) rightTotal += e;
    }
    if (!soft) {
      // Far-off right answers can underflow; keep the loss finite.
      rightTotal = std::max(rightTotal, 1e-300);
      loss -= std::log(rightTotal / total);
      // d(loss)/d(output k) = p_k - [k right] p_k / P(right), over the batch's mean.
      for (int k = 0; k < outputs.rows(); ++k) {
        double p = outputErrors(k, b) / total;
        double d = (right >> k & 1) ? p - p * total / rightTotal : p;
        outputErrors(k, b) = static_cast<float>(d / count);
      }
      continue;
    }
    // Each action a share of the answer by its gap; action 0 also owns the fixed logit.
    const float* gaps = &set.gaps[static_cast<size_t>(rows[b]) * actionCount];
    double targetTotal = 0.0;
    for (int k = 0; k < outputs.rows(); ++k)
      targetTotal += targets[k] = std::exp(-static_cast<double>(gaps[k] / trainer.temperature));
    for (int k = 0; k < outputs.rows(); ++k) {
      double target = targets[k] / targetTotal;
      double e = outputErrors(k, b) + (k == 0 ? fixed : 0.0);
      if (target > 0.0) loss -= target * std::log(std::max(e, 1e-300) / total);
      // d(loss)/d(output k) = p_k - target_k, action 0's target scaled by its own logit's share.
      double p = outputErrors(k, b) / total;
      double d = k == 0 ? p - target * outputErrors(k, b) / e : p - target;
      outputErrors(k, b) = static_cast<float>(d / count);
    }
  }
  if (!wantGradients) return loss / count;

  // Backward.
  for (size_t l = layers; l-- > 0;) {
    const MatrixXf& errors = trainer.errors[l];
    if (l > 0) {
      trainer.gradients[l].noalias() = errors * trainer.values[l - 1].transpose();
      MatrixXf& below = trainer.errors[l - 1];
      below.noalias() = trainer.weights[l].transpose() * errors;
      below = below.binaryExpr(trainer.sums[l - 1],
                               [](float e, float s) { return s <= 0.0f ? e * leakSlope : e; });
    } else {
      MatrixXf& gradient = trainer.gradients[0];
      gradient.setZero();
      for (int b = 0; b < count; ++b)
        for (uint32_t i = set.start[rows[b]]; i < set.start[rows[b] + 1]; ++i)
          gradient.col(set.active[i]) += errors.col(b);
    }
  }
  return loss / count;
}

void adamStep(Trainer& trainer, float learningRate) {
  constexpr float beta1 = 0.9f, beta2 = 0.999f, epsilon = 1e-8f;
  trainer.steps += 1;
  float correction1 = 1.0f - std::pow(beta1, static_cast<float>(trainer.steps));
  float correction2 = 1.0f - std::pow(beta2, static_cast<float>(trainer.steps));
  float step = learningRate * std::sqrt(correction2) / correction1;
  for (size_t l = 0; l < trainer.weights.size(); ++l) {
    const MatrixXf& gradient = trainer.gradients[l];
    trainer.firstMoments[l] = beta1 * trainer.firstMoments[l] + (1.0f - beta1) * gradient;
    trainer.secondMoments[l] =
        beta2 * trainer.secondMoments[l] + (1.0f - beta2) * gradient.cwiseProduct(gradient);
    trainer.weights[l].array() -= step * trainer.firstMoments[l].array() /
                                  (trainer.secondMoments[l].array().sqrt() + epsilon);
  }
}

// A weight as the file's "%f" writes it and the loader reads it back.
static double asStored(double weight) {
  char text[512];
  auto written = std::to_chars(text, text + sizeof text - 1, weight, std::chars_format::fixed, 6);
  *written.ptr = '\0';
  return std::strtod(text, nullptr);
}

Network trainerNetwork(const Trainer& trainer) {
  Network network;
  network.layers.resize(trainer.sizes.size());
  for (size_t l = 0; l < trainer.sizes.size(); ++l) {
    network.layers[l].resize(static_cast<size_t>(trainer.sizes[l]));
    for (size_t k = 0; k < network.layers[l].size(); ++k) {
      Neuron& neuron = network.layers[l][k];
      neuron.layer = static_cast<int32_t>(l);
      neuron.index = static_cast<int32_t>(k);
      if (l == 0) continue;
      const MatrixXf& weights = trainer.weights[l - 1];
      neuron.connections.resize(static_cast<size_t>(weights.cols()));
      for (int c = 0; c < weights.cols(); ++c)
        neuron.connections[c] = {c, asStored(weights(static_cast<int>(k), c))};
    }
  }
  feedForward(network);
  return network;
}
