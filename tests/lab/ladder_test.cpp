// The ladder: ratings from a result table worked out by hand, matches a lazy bot must lose, and
// the same table on one rank and two.
#include "lab/lab.h"

#include "folders.h"
#include "game/game.h"

#include <cmath>
#include <cstdlib>

namespace {

TEST(Ladder, RatingsOfAKnownTable) {
  // One pairing: the second wins 9 of 10. With the drawn match every pairing counts more, its
  // expected share is 9.5 of 11, so the gap is 400 log10(9.5 / 1.5).
  std::vector<Rating> two = ladderRatings(2, {PairTally{0, 1, 1.0, 9.0, 0.0}}, 0);
  double share = 9.5 / 11.0;
  double scale = std::log(10.0) / 400.0;
  double error = 1.0 / (scale * std::sqrt(11.0 * share * (1.0 - share)));
  EXPECT_NEAR(two[0].elo, 1000.0, 1e-9);
  EXPECT_NEAR(two[1].elo, 1000.0 + 400.0 * std::log10(9.5 / 1.5), 1e-6);
  EXPECT_NEAR(two[1].low, two[1].elo - 1.96 * error, 1e-6);
  EXPECT_NEAR(two[1].high, two[1].elo + 1.96 * error, 1e-6);
  EXPECT_EQ(two[0].low, two[0].high); // the anchor is where it is put
  EXPECT_EQ(two[1].matches, 10);

  // A chain anchored in the middle: even with the anchor, and 3 to 1 up on the third entrant.
  std::vector<Rating> chain =
      ladderRatings(3, {PairTally{0, 1, 2.0, 2.0, 1.0}, PairTally{1, 2, 3.0, 1.0, 0.0}}, 1);
  EXPECT_NEAR(chain[0].elo, 1000.0, 1e-6);
  EXPECT_NEAR(chain[2].elo, 1000.0 - 400.0 * std::log10(3.5 / 1.5), 1e-6);
  EXPECT_EQ(chain[1].matches, 9);
}

TEST(Ladder, ABotThatNeverActsLosesEveryMatch) {
  DataOptions data;
  data.dataFolder = BRIKKA_SOURCE_DIR;
  loadLabData(data);
  Entrant idle = parseEntrant("Easy Peasy");
  idle.name = "idle";
  idle.stepInterval = 1e300; // its timer never runs out: gravity alone places its pieces
  Entrant easy = parseEntrant("0");
  for (uint32_t seed = 1; seed <= 4; ++seed) {
    MatchResult match = playMatch(idle, easy, seed, seed % 2 == 0);
    EXPECT_EQ(match.winner, 2) << seed;
    EXPECT_EQ(match.firstTopOuts, 3) << seed;
  }
  // The same pairing with no time at all ends as a draw, not a win.
  EXPECT_EQ(playMatch(idle, easy, 1, false, 10.0).winner, 0);
}

TEST(Ladder, OneRankAndTwoPrintTheSameTable) {
  allowMpiRuns();
  std::string ladder = std::string(BRIKKA_LAB_PROGRAM) + " ladder --data " + BRIKKA_SOURCE_DIR;
  std::string command = ladder + " --entrants 1,Mid,6 --matches 3 --seed 7";
  std::string oneCsv = scratchPath("one.csv"), twoCsv = scratchPath("two.csv");
  CommandRun one = runCommand(command + " --csv " + oneCsv);
  CommandRun two = runCommand(std::string(BRIKKA_MPIEXEC) + " --oversubscribe -n 2 " + command +
                              " --csv " + twoCsv);
  ASSERT_EQ(one.status, 0) << one.err;
  ASSERT_EQ(two.status, 0) << two.err;
  EXPECT_EQ(one.out, two.out);
  EXPECT_EQ(readFile(oneCsv), readFile(twoCsv));
  EXPECT_EQ(linesStarting(one.out, "pair ").size(), 3u);
  EXPECT_EQ(linesStarting(one.out, "entrant ").size(), 3u);
  EXPECT_EQ(lineCount(readFile(oneCsv)), 1 + 3 * 3);
  std::remove(oneCsv.c_str());
  std::remove(twoCsv.c_str());

  CommandRun wrong = runCommand(ladder + " --entrants 0,Hardest");
  EXPECT_EQ(wrong.status, 2);
  EXPECT_EQ(wrong.err, "brikka-lab: --entrants: \"Hardest\" is not a level (0 to 7 or its "
                       "label), network:FILE or expert\n");
}

} // namespace
