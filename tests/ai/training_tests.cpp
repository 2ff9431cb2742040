#include "players.h"

// Runs in a private folder: every generation end saves Storage/BestNeuralNet.txt.
class Training : public TempFolder {
protected:
  void SetUp() override {
    TempFolder::SetUp();
    enter();
    fitnessParams = {{2.5, 1.25, 0.25, 0.5}};
    gameMode = trainingMode;
  }
  // Only the square in play; every subject drops it at column 0, the search's own choice on
  // an empty board, so each placement earns exactly 500.
  void startSquareRun(int32_t subjects, int32_t moves) {
    useCatalogue({pieceFromPicture({"##", "##"})});
    setUpGame();
    populationSize = subjects;
    movesPerSubject = moves;
    startTrainingRun();
    for (Network& subject : population) subject = steeringNetwork(401, actionOf(0, 0));
  }
};

TEST_F(Training, EmptyRunsRouletteWeightsAndTheGenerationAverage) {
  for (auto [subjects, moves] : {std::pair{0, 10}, std::pair{5, 0}}) {
    startSquareRun(subjects, moves); // no run at all: nothing is placed
    trainingStep();
    EXPECT_TRUE(population.empty());
    EXPECT_EQ(p1PieceCount, 0);
  }
  using Run = std::tuple<std::vector<double>, std::vector<int32_t>, std::vector<int64_t>>;
  // Fitness far past 32 bits is held at the ends of the range; roulette weights are capped.
  for (const auto& [offsets, fitness, weights] :
       {Run{{0.0, -10.0, -50.0}, {500, 490, 450}, {2500, 1600, 0}},
        Run{{0.0, 1e12, -1e12}, {500, INT32_MAX, INT32_MIN}, {2500, int64_t(1e15), 0}}}) {
    startSquareRun(4, 1);
    for (double offset : offsets) {
      trainingFitness = offset;
      trainingStep();
    }
    EXPECT_EQ(generationFitness, fitness);
    EXPECT_EQ(selectionWeights, weights);
    EXPECT_EQ(selectionWeightTotal, weights[0] + weights[1] + weights[2]);
  }
  EXPECT_EQ(boardPicture(p1Board), boardPicture(Board{})); // fresh board for the next subject
  startSquareRun(2, 1);
  for (double offset : {-570.0, -551.0}) {
    trainingFitness = offset;
    trainingStep();
  }
  EXPECT_EQ(averageHistory, (std::vector<double>{-60.0})); // -121 / 2, toward zero
  EXPECT_EQ(highestAverage, -60);
  EXPECT_EQ(lowestAverage, -60);
  EXPECT_EQ(generation, 2);
  EXPECT_EQ(currentSubject, 0);
  EXPECT_TRUE(selectionWeights.empty());
  EXPECT_TRUE(generationFitness.empty());
}

TEST_F(Training, FitnessComparesTruncatedScoresAndTheFirstBestIsTheElite) {
  startSquareRun(3, 1);
  // Column 4 scores 569.5 against the search's 571.75 at column 0; column -1 ends at 0 too.
  const int32_t columns[] = {4, 0, -1};
  for (int32_t k = 0; k < 3; ++k) {
    population[k] = steeringNetwork(401, actionOf(columns[k], 0));
    population[k].learningRate = 0.5;
  }
  trainingStep();
  EXPECT_EQ(generationFitness, (std::vector<int32_t>{5 * (569 - 571 + 100)}));
  EXPECT_EQ(subjectNumber, 1);
  trainingStep();
  trainingStep(); // subjects 1 and 2 tie at 500
  EXPECT_EQ(population[0].layers[1][actionOf(0, 0)].bias, 1.0);
  EXPECT_EQ(allWeights(population[0]), allWeights(steeringNetwork(401, actionOf(0, 0))));
  for (int32_t k : {1, 2}) EXPECT_NE(allWeights(population[k]), allWeights(population[0])) << k;
  // Roulette: r below the total; the parent is the first subject after which r is 0 or less.
  selectionWeights = {1, 1};
  selectionWeightTotal = 2;
  std::mt19937 generator(3);
  for (int draw = 0; draw < 20; ++draw) EXPECT_EQ(rouletteParent(generator), 0);
}

TEST_F(Training, ClearedRowsPayAndCount) {
  startSquareRun(2, 3);
  population[0] = steeringNetwork(401, actionOf(8, 0)); // the search's choice too
  p1Board = boardFromPicture({"gggggggg..", "gggggggg.."});
  trainingStep();
  EXPECT_EQ(trainingLinesCleared, 2);
  EXPECT_EQ(trainingFitness, 500.0 + 2 * 20000.0);
  gameMode = soloPlayMode; // outside training a lock scores nothing for it
  p1Board = boardFromPicture({"gggggggg..", "gggggggg.."});
  trainingStep();
  EXPECT_EQ(trainingLinesCleared, 2);
  EXPECT_EQ(trainingFitness, 2 * 500.0 + 2 * 20000.0);
}

TEST_F(Training, LostGameContinuesOnClearedBoards) {
  startSquareRun(2, 3);
  // Two squares fill the spawn corner: the second lock tops out.
  p1Board = boardFromPicture(std::vector<std::string>(18, "ggggggggg."));
  trainingStep();
  trainingStep();
  EXPECT_EQ(currentSubject, 0);
  EXPECT_FALSE(p1GameOver);
  EXPECT_EQ(boardPicture(p1Board), boardPicture(Board{}));
  EXPECT_LE(trainingFitness, 2 * 500.0 - 2000.0); // the top-out's cost is kept
  double soFar = trainingFitness;
  trainingStep(); // the third move, on the empty board: the search's own choice
  EXPECT_EQ(currentSubject, 1);
  EXPECT_EQ(generationFitness, (std::vector<int32_t>{int32_t((soFar + 500.0) / 3)}));
}

double fakeSeconds = 0.0;
double fakeClock() {
  return fakeSeconds;
}

TEST_F(Training, PlayersNetworkIsKeptAsideSavesComeAtMostOnceASecondAndALoneEliteStays) {
  const char* best = "Storage/BestNeuralNet.txt";
  const char* previous = "Storage/BestNeuralNet.previous.txt";
  std::ofstream(best) << "the network trained for an hour\n";
  std::ofstream(previous) << "an older copy\n";
  double (*realClock)() = trainingClock;
  trainingClock = fakeClock;
  fakeSeconds = 100.0;
  startSquareRun(1, 1); // one subject of one move: a generation ends at every step
  population[0].learningRate = 0.5;
  const std::vector<double> elite = allWeights(population[0]);
  trainingStep(); // the first generation end saves at once
  EXPECT_EQ(readFile(previous), "the network trained for an hour\n");
  EXPECT_TRUE(loadNetwork(best));
  auto stepAt = [&](double seconds) {
    std::ofstream(best) << "unchanged\n";
    fakeSeconds = seconds;
    trainingStep();
    return readFile(best) != "unchanged\n";
  };
  EXPECT_FALSE(stepAt(100.9)); // within the second: the elite waits
  EXPECT_TRUE(stepAt(101.0));
  EXPECT_FALSE(stepAt(101.2));
  savePendingElite(); // leaving the training screen or quitting
  EXPECT_TRUE(loadNetwork(best));
  std::ofstream(best) << "unchanged\n";
  savePendingElite(); // nothing waits any more
  EXPECT_EQ(readFile(best), "unchanged\n");
  EXPECT_EQ(readFile(previous), "the network trained for an hour\n"); // once per run
  EXPECT_EQ(allWeights(population.at(0)), elite); // a lone subject is its own elite, never mutated
  trainingClock = realClock;
}
