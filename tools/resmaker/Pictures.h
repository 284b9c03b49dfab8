// The larger pictures: the tray menu's side picture and the updater's.
#pragma once

#include "Image.h"

namespace qv::res {

// 120x64, light enough for black menu text over it.
Image DrawMenuPicture();

// 150x350, the updater window's tall side picture.
Image DrawUpdatePicture();

}  // namespace qv::res
