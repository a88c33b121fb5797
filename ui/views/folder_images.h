// Bitmap 143: a strip of nine 16-pixel pictures drawn by the program itself. Cell 0 is an open
// folder, 1 the same greyed, 2 a closed folder, 3 to 7 a floppy drive, a disk drive, a CD
// drive, a search glass and a network drive, 8 is blank. The holder tree uses cells 0 and 2.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace kantoria {

inline constexpr int kFolderCellSize = 16;
inline constexpr int kFolderCellCount = 9;
inline constexpr int kFolderOpenCell = 0;
inline constexpr int kFolderClosedCell = 2;

// The whole strip, 144 x 17 pixels, on a transparent background.
QPixmap CreateFolderBitmap();

// One 16 x 16 cell of the strip.
QPixmap FolderBitmapCell(const QPixmap& strip, int cell);

// A holder's picture: the closed folder, and the open one while the item is selected.
QIcon HolderIcon();

}  // namespace kantoria
