// The Gamepad screen's own drawing: under each player's column, the pad that player holds.
#include "render/render.h"

void drawGamepadScreen(SDL_GameController* const pads[2]) {
  for (int player : {2, 1}) {
    SDL_GameController* pad = pads[player - 1];
    const char* name = pad ? SDL_GameControllerName(pad) : nullptr;
    // TRANSLATORS: %1$d is the player's number, %2$s a pad's name, "a pad" or "no pad".
    std::string text =
        trf("Player %d: %s", player, pad ? (name ? name : tr("a pad")) : tr("no pad"));
    int centreX = player == 2 ? 350 : 1150; // the middle of that player's column of controls
    drawText(
        fontSmall, text, {255, 255, 255, 255},
        [centreX](int w, int) {
          return SDL_Point{centreX - w / 2, 860};
        },
        600);
  }
}
