// Plain stand-ins for the holder tree and the entry list, so that the frame runs before the
// real views join it: the tree lists the holders' folders, the list every entry's title. They
// take the commands the real views take, so routing and enabling behave the same.
#pragma once

#include "app/view_interface.h"

namespace kantoria {

// Creates the two stand-ins.
FrameViews MakePlaceholderViews(QSplitter& splitter, const ViewContext& context);

}  // namespace kantoria
