// The window's icon, decoded from the embedded pictures and released once set.
#include "app/window_icon.h"

#include "assets/embedded_assets.h"

#include <vector>

void setWindowIcon() {
    std::vector<Image> icons;
    for (const EmbeddedFile& file : embeddedFiles("icon_")) {
        icons.push_back(LoadImageFromMemory(".png", file.bytes, file.length));
    }
    handWindowIcons(icons.data(), static_cast<int>(icons.size()));
    for (const Image& icon : icons) {
        UnloadImage(icon);
    }
}
