// The window's icon, decoded from the icon pictures and released once set. The
// web page has none: its icons are the page's own.
#include "app/window_icon.h"

#include "assets/asset_catalogue.h"

#include <vector>

void setWindowIcon() {
    std::vector<Image> icons;
    for (const AssetFile& file : assetFiles("icon_")) {
        icons.push_back(LoadImageFromMemory(".png", file.bytes, file.length));
    }
    handWindowIcons(icons.data(), static_cast<int>(icons.size()));
    for (const Image& icon : icons) {
        UnloadImage(icon);
    }
}
