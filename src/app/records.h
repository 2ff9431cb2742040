// What is kept of finished games: the history, the personal bests, and the replays recorded
// while playing and viewed on the replays screen. State lives in state.h.
#pragma once

#include "app/state.h"
#include "render/render.h"

#include <string>

// ---------------------------------------------------------------------------------------------
// Statistics: the history and the personal bests
// ---------------------------------------------------------------------------------------------

std::string modeName(int32_t mode, int32_t variant); // "solo", "sprint", "ultra", "versus", "bot"
// How the game that just ended went for player 1: "finished" or "topped out" alone, "win 3-1",
// "loss 1-3" or "draw" in a match.
std::string playedResult();
void readBests(); // bests.txt, else rebuilt from the history (one line when either is bad)
bool appendHistory(const GameRecord& game);                      // one row onto history.csv
std::string historyRow(const GameRecord& game);                  // that row, newline included
bool parseHistoryRow(const std::string& line, GameRecord& game); // false for a bad row
void recordFinishedGame(const GameRecord& game);                 // history, bests, results panel

// ---------------------------------------------------------------------------------------------
// Replays: recorded while playing, kept in replaysFolder, viewed on the replays screen
// ---------------------------------------------------------------------------------------------

// Recording: a frame of play as the frame update runs it; the end of a game saves it all.
void recordReplayFrame(bool stepped); // this frame, when it steps or its click re-seeded
void finishPlayedGame();              // an offline game just over: replay, history, bests
// Writes a finished replay for game; the file's name, or "" when it could not be written.
std::string saveReplay(const Replay& replay, const GameRecord& game);
void pruneReplays(); // the newest replays and every best's kept, the others removed
void listReplays();  // replayList and the screen's buttons
bool openReplay(const std::string& path); // plays a replay back; one line when refused
void updateReplayPlayback();              // the frame update while replayPlaying
void stopReplay();                        // back to the replays screen
