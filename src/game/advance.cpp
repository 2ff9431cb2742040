// One frame of a game in play, as the window and a replay's re-simulation both run it: the
// players, top-outs, gravity's speed-up, the game clock and the end of a sprint or ultra game;
// then the effects that move in every mode.
#include "game/game.h"

#include <cmath>

namespace {

constexpr double fastestGravity = 5.0; // gravityInterval never falls below this

// A match ends when one player has topped out three times; that board stays as it fell.
void countTopOuts() {
  if (p1GameOver) {
    ++p1Losses;
    p1GameOver = false;
    if (p1Losses < 3) resetBoards(1);
  }
  if (p2GameOver) {
    ++p2Losses;
    p2GameOver = false;
    if (p2Losses < 3) resetBoards(2);
  }
  if (p1Losses >= 3 || p2Losses >= 3) matchOver = true;
}

void tickDamageTimers() {
  for (DamageRecord& record : p1IncomingDamage) record.timer -= frameDelta;
  for (DamageRecord& record : p2IncomingDamage) record.timer -= frameDelta;
}

void limitGravity() {
  if (gravityInterval <= fastestGravity) gravityInterval = fastestGravity;
}

void stepSolo() {
  if (p1GameOver) {
    matchOver = true;
    return;
  }
  // A finished sprint or ultra game stands still, as a topped-out one does.
  if (matchOver) return;
  stepPlayer(1);
  gravityInterval -= frameDelta / 1000.0;
  limitGravity();
  gameClock += frameDelta;
  if (soloVariant == sprintVariant && p1Lines >= sprintLines) matchOver = true;
  if (soloVariant == ultraVariant && gameClock >= ultraDuration) matchOver = true;
}

void stepPlayerVersus() {
  if (matchOver) return;
  stepPlayer(1);
  stepPlayer(2);
  tickDamageTimers();
  gravityInterval -= gravityInterval / 10.0 * (frameDelta / 1000.0);
  limitGravity();
  countTopOuts();
  gameClock += frameDelta;
}

void moveParticles() {
  for (size_t i = 0; i < lineClearParticles.size();) {
    LineClearParticle& p = lineClearParticles[i];
    p.speed += p.acceleration;
    double dx = p.targetX - p.x, dy = p.targetY - p.y;
    double distance = std::sqrt(dx * dx + dy * dy);
    // A particle already on its target has no direction to fly in: it has arrived.
    if (distance == 0.0) {
      lineClearParticles.erase(lineClearParticles.begin() + i);
      continue;
    }
    p.x += dx / distance * p.speed * frameDelta;
    p.y += dy / distance * p.speed * frameDelta;
    if (p.size > p.targetSize)
      p.size -= frameDelta * 0.7;
    else
      p.size += frameDelta * 0.7;
    if (p.targetSize > p.size - frameDelta && p.size + frameDelta > p.targetSize)
      p.size = p.targetSize;
    bool passed = (p.targetX - p.x) * dx < 0 || (p.targetY - p.y) * dy < 0;
    if (passed)
      lineClearParticles.erase(lineClearParticles.begin() + i);
    else
      ++i;
  }
}

double fadedFlash(double flash) {
  flash -= 3 * frameDelta;
  return flash < 0.0 ? 0.0 : (flash > 255.0 ? 255.0 : flash);
}

} // namespace

void advancePlay() {
  switch (gameMode) {
  case 1:
    stepSolo();
    break;
  case 2:
    stepPlayerVersus();
    break;
  default:
    break;
  }
}

void finishVersusBotFrame() {
  countTopOuts();
  tickDamageTimers();
  gameClock += frameDelta;
}

void advanceEffects() {
  moveParticles();
  if (versusMode()) {
    p1DamageFlash = fadedFlash(p1DamageFlash);
    p2DamageFlash = fadedFlash(p2DamageFlash);
  }
}

bool isPlayMode(int32_t mode) {
  return mode == soloPlayMode || mode == playerVersusMode || mode == versusBotMode;
}
