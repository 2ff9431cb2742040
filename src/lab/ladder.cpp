// brikka-lab ladder: "Versus Bot" matches between the levels, networks and the expert, played
// headless at each one's own pace, and Elo ratings from all the results.
#include "lab/lab.h"

#include "lab/state.h"
#include <CLI/CLI.hpp>

#include "ai/ai.h"
#include "game/game.h"
#include "render/render.h"

#include <Eigen/Dense>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <fstream>

namespace {

struct LadderOptions {
  DataOptions data;
  std::string entrants = "0,1,2,3,4,5,6,7";
  int64_t matches = 10;
  uint32_t seed = 1;
  std::string reference; // empty = round-robin
  std::string csvFile;
  std::string plotFile;
} options;

// The eight "Versus Bot" levels as the difficulty screen sets them.
struct Level {
  const char* label;
  double stepInterval;
  bool stepwise;
  bool usesNetwork;
};
constexpr Level levels[] = {
    {"Easy Peasy", 50.0, true, false},  {"Easy", 45.0, true, false},
    {"Sorta Mid", 40.0, true, false},   {"Mid", 35.0, true, false},
    {"Mid to Hard", 30.0, true, false}, {"Kinda Hard", 25.0, true, false},
    {"Impossible", 0.0, false, false},  {"Neural Network", 30.0, true, true},
};
constexpr size_t levelCount = sizeof levels / sizeof levels[0];
constexpr size_t anchorLevel = 0;  // "Easy Peasy" holds Elo 1000
constexpr int32_t roundPoints = 3; // top-outs that lose a match

std::string lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The network level plays the game's network: the data folder's own, else the one it ships.
Network gameNetwork() {
  std::string folder = findDataFolder(options.data.dataFolder);
  for (const std::string& path :
       {folder + "/Storage/BestNeuralNet.txt", folder + "/seed/BestNeuralNet.txt",
        folder + "/Storage/seed/BestNeuralNet.txt"}) {
    std::ifstream probe(path);
    if (probe) return loadLabNetwork(path);
  }
  throw LabError{folder + ": no Storage/BestNeuralNet.txt for the \"Neural Network\" level"};
}

// One frame of the entrant's bot for player, with the entrant's own move timer.
void entrantTurn(Entrant& entrant, int32_t player, double& timer) {
  botStepInterval = entrant.stepInterval;
  botStepwise = entrant.stepwise;
  botUsesNetwork = entrant.usesNetwork;
  botShapeScore = entrant.expert ? expertShapeScore : nullptr;
  botMoveTimer = timer;
  std::swap(botNetwork, entrant.network);
  botTurn(player);
  std::swap(botNetwork, entrant.network);
  timer = botMoveTimer;
  botShapeScore = nullptr;
}

std::string inQuotes(const std::string& name) {
  return "\"" + name + "\"";
}

// The ratings as a picture: one row an entrant, best first, its interval and estimate.
void drawLadder(const std::vector<Entrant>& entrants, const std::vector<Rating>& ratings, int width,
                int height) {
  std::vector<size_t> order(entrants.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return ratings[a].elo > ratings[b].elo; });
  double low = ratings[0].low, high = ratings[0].high;
  for (const Rating& r : ratings) low = std::min(low, r.low), high = std::max(high, r.high);
  low = std::floor(low / 100.0) * 100.0 - 100.0;
  high = std::ceil(high / 100.0) * 100.0 + 100.0;
  const int left = 330, right = width - 40, top = 40;
  const int pitch = (height - 80) / static_cast<int>(order.size());
  auto across = [&](double elo) {
    return left + static_cast<int>((elo - low) / (high - low) * (right - left));
  };
  SDL_Color white{255, 255, 255, 255};
  for (double elo = low; elo <= high; elo += 100.0) {
    SDL_SetRenderDrawColor(renderer, 60, 60, 60, 255);
    drawLine(across(elo), top - 10, across(elo), height - 40);
    if (static_cast<int64_t>(elo) % 500 == 0)
      drawTextAt(fontSmall, std::to_string(static_cast<int64_t>(elo)), white, across(elo) - 20,
                 height - 36);
  }
  for (size_t row = 0; row < order.size(); ++row) {
    const Rating& r = ratings[order[row]];
    int y = top + static_cast<int>(row * pitch + pitch / 2);
    drawTextAt(fontSmall, entrants[order[row]].name.substr(0, 22), white, 10, y - 14);
    SDL_SetRenderDrawColor(renderer, 90, 160, 255, 255);
    SDL_Rect span{across(r.low), y - 3, std::max(2, across(r.high) - across(r.low)), 6};
    SDL_RenderFillRect(renderer, &span);
    SDL_SetRenderDrawColor(renderer, 255, 200, 40, 255);
    SDL_Rect mark{across(r.elo) - 5, y - 9, 10, 18};
    SDL_RenderFillRect(renderer, &mark);
  }
}

