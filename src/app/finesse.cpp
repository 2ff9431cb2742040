// Finesse and keys per piece: each press of a move or turn key counts one input for the falling
// piece (a held direction is one, however far it repeats); at its lock the count is measured
// against the fewest inputs that would have put it there.
#include "app/play.h"
#include "game/game.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr int turnCcwAction = 3; // actions 0 to 3: the two moves and the two turns

FinesseCount& countOf(int player) {
  return finesseCounts[player == 1 ? 0 : 1];
}

// The players at the keys: the bot's side and the menus' demos count nothing.
bool humanPlayer(int player) {
  return gameMode == soloPlayMode
             ? player == 1
             : (gameMode == playerVersusMode || (gameMode == versusBotMode && player == 1));
}

// Fresh counts for the game just set up; the keys held now stay held, not pressed anew.
void startCount(int player) {
  FinesseCount& count = countOf(player);
  PlayerState state = playerState(player);
  FinesseCount fresh;
  std::copy(std::begin(count.keyDown), std::end(count.keyDown), std::begin(fresh.keyDown));
  fresh.gameSerial = gameSerial;
  fresh.lockSerial = state.lastLock.serial;
  fresh.spawnRotation = state.rotation;
  count = fresh;
}

void trackPlayer(int player) {
  FinesseCount& count = countOf(player);
  PlayerState state = playerState(player);
  if (count.gameSerial != gameSerial) return startCount(player); // a game started elsewhere
  if (state.lastLock.serial != count.lockSerial) {
    const LockRecord& lock = state.lastLock;
    int32_t fewest = fewestInputs(lock.pieceId, count.spawnRotation, spawnPosition.x, lock.rotation,
                                  lock.position.x);
    if (fewest >= 0 && count.placementInputs > fewest) ++count.faults;
    ++count.placements;
    count.lockSerial = lock.serial;
    count.placementInputs = 0;
    count.spawnRotation = state.rotation;
  } else if (state.holdUsed && !count.holdUsed) {
    // A held piece comes back at the top: its inputs start again from there.
    count.placementInputs = 0;
    count.spawnRotation = state.rotation;
  }
  count.holdUsed = state.holdUsed;
}

} // namespace

void countPresses(int player, const bool* down) {
  FinesseCount& count = countOf(player);
  for (int action = 0; action < padActionCount; ++action) {
    if (down[action] && !count.keyDown[action]) {
      ++count.keyPresses;
      if (action <= turnCcwAction) ++count.placementInputs;
    }
    count.keyDown[action] = down[action];
  }
}

void trackFinesse() {
  for (int player : {1, 2})
    if (humanPlayer(player)) trackPlayer(player);
}

void startFinesse() {
  for (int player : {1, 2}) startCount(player);
}
