// What every subcommand shares: finding and loading the data, playing a game, reporting.
#include "lab/lab.h"

#include "lab/state.h"
#include <CLI/CLI.hpp>

#include "ai/ai.h"
#include "ai/placement.h"
#include "game/game.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

void addDataOptions(CLI::App& command, DataOptions& options) {
  command.add_option("--data", options.dataFolder,
                     "folder holding Storage/ (default: the game's runtime folder, else the "
                     "build's data folder)");
  command.add_option("--pieces", options.pieces, "default (four-block pieces) or all")
      ->check(CLI::IsMember({"default", "all"}));
  command.add_option("--weights", options.weightsFile,
                     "evaluation weights (default: Storage/BestFitnessParams.txt)");
  command.add_option("--expert-weights", options.expertWeightsFile,
                     "expert evaluation weights (default: Storage/ExpertWeights.txt)");
}

std::string findDataFolder(const std::string& requested) {
  auto holdsStorage = [](const std::string& folder) {
    std::error_code error;
    return !folder.empty() && fs::is_directory(fs::path(folder) / "Storage", error);
  };
  if (!requested.empty()) {
    if (!holdsStorage(requested)) throw LabError{requested + ": no Storage folder there"};
    return requested;
  }
  for (const std::string& folder : {runtimeFolder(), std::string(BRIKKA_BUILD_DATA_DIR)})
    if (holdsStorage(folder)) return folder;
  throw LabError{"no data folder found; name one with --data"};
}

void loadLabData(const DataOptions& options) {
  std::string folder = findDataFolder(options.dataFolder);
  loadedPieces.clear();
  pieceSelection.clear();
  defaultPieceSelection.clear();
  std::string error;
  // Every piece file must give pieces: a measurement on fewer pieces than asked for would
  // look like a result.
  if (!loadPieceFiles(&error, folder + "/Storage", true)) throw LabError{error};
  if (options.pieces == "all") selectAllPieces();
  rebuildCatalogue();
  if (pieceCatalogue.empty()) throw LabError{folder + "/Storage: no pieces in play"};

  std::string weightsFile = options.weightsFile;
  if (weightsFile.empty()) weightsFile = folder + "/Storage/BestFitnessParams.txt";
  std::vector<double> weights;
  std::string problem = readFitnessWeights(weightsFile, weights);
  if (!problem.empty()) throw LabError{weightsFile + ": " + problem};
  fitnessParams = {weights};

  expertEvaluation = options.evaluation != "heuristic";
  expertLookahead = options.evaluation == "lookahead";
  catalogueShapes.clear();
  for (const Piece& piece : pieceCatalogue)
    catalogueShapes.push_back({gridShape(piece.grids[0]), gridShape(piece.grids[1]),
                               gridShape(piece.grids[2]), gridShape(piece.grids[3])});
  std::string expertFile = options.expertWeightsFile;
  if (expertFile.empty()) expertFile = folder + "/Storage/ExpertWeights.txt";
  loadExpertWeights(expertFile);
}

void addEvaluationOption(CLI::App& command, DataOptions& options, const std::string& name) {
  command
      .add_option(name, options.evaluation,
                  "heuristic (the game's four weights), expert (Storage/ExpertWeights.txt) or "
                  "lookahead (the expert, with the next piece)")
      ->check(CLI::IsMember({"heuristic", "expert", "lookahead"}));
}

Network loadLabNetwork(const std::string& path) {
  Network network;
  std::string problem = readNetworkFile(path, network);
  if (!problem.empty()) throw LabError{path + ": " + problem};
  size_t inputs = networkInputCount(pieceCatalogue.size());
  if (network.layers.front().size() != inputs)
    throw LabError{path + ": the network reads " + std::to_string(network.layers.front().size()) +
                   " inputs, but these pieces give " + std::to_string(inputs)};
  if (network.layers.back().size() != actionCount)
    throw LabError{path + ": the network has " + std::to_string(network.layers.back().size()) +
                   " outputs instead of " + std::to_string(actionCount)};
  return network;
}

void placeHeuristic() {
  PlacementChoice best =
      expertEvaluation ? searchBestPlacement(labShapeScore()) : searchBestPlacement(1);
  p1Rotation = best.rotation;
  p1Position = {best.x, 0};
  while (p1Position.y < boardHeight && pieceFits(1, currentGrid(1), 0, 1)) p1Position.y += 1;
  lockPiece(1);
}

// Scratch for the network's input, kept from placement to placement.
static std::vector<int32_t> networkInput;

void placeNetwork(Network& network) {
  fillNetworkInput(p1Board, p1PieceId, networkInput);
  moveToAction(predict(network, networkInput));
  lockPiece(1);
}

double scoreActions(std::array<double, actionCount>& scores) {
  if (expertEvaluation)
    scoreEveryAction(scores.data(), labShapeScore());
  else
    scoreEveryAction(scores.data());
  double best = scores[0];
  for (double score : scores) best = std::max(best, score);
  return best;
}

GameResult playGame(uint32_t seed, Network* network, int64_t maxPieces,
                    const BeforePlacement& before) {
  // Solo rules: no garbage is sent and the score counts player 1's rows.
  gameMode = soloPlayMode;
  seedRandom(seed);
  setUpGame();
  GameResult result;
  result.seed = seed;
  while (result.pieces < maxPieces && !p1GameOver) {
    if (before) before();
    int32_t scoreBefore = score;
    if (network)
      placeNetwork(*network);
    else
      placeHeuristic();
    result.lines += (score - scoreBefore) / 100;
    result.pieces += 1;
    // Nobody draws the flying squares of cleared rows here.
    lineClearParticles.clear();
    // The score is only a counter here; keep it far from overflow in very long games.
    if (score > 1000000000) score = 0;
  }
  return result;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void reportProgress(Progress& progress, int64_t done, bool force) {
  auto now = std::chrono::steady_clock::now();
  if (!force && now - progress.lastLine < std::chrono::seconds(3)) return;
  progress.lastLine = now;
  double elapsed = secondsSince(progress.start);
  double rate = elapsed > 0.0 ? done / elapsed : 0.0;
  if (progress.total > 0 && rate > 0.0) {
    double left = (progress.total - done) / rate;
    std::fprintf(stderr, "%lld/%lld %s, %.1f a second, %.0f s left\n", static_cast<long long>(done),
                 static_cast<long long>(progress.total), progress.what.c_str(), rate, left);
  } else {
    std::fprintf(stderr, "%lld %s, %.1f a second\n", static_cast<long long>(done),
                 progress.what.c_str(), rate);
  }
}
