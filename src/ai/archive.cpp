// The archive of the player's networks: every network a training run is about to replace is
// kept under a name saying when it was put aside and its layer sizes, so nothing the player
// had is ever lost; the shipped network sits beside them as "Shipped".
#include "ai/ai.h"
#include "game/game.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

// Through the game's opening routine: a FIFO or a huge file in the archive never blocks a save.
bool readWhole(const fs::path& path, std::string& text) {
  return readFileLimited(path.string(), networkFileLimit, &text, nullptr);
}

// The archived networks' files, oldest first.
std::vector<fs::path> archivedFiles(const std::string& folder) {
  std::vector<fs::path> files;
  std::error_code code;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, code)) {
    const fs::path& path = entry.path();
    if (entry.is_regular_file(code) && path.extension() == ".txt" &&
        path.stem() != shippedNetworkName)
      files.push_back(path);
  }
  // By the time each was written: names hold the date, but only to the second.
  std::vector<std::pair<fs::file_time_type, fs::path>> dated;
  for (const fs::path& path : files) dated.push_back({fs::last_write_time(path, code), path});
  std::sort(dated.begin(), dated.end());
  for (size_t k = 0; k < files.size(); ++k) files[k] = dated[k].second;
  return files;
}

} // namespace

std::string networkLayerSizes(const std::string& text) {
  std::string sizes;
  for (char c : text.substr(0, text.find('\n'))) {
    if (c == ',')
      sizes += '-';
    else if (c >= '0' && c <= '9')
      sizes += c;
  }
  while (!sizes.empty() && sizes.back() == '-') sizes.pop_back();
  return sizes;
}

std::string archivedNetworkMatching(const std::string& text, const std::string& folder) {
  std::string other;
  if (readWhole(fs::path(folder) / (std::string(shippedNetworkName) + ".txt"), other) &&
      other == text)
    return shippedNetworkName;
  for (const fs::path& path : archivedFiles(folder))
    if (readWhole(path, other) && other == text) return path.stem().string();
  return "";
}

std::vector<std::string> archivedNetworks(const std::string& folder) {
  std::vector<std::string> names;
  std::vector<fs::path> files = archivedFiles(folder);
  // Files put there by hand count only once the next archiving trims the folder.
  for (auto it = files.rbegin(); it != files.rend() && names.size() < archivedNetworkLimit; ++it)
    names.push_back(it->stem().string());
  std::error_code code;
  if (fs::is_regular_file(fs::path(folder) / (std::string(shippedNetworkName) + ".txt"), code))
    names.push_back(shippedNetworkName);
  return names;
}

bool archiveNetworkFile(const std::string& path, const std::string& folder, std::string* error) {
  std::string text;
  if (!readWhole(path, text)) return true; // nothing there to lose
  std::error_code code;
  fs::create_directories(folder, code);
  if (code) {
    if (error) *error = folder + ": " + code.message();
    return false;
  }
  if (archivedNetworkMatching(text, folder).empty()) {
    char date[32];
    std::time_t now = std::time(nullptr);
    std::strftime(date, sizeof date, "%Y-%m-%d %H-%M-%S", std::localtime(&now));
    std::string base = std::string(date) + " " + networkLayerSizes(text);
    fs::path target = fs::path(folder) / (base + ".txt");
    // Two networks put aside within a second keep both.
    for (int k = 2; fs::exists(target, code); ++k)
      target = fs::path(folder) / (base + " (" + std::to_string(k) + ").txt");
    std::vector<fs::path> earlier = archivedFiles(folder);
    if (!writeFileAtomically(target.string(), text, error)) return false;
    // The clock may not have moved since the last one was put aside: keep the order anyway.
    if (!earlier.empty()) {
      fs::file_time_type last = fs::last_write_time(earlier.back(), code);
      if (!code && fs::last_write_time(target, code) <= last)
        fs::last_write_time(target, last + std::chrono::milliseconds(1), code);
    }
  }
  std::vector<fs::path> files = archivedFiles(folder);
  for (size_t k = 0; k + archivedNetworkLimit < files.size(); ++k) fs::remove(files[k], code);
  return true;
}
