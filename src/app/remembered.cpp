// What the game remembers between starts beside the settings: the window's place and the piece
// selection, both kept in the preferences file.
#include "app/settings.h"
#include "app/shell.h"
#include "game/game.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace {

// A piece is known by its size and its place among the loaded pieces of that size ("4:2" is the
// second four-block piece), which stays put while the files do.
std::vector<std::string> pieceNames() {
  std::vector<std::string> names;
  int32_t seen[26] = {};
  for (const Piece& piece : loadedPieces) {
    int32_t blocks = 0;
    for (const auto& column : piece.grids[0])
      blocks += static_cast<int32_t>(std::count(column.begin(), column.end(), 1));
    blocks = std::min(blocks, 25);
    names.push_back(std::to_string(blocks) + ":" + std::to_string(++seen[blocks]));
  }
  return names;
}

} // namespace

SDL_Rect fittedWindow(SDL_Rect usable, WindowFrame frame, SDL_Rect remembered) {
  int roomW = std::max(usable.w - frame.left - frame.right, 3);
  int roomH = std::max(usable.h - frame.top - frame.bottom, 2);
  SDL_Rect place;
  if (remembered.w >= 100 && remembered.h >= 100) {
    place = {remembered.x, remembered.y, std::min(remembered.w, roomW),
             std::min(remembered.h, roomH)};
  } else {
    SDL_Point size = firstWindowSize(roomW, roomH);
    place = {usable.x + frame.left + (roomW - size.x) / 2,
             usable.y + frame.top + (roomH - size.y) / 2, size.x, size.y};
  }
  // The frame, title bar included, stays on the usable area.
  place.x = std::clamp(place.x, usable.x + frame.left, usable.x + frame.left + roomW - place.w);
  place.y = std::clamp(place.y, usable.y + frame.top, usable.y + frame.top + roomH - place.h);
  return place;
}

SDL_Rect usableAreaAround(SDL_Rect remembered) {
  SDL_Rect usable = {0, 0, windowWidth, windowHeight};
  if (SDL_GetDisplayUsableBounds(0, &usable) != 0) usable = {0, 0, windowWidth, windowHeight};
  SDL_Point centre = {remembered.x + remembered.w / 2, remembered.y + remembered.h / 2};
  for (int k = 1; k < SDL_GetNumVideoDisplays(); ++k) {
    SDL_Rect bounds;
    if (SDL_GetDisplayUsableBounds(k, &bounds) == 0 && SDL_PointInRect(&centre, &bounds))
      usable = bounds;
  }
  return usable;
}

void noteWindowPlace() {
  if (!window) return;
  uint32_t flags = SDL_GetWindowFlags(window);
  // Full screen and maximised are states of their own; the place to come back to is the last
  // ordinary one.
  if (flags & (SDL_WINDOW_FULLSCREEN | SDL_WINDOW_MAXIMIZED | SDL_WINDOW_MINIMIZED)) return;
  SDL_GetWindowPosition(window, &windowPlace.x, &windowPlace.y);
  SDL_GetWindowSize(window, &windowPlace.w, &windowPlace.h);
}

void saveWindowPlace() {
  if (windowPlace.w <= 0) return;
  for (const char* name : {"window_x", "window_y", "window_width", "window_height"})
    savePreference(name);
}

std::string pieceSelectionText() {
  std::vector<std::string> names = pieceNames();
  const std::vector<bool>& own = playersOwnSelection();
  std::string text;
  for (size_t k = 0; k < names.size() && k < own.size(); ++k)
    if (own[k]) text += (text.empty() ? "" : " ") + names[k];
  return text;
}

void rememberPieceSelection() {
  std::string text = pieceSelectionText();
  if (text == piecesKept) return;
  piecesKept = text;
  savePreference("pieces_selected");
}

void applyRememberedPieces() {
  if (piecesKept.empty()) return;
  std::vector<std::string> names = pieceNames();
  std::vector<bool> chosen(loadedPieces.size(), false);
  std::istringstream words(piecesKept);
  std::string word, missing;
  bool any = false;
  while (words >> word) {
    auto found = std::find(names.begin(), names.end(), word);
    if (found == names.end()) {
      missing += " " + word;
      continue;
    }
    chosen[found - names.begin()] = true;
    any = true;
  }
  if (!missing.empty())
    std::fprintf(stderr, "%s: pieces_selected: no such piece in the piece files now:%s; left out\n",
                 preferencesPath, missing.c_str());
  if (any) pieceSelection = chosen;
}
