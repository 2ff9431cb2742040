// A replay's start as the frame update is about to play it, and playing a replay back through
// the same frame step: the pieces, weights, bot and random stream of the recorded game put in
// place, and a versus-bot game's bot playing again.
#include "ai/playback.h"

#include "ai/ai.h"
#include "game/game.h"

namespace {

bool fail(std::string* error, const std::string& what) {
  if (error) *error = what;
  return false;
}

} // namespace

Replay beginReplay(int64_t date, double p1Sens, double p2Sens, uint64_t counterFrequency) {
  Replay r;
  r.counterFrequency = counterFrequency;
  r.gameVersion = gameVersion;
  r.mode = gameMode;
  r.variant = gameMode == soloPlayMode ? soloVariant : 0;
  r.date = date;
  r.pieceSource = catalogueSource;
  r.pieces = pieceCatalogue;
  if (!fitnessParams.empty()) r.weights = fitnessParams[0];
  r.botStepInterval = botStepInterval;
  r.botMoveTimer = botMoveTimer;
  r.botStepwise = botStepwise;
  r.botUsesNetwork = botUsesNetwork;
  r.networkHash = networkHash();
  r.p1Sensitivity = p1Sens;
  r.p2Sensitivity = p2Sens;
  r.random = gameStartRandom;
  return r;
}

uint64_t networkHash() {
  uint64_t hash = hashStart;
  for (const auto& layer : botNetwork.layers)
    for (const Neuron& neuron : layer) {
      hash = hashBytes(hash, &neuron.bias, sizeof neuron.bias);
      for (const Connection& c : neuron.connections)
        hash = hashBytes(hash, &c.weight, sizeof c.weight);
    }
  return hash;
}

bool startReplay(const Replay& replay, std::string* error) {
  if (replay.botUsesNetwork && replay.mode == versusBotMode && replay.networkHash != networkHash())
    return fail(error, "the bot of this replay played with another network");
  if (!savedSetup.saved) {
    savedSetup = {true,         loadedPieces, fitnessParams,  botStepInterval,
                  botMoveTimer, botStepwise,  botUsesNetwork, soloVariant};
    setAsideOwnSelection();
  }
  // The recorded pieces at their loaded places, only they selected: the catalogue comes out as
  // recorded, and each piece keeps its colour.
  size_t slots = static_cast<size_t>(replay.pieceSource.back()) + 1;
  std::vector<Piece> pieces(slots);
  std::vector<bool> selection(slots, false);
  for (size_t i = 0; i < replay.pieces.size(); ++i) {
    pieces[replay.pieceSource[i]] = replay.pieces[i];
    selection[replay.pieceSource[i]] = true;
  }
  loadedPieces = pieces;
  pieceSelection = selection;
  // No weights recorded: the evaluation's own defaults, never whatever this machine has loaded.
  fitnessParams.clear();
  if (!replay.weights.empty()) fitnessParams = {replay.weights};
  botStepInterval = replay.botStepInterval;
  botStepwise = replay.botStepwise;
  botUsesNetwork = replay.botUsesNetwork;
  gameMode = replay.mode;
  soloVariant = replay.variant;
  restoreRandomState(randomStream, replay.random);
  setUpGame();
  botMoveTimer = replay.botMoveTimer;
  return true;
}

void playReplayFrame(const ReplayFrame& frame) {
  if (frame.clicked) {
    // As a click does in the window: the stream re-seeded from where it was pointed.
    uint32_t extra = static_cast<uint32_t>(randomDraw() % 1000);
    seedRandom(static_cast<uint32_t>(frame.clickSum) + extra);
  }
  bool online = gameMode == onlineVersusMode && onlineReplayStep;
  if (!frame.stepped) {
    if (online) onlineReplayStep(false);
    return;
  }
  useFrameInputs(frame);
  if (online)
    onlineReplayStep(true);
  else
    advanceBotPlay();
  advanceEffects();
}

void endReplay() {
  if (!savedSetup.saved) return;
  loadedPieces = savedSetup.loadedPieces;
  restoreOwnSelection();
  fitnessParams = savedSetup.fitnessParams;
  botStepInterval = savedSetup.botStepInterval;
  botMoveTimer = savedSetup.botMoveTimer;
  botStepwise = savedSetup.botStepwise;
  botUsesNetwork = savedSetup.botUsesNetwork;
  soloVariant = savedSetup.soloVariant;
  rebuildCatalogue();
  savedSetup = SavedSetup{};
}

uint32_t playReplayFrames(const Replay& replay, std::string* problem) {
  uint32_t frames = 0;
  ReplayCursor cursor;
  ReplayFrame frame;
  while (nextReplayFrame(replay, cursor, frame)) {
    playReplayFrame(frame);
    ++frames;
  }
  if (problem) *problem = cursor.problem;
  return frames;
}

bool resimulate(const Replay& replay, ReplayResult& result, std::string* error) {
  if (!startReplay(replay, error)) return false;
  std::string problem;
  uint32_t frames = playReplayFrames(replay, &problem);
  result = currentResult(frames);
  endReplay();
  if (!problem.empty()) return fail(error, problem);
  return true;
}
