#pragma once
// Every skin picture of the product, by name (the file name in resources/skins/ without
// ".png"), with the routine that paints it. Sizes, splits and frame counts are fixed by
// the windows that use the pictures; each routine's comment shows its layout.
#include <functional>
#include <string>
#include <vector>

#include "graphics/bitmap.h"
#include "graphics/png_image.h"

namespace orvo::painter {

struct SkinDef {
  std::string name;
  std::function<PngImage()> paint;
};

void AddWindowSkins(std::vector<SkinDef>& out);   // skins_window.cpp
void AddListSkins(std::vector<SkinDef>& out);     // skins_list.cpp
void AddIconSkins(std::vector<SkinDef>& out);     // skins_icons.cpp
void AddDialogSkins(std::vector<SkinDef>& out);   // skins_dialogs.cpp
void AddControlSkins(std::vector<SkinDef>& out);  // skins_controls.cpp

std::vector<SkinDef> AllSkins();
// The demo site's pictures, named by their path under the site folder.
std::vector<SkinDef> SitePictures();  // site_pictures.cpp

// The product mark (a rounded blue square with a white puzzle piece), for pictures that
// show it large.
void LogoMarkOn(Bitmap32& b, double x, double y, double size);
// The mark alone on a transparent square (the caption logo, the program's icon).
PngImage Logo(int size);

}  // namespace orvo::painter
