// Versus garbage: rows a player clears wait in the opponent's list, cancel the player's own
// waiting rows, and rise into a board when its owner locks without clearing.
#include "game/game.h"

namespace {

constexpr double flashPerRecord = 80.0;

int32_t garbageValue(int player) {
  if (player != 1) return garbageRed;
  return gameMode == playerVersusMode ? garbageBlue : garbageGrey;
}

void sendAndCancel(int player, int32_t cleared) {
  PlayerState s = playerState(player);
  s.opponentIncomingDamage.push_back({cleared, randomDraw() % boardWidth, damageDelay});
  (player == 1 ? p1GarbageSent : p2GarbageSent) += cleared;
  int32_t remaining = cleared;
  while (remaining >= 1 && !s.incomingDamage.empty()) {
    DamageRecord& oldest = s.incomingDamage.front();
    if (oldest.rows > remaining) {
      oldest.rows -= remaining;
      remaining = 0;
    } else {
      remaining -= oldest.rows;
      s.incomingDamage.erase(s.incomingDamage.begin());
    }
  }
}

// The rows that rose.
int32_t riseDueGarbage(int player) {
  PlayerState s = playerState(player);
  int32_t risen = 0;
  for (size_t i = 0; i < s.incomingDamage.size();) {
    const DamageRecord record = s.incomingDamage[i];
    if (record.timer >= 0.0) {
      ++i;
      continue;
    }
    addGarbageRows(player, record.rows, record.hole);
    s.incomingDamage.erase(s.incomingDamage.begin() + static_cast<std::ptrdiff_t>(i));
    s.damageFlash += flashPerRecord;
    risen += record.rows;
  }
  if (risen > 0) playGameSound(SoundEffect::takeDamage, 1);
  return risen;
}

} // namespace

int32_t exchangeDamage(int player, int32_t cleared) {
  // Garbage only goes to a player who plays: in solo, training and the menu demos nobody would
  // ever take it, and it would pile up for as long as the game runs.
  if (cleared == 0) return riseDueGarbage(player);
  if (versusMode()) sendAndCancel(player, cleared);
  return 0;
}

void addGarbageRows(int player, int32_t rows, int32_t hole) {
  Board& board = playerState(player).board;
  if (rows <= 0) return;
  if (rows > boardHeight) rows = boardHeight;
  const int32_t value = garbageValue(player);
  for (int32_t x = 0; x < boardWidth; ++x) {
    for (int32_t y = 0; y + rows < boardHeight; ++y) board[x][y] = board[x][y + rows];
    for (int32_t y = boardHeight - rows; y < boardHeight; ++y) board[x][y] = x == hole ? 0 : value;
  }
}
