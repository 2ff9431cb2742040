// Artificial players: evaluation, search, network, bot turn and training, in that order.
// State lives in state.h. Nothing here touches SDL.
#pragma once

#include "ai/state.h"
#include "game/state.h"

#include <random>
#include <string>

struct RandomStream; // game/game.h

// An action names a placement: the column of the piece grid's column 0 (-1..9) and a rotation
// (0..3), as the network's outputs count them.
constexpr int32_t actionColumns = 11;
constexpr int32_t actionOf(int32_t column, int32_t rotation) {
  return (column + 1) + actionColumns * rotation;
}
constexpr int32_t actionColumn(int32_t action) {
  return action % actionColumns - 1;
}
constexpr int32_t actionRotation(int32_t action) {
  return action / actionColumns;
}

// The network reads the board's surface and holes, a flag for each cell, then one flag per piece.
constexpr size_t networkInputCount(size_t pieceCount) {
  return 2 * boardWidth * boardHeight + pieceCount;
}

// The "Neural Network" level's player, which every generation's elite replaces.
constexpr const char* bestNetworkPath = "Storage/BestNeuralNet.txt";

// ---------------------------------------------------------------------------------------------
// Placement evaluation
// ---------------------------------------------------------------------------------------------

// Score of the player's board with the piece stamped at position; -1000.0 if a block is off
// the board. Never changes game state.
double evaluatePlacement(int32_t player, int32_t pieceId, int32_t rotation, Point position);
// Fills fitnessParams: ten random sets, set 0 replaced by the file (or the built-in weights
// when the file is missing or malformed, with one line on standard error).
void loadFitnessParams(const std::string& path = "Storage/BestFitnessParams.txt");
// The weights of a file in that format; an empty string, or what is wrong with the file.
std::string readFitnessWeights(const std::string& path, std::vector<double>& values);

// One line of a weights file: an empty string and the value, or what is wrong with the line.
std::string readWeightLine(const std::string& line, int lineNumber, double& value);

// A score truncated toward zero into an int32; scores past its range (possible with large
// weights) stop at its ends instead of overflowing.
int32_t truncatedScore(double score);

// ---------------------------------------------------------------------------------------------
// Move search
// ---------------------------------------------------------------------------------------------

struct PlacementChoice {
  int32_t x = 0;          // column of the grid's column 0, -1..9
  int32_t rotation = 0;   // rotation index 0..3
  double score = -1000.0; // evaluation of the placement; -1000.0 when nothing was found
};

// Best straight-drop placement of the player's piece: {x, r}, or {score} when wantScore.
std::vector<int32_t> findBestPlacement(int32_t player, bool wantScore);
// The same search without a result list, for the bot and the training run.
PlacementChoice searchBestPlacement(int32_t player);

// ---------------------------------------------------------------------------------------------
// Neural network
// ---------------------------------------------------------------------------------------------

// Layers of the given sizes (a hidden layer gets one neuron more, the bias), weights drawn at
// random.
Network createNetwork(int32_t inputCount, int32_t outputCount, double learningRate,
                      int32_t hiddenLayers, int32_t neuronsPerHiddenLayer);
// The plain pass over the layers' weights, which also packs them for predict: call it after
// changing weights by hand.
void feedForward(Network& network);
int32_t predict(Network& network, const std::vector<int32_t>& input); // action index 0..43
void mutate(Network& network);
void mutate(Network& network, RandomStream& stream); // the same, drawing from stream
void copyNetworkFrom(Network& destination, const Network& source);
// Writes the network file atomically; on failure error (when given) is "path: reason".
bool saveNetwork(const Network& network, const std::string& path, std::string* error = nullptr);
// Replaces botNetwork's layers by the file's network. A missing or malformed file leaves
// botNetwork empty, prints one line on standard error and returns false.
bool loadNetwork(const std::string& path);
// Reads a network file into network (learning rate kept); an empty string, or what is wrong.
std::string readNetworkFile(const std::string& path, Network& network);

// The archive of networks (archive.cpp): the player's earlier networks and the shipped one.
constexpr const char* networkArchiveFolder = "Storage/networks";
constexpr const char* shippedNetworkName = "Shipped"; // Shipped.txt, refreshed at every start
constexpr size_t archivedNetworkLimit = 20;           // the newest kept besides the shipped one
// Copies the network file at path into folder, named by the date and its layer sizes, unless an
// identical file is there; then removes the oldest beyond the limit. A missing file needs no
// copy (true); a failed copy is false, with error (when given) saying why.
bool archiveNetworkFile(const std::string& path, const std::string& folder, std::string* error);
// The newest archived networks (at most the limit), newest first, then Shipped when it is there.
std::vector<std::string> archivedNetworks(const std::string& folder);
// The name of the archived network whose file holds exactly text, or an empty string.
std::string archivedNetworkMatching(const std::string& text, const std::string& folder);
std::string networkLayerSizes(const std::string& text); // "407-129-44" from a network file's text

std::vector<int32_t> buildNetworkInput(const Board& board, int32_t pieceId);
// The same encoding into a caller's vector, which keeps its storage from call to call.
void fillNetworkInput(const Board& board, int32_t pieceId, std::vector<int32_t>& input);

// ---------------------------------------------------------------------------------------------
// Bot turn and training
// ---------------------------------------------------------------------------------------------

// One frame of play as the window and a replay run it: the rules' own step, and in a versus-bot
// game player 1's step, the computer's turn for player 2, then the frame's end.
void advanceBotPlay();
void botTurn(int32_t player); // one frame of the computer's play for that player
void startTrainingRun();      // a fresh population and run state
void trainingStep();          // one placement of the current subject
// Writes an elite that a generation end left unsaved (the last save was under a second ago):
// called on leaving the training screen and on quitting.
void savePendingElite();
// The run's steps, shared with the laboratory's headless run.
void clearTrainingRecords();             // generation 1, no fitness, averages or best yet
void playTrainingMove(Network& subject); // one placement of subject on player 1's board, rewarded
void recordSubjectFitness(double fitness, int32_t subject); // its roulette weight; the run's best
void recordGenerationAverage();                             // averageHistory and the graph's bounds
int32_t rouletteParent(std::mt19937& generator); // a parent index drawn by selectionWeights
void beginNextGeneration();                      // generation + 1, the generation's lists empty
// Player 1's piece turned and slid from where it is towards an action's column, then dropped
// (not locked): how the training run carries out a network's choice.
void moveToAction(int32_t action);
// The score evaluatePlacement gives each action carried out as moveToAction does, from where
// player 1's piece stands; the piece is not moved.
void scoreEveryAction(double scores[actionCount]);
