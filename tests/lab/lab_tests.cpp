// brikka-lab as people use it: the summary of play, the labels agree and distill learn from,
// the command line's errors, and the network a new player gets.
#include "lab/lab.h"

#include "ai/ai.h"
#include "folders.h"
#include "game/game.h"
#include "pictures.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <sstream>

namespace {

const std::string lab = BRIKKA_LAB_PROGRAM;
const std::string sourceData = BRIKKA_SOURCE_DIR;

CommandRun runLab(const std::string& arguments) {
  return runCommand(lab + " " + arguments);
}

void loadSourceData() {
  DataOptions data;
  data.dataFolder = sourceData;
  loadLabData(data);
}

} // namespace

TEST(Play, SummaryLineMatchesTheGamesPlayed) {
  std::string csv = scratchPath("games.csv");
  CommandRun run =
      runLab("play --data " + sourceData + " --games 4 --seed 11 --max-pieces 400 --csv " + csv);
  ASSERT_EQ(run.status, 0) << run.err;

  // The same games played here, one by one.
  loadSourceData();
  std::vector<int64_t> played;
  std::string expectedCsv = "seed,lines,pieces\n";
  for (uint32_t seed = 11; seed < 15; ++seed) {
    GameResult game = playGame(seed, nullptr, 400);
    played.push_back(game.lines);
    expectedCsv += std::to_string(seed) + "," + std::to_string(game.lines) + "," +
                   std::to_string(game.pieces) + "\n";
  }
  EXPECT_EQ(readFile(csv), expectedCsv);
  std::remove(csv.c_str());

  std::sort(played.begin(), played.end());
  ASSERT_GT(played.back(), played.front()) << "pick games that differ";
  double mean = (played[0] + played[1] + played[2] + played[3]) / 4.0;
  char expected[200];
  std::snprintf(expected, sizeof expected,
                "mean %.1f median %.1f p10 %lld p90 %lld max %lld games 4", mean,
                (played[1] + played[2]) / 2.0, static_cast<long long>(played[0]),
                static_cast<long long>(played[3]), static_cast<long long>(played[3]));
  std::string last = linesStarting(run.out, "").back();
  EXPECT_EQ(last.substr(0, std::strlen(expected)), expected) << last;
  EXPECT_NE(last.find(" pieces/s "), std::string::npos) << last;
}

