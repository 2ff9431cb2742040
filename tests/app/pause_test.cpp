// Pausing, resuming, restarting and ending the three play modes, as a player does it.
#include "ai/ai.h"
#include "app/input.h"
#include "render/render.h"
#include "scenario.h"

#include <sstream>

namespace {

using Pause = Scenario;

// Everything of a game that moves on its own: boards, pieces, timers, particles, garbage, bot.
std::string gameSnapshot() {
  std::ostringstream out;
  for (int player : {1, 2}) {
    PlayerState s = playerState(player);
    for (const std::string& row : boardPicture(s.board)) out << row;
    out << s.pieceId << s.rotation << s.position.x << s.position.y << " " << s.gravityTimer << " "
        << s.lockTimer << s.heldPiece << s.damageFlash;
    for (const DamageRecord& r : s.incomingDamage) out << " " << r.rows << ":" << r.timer;
  }
  for (const LineClearParticle& p : lineClearParticles) out << " " << p.x << "," << p.y << p.size;
  out << " " << score << gravityInterval << botMoveTimer << matchOver;
  return out.str();
}

void frames(int count) {
  for (int k = 0; k < count; ++k) frame(700, 900);
}

// A game of the mode a few frames after player 1 cleared a row: squares fly and, in the versus
// modes, garbage waits for player 2.
void startWithAClear(int32_t mode) {
  seedRandom(11);
  gameMode = mode;
  botStepInterval = 3, botStepwise = false, botMoveTimer = 10.0;
  setUpGame();
  p1Board = boardFromPicture({"###.######"});
  p1HardDrop = true;
  frames(1);
  p1HardDrop = false, p1Hold = true;
  frames(1);
  p1Hold = false;
  frames(2);
}

TEST_F(Pause, PauseStandsStillResumeGoesOnRestartKeepsNothingAndEachEndSaysWhoWon) {
  for (int32_t mode : {1, 2, 4}) {
    startWithAClear(mode);
    frames(30);
    std::string unpaused = gameSnapshot();
    startWithAClear(mode);
    ASSERT_TRUE(!lineClearParticles.empty() && (mode == 1 || !p2IncomingDamage.empty()));
    pauseRequested = true;
    frames(1);
    std::string still = gameSnapshot();
    frames(300);
    EXPECT_EQ(gameSnapshot(), still) << mode;
    pauseRequested = true; // the pause key again resumes
    frames(30);
    EXPECT_EQ(gameSnapshot(), unpaused) << mode;

    startWithAClear(mode);
    pauseRequested = true;
    frames(1);
    ASSERT_TRUE(score > 0 && p1HeldPiece != 0 && gamePaused) << mode;
    restartRequested = true;
    frames(1);
    if (mode != 1) { // a two-sided match asks for the key again first
      EXPECT_NE(p1HeldPiece, 0) << mode;
      EXPECT_EQ(playNotice, "Press R again to restart");
      restartRequested = true;
      frames(1);
    }
    EXPECT_EQ(gameMode, mode) << mode;
    EXPECT_FALSE(gamePaused) << mode;
    EXPECT_EQ(score, 0) << mode;
    EXPECT_EQ(p1HeldPiece, 0) << mode;
    EXPECT_TRUE(lineClearParticles.empty());
    EXPECT_TRUE(p1IncomingDamage.empty());
    EXPECT_TRUE(p2IncomingDamage.empty());
    EXPECT_EQ(boardPicture(p1Board), boardPicture(Board{})) << mode;
    p1Losses = 2, p2Losses = 1, p1GameOver = true; // the third top-out of player 1
    frames(1);
    const char* const winners[] = {"Game Over", "Player 2 wins", "", "Bot wins"};
    std::vector<std::string> texts = gameOverTexts();
    ASSERT_EQ(texts.size(), 2u) << mode;
    EXPECT_EQ(texts[0], winners[mode - 1]);
    EXPECT_EQ(texts[1], mode == 1 ? "Score: 0" : "Points: 3 - 1");
  }
  // A solo game that beat the high score, started afresh from its end.
  startWithAClear(1);
  p1GameOver = true;
  frames(1);
  EXPECT_EQ(gameOverTexts().back(), "New high score");
  restartRequested = true;
  frames(1);
  EXPECT_FALSE(matchOver);
  EXPECT_FALSE(newHighscore);
  EXPECT_EQ(score, 0);
  EXPECT_TRUE(gameOverTexts().empty());
}

TEST_F(Pause, LosingFocusPausesAndThePausedFramesButtonsWork) {
  clickOn(screenButtons[mainMenuScreen][0]); // "Solo Play"
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
  for (bool autoPause : {true, false}) {
    pauseOnFocusLoss = autoPause;
    SDL_PushEvent(&event);
    handleEvents();
    frame(0, 0);
    EXPECT_EQ(gamePaused, autoPause);
    clickOn(resumeButton);
  }
  // Without a mouse: the paused frame's buttons take the focus; Return on "Resume" plays on.
  pauseRequested = true;
  frame(0, 0);
  // A key press reaches the frame as a click on the focused button.
  for (SDL_Scancode scancode :
       {SDL_SCANCODE_DOWN, SDL_SCANCODE_DOWN, SDL_SCANCODE_UP, SDL_SCANCODE_RETURN})
    pressKey(scancode);
  EXPECT_FALSE(gamePaused);
  // One Return, the first key pressed on the paused frame, resumes.
  focusVisible = false;
  pauseRequested = true;
  frame(0, 0);
  pressKey(SDL_SCANCODE_RETURN);
  EXPECT_FALSE(gamePaused);
  pauseRequested = true;
  frame(0, 0);
  clickOn(quitToMenuButton);
  clickOn(screenButtons[mainMenuScreen][1]); // a new game never starts paused
  EXPECT_EQ(gameMode, playerVersusMode);
  EXPECT_FALSE(gamePaused);
}

} // namespace
