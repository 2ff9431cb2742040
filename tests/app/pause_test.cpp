// Pausing, resuming and restarting the three play modes, as a player does it.
#include "ai/ai.h"
#include "scenario.h"

#include <sstream>

namespace {

using Pause = Scenario;

// Everything of a game that moves on its own: boards, pieces, timers, particles, garbage, bot.
std::string gameSnapshot() {
  std::ostringstream out;
  for (int player : {1, 2}) {
    PlayerState s = playerState(player);
    for (const std::string& row : boardPicture(s.board)) out << row << "/";
    out << s.pieceId << " " << s.rotation << " " << s.position.x << "," << s.position.y << " "
        << s.gravityTimer << " " << s.lockTimer << " " << s.heldPiece << " " << s.damageFlash;
    for (const DamageRecord& r : s.incomingDamage) out << " d" << r.rows << ":" << r.timer;
    out << "\n";
  }
  for (const LineClearParticle& p : lineClearParticles) out << p.x << "," << p.y << "," << p.size;
  out << " " << score << " " << gravityInterval << " " << botMoveTimer << " " << matchOver;
  return out.str();
}

// A game of the mode a few frames in: player 1 has just cleared a row, so squares fly and, in
// the versus modes, garbage waits for player 2.
void startWithAClear(int32_t mode) {
  seedRandom(11);
  gameMode = mode;
  botStepInterval = 3;
  botStepwise = false;
  botMoveTimer = 10.0;
  setUpGame();
  p1Board = boardFromPicture({"###.######"});
  p1HardDrop = true;
  frame(700, 900);
  p1HardDrop = false;
  for (int k = 0; k < 3; ++k) frame(700, 900);
}

TEST_F(Pause, APausedGameStandsStillAndResumesExactlyWhereItStopped) {
  for (int32_t mode : {1, 2, 4}) {
    startWithAClear(mode);
    for (int k = 0; k < 30; ++k) frame(700, 900);
    std::string unpaused = gameSnapshot();

    startWithAClear(mode);
    ASSERT_FALSE(lineClearParticles.empty()) << mode;
    if (mode != 1) ASSERT_FALSE(p2IncomingDamage.empty()) << mode;
    pauseRequested = true;
    frame(700, 900);
    std::string still = gameSnapshot();
    for (int k = 0; k < 300; ++k) frame(700, 900);
    EXPECT_TRUE(gamePaused) << mode;
    EXPECT_EQ(gameSnapshot(), still) << mode;
    pauseRequested = true; // the pause key again resumes
    for (int k = 0; k < 30; ++k) frame(700, 900);
    EXPECT_EQ(gameSnapshot(), unpaused) << mode;
  }
}

TEST_F(Pause, LosingFocusPausesAndThePausedFramesButtonsWork) {
  clickOn(screenButtons[mainMenuScreen][0]); // "Solo Play"
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
  SDL_PushEvent(&event);
  handleEvents();
  frame(0, 0);
  EXPECT_TRUE(gamePaused);
  clickOn(resumeButton);
  EXPECT_FALSE(gamePaused);

  pauseOnFocusLoss = false; // the switch on "Audio & Display"
  SDL_PushEvent(&event);
  handleEvents();
  frame(0, 0);
  EXPECT_FALSE(gamePaused);

  pauseRequested = true;
  frame(0, 0);
  clickOn(quitToMenuButton);
  EXPECT_EQ(gameMode, 0);
  clickOn(screenButtons[mainMenuScreen][1]); // a new game never starts paused
  EXPECT_TRUE(gameMode == 2 && !gamePaused);
}

TEST_F(Pause, RestartStartsTheSameModeAfreshFromPlayPauseOrTheEnd) {
  for (int32_t mode : {1, 2, 4}) {
    startWithAClear(mode);
    p1Hold = true;
    frame(700, 900);
    p1Hold = false;
    pauseRequested = true;
    frame(700, 900);
    ASSERT_TRUE(score > 0 && p1HeldPiece != 0 && gamePaused) << mode;
    restartRequested = true;
    frame(700, 900);
    EXPECT_EQ(gameMode, mode);
    EXPECT_FALSE(gamePaused || matchOver);
    EXPECT_EQ(score, 0);
    EXPECT_EQ(p1HeldPiece, 0);
    EXPECT_TRUE(lineClearParticles.empty() && p1IncomingDamage.empty() && p2IncomingDamage.empty());
    EXPECT_EQ(boardPicture(p1Board), boardPicture(Board{})) << mode;
  }
  // From the game-over frame of a solo game that beat the high score.
  startWithAClear(1);
  p1Board = boardFromPicture(std::vector<std::string>(20, "#########."));
  score = 500;
  p1GameOver = true;
  frame(700, 900);
  ASSERT_TRUE(matchOver && newHighscore);
  restartRequested = true;
  frame(700, 900);
  EXPECT_FALSE(matchOver || newHighscore);
  EXPECT_EQ(score, 0);
}

} // namespace