TEST(Lab, CommandLineErrorsAreOneLineAndStatusTwo) {
  const std::vector<std::string> wrong = {
      "play --data " + sourceData + " --no-such-option 3",
      "distill --data " + sourceData,                                   // no --out
      "agree --data " + sourceData + " --network /no/such/network.txt", // unreadable
      "play --data " + sourceData + " --network " + sourceData + "/Storage/colorPieces.txt",
      "duel --join 127.0.0.1:1 --games 0",
      "duel --join 127.0.0.1:1 --games 99999999999999999999",
  };
  for (const std::string& arguments : wrong) {
    CommandRun run = runLab(arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_EQ(lineCount(run.err), 1) << arguments << ":\n" << run.err;
    EXPECT_EQ(run.err.rfind("brikka-lab: ", 0), 0u) << run.err;
    EXPECT_EQ(run.out, "") << arguments;
  }
  // Numbers out of range name their bounds readably, never a saturated or 300-digit bound.
  for (const std::string games : {"0", "99999999999999999999"})
    EXPECT_EQ(runLab("duel --join 127.0.0.1:1 --games " + games).err,
              "brikka-lab: --games: " + games +
                  " must be between 1 and 1,000,000,000 (see --help)\n");
}

TEST(Positions, EqualBestActionsAreAllRightAnswers) {
  // A one-block piece over a bottom row with two gaps, mirror images of each other.
  useCatalogue({pieceFromPicture({"#"})});
  fitnessParams = {{1.0, 1.0, 1.0, 1.0}};
  gameMode = soloPlayMode;
  seedRandom(3);
  setUpGame();
  p1Board = boardFromPicture({"##.####.##"});
  uint64_t expected = 0;
  for (int32_t rotation = 0; rotation < 4; ++rotation)
    for (int32_t column : {2, 7}) expected |= uint64_t{1} << actionOf(column, rotation);
  EXPECT_EQ(labelPosition(), expected);
  // The piece is left where it was.
  EXPECT_EQ(p1Position.x, 3);
  EXPECT_EQ(p1Position.y, 0);
}

TEST(Positions, EveryActionScoredAsCarryingItOutScoresIt) {
  // Whole heuristic games, to their top-out, with the four-block pieces and with all of them.
  for (const char* pieces : {"default", "all"}) {
    DataOptions data;
    data.dataFolder = sourceData;
    data.pieces = pieces;
    loadLabData(data);
    int64_t compared = 0;
    playGame(21, nullptr, 3000, [&] {
      std::array<double, actionCount> fast;
      scoreActions(fast);
      int32_t rotation = p1Rotation;
      Point position = p1Position;
      for (int32_t action = 0; action < actionCount; ++action) {
        moveToAction(action);
        ASSERT_EQ(fast[action], evaluatePlacement(1, p1PieceId, p1Rotation, p1Position))
            << pieces << " piece " << compared << " action " << action;
        p1Rotation = rotation;
        p1Position = position;
      }
      compared += 1;
    });
    EXPECT_GT(compared, 100) << pieces;
  }
}

TEST(Distill, WrittenNetworkAnswersAsTrainedAndRunsRepeat) {
  loadSourceData();
  DistillOptions options;
  options.hiddenLayers = 1;
  options.neurons = 8;
  options.positions = 3000;
  options.rounds = 2;
  options.ownPositions = 500;
  options.heldOut = 300;
  options.games = 1;
  options.maxPieces = 100;
  std::vector<Network> networks;
  std::vector<double> measured;
  for (int run = 0; run < 2; ++run) {
    distill(options, [&](const DistillRound& round, Network& network) {
      EXPECT_EQ(round.positions, networks.size() % 2 == 0 ? 3000 : 3500);
      networks.push_back(network);
      measured.push_back(round.agreement);
    });
  }
  ASSERT_EQ(networks.size(), 4u);
  std::string path = scratchPath("distilled.txt");
  ASSERT_TRUE(saveNetwork(networks[1], path));
  Network loaded = loadLabNetwork(path);
  EXPECT_EQ(readFile(path).rfind("407,9,44,\n", 0), 0u);
  // The same run twice writes the same file.
  std::string again = scratchPath("distilled-again.txt");
  ASSERT_TRUE(saveNetwork(networks[3], again));
  EXPECT_EQ(readFile(path), readFile(again));
  EXPECT_EQ(measured[1], measured[3]);
  std::remove(path.c_str());
  std::remove(again.c_str());

  // Read back, it chooses what the trainer measured on every position.
  PositionSet positions;
  collectPositions(positions, 77, 1000, 1000, nullptr);
  std::vector<int32_t> input;
  for (size_t k = 0; k < positions.size(); ++k) {
    positionInput(positions, k, input);
    ASSERT_EQ(predict(loaded, input), predict(networks[1], input)) << "position " << k;
  }
  EXPECT_EQ(agreement(loaded, positions), agreement(networks[1], positions));
}

TEST(ShippedNetwork, OutplaysTheHeuristicAndARandomNetwork) {
  loadSourceData();
  Network shipped = loadLabNetwork(sourceData + "/Storage/seed/BestNeuralNet.txt");
  seedRandom(5);
  Network random = createNetwork(407, actionCount, 0.0, 2, 64);
  int64_t shippedLines = 0, heuristicLines = 0, randomLines = 0;
  for (uint32_t seed = 1; seed <= 10; ++seed) {
    shippedLines += playGame(seed, &shipped, 5000).lines;
    heuristicLines += playGame(seed, nullptr, 5000).lines;
    randomLines += playGame(seed, &random, 5000).lines;
  }
  EXPECT_LE(randomLines, 10);
  EXPECT_GT(shippedLines, heuristicLines);
}
