// The runtime folder: the game runs in a folder of the player's own, where what ships with the
// game sits beside the player's files. Every launch refreshes the shipped files from the data
// folder and creates the player's files only when they are missing, so neither an update nor a
// rebuild ever loses a binding, a high score or a trained network.
#include "ai/ai.h"
#include "app/settings.h"
#include "app/shell.h"
#include "game/game.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

// The installed data folder as seen from the installed program's folder; the build sets it from
// the install layout.
#ifndef BRIKKA_INSTALLED_DATA
#define BRIKKA_INSTALLED_DATA "../share/brikka"
#endif

namespace fs = std::filesystem;

namespace {

const char* const dataSubfolders[] = {"Storage", "Fonts", "Mixer"};
// Written by the game itself: never replaced by what ships.
const char* const playerFiles[] = {"controls.txt", "sens.txt", "highscore.txt",
                                   "BestNeuralNet.txt"};

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

bool isDataFolder(const fs::path& folder) {
  std::error_code ignored;
  for (const char* subfolder : dataSubfolders)
    if (!fs::is_directory(folder / subfolder, ignored)) return false;
  return true;
}

bool isPlayerFile(const fs::path& file) {
  for (const char* name : playerFiles)
    if (file.filename() == name) return true;
  return false;
}

// The font and the music are the largest files that ship, a few MB each.
constexpr size_t shippedFileLimit = size_t{64} << 20;

bool readWholeFile(const fs::path& path, std::string& text) {
  return readFileLimited(path.string(), shippedFileLimit, &text);
}

bool fail(std::string* error, const std::string& message) {
  if (error) *error = message;
  return false;
}

// A file already identical is left alone, so a launch writes nothing when nothing changed.
bool refresh(const fs::path& from, const fs::path& to, std::string* error) {
  std::string shipped, current;
  if (!readFileLimited(from.string(), shippedFileLimit, &shipped, error)) return false;
  if (readWholeFile(to, current) && current == shipped) return true;
  return writeFileAtomically(to.string(), shipped, error);
}

// Anything already under the name, even a dangling link, is the player's and stays.
bool playerFileExists(const fs::path& path) {
  std::error_code ignored;
  return fs::exists(fs::symlink_status(path, ignored));
}

bool seed(const fs::path& to, const std::string& text, std::string* error) {
  return playerFileExists(to) || writeFileAtomically(to.string(), text, error);
}

bool seedFrom(const fs::path& from, const fs::path& to, std::string* error) {
  if (playerFileExists(to)) return true;
  std::string text;
  if (!readFileLimited(from.string(), shippedFileLimit, &text, error)) return false;
  return writeFileAtomically(to.string(), text, error);
}

// The regular files of one folder, in name order so that failures repeat the same way.
std::vector<fs::path> filesIn(const fs::path& folder) {
  std::vector<fs::path> files;
  std::error_code code;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, code))
    if (entry.is_regular_file(code)) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

std::string executableFolder() {
  char* base = SDL_GetBasePath();
  std::string folder = base ? base : ".";
  SDL_free(base);
  return folder;
}

} // namespace

std::vector<std::string> dataFolderCandidates(const std::string& programFolder) {
  std::string chosen = environment("BRIKKA_DATA");
  if (!chosen.empty()) return {chosen};
  fs::path folder(programFolder);
  return {(folder / "data").lexically_normal().string(),
          (folder / BRIKKA_INSTALLED_DATA).lexically_normal().string()};
}

std::string findDataFolder(const std::string& programFolder, std::string* error) {
  std::vector<std::string> candidates = dataFolderCandidates(programFolder);
  std::string looked;
  for (const std::string& candidate : candidates) {
    if (isDataFolder(candidate)) return candidate;
    looked += (looked.empty() ? "" : ", ") + candidate;
  }
  fail(error, "no game data (Storage, Fonts and Mixer) in " + looked);
  return "";
}

bool prepareRuntimeFolder(const std::string& runtime, const std::string& data, std::string* error) {
  const fs::path to(runtime), from(data);
  for (const char* subfolder : dataSubfolders) {
    std::error_code code;
    fs::create_directories(to / subfolder, code);
    if (code) return fail(error, (to / subfolder).string() + ": " + code.message());
    for (const fs::path& file : filesIn(from / subfolder)) {
      const fs::path target = to / subfolder / file.filename();
      bool done = isPlayerFile(file) ? seedFrom(file, target, error) : refresh(file, target, error);
      if (!done) return false;
    }
  }
  const fs::path storage = to / "Storage";
  // What a write killed half-way left behind, in every folder the game writes; a young one may
  // be another game's at work.
  for (const char* subfolder : dataSubfolders) removeStaleTemporaryFiles((to / subfolder).string());
  removeStaleTemporaryFiles((to / replaysFolder).string());
  removeStaleTemporaryFiles((to / networkArchiveFolder).string());
  std::error_code ignored;
  if (fs::exists(from / seedNetworkPath, ignored) &&
      !seedFrom(from / seedNetworkPath, storage / "BestNeuralNet.txt", error))
    return false;
  // The shipped network stays one choice away, whatever the player's own file holds.
  if (fs::exists(from / seedNetworkPath)) {
    std::error_code code;
    fs::create_directories(storage / "networks", code);
    if (!refresh(from / seedNetworkPath, storage / "networks" / "Shipped.txt", error)) return false;
  }
  return seed(storage / "controls.txt",
              controlsFileText(
                  std::vector<int32_t>(defaultControls, defaultControls + controlCount)),
              error) &&
         seed(storage / "sens.txt", sensitivityFileText(defaultSensitivity, defaultSensitivity),
              error) &&
         seed(storage / "highscore.txt", "0", error);
}

std::string enterTemporaryRuntimeFolder(const std::string& data, std::string* error) {
  std::error_code code;
  fs::path base = fs::temp_directory_path(code);
  std::string folder = (base.empty() ? fs::path("/tmp") : base).string() + "/brikka-run-XXXXXX";
  if (mkdtemp(folder.data()) == nullptr) {
    fail(error, folder + ": cannot be created");
    return "";
  }
  if (prepareRuntimeFolder(folder, data, error) && chdir(folder.c_str()) == 0) return folder;
  fs::remove_all(folder, code);
  return "";
}

void leaveTemporaryRuntimeFolder(const std::string& folder) {
  std::error_code code;
  fs::current_path(fs::temp_directory_path(code), code);
  fs::remove_all(folder, code);
}

bool enterRuntimeFolder() {
  std::string error;
  std::string data = findDataFolder(executableFolder(), &error);
  std::string runtime = runtimeFolder();
  if (!data.empty() && prepareRuntimeFolder(runtime, data, &error)) {
    bindLanguageFolder(localeFolderOf(data));
    if (chdir(runtime.c_str()) == 0) return true;
    error = runtime + ": cannot be entered";
  }
  std::fprintf(stderr, "Brikka: %s\n", error.c_str());
  return false;
}
