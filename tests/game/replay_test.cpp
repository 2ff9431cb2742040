// The rules' random stream, and replay files: what the reader refuses, and a replay recorded by
// an earlier build that must still play out to the same end.
#include "ai/playback.h"
#include "game/game.h"

#include "folders.h"
#include "play.h"

#include <cstdlib>

TEST(Replay, RandomStreamDrawsWhatRandDrawsAndResumesFromASavedState) {
  for (uint32_t seed : {1u, 7u, 123456789u}) {
    std::srand(seed);
    seedRandom(seed);
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(randomDraw(), std::rand()) << "seed " << seed;
  }
  RandomState saved = saveRandomState(randomStream);
  std::vector<int32_t> first, second;
  for (int i = 0; i < 100; ++i) first.push_back(randomDraw());
  ASSERT_TRUE(restoreRandomState(randomStream, saved));
  for (int i = 0; i < 100; ++i) second.push_back(randomDraw());
  EXPECT_EQ(first, second);
  RandomState broken = saved;
  broken.front = (broken.rear + 5) % 31;
  EXPECT_FALSE(restoreRandomState(randomStream, broken));
  broken.front = 200;
  EXPECT_FALSE(restoreRandomState(randomStream, broken));
}

// Games played in the window by an earlier build: a sprint and a game against the bot.
TEST(Replay, GamesRecordedByAnEarlierBuildEndTheSameAndDamagedCopiesAreRefused) {
  Replay replay;
  std::string error;
  for (const char* name : {"bot", "sprint"}) {
    std::string path =
        BRIKKA_SOURCE_DIR "/tests/fuzz/seeds/replay/" + std::string(name) + ".replay";
    ASSERT_TRUE(readReplayFile(path, replay, &error)) << error;
    ReplayResult result;
    ASSERT_TRUE(resimulate(replay, result, &error)) << error;
    EXPECT_EQ(result.boardHash, replay.result.boardHash) << name;
    EXPECT_EQ(result.pieces, replay.result.pieces) << name;
    EXPECT_EQ(result.frames, replay.result.frames) << name;
    EXPECT_EQ(result.clock, replay.result.clock) << name;
    EXPECT_EQ(readFile(path), replayBytes(replay)) << name; // written as read
  }

  // Every cut, and a changed version, magic or frame count, is refused with one line.
  std::string bytes = replayBytes(replay);
  for (size_t length = 0; length < bytes.size(); length += 1 + length / 50) {
    Replay cut;
    ASSERT_FALSE(readReplayBytes(bytes.substr(0, length), cut, &error)) << length;
    EXPECT_EQ(error.find('\n'), std::string::npos);
  }
  for (size_t at : {size_t{0}, size_t{8}, bytes.size() - 1}) {
    std::string damaged = bytes;
    damaged[at] = static_cast<char>(damaged[at] ^ 0x7F);
    Replay copy;
    EXPECT_FALSE(readReplayBytes(damaged, copy, &error)) << at;
  }
  // A piece cell of 2 under a matching check sum decodes, but it is not what the game writes.
  std::string odd = bytes.substr(0, bytes.size() - 8);
  odd[8 + 4 + 1 + replay.gameVersion.size() + 1 + 1 + 8 + 4 + 4 + 1 + 1] = 2;
  uint64_t sum = replayCheckSum(odd);
  for (int i = 0; i < 8; ++i) odd.push_back(static_cast<char>(sum >> (8 * i)));
  Replay copy;
  EXPECT_FALSE(readReplayBytes(odd, copy, &error));
  EXPECT_NE(error.find("not written the way this game writes"), std::string::npos) << error;
  // A count of frames its bytes could never hold is refused before anything is set aside.
  Replay swollen = replay;
  swollen.result.frames = replayFrameLimit;
  EXPECT_FALSE(readReplayBytes(replayBytes(swollen), copy, &error));
  EXPECT_EQ(error, "more frames than a file of its size can hold");
  // A replay from a later game is refused by name; one from an earlier one plays.
  for (const char* version : {"9.0.0", "1.10", "0.1.0"}) {
    Replay other = replay;
    other.gameVersion = version;
    bool later = std::string(version) != "0.1.0";
    EXPECT_EQ(readReplayBytes(replayBytes(other), copy, &error), !later) << version;
    if (later) {
      EXPECT_EQ(error, "made by Brikka " + std::string(version) + "; this is " + gameVersion);
    }
  }
  EXPECT_FALSE(readReplayFile(BRIKKA_SOURCE_DIR "/tests", replay, &error));
  EXPECT_NE(error.find("not a regular file"), std::string::npos);
}

