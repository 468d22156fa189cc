// The save path's way into the browser's storage (see browser_storage.js).
#include "save/browser_storage.h"

#include <emscripten/emscripten.h>

void syncBrowserStorage() {
    EM_ASM(kolvexSyncSaveFolder());
}
