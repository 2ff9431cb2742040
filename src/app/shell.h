// The game's shell around the frames: start-up, the frame loop, shutdown and the runtime folder
// the game plays in. State lives in state.h.
#pragma once

#include "app/state.h"

#include <string>
#include <vector>

// ---------------------------------------------------------------------------------------------
// Start-up, frame loop, shutdown
// ---------------------------------------------------------------------------------------------

int runGame();    // the whole program; returns the exit status
int startUp();    // everything before the first frame; 0, or the exit status of a failure
void runFrames(); // frames while running
void runFrame();  // one frame: clock, keys, update, drawing, then the wait to 16 ms
void shutDown();  // releases what start-up made
void printError(const char* format, ...);              // printf-style, to standard output
void playSoundEffect(SoundEffect effect, int channel); // the core's sound hook
// Frame timing: a frame's length in hundredths of a second from two performance counter
// readings, and the sleep that makes a frame last at least 16 ms (none in training).
double frameDeltaBetween(uint64_t previous, uint64_t current, uint64_t frequency);
uint32_t frameSleepMilliseconds(uint32_t frameStart, uint32_t now, int32_t mode);
// The first window: 1500 x 1000 when the usable area holds it, else the largest 3:2 that fits.
SDL_Point firstWindowSize(int usableWidth, int usableHeight);

// ---------------------------------------------------------------------------------------------
// Runtime folder: chosen, filled from the data folder and entered before anything is loaded
// ---------------------------------------------------------------------------------------------

constexpr const char* seedNetworkPath = "seed/BestNeuralNet.txt"; // in the data folder
bool enterRuntimeFolder(); // find the data, prepare the runtime folder, enter it; else one line
// A fresh runtime folder under the system's temporary folder, prepared from data and entered:
// tools play there, so nothing they save reaches a data folder. "" and error when it fails.
std::string enterTemporaryRuntimeFolder(const std::string& data, std::string* error);
void leaveTemporaryRuntimeFolder(const std::string& folder); // leaves and removes it
// Where the data folder is looked for: $BRIKKA_DATA alone when set, else beside the program
// (a build) and then under the install prefix.
std::vector<std::string> dataFolderCandidates(const std::string& programFolder);
std::string findDataFolder(const std::string& programFolder, std::string* error); // "" if none
std::string localeFolderOf(const std::string& dataFolder); // its sibling "locale": the catalogues
// Shipped files refreshed (through a temporary file), the player's files created when missing.
bool prepareRuntimeFolder(const std::string& runtime, const std::string& data, std::string* error);
