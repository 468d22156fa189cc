// The desktop embeds every asset file, so it has no packs to ask for.
#include "assets/asset_packs.h"

void requestAssetPack(int, const char*, int) {}

const unsigned char* takeAssetPack(int) {
    return nullptr;
}
