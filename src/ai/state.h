// Artificial players' state: evaluation weights, networks, the bot's settings, the training
// run and what playing a replay back puts aside. Defined once in state.cpp. No SDL.
#pragma once

#include "game/state.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// ---------------------------------------------------------------------------------------------
// Records: a fully connected feed-forward network
// ---------------------------------------------------------------------------------------------

struct Connection {
  int32_t from;  // index of the source neuron in the previous layer (connection c: neuron c)
  double weight; // multiplies the source's value
};

struct Neuron {
  std::vector<Connection> connections; // one per neuron of the previous layer, in its order
  double value = 0.0;                  // output of the last forward pass
  double bias = 0.0;                   // added to the weighted sum
  int32_t layer = 0;                   // layer index in its network
  int32_t index = 0;                   // position in its layer
};

constexpr size_t packedBlock = 16; // neurons summed side by side by predict

// One layer's weights as predict reads them: for each block of packedBlock neurons, source by
// source, the block's weights side by side (zeros past the layer's last neuron).
struct PackedLayer {
  size_t sources = 0;          // neurons of the previous layer
  size_t neurons = 0;          // neurons of this layer
  std::vector<double> weights; // block, then source, then neuron within the block
  std::vector<double> biases;  // one per neuron, zeros past the last
};

struct Network {
  std::vector<std::vector<Neuron>> layers; // input layer first, output layer last
  double learningRate = 0.0;               // mutation step
  // The layers' weights packed for predict. feedForward and mutate pack them again; code that
  // changes weights any other way calls feedForward before the next predict.
  std::vector<PackedLayer> packed;
};

constexpr int actionCount = 44; // placements: actionOf(x, rotation) in ai.h

struct BoardColumns; // ai/placement.h
struct GridShape;    // ai/placement.h
// Another evaluation of a piece resting at (x, y): the laboratory's expert plugs in here, so
// the same search and action scoring serve it (see ai/placement.h).
using ShapeScore = double (*)(const BoardColumns& board, const GridShape& shape, int32_t x,
                              int32_t y);

// ---------------------------------------------------------------------------------------------
// Evaluation and the bot
// ---------------------------------------------------------------------------------------------

extern std::vector<std::vector<double>> fitnessParams; // set 0: hole, cliff, bumpiness, buried
extern Network botNetwork;       // the "Neural Network" level's player, from its file
extern double botMoveTimer;      // countdown to the bot's next action (shared by both players)
extern double botStepInterval;   // pause after each bot action
extern bool botStepwise;         // one small step per action, with a random extra pause
extern bool botUsesNetwork;      // placements come from botNetwork instead of the search
extern ShapeScore botShapeScore; // null: the search scores with the weights; else with this

// ---------------------------------------------------------------------------------------------
// Training settings (copied from the training set-up sliders)
// ---------------------------------------------------------------------------------------------

extern int32_t populationSize;     // networks per generation
extern double learningRate;        // mutation step of new networks
extern int32_t movesPerSubject;    // placements each subject plays
extern int32_t hiddenLayerCount;   // hidden layers per network
extern int32_t hiddenLayerNeurons; // neurons per hidden layer (each gets one more)

// ---------------------------------------------------------------------------------------------
// Training run
// ---------------------------------------------------------------------------------------------

extern std::vector<Network> population;        // one network per subject
extern int32_t currentSubject;                 // index of the subject playing
extern int32_t subjectMoveCount;               // placements made by the current subject
extern double trainingFitness;                 // running total of the current subject
extern int32_t trainingLinesCleared;           // lines cleared by the current subject
extern int32_t lastSubjectFitness;             // fitness of the subject that finished last
extern double highestFitness;                  // best subject fitness of the run
extern int32_t bestSubject;                    // subject kept as the elite
extern std::vector<int32_t> generationFitness; // fitness of each finished subject
extern std::vector<int64_t> selectionWeights;  // roulette weight of each finished subject
extern int64_t selectionWeightTotal;           // their sum (64-bit: squares of big fitness)
extern int32_t generation;                     // shown as "Gen:"
extern int32_t subjectNumber;                  // shown as "Subject:"
extern std::vector<double> averageHistory;     // average fitness of each finished generation
extern int32_t highestAverage, lowestAverage;  // the graph's vertical bounds
extern int64_t selectionSeed; // parent selection's seed; below 0 = the clock (tools fix it)

// ---------------------------------------------------------------------------------------------
// Saving the elite: at most one write a second, the player's old network kept aside first
// ---------------------------------------------------------------------------------------------

extern bool elitePending;         // population[0] is an elite not yet written to its file
extern double lastEliteSave;      // trainingClock() at the last write; below 0: none this run
extern bool previousNetworkKept;  // this run has copied the file's old network aside
extern double (*trainingClock)(); // seconds on a monotonic clock (tests put a fake one here)

// ---------------------------------------------------------------------------------------------
// Playing a replay back (ai/playback.h)
// ---------------------------------------------------------------------------------------------

// What startReplay replaces, put back by endReplay.
struct SavedSetup {
  bool saved = false;                               // startReplay has put a replay's in place
  std::vector<Piece> loadedPieces;                  // the player's loaded pieces
  std::vector<std::vector<double>> fitnessParams;   // the player's weights
  double botStepInterval = 0.0, botMoveTimer = 0.0; // the bot's pace
  bool botStepwise = false, botUsesNetwork = false; // and its way of playing
  int32_t soloVariant = 0;                          // marathon, sprint or ultra
};
extern SavedSetup savedSetup; // the player's own set-up while a replay plays
// A replay of a game played against another machine (gameMode onlineVersusMode): its frame
// goes through this hook, which online play sets, instead of the core's own step; stepped is
// clear for a frame that only re-seeded.
extern void (*onlineReplayStep)(bool stepped); // null: no online game can be played back
