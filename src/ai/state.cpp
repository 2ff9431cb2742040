// Definitions of the artificial players' state, with the values in force before start-up.
#include "ai/state.h"

#include <chrono>

std::vector<std::vector<double>> fitnessParams;
Network botNetwork;
double botMoveTimer = 10.0;
double botStepInterval = 10.0;
bool botStepwise = true;
bool botUsesNetwork = false;
ShapeScore botShapeScore = nullptr;

int32_t populationSize = 20;
double learningRate = 0.01;
int32_t movesPerSubject = 100;
int32_t hiddenLayerCount = 2;
int32_t hiddenLayerNeurons = 64;

std::vector<Network> population;
int32_t currentSubject = 0;
int32_t subjectMoveCount = 0;
double trainingFitness = 0.0;
int32_t trainingLinesCleared = 0;
int32_t lastSubjectFitness = 0;
double highestFitness = 0.0;
int32_t bestSubject = 0;
std::vector<int32_t> generationFitness;
std::vector<int64_t> selectionWeights;
int64_t selectionWeightTotal = 0;
int32_t generation = 1;
int32_t subjectNumber = 1;
std::vector<double> averageHistory;
int32_t highestAverage = -100, lowestAverage = 500;
int64_t selectionSeed = -1;

namespace {
double steadySeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}
} // namespace

bool elitePending = false;
double lastEliteSave = -1.0;
bool previousNetworkKept = false;
double (*trainingClock)() = steadySeconds;

SavedSetup savedSetup;
void (*onlineReplayStep)(bool stepped) = nullptr;