void runLadder() {
  joinRanks();
  loadLabData(options.data);
  std::vector<Entrant> entrants;
  auto add = [&entrants](const std::string& text, const char* option) {
    Entrant entrant = parseEntrant(text, option);
    for (size_t i = 0; i < entrants.size(); ++i)
      if (entrants[i].name == entrant.name) return i;
    if (entrant.usesNetwork && entrant.network.layers.empty()) entrant.network = gameNetwork();
    entrants.push_back(std::move(entrant));
    return entrants.size() - 1;
  };
  std::string list = options.entrants + ",";
  for (size_t start = 0, comma; (comma = list.find(',', start)) != std::string::npos;
       start = comma + 1)
    add(list.substr(start, comma - start), "--entrants");
  size_t reference =
      options.reference.empty() ? entrants.size() : add(options.reference, "--reference");
  if (entrants.size() < 2) throw LabError{"--entrants: a ladder needs two entrants at least"};
  if (!options.plotFile.empty()) preparePlot(options.data.dataFolder);
  agreeAcrossRanks();

  std::vector<PairTally> tallies;
  for (size_t a = 0; a < entrants.size(); ++a)
    for (size_t b = a + 1; b < entrants.size(); ++b)
      if (reference == entrants.size() || a == reference || b == reference)
        tallies.push_back(PairTally{static_cast<int>(a), static_cast<int>(b)});

  // Match k of every pairing is dealt from seed + k; the sides change places every match.
  constexpr size_t fields = 4; // winner, first's top-outs, second's, game time
  const size_t matches = static_cast<size_t>(options.matches);
  std::vector<double> results(tallies.size() * matches * fields, 0.0);
  Progress progress{"matches", static_cast<int64_t>(tallies.size() * matches)};
  int64_t played = 0;
  for (size_t item = rankIndex(); item < tallies.size() * matches; item += rankCount()) {
    const PairTally& pair = tallies[item / matches];
    size_t k = item % matches;
    MatchResult match = playMatch(entrants[pair.a], entrants[pair.b],
                                  options.seed + static_cast<uint32_t>(k), k % 2 == 1);
    double* out = &results[item * fields];
    out[0] = match.winner;
    out[1] = match.firstTopOuts;
    out[2] = match.secondTopOuts;
    out[3] = match.gameTime;
    if (rankIndex() == 0) reportProgress(progress, (played += rankCount()));
  }
  sumOverRanks(results);
  if (rankIndex() != 0) return;

  std::ofstream csv;
  if (!options.csvFile.empty()) {
    csv.open(options.csvFile);
    if (!csv) throw LabError{options.csvFile + ": cannot be written"};
    csv << "a,b,seed,a_player,winner,a_top_outs,b_top_outs,game_seconds\n";
  }
  for (size_t p = 0; p < tallies.size(); ++p) {
    PairTally& pair = tallies[p];
    for (size_t k = 0; k < matches; ++k) {
      const double* in = &results[(p * matches + k) * fields];
      int winner = static_cast<int>(in[0]);
      pair.winsA += winner == 1;
      pair.winsB += winner == 2;
      pair.draws += winner == 0;
      if (!csv) continue;
      const char* names[] = {"draw", "a", "b"};
      char row[160];
      std::snprintf(row, sizeof row, ",%u,%d,%s,%d,%d,%.2f\n",
                    options.seed + static_cast<uint32_t>(k), k % 2 == 1 ? 2 : 1, names[winner],
                    static_cast<int>(in[1]), static_cast<int>(in[2]), in[3] / 100.0);
      csv << inQuotes(entrants[pair.a].name) << ',' << inQuotes(entrants[pair.b].name) << row;
    }
    std::printf("pair %s %s wins-a %.0f wins-b %.0f draws %.0f\n",
                inQuotes(entrants[pair.a].name).c_str(), inQuotes(entrants[pair.b].name).c_str(),
                pair.winsA, pair.winsB, pair.draws);
  }
  if (csv && !csv.flush()) throw LabError{options.csvFile + ": cannot be written"};

  size_t anchor = 0;
  for (size_t i = 0; i < entrants.size(); ++i)
    if (entrants[i].name == levels[anchorLevel].label) anchor = i;
  std::vector<Rating> ratings = ladderRatings(entrants.size(), tallies, anchor);
  for (size_t i = 0; i < entrants.size(); ++i)
    std::printf("entrant %s elo %.0f low %.0f high %.0f matches %lld\n",
                inQuotes(entrants[i].name).c_str(), ratings[i].elo, ratings[i].low, ratings[i].high,
                static_cast<long long>(ratings[i].matches));
  std::fflush(stdout);
  if (!options.plotFile.empty()) {
    const int width = 1000, height = 100 + 50 * static_cast<int>(entrants.size());
    writePicture(options.plotFile, width, height,
                 [&] { drawLadder(entrants, ratings, width, height); });
  }
  std::fprintf(stderr, "%zu matches in %.1f s\n", tallies.size() * matches,
               secondsSince(progress.start));
}

} // namespace

