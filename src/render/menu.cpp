// The menu screens: drifting backdrop, demonstration boards, piece-selection grid, widgets.
#include "render/render.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr std::array<uint8_t, 3> tickColour = {40, 200, 40};
constexpr SDL_Point tickCorner = {118, 22}; // the tick's left end, from a tile's corner

// Leaves the blend mode additive: the demonstration board drawn next shows the backdrop
// through its empty cells.
void drawBackdrop() {
  // Still, the screens are drawn as over an empty backdrop.
  if (reduceMotion) {
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_ADD);
    return;
  }
  for (const MenuPiece& entry : menuPieces) {
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_ADD);
    int32_t w = truncPixel(entry.blockWidth);
    int32_t h = truncPixel(entry.blockHeight);
    // Narrow (slow) pieces are fainter: depth without a second layer.
    int32_t alpha = std::clamp(truncPixel(255 - (50 - entry.blockWidth) * 5), 0, 255);
    int32_t k = truncPixel(entry.pieceIndex);
    setPieceDrawColour(k, static_cast<uint8_t>(alpha), false);
    const PieceGrid& grid = pieceGrid(k + 1, truncPixel(entry.rotation));
    for (int32_t i = 0; i < static_cast<int32_t>(grid.size()); ++i)
      for (int32_t j = 0; j < static_cast<int32_t>(grid[i].size()); ++j) {
        if (grid[i][j] != 1) continue;
        SDL_Rect r = {truncPixel(i * w + entry.x), truncPixel(j * h + entry.y), w, h};
        fillRect(r);
      }
  }
}

// A tick in a tile's top right corner: chosen reads without telling two shades apart.
void drawTick(const SDL_Rect& tile) {
  setDrawColour(tickColour, 255);
  for (int thick = 0; thick < 4; ++thick) {
    int x = tile.x + tickCorner.x, y = tile.y + tickCorner.y + thick;
    drawLine(x, y, x + 8, y + 8);
    drawLine(x + 8, y + 8, x + 24, y - 10);
  }
}

void drawPieceSelection() {
  for (int32_t i = 0; i < static_cast<int32_t>(loadedPieces.size()); ++i) {
    SDL_Rect tile = {(i % 10) * 150, static_cast<int32_t>(std::floor(i / 10) * 250.0 + 50.0), 150,
                     150};
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 200);
    // Darkening black leaves it black: only the backdrop drawn under the tile needs the blend.
    std::vector<SDL_Rect> under = drawnPartsOf(tile);
    SDL_RenderFillRects(renderer, under.data(), static_cast<int>(under.size()));
    bool selected = i < static_cast<int32_t>(pieceSelection.size()) && pieceSelection[i];
    if (selected) {
      SDL_SetRenderDrawColor(renderer, 255, 255, 255, 120); // selected: a lighter tile
      fillRect(tile);
    }
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
    const PieceGrid& grid = loadedPieces[i].grids[0];
    double n = static_cast<double>(grid.size());
    const double pitch = 150 / 6.0;
    for (size_t u = 0; u < grid.size(); ++u)
      for (size_t v = 0; v < grid[u].size(); ++v) {
        if (grid[u][v] != 1) continue;
        SDL_Rect block = {truncPixel((u - n * 0.5) * pitch + (75 + tile.x)),
                          truncPixel((v - n * 0.5) * pitch + (75 + tile.y)), 25, 25};
        setPieceDrawColour(i, 255, true);
        fillRect(block);
        decoratePieceCell(i, block, pieceTypeColour(i));
      }
    if (selected) drawTick(tile);
  }
}

// A panel across the foot of the window, above every button there.
void drawMenuNotice() {
  if (menuNotice.empty()) return;
  const SDL_Rect panel = {150, 940, 1200, 50};
  SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
  setDrawColour({0, 0, 0}, 255);
  fillRect(panel);
  drawDoubleFrame(panel);
  drawText(
      fontSmall, menuNotice, {255, 200, 60, 255},
      [&panel](int w, int h) {
        return SDL_Point{panel.x + (panel.w - w) / 2, panel.y + (panel.h - h) / 2};
      },
      panel.w - 20);
}

} // namespace

void drawMenuScreen() {
  drawBackdrop();
  if (currentScreen == mainMenuScreen) {
    if (lastHoveredChoice == 1 || lastHoveredChoice == 2) { // the two-player entries
      drawBoard(1, 750, 40, false);
      drawBoard(2, 1200, 40, false);
    } else {
      drawBoard(1, 950, 40, false);
    }
  } else if (currentScreen == difficultyScreen) {
    drawBoard(1, 350, 40, false);
  } else if (currentScreen == piecesScreen) {
    drawPieceSelection();
  } else if (currentScreen == gamepadScreen) {
    drawGamepadScreen(playerPads);
  } else if (currentScreen == onlineScreen) {
    drawOnlineScreen();
  }
  drawScreenHeading();
  if (currentScreen == modesScreen) drawModesScreen();
  if (currentScreen == replaysScreen) drawReplaysScreen();
  if (currentScreen >= 0 && currentScreen < static_cast<int32_t>(screenButtons.size()))
    for (const Button& button : screenButtons[currentScreen]) drawMenuButton(button);
  if (currentScreen >= 0 && currentScreen < static_cast<int32_t>(screenSliders.size()))
    for (const Slider& slider : screenSliders[currentScreen]) drawSlider(slider);
  drawNetworkTexts();
  drawMenuNotice();
  drawFocusOutline();
}

