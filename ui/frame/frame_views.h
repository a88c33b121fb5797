// The holder tree and the entry list as the main frame's two views: each joins the command
// route while it is the active view.
#pragma once

#include "ui/frame/catalogue_view.h"

namespace kantoria {

// Creates the holder tree (left) and the entry list (right) as children of splitter.
FrameViews MakeFrameViews(QSplitter& splitter, const ViewContext& context);

}  // namespace kantoria
