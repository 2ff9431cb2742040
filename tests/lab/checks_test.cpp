// What stops the lab before it works on bad input: damaged checkpoints, too few positions for a
// batch, and ranks started differently.
#include "lab/lab.h"

#include "game/game.h"

#include "folders.h"

#include <cmath>
#include <limits>

namespace {

// What the lab would stop with while `run` runs ("" when it would not).
template <typename Run> std::string labErrorOf(Run run) {
  try {
    run();
  } catch (const LabError& error) {
    return error.message;
  }
  return "";
}

std::string checkpointMessage(const std::string& bytes) {
  return labErrorOf([&] { readCheckpointBytes(bytes, "run.ckpt"); });
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST(LabChecks, ACraftedCheckpointIsRefusedFieldByField) {
  TrainingCheckpoint checkpoint;
  checkpoint.settings = "population 1";
  checkpoint.generation = 3;
  checkpoint.rows = {TrainingRow{1, 5, 6, 0, 1.0}, TrainingRow{2, 6, 7, 1, 2.0}};
  checkpoint.shape = {2, 1};
  checkpoint.networks = {0.5, -0.25, 1.0};
  const std::string bytes = checkpointBytes(checkpoint);
  EXPECT_EQ(checkpointMessage(bytes), "");

  const std::string refused = "run.ckpt: not a usable training checkpoint (";
  // A count that would overflow the size check, and one past what a number holds.
  const char* const cases[][3] = {
      {"numbers 3", "numbers 2305843009213693952", "the networks are cut short"},
      {"numbers 3", "numbers 99999999999999999999", "bad numbers"},
      {"generation 3", "generation -5", "bad generation"},
      {"generation 3", "generation 9", "rows do not match the generation"},
      {"rows 2", "rows 4000000000", "bad rows"},
      {"layers 2\n2\n", "layers 2\n2x\n", "bad layer size"},
      {"highest-average 0", "highest-average 3000000000", "bad highest-average"},
      {"seconds 0x0p+0", "seconds inf", "bad seconds"}};
  for (const auto& [from, to, reason] : cases)
    EXPECT_EQ(checkpointMessage(replaced(bytes, from, to)), refused + reason + ")");
  std::string notFinite = bytes;
  double nan = std::numeric_limits<double>::quiet_NaN();
  notFinite.replace(notFinite.size() - sizeof(double), sizeof(double),
                    reinterpret_cast<const char*>(&nan), sizeof(double));
  EXPECT_EQ(checkpointMessage(notFinite), refused + "a weight is not a finite number)");
}

TEST(LabChecks, DistillWithFewerPositionsThanABatchTrainsOnThemAll) {
  DataOptions data;
  data.dataFolder = BRIKKA_SOURCE_DIR;
  loadLabData(data);
  DistillOptions options;
  options.positions = 10;
  options.batch = 11;
  options.heldOut = 20;
  options.games = 0;
  options.rounds = 1;
  options.hiddenLayers = 1;
  options.neurons = 4;
  int rounds = 0;
  distill(options, [&](const DistillRound& round, Network&) {
    rounds += 1;
    EXPECT_EQ(round.positions, 10);
    EXPECT_TRUE(std::isfinite(round.loss));
    EXPECT_GT(round.loss, 0.0);
  });
  EXPECT_EQ(rounds, 1);
}

using LabData = TempFolder;

TEST_F(LabData, DataThatGivesNoPiecesStopsTheLab) {
  std::filesystem::copy(std::string(BRIKKA_SOURCE_DIR) + "/Storage", folder / "Storage");
  writeFile(folder / "Storage/4BlockPieces.txt", "");
  DataOptions data;
  data.dataFolder = folder.string();
  EXPECT_EQ(labErrorOf([&] { loadLabData(data); }),
            path("Storage/4BlockPieces.txt") + ": holds no pieces");
}

TEST(LabChecks, RanksStartedWithDifferentOptionsStopTogetherNamingTheDifference) {
  allowMpiRuns();
  const std::string lab = std::string(BRIKKA_LAB_PROGRAM) +
                          " train --data " BRIKKA_SOURCE_DIR " --population 2 --moves 5 "
                          "--hidden-layers 1 --neurons 4 --generations 1000000 --pieces ";
  CommandRun run = runCommand(std::string(BRIKKA_MPIEXEC) + " --oversubscribe -n 1 " + lab +
                              "default : -n 1 " + lab + "all");
  EXPECT_GT(run.status, 0);
  std::vector<std::string> ours = linesStarting(run.err, "brikka-lab:");
  ASSERT_EQ(ours.size(), 1u);
  EXPECT_EQ(ours[0], "brikka-lab: rank 1 differs from rank 0: it has pieces=\"all\" where rank 0 "
                     "has pieces=\"default\"; every rank needs the same options and data");
}

} // namespace
