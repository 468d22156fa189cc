// The asset packs in the browser: the page fetches them (web/asset_packs.js
// hands the requests to it) and copies each one whole into the program's memory.
#include "assets/asset_packs.h"

extern "C" {
void kolvex_request_pack(int index, const char* name, int length);
unsigned char* kolvex_take_pack(int index);
}

void requestAssetPack(int index, const char* name, int length) {
    kolvex_request_pack(index, name, length);
}

const unsigned char* takeAssetPack(int index) {
    return kolvex_take_pack(index);
}
