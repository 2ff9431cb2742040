// The training curve as a PNG: the game's own fitness graph drawn by a software renderer on a
// surface, so no window and no video driver are involved.
#include "lab/lab.h"

#include "game/game.h"
#include "render/render.h"

#include <SDL_image.h>

#include <cstdio>

// A font is a few MB at most; the text stays while the font is open, which reads from it.
constexpr size_t fontFileLimit = size_t{16} << 20;
static std::string fontBytes;
static TTF_Font* plotFont = nullptr; // the graph's labels, at the size the game's small font has

void preparePlot(const std::string& dataFolder) {
  if (plotFont) return;
  std::string fontFile = findDataFolder(dataFolder) + "/Fonts/nasaFont.ttf", error;
  if (!readFileLimited(fontFile, fontFileLimit, &fontBytes, &error)) throw LabError{error};
  if (TTF_WasInit() == 0 && TTF_Init() != 0)
    throw LabError{std::string("fonts: ") + TTF_GetError()};
  plotFont = TTF_OpenFontRW(
      SDL_RWFromConstMem(fontBytes.data(), static_cast<int>(fontBytes.size())), 1, 24);
  if (!plotFont) throw LabError{fontFile + ": " + TTF_GetError()};
}

// What draw puts on a canvas of the given size, cut to panel, as PNG.
static void savePicture(const std::string& path, SDL_Rect panel, int canvasWidth, int canvasHeight,
                        const std::function<void()>& draw) {
  SDL_Surface* canvas =
      SDL_CreateRGBSurfaceWithFormat(0, canvasWidth, canvasHeight, 32, SDL_PIXELFORMAT_ARGB8888);
  SDL_Surface* picture =
      SDL_CreateRGBSurfaceWithFormat(0, panel.w, panel.h, 24, SDL_PIXELFORMAT_RGB24);
  SDL_Renderer* painter = canvas ? SDL_CreateSoftwareRenderer(canvas) : nullptr;
  bool drawn = painter && picture;
  if (drawn) {
    SDL_SetRenderDrawColor(painter, 0, 0, 0, 255);
    SDL_RenderClear(painter);
    drawWith(painter, plotFont, draw);
    SDL_RenderFlush(painter);
    SDL_Rect source = panel;
    drawn = SDL_BlitSurface(canvas, &source, picture, nullptr) == 0;
  }
  std::string problem = drawn ? "" : std::string(SDL_GetError());
  // Written beside the target and renamed, so a reader never finds half a picture; named as
  // every writer's temporary file is, so a later run clears it away should this one be killed.
  std::string partial = temporaryPathFor(path);
  if (drawn && IMG_SavePNG(picture, partial.c_str()) != 0) problem = IMG_GetError();
  if (drawn && problem.empty() && std::rename(partial.c_str(), path.c_str()) != 0)
    problem = "cannot be renamed into place";
  if (!problem.empty()) std::remove(partial.c_str());
  if (painter) SDL_DestroyRenderer(painter);
  SDL_FreeSurface(picture);
  SDL_FreeSurface(canvas);
  if (!problem.empty()) throw LabError{path + ": " + problem};
}

void writePlot(const std::string& path) {
  savePicture(path, fitnessGraphPanel, windowWidth, windowHeight, drawFitnessGraph);
}

void writePicture(const std::string& path, int width, int height,
                  const std::function<void()>& draw) {
  savePicture(path, SDL_Rect{0, 0, width, height}, width, height, draw);
}