Entrant parseEntrant(const std::string& text, const std::string& option) {
  Entrant entrant;
  if (text == "expert") {
    entrant.name = text;
    entrant.expert = true; // at "Impossible"'s pace: a whole placement every frame
    return entrant;
  }
  if (text.rfind("network:", 0) == 0) {
    const Level& level = levels[levelCount - 1];
    entrant = Entrant{text, level.stepInterval, level.stepwise, true, false, Network{}};
    entrant.network = loadLabNetwork(text.substr(8));
    return entrant;
  }
  for (size_t i = 0; i < levelCount; ++i)
    if (text == std::to_string(i) || lowered(text) == lowered(levels[i].label))
      return Entrant{
          levels[i].label, levels[i].stepInterval, levels[i].stepwise, levels[i].usesNetwork, false,
          Network{}};
  throw LabError{option + ": \"" + text +
                 "\" is not a level (0 to 7 or its label), network:FILE or expert"};
}

MatchResult playMatch(Entrant& first, Entrant& second, uint32_t seed, bool swapped, double cap) {
  gameMode = versusBotMode;
  seedRandom(seed);
  setUpGame();
  Entrant& one = swapped ? second : first;
  Entrant& two = swapped ? first : second;
  double timers[2] = {one.stepInterval, two.stepInterval};
  frameDelta = ladderFrameDelta;
  MatchResult result;
  while (!matchOver && result.gameTime < cap) {
    entrantTurn(one, 1, timers[0]);
    entrantTurn(two, 2, timers[1]);
    finishVersusBotFrame(); // top-outs, waiting garbage and the clock, as the game ends one
    result.gameTime += frameDelta;
    // Nobody draws the flying squares, and the score is only a counter here.
    lineClearParticles.clear();
    if (score > 1000000000) score = 0;
  }
  result.firstTopOuts = swapped ? p2Losses : p1Losses;
  result.secondTopOuts = swapped ? p1Losses : p2Losses;
  bool firstLost = result.firstTopOuts >= roundPoints;
  bool secondLost = result.secondTopOuts >= roundPoints;
  result.winner = firstLost == secondLost ? 0 : (secondLost ? 1 : 2);
  return result;
}

