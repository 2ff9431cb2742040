// The computer's turn: one frame of play for one player.
#include "ai/ai.h"
#include "ai/placement.h"
#include "game/game.h"

#include <cstdlib>

// Scratch for the network level's input, kept between frames.
static std::vector<int32_t> botInput;

static int32_t chooseAction(int32_t player, const PlayerState& state) {
  // An empty botNetwork (its file was missing or malformed) leaves the level to the search, and
  // so does an answer beyond the 44 placements from a network with more outputs: it would
  // make a rotation index no piece has.
  if (botUsesNetwork && botNetwork.layers.size() >= 2) {
    fillNetworkInput(state.board, state.pieceId, botInput);
    int32_t action = predict(botNetwork, botInput);
    if (action < actionCount) return action;
  }
  PlacementChoice best =
      botShapeScore ? searchBestPlacement(botShapeScore, player) : searchBestPlacement(player);
  return actionOf(best.x, best.rotation);
}

void advanceBotPlay() {
  if (gameMode != versusBotMode) {
    advancePlay();
    return;
  }
  if (matchOver) return;
  stepPlayer(1);
  botTurn(2);
  finishVersusBotFrame();
}

void botTurn(int32_t player) {
  PlayerState state = playerState(player);
  state.moveLeft = state.moveRight = state.rotateCw = false;
  state.hardDrop = state.softDrop = state.hold = false;
  stepPlayer(player);

  botMoveTimer -= frameDelta;
  if (botMoveTimer >= 0.0) return;
  botMoveTimer = botStepInterval;
  // Below a hundredth the random extra pause has no range: the bot acts every interval.
  int32_t pauseRange = static_cast<int32_t>(botStepInterval * 100);
  if (botStepwise && pauseRange > 0) botMoveTimer += (randomDraw() % pauseRange) / 100.0;

  int32_t action = chooseAction(player, state);
  int32_t targetRotation = actionRotation(action);
  int32_t targetColumn = actionColumn(action);

  bool rotationPending = false;
  if (botStepwise && state.rotation != targetRotation) {
    state.rotation = state.rotation == 0 ? 3 : state.rotation - 1;
    rotationPending = true;
  } else if (!botStepwise) {
    state.rotation = targetRotation;
  }

  int32_t distance = targetColumn - state.position.x;
  int32_t direction = distance >= 0 ? 1 : -1;
  for (int32_t attempt = 0; attempt < std::abs(distance); ++attempt) {
    if (!pieceFits(player, currentGrid(player), direction, 0)) continue;
    state.position.x += direction;
    if (botStepwise) return;
  }
  if (rotationPending) return;
  // The row limit only matters for a grid without blocks, which would fit at any depth.
  while (state.position.y < boardHeight && pieceFits(player, currentGrid(player), 0, 1))
    state.position.y += 1;
  lockPiece(player);
}