// A game played with a handling that moves to the wall and drops at once: the file carries what
// the handling did, so it plays back the same with the rules' defaults in force.
TEST(Replay, HandlingIsRecordedFrameByFrameAndPlaysBackTheSame) {
  startGame({oPiece, tPiece});
  Replay replay = beginReplay(0, 0.1, 0.1, 0);
  uint32_t frames = 0;
  for (int frame = 0; frame < 300; ++frame, ++frames) {
    p1MoveRight = frame % 40 < 20;
    p1MoveLeft = !p1MoveRight;
    p1MoveCells = frame % 3 == 0 ? boardWidth : 1;
    p1SoftDrop = frame % 7 == 0;
    p1SoftDropFactor = frame % 2 == 0 ? instantSoftDrop : 30;
    ReplayFrame played = currentFrame();
    addReplayFrame(replay, played);
    playReplayFrame(played);
  }
  replay.result = currentResult(frames);
  std::string bytes = replayBytes(replay), error;
  Replay read;
  ASSERT_TRUE(readReplayBytes(bytes, read, &error)) << error;
  EXPECT_EQ(read.format, 2u);
  p1MoveCells = 1;
  p1SoftDropFactor = classicSoftDrop;
  ReplayResult result;
  ASSERT_TRUE(resimulate(read, result, &error)) << error;
  EXPECT_EQ(result.boardHash, replay.result.boardHash);
  EXPECT_EQ(result.pieces, replay.result.pieces);
  // The same inputs with one step a move and the original soft drop end elsewhere.
  // (A replay read from bytes decodes its frames as they play: change the recorded ones.)
  for (ReplayFrame& frame : replay.frames) frame.moveCells[0] = 1, frame.softDropFactor[0] = -1;
  ASSERT_TRUE(resimulate(replay, result, &error)) << error;
  EXPECT_NE(result.boardHash, replay.result.boardHash);
}

// The player's own pieces come back after a replay, even when the replayed game set pieces aside
// too (an online game's start), and nothing stays aside for the next online game to find.
TEST(Replay, ViewingGivesThePlayerTheirOwnPiecesBack) {
  startGame({oPiece, tPiece, iPiece});
  pieceSelection = {true, false, true};
  std::vector<bool> own = pieceSelection;
  Replay replay;
  std::string error;
  ASSERT_TRUE(
      readReplayFile(BRIKKA_SOURCE_DIR "/tests/fuzz/seeds/replay/sprint.replay", replay, &error))
      << error;
  soloVariant = ultraVariant;
  ASSERT_TRUE(startReplay(replay, &error)) << error;
  setAsideOwnSelection(); // as a replayed online start does
  endReplay();
  EXPECT_EQ(pieceSelection, own);
  EXPECT_TRUE(ownPieceSelection.empty());
  EXPECT_EQ(soloVariant, ultraVariant); // the sprint replayed, the player's own race again
}

// A frame counts as a repeat of the one before only when the handling is the same too.
TEST(Replay, HandlingSplitsRepeats) {
  Replay frames;
  ReplayFrame frame;
  frame.delta = 1.0;
  addReplayFrame(frames, frame);
  addReplayFrame(frames, frame);
  frame.moveCells[0] = 3;
  addReplayFrame(frames, frame);
  ASSERT_EQ(frames.frames.size(), 2u);
  EXPECT_EQ(frames.frames[0].repeat, 2u);
}
