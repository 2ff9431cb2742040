// Draws the desktop icons: three of the game's four-block pieces stacked on black, in their game
// colours and with the board's cell drawing, written as <folder>/<n>x<n>/apps/brikka.png for the
// hicolor icon theme.
//   makeIcons <Storage folder> <output folder>
#include "game/game.h"
#include "render/render.h"

#include <SDL_image.h>

#include <cstdio>
#include <filesystem>

namespace {

const int iconSizes[] = {48, 128, 256};
// Four by four cells, top row first: an L, an S on its side and a Z; '.' stays black.
const char* const picture[] = {"...c", "a.cc", "abbc", "aabb"};
constexpr int pictureCells = 4;
// Catalogue ids of the pieces drawn as a, b and c: with the default selection the catalogue is
// the seven four-block pieces.
const int32_t pieceIds[] = {7, 3, 1};

bool writeIcon(int size, const std::string& path) {
  SDL_Surface* canvas = SDL_CreateRGBSurfaceWithFormat(0, size, size, 32, SDL_PIXELFORMAT_ARGB8888);
  renderer = canvas ? SDL_CreateSoftwareRenderer(canvas) : nullptr;
  bool written = false;
  if (renderer) {
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    const int cell = size / pictureCells;
    for (int y = 0; y < pictureCells; ++y) {
      for (int x = 0; x < pictureCells; ++x) {
        char mark = picture[y][x];
        if (mark != '.')
          fillCell({x * cell, y * cell, cell, cell}, cellColour(pieceIds[mark - 'a']));
      }
    }
    SDL_RenderPresent(renderer);
    written = IMG_SavePNG(canvas, path.c_str()) == 0;
    SDL_DestroyRenderer(renderer);
    renderer = nullptr;
  }
  SDL_FreeSurface(canvas);
  return written;
}

} // namespace

static int run(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: makeIcons <Storage folder> <output folder>\n");
    return 2;
  }
  const std::string storage = argv[1];
  std::string error;
  if (!loadPieceFiles(&error, storage) || !loadPieceColours(&error, storage + "/colorPieces.txt")) {
    std::fprintf(stderr, "makeIcons: %s\n", error.c_str());
    return 1;
  }
  rebuildCatalogue();
  for (int size : iconSizes) {
    const std::string name = std::to_string(size) + "x" + std::to_string(size);
    const std::filesystem::path folder = std::filesystem::path(argv[2]) / name / "apps";
    std::error_code code;
    std::filesystem::create_directories(folder, code);
    const std::string path = (folder / "brikka.png").string();
    if (code || !writeIcon(size, path)) {
      std::fprintf(stderr, "makeIcons: could not write %s: %s\n", path.c_str(), SDL_GetError());
      return 1;
    }
  }
  return 0;
}

int main(int argc, char** argv) {
  return runGuarded("makeIcons", [&] { return run(argc, argv); });
}