void drawFocusOutline() {
  if (!focusVisible || focusContext != currentFocusContext()) return;
  FocusItem item = focusItem(focusIndex);
  if (!item.button && !item.slider) return;
  SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
  // Its face again, solid: the backdrop drifting under a focused button never shows through it.
  // In play the focus is on play's own buttons, drawn as play draws them.
  if (item.button && gameMode == menuMode) drawMenuButton(*item.button);
  if (item.button && gameMode != menuMode) drawButton(*item.button);
  // A yellow ring between two black ones reads over white faces, black faces and the coloured
  // pieces of the demo games alike.
  const SDL_Rect& a = item.area;
  for (int grow = 1; grow <= 9; ++grow) {
    bool yellow = grow >= 3 && grow <= 7;
    setDrawColour(yellow ? std::array<uint8_t, 3>{255, 220, 0} : std::array<uint8_t, 3>{0, 0, 0},
                  255);
    outlineRect({a.x - grow, a.y - grow, a.w + 2 * grow, a.h + 2 * grow});
  }
}

std::string sliderValueText(const Slider& slider) {
  if (!slider.shownValue.empty()) return slider.shownValue;
  if (slider.isInteger) return formatInt(truncPixel(slider.value));
  // The sign is written once in front, so -0.5 reads "-0.50" rather than "0.-50".
  double magnitude = std::fabs(slider.value);
  std::string sign = slider.value < 0 ? "-" : "";
  double whole = std::trunc(magnitude);
  // Hundredths are truncated, never rounded: 0.29 shows as 0.28.
  std::string hundredths = formatInt(truncPixel((magnitude - whole) * 100.0));
  if (hundredths.size() == 1) hundredths = "0" + hundredths;
  return sign + formatInt(truncPixel(whole)) + "." + hundredths;
}

int sliderLabelLift() {
  TTF_Font* font = menuFont(2);
  return font && fontMedium && font != fontMedium
             ? TTF_FontHeight(font) - TTF_FontHeight(fontMedium)
             : 0;
}

std::string sliderCaption(const Slider& slider) {
  return tr(slider.label) + " : " + sliderValueText(slider);
}

int sliderLabelRoom(const Slider& slider) {
  // The label may pass each end of the track by 60 pixels: the sliders side by side stay apart,
  // and the training screen's notes on the right stay clear.
  int room = slider.trackWidth + 2 * slider.trackMargin + 120;
  if (menuFont(2) == fontMedium) return room;
  // Grown for ui_scale, no wider than the track or than it was at 100: the two settings
  // sliders' labels, near the window's edges, never meet nor leave it.
  int width = 0;
  TTF_SizeUTF8(fontMedium, sliderCaption(slider).c_str(), &width, nullptr);
  return std::min(room, std::max(slider.trackWidth, width));
}

SDL_Rect sliderTrack(const Slider& slider) {
  return {truncPixel(slider.position.x - slider.trackWidth * 0.5 - slider.trackMargin),
          truncPixel(slider.position.y - slider.trackHeight * 0.5),
          slider.trackWidth + 2 * slider.trackMargin, slider.trackHeight};
}

void drawSlider(const Slider& slider) {
  SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
  SDL_Rect track = sliderTrack(slider);
  SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
  fillRect(track);
  setDrawColour(white, 255);
  outlineRect(track);

  SDL_Rect knob = {truncPixel(slider.knob.x - slider.knobSize * 0.5),
                   truncPixel(slider.knob.y - slider.knobSize * 0.5), slider.knobSize,
                   slider.knobSize};
  if (slider.hovered) knob = {knob.x - 2, knob.y - 2, knob.w + 4, knob.h + 4};
  // A held knob is drawn inverted.
  std::array<uint8_t, 3> face = slider.dragging ? white : std::array<uint8_t, 3>{0, 0, 0};
  std::array<uint8_t, 3> edge = slider.dragging ? std::array<uint8_t, 3>{0, 0, 0} : white;
  setDrawColour(face, 255);
  fillRect(knob);
  setDrawColour(edge, 255);
  outlineRect(knob);

  // A label larger than at 100 grows upwards, its foot clear of the track; its room keeps it off
  // its neighbours.
  int lift = sliderLabelLift();
  drawText(
      menuFont(2), sliderCaption(slider), {255, 255, 255, 255},
      [&slider, lift](int w, int h) {
        return SDL_Point{
            truncPixel(slider.position.x - w * 0.5),
            truncPixel(slider.position.y - slider.trackHeight * 0.5 - 20.0 - h * 0.5 - lift * 0.5)};
      },
      sliderLabelRoom(slider));
}
