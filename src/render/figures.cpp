// A game's figures as the screens and the history show them: one way to write each.
#include "render/render.h"

#include <cmath>
#include <cstdio>

std::string twoDecimals(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

std::string clockText(double seconds) {
  if (!(seconds > 0.0)) seconds = 0.0;
  if (seconds > 3.6e8) seconds = 3.6e8; // keeps a hostile figure inside the counter
  // Rounded, as the history and the replays' names keep it: one game, one figure everywhere.
  int64_t hundredths = std::llround(seconds * 100.0);
  char text[48];
  std::snprintf(text, sizeof text, "%lld:%02lld.%02lld", static_cast<long long>(hundredths / 6000),
                static_cast<long long>(hundredths / 100 % 60),
                static_cast<long long>(hundredths % 100));
  return text;
}

std::string bestDifferenceText(const std::string& mode, double value, double best) {
  // The true minus sign: a hyphen reads as a dash beside a time.
  const char* minus = "\xe2\x88\x92";
  double difference =
      mode == "sprint" ? std::round((value - best) * 100.0) / 100.0 : std::round(value - best);
  std::string sign = difference < 0.0 ? minus : "+";
  if (mode == "sprint") return sign + twoDecimals(std::fabs(difference)) + " s";
  return sign + std::to_string(static_cast<int64_t>(std::fabs(difference)));
}

bool finishedSprint(const GameRecord& game) {
  return game.mode == "sprint" && game.lines >= sprintLines;
}

double bestValueOf(const GameRecord& game) {
  return game.mode == "sprint" ? game.seconds : game.score;
}

bool betterThanBest(const std::string& mode, double value, double best) {
  // Bests are kept to the hundredth: a time equal there is no new best.
  double a = std::round(value * 100.0), b = std::round(best * 100.0);
  return mode == "sprint" ? a < b : a > b;
}

const PersonalBest* personalBest(const std::string& mode) {
  for (const PersonalBest& best : personalBests)
    if (best.mode == mode) return &best;
  return nullptr;
}

double keysPerPiece(const FinesseCount& count) {
  return count.placements > 0 ? static_cast<double>(count.keyPresses) / count.placements : 0.0;
}
