// The genetic training run: subjects play on player 1's board, the fittest breed.
#include "ai/ai.h"
#include "game/game.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

namespace {

const char* const previousNetworkPath = "Storage/BestNeuralNet.previous.txt";
constexpr double trainingTopOutPenalty = 2000.0;
constexpr double trainingRowReward = 20000.0;
constexpr double secondsBetweenSaves = 1.0;

// A run's first save would replace the network the player may have trained for hours: the
// file as it was goes aside first, into the archive and as the previous copy. Without those
// copies the file is not touched.
bool keepPreviousNetwork() {
  if (previousNetworkKept) return true;
  std::string failure;
  if (!archiveNetworkFile(bestNetworkPath, networkArchiveFolder, &failure)) {
    std::fprintf(stderr, "Brikka: could not save %s; %s is left as it was\n", failure.c_str(),
                 bestNetworkPath);
    return false;
  }
  std::string text, error;
  if (readFileLimited(bestNetworkPath, networkFileLimit, &text, &error)) {
    if (!writeFileAtomically(previousNetworkPath, text, &error)) {
      std::fprintf(stderr, "Brikka: could not save %s; %s is left as it was\n", error.c_str(),
                   bestNetworkPath);
      return false;
    }
  } else if (errno != ENOENT) {
    // A folder, a device or a huge file in its place: nothing there is worth keeping, but
    // nothing may be written over it either.
    std::fprintf(stderr, "Brikka: could not keep %s; it is left as it was\n", error.c_str());
    return false;
  }
  previousNetworkKept = true;
  return true;
}

} // namespace

void savePendingElite() {
  if (!elitePending || population.empty()) return;
  // A failed attempt counts too, so a read-only folder is retried once a second, not per frame.
  lastEliteSave = trainingClock();
  if (!keepPreviousNetwork()) return;
  std::string error;
  if (!saveNetwork(population[0], bestNetworkPath, &error)) {
    std::fprintf(stderr, "Brikka: could not save %s\n", error.c_str());
    return;
  }
  elitePending = false;
}

void startTrainingRun() {
  savePendingElite(); // the last run's elite, should it still wait
  elitePending = false;
  lastEliteSave = -1.0;
  previousNetworkKept = false;
  population.clear();
  // Without subjects or moves there is nothing to run; an empty population reads as idle.
  if (populationSize < 1 || movesPerSubject < 1) return;
  int32_t inputCount = static_cast<int32_t>(networkInputCount(pieceCatalogue.size()));
  for (int32_t k = 0; k < populationSize; ++k)
    population.push_back(
        createNetwork(inputCount, actionCount, learningRate, hiddenLayerCount, hiddenLayerNeurons));
  clearTrainingRecords();
}

void clearTrainingRecords() {
  averageHistory.clear();
  highestAverage = -100;
  lowestAverage = 500;
  highestFitness = 0.0;
  trainingFitness = 0.0;
  bestSubject = 0;
  currentSubject = 0;
  generation = 1;
  subjectNumber = 1;
  selectionWeightTotal = 0;
  generationFitness.clear();
  selectionWeights.clear();
  subjectMoveCount = 0;
  trainingLinesCleared = 0;
}

// The last generation, parents of the next. The two lists trade places at every generation
// end, so the new population is copied into storage that already has the right shape.
static std::vector<Network> parents;

int32_t rouletteParent(std::mt19937& generator) {
  int64_t r = static_cast<int64_t>(static_cast<uint64_t>(generator()) %
                                   static_cast<uint64_t>(selectionWeightTotal));
  for (size_t k = 0; k < selectionWeights.size(); ++k) {
    r -= selectionWeights[k] > 0 ? selectionWeights[k] : 0;
    if (r <= 0) return static_cast<int32_t>(k);
  }
  return 0;
}

void recordGenerationAverage() {
  int64_t sum = 0;
  for (int32_t f : generationFitness) sum += f;
  int32_t average = static_cast<int32_t>(sum / static_cast<int64_t>(generationFitness.size()));
  averageHistory.push_back(average);
  if (average > highestAverage) highestAverage = average;
  if (average < lowestAverage) lowestAverage = average;
}

void beginNextGeneration() {
  generation += 1;
  selectionWeightTotal = 0;
  generationFitness.clear();
  selectionWeights.clear();
  currentSubject = 0;
  bestSubject = 0;
}