std::vector<Rating> ladderRatings(size_t entrants, const std::vector<PairTally>& tallies,
                                  size_t anchor, double anchorElo) {
  // Bradley and Terry's model on Elo's scale: a beats b with 1 / (1 + 10^((Rb - Ra) / 400)).
  const double scale = std::log(10.0) / 400.0;
  std::vector<Rating> ratings(entrants);
  Eigen::VectorXd elo = Eigen::VectorXd::Zero(entrants);
  Eigen::MatrixXd information(entrants, entrants);
  for (const PairTally& t : tallies) {
    int64_t n = static_cast<int64_t>(t.winsA + t.winsB + t.draws);
    ratings[t.a].matches += n;
    ratings[t.b].matches += n;
  }
  for (int step = 0; step < 100; ++step) {
    Eigen::VectorXd gradient = Eigen::VectorXd::Zero(entrants);
    information.setZero();
    for (const PairTally& t : tallies) {
      double n = t.winsA + t.winsB + t.draws + 1.0; // the drawn match every pairing counts more
      double scoreA = t.winsA + (t.draws + 1.0) / 2.0;
      double p = 1.0 / (1.0 + std::exp(-scale * (elo[t.a] - elo[t.b])));
      gradient[t.a] += scale * (scoreA - n * p);
      gradient[t.b] -= scale * (scoreA - n * p);
      double w = scale * scale * n * p * (1.0 - p);
      information(t.a, t.a) += w;
      information(t.b, t.b) += w;
      information(t.a, t.b) -= w;
      information(t.b, t.a) -= w;
    }
    // The anchor stays where it is: its row and column become the identity.
    gradient[anchor] = 0.0;
    information.row(anchor).setZero();
    information.col(anchor).setZero();
    information(anchor, anchor) = 1.0;
    Eigen::VectorXd move = information.ldlt().solve(gradient);
    elo += move;
    if (move.cwiseAbs().maxCoeff() < 1e-9) break;
  }
  Eigen::MatrixXd covariance =
      information.ldlt().solve(Eigen::MatrixXd::Identity(entrants, entrants));
  for (size_t i = 0; i < entrants; ++i) {
    double error = i == anchor ? 0.0 : std::sqrt(std::max(0.0, covariance(i, i)));
    ratings[i].elo = anchorElo + elo[i];
    ratings[i].low = ratings[i].elo - 1.96 * error;
    ratings[i].high = ratings[i].elo + 1.96 * error;
  }
  return ratings;
}

void addLadderCommand(CLI::App& app) {
  CLI::App* command = app.add_subcommand(
      "ladder", "versus matches between levels, networks and the expert, rated by Elo");
  addDataOptions(*command, options.data);
  command->add_option("--entrants", options.entrants,
                      "comma-separated: a level 0-7 or its label, network:FILE, or expert");
  command->add_option("--matches", options.matches, "matches every pairing plays")
      ->check(wholeBetween(1, 1000000));
  command->add_option("--seed", options.seed, "match k of each pairing is dealt from seed + k")
      ->check(wholeBetween(0, largestSeed));
  command->add_option("--reference", options.reference,
                      "every entrant plays this one only (default: everyone plays everyone)");
  command->add_option("--csv", options.csvFile, "write every match's result");
  command->add_option("--plot", options.plotFile, "draw the ratings as PNG");
  command->callback(runLadder);
}
