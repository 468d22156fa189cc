// The save folder's copy in the browser's own storage, for the web build: the
// page's files live in memory and are gone with the page unless stored there.
// On the desktop the file itself is the storage.
#pragma once

// Starts writing the save folder to the browser's storage; call it after every
// save that succeeded. A failure is reported on the browser's console and the page.
void syncBrowserStorage();