static void finishGeneration() {
  recordGenerationAverage();

  parents.swap(population);
  population.resize(parents.size());
  for (size_t k = 0; k < population.size(); ++k)
    population[k].learningRate = parents[k].learningRate;
  copyNetworkFrom(population[0], parents[bestSubject]);
  // Tiny runs end a generation every frame: the elite waits until a second has passed since
  // the last write (population[0] stays this elite until the next generation end).
  elitePending = true;
  if (lastEliteSave < 0.0 || trainingClock() - lastEliteSave >= secondsBetweenSaves)
    savePendingElite();

  auto now = std::chrono::steady_clock::now().time_since_epoch();
  int64_t seed = std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
  if (selectionSeed >= 0) seed = selectionSeed;
  std::mt19937 generator(static_cast<uint32_t>(seed));
  for (size_t i = 1; i < population.size(); ++i) {
    // The first subject's weight is at least 2401, so the total is never zero here.
    copyNetworkFrom(population[i], parents[rouletteParent(generator)]);
    mutate(population[i]);
  }
  beginNextGeneration();
}

void recordSubjectFitness(double fitness, int32_t subject) {
  lastSubjectFitness = truncatedScore(fitness);
  generationFitness.push_back(lastSubjectFitness);
  double base = fitness - generationFitness[0] + 50.0;
  // Capped so that the total of any population stays far inside 64 bits.
  int64_t weight = base >= 0.0 ? static_cast<int64_t>(std::min(base * base, 1e15)) : 0;
  selectionWeights.push_back(weight);
  selectionWeightTotal += weight;
  if (fitness > highestFitness) {
    highestFitness = fitness;
    bestSubject = subject;
  }
}

static void finishSubject() {
  subjectMoveCount = 0;
  recordSubjectFitness(trainingFitness / movesPerSubject, currentSubject);
  trainingLinesCleared = 0;
  trainingFitness = 0.0;
  currentSubject += 1;
  subjectNumber = currentSubject;
  if (currentSubject >= static_cast<int32_t>(population.size())) finishGeneration();
}

void moveToAction(int32_t action) {
  p1Rotation = actionRotation(action);
  p1Position.y = 0;
  int32_t distance = actionColumn(action) - p1Position.x;
  int32_t direction = distance >= 0 ? 1 : -1;
  for (int32_t attempt = 0; attempt < std::abs(distance); ++attempt)
    if (pieceFits(1, currentGrid(1), direction, 0)) p1Position.x += direction;
  // The row limit only matters for a grid without blocks, which would fit at any depth.
  while (p1Position.y < boardHeight && pieceFits(1, currentGrid(1), 0, 1)) p1Position.y += 1;
}

static std::vector<int32_t> trainingInput;

void playTrainingMove(Network& subject) {
  fillNetworkInput(p1Board, p1PieceId, trainingInput);
  int32_t action = predict(subject, trainingInput);

  moveToAction(action);

  double netScore = evaluatePlacement(1, p1PieceId, p1Rotation, p1Position);
  double best = searchBestPlacement(1).score;
  // In floating point: whole numbers, so exact, and no overflow however large the weights.
  trainingFitness += 5.0 * (std::trunc(netScore) - std::trunc(best) + 100.0);
  LockOutcome lock = lockPiece(1);
  // Lost games cost and cleared rows pay, in the training run alone (the lab's runs set it too).
  if (gameMode != trainingMode) return;
  if (lock.toppedOut) trainingFitness -= trainingTopOutPenalty;
  if (lock.rowsCleared > 0) {
    trainingLinesCleared += lock.rowsCleared;
    trainingFitness += trainingRowReward * lock.rowsCleared;
  }
}

void trainingStep() {
  if (movesPerSubject < 1 || currentSubject < 0 ||
      currentSubject >= static_cast<int32_t>(population.size()))
    return;
  playTrainingMove(population[currentSubject]);

  subjectMoveCount += 1;
  if (subjectMoveCount >= movesPerSubject) p1GameOver = true;
  if (!p1GameOver) return;
  // A lost game before the moves ran out: the same subject plays on, on cleared boards.
  if (subjectMoveCount < movesPerSubject) {
    resetBoards(0);
    p1GameOver = false;
    return;
  }
  finishSubject();
  resetBoards(0);
  p1GameOver = false;
}
