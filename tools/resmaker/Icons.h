// The reader's icons: program, tray animation and menu items.
#pragma once

#include <vector>

#include "IconFile.h"

namespace qv::res {

struct IconJob {
    int id;
    IconDrawing drawing;
};

// icon203 ... icon211.
std::vector<IconJob> AllIcons();

}  // namespace qv::res
