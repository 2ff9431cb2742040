// Pause, restart and the keys that work in every mode (pause, restart, mute, full screen), with
// the two of them that can be rebound.
#include "ai/ai.h"
#include "app/input.h"
#include "app/play.h"
#include "app/screens.h"
#include "app/settings.h"
#include "app/widgets.h"
#include "game/game.h"

#include <algorithm>

namespace {

// The modes a player can pause or start afresh.
bool pausableMode() {
  return gameMode == soloPlayMode || gameMode == playerVersusMode || gameMode == versusBotMode;
}

// A running game that two sides play: a stray key must not end it for both. A replay of one
// is only watched.
bool needsConfirmation() {
  bool twoSided =
      gameMode == playerVersusMode || gameMode == versusBotMode || gameMode == onlineVersusMode;
  return twoSided && !matchOver && !replayPlaying;
}

// True at the second press within the time; the first only shows the prompt.
bool confirmed(PendingKey key, const std::string& prompt) {
  if (pendingKey == key && pendingKeyMs > 0.0) {
    pendingKey = PendingKey::none;
    playNoticeMs = 0.0;
    return true;
  }
  pendingKey = key;
  pendingKeyMs = playNoticeMs = confirmMilliseconds;
  playNotice = prompt;
  return false;
}

} // namespace

void restartByKey() {
  if (!pausableMode()) return; // online among others: one side cannot restart it
  // TRANSLATORS: %s is a key's name as SDL gives it (English), "R" or "Backspace".
  std::string prompt = trf("Press %s again to restart", keyDisplayName(restartKey).c_str());
  if (needsConfirmation() && !confirmed(PendingKey::restart, prompt)) return;
  restartGame();
}

void leaveByKey(const char* keyName) {
  bool playing = isPlayMode(gameMode) || gameMode == onlineVersusMode;
  if (playing && needsConfirmation() &&
      !confirmed(PendingKey::leave, trf("Press %s again to leave", keyName)))
    return;
  menuCommand(MenuCommand::back);
}

void tickPlayNotice() {
  // Two things on one key would both fire in this game: say which, once, as it starts (online
  // games too, which the connection starts).
  bool playing = isPlayMode(gameMode) || gameMode == onlineVersusMode;
  if (playing && gameSerial != clashCheckedGame) {
    clashCheckedGame = gameSerial;
    std::string clash = firstBindingClash();
    // A prompt for a second press matters more just now.
    if (!clash.empty() && pendingKey == PendingKey::none)
      playNotice = clash, playNoticeMs = clashNoticeMilliseconds;
  }
  double elapsed = frameDelta * 10.0;
  pendingKeyMs = std::max(0.0, pendingKeyMs - elapsed);
  playNoticeMs = std::max(0.0, playNoticeMs - elapsed);
  if (pendingKeyMs <= 0.0) pendingKey = PendingKey::none;
}

// Leaving any play mode lands on the menu it was started from (the main menu, or the Modes
// screen for Sprint and Ultra) with fresh demo games.
void leavePlay() {
  if (gameMode == trainingMode) {
    savePendingElite();
    noteNetworkForNextStart();
  }
  if (gameMode == onlineVersusMode) leaveOnlineGame();
  bool race = gameMode == soloPlayMode && soloVariant != marathonVariant;
  currentScreen = race ? modesScreen : mainMenuScreen;
  countdownLeft = 0.0;
  gameMode = menuMode;
  gamePaused = false;
  setUpGame();
}

void restartGame() {
  if (!pausableMode()) return;
  gamePaused = false;
  newHighscore = false;
  // The bot's countdown carries on from the last game otherwise: its first move would come
  // early or late.
  botMoveTimer = 10.0;
  releaseHeldKeys();
  startGameOfMode(gameMode, soloVariant);
}

void releaseHeldKeys() {
  SDL_ResetKeyboard();
  eventKeys.fill(0);
  static const uint8_t noKeys[SDL_NUM_SCANCODES] = {};
  computeActionFlags(noKeys);
}

bool updatePause() {
  if (gameMode == menuMode) gamePaused = false; // a game left by any way starts unpaused next time
  tickPlayNotice();
  if (restartRequested) restartByKey();
  // A finished game has nothing to pause.
  if (pauseRequested && pausableMode() && !matchOver) gamePaused = !gamePaused;
  pauseRequested = restartRequested = false;
  if (!gamePaused) padLostPlayer = 0;
  if (!gamePaused || gameMode == menuMode) return false;
  checkHover(resumeButton);
  checkHover(quitToMenuButton);
  if (mouseClicked && resumeButton.hovered) gamePaused = false;
  if (mouseClicked && quitToMenuButton.hovered) leavePlay();
  return gamePaused;
}

void handleShellKey(const SDL_KeyboardEvent& key) {
  if (key.repeat) return;
  int32_t scancode = key.keysym.scancode;
  bool alt = (key.keysym.mod & KMOD_ALT) != 0;
  if (scancode == pauseKey || scancode == SDL_SCANCODE_PAUSE) pauseRequested = true;
  if (scancode == restartKey) restartRequested = true;
  if (scancode == SDL_SCANCODE_M) {
    soundMuted = !soundMuted;
    applyVolumes();
    savePreference("volume_muted");
  }
  if (scancode == SDL_SCANCODE_F11 || (alt && scancode == SDL_SCANCODE_RETURN)) toggleFullscreen();
}

void handleWindowEvent(const SDL_WindowEvent& event) {
  bool lost = event.event == SDL_WINDOWEVENT_FOCUS_LOST || event.event == SDL_WINDOWEVENT_MINIMIZED;
  if (lost) {
    // Keys still held then would otherwise stay down until pressed again.
    releaseHeldKeys();
    if (pauseOnFocusLoss && pausableMode() && !matchOver) gamePaused = true;
  }
  if (event.event == SDL_WINDOWEVENT_MOVED || event.event == SDL_WINDOWEVENT_SIZE_CHANGED)
    noteWindowPlace();
}

bool captureExtraKey(const uint8_t* keys) {
  if (bindingIndex != pauseKeyIndex && bindingIndex != restartKeyIndex) return false;
  int32_t& binding = bindingIndex == pauseKeyIndex ? pauseKey : restartKey;
  for (int32_t scancode = 0; scancode < scancodeLimit; ++scancode)
    if (keys[scancode] && scancode != escapeScancode) binding = scancode; // highest key wins
  savePreference(bindingIndex == pauseKeyIndex ? "key_pause" : "key_restart");
  awaitingKeyBinding = false;
  return true;
}
