// The desktop's side of the browser storage: the save file is already on disk.
#include "save/browser_storage.h"

void syncBrowserStorage() {}
