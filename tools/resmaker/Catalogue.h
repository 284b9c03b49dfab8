// Every bitmap the programs use: its resource name and id, its file and how
// it is drawn.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Image.h"

namespace qv::res {

struct BitmapJob {
    std::string name;  // the resource.h name; empty for a bitmap outside the reader
    int id;
    std::string file;  // under resources/bitmaps
    int width, height;
    std::function<Image()> draw;
};

std::vector<BitmapJob> AllBitmaps();

// The resource script that lists the reader's bitmaps, one line each.
std::string BitmapScript(const std::vector<BitmapJob>& jobs);

}  // namespace qv::res
