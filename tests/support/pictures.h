// Boards and pieces drawn as text, so a test shows its position at a glance.
//   '.' empty   '#' piece id 1   '1'..'9' that piece id   'g' 100   'r' 101   'b' 102
#pragma once

#include "game/state.h"

#include <string>
#include <vector>

// Rows from the top; a picture of fewer than 20 rows fills the bottom of the board.
Board boardFromPicture(const std::vector<std::string>& rows);
// The board's 20 rows in the same characters (ids above 9 print as '#').
std::vector<std::string> boardPicture(const Board& board);
// A grid from rows drawn top-down ('#' a block, '.' empty), stored as columns.
PieceGrid gridFromPicture(const std::vector<std::string>& rows);
// A piece whose rotation k+1 is rotation k turned a quarter counter-clockwise.
Piece pieceFromPicture(const std::vector<std::string>& rows);
// Makes the given pieces the whole catalogue (loaded, selected, coloured) in this order.
void useCatalogue(const std::vector<Piece>& pieces);
