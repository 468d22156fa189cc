// Makes the working directory, where kolvex.sav lives, a folder kept in the
// browser's IndexedDB: read back before the game's first frame, written back
// after every save. Failures are reported on the console; the game goes on.
var kolvexSaveFolder = '/kolvex';

Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function () {
  FS.mkdir(kolvexSaveFolder);
  FS.mount(IDBFS, {}, kolvexSaveFolder);
  FS.chdir(kolvexSaveFolder);
  // The game starts only once this dependency is gone, so it sees the bests.
  addRunDependency('kolvex-saves');
  FS.syncfs(true, function (error) {
    if (error) {
      console.error('Kolvex: the stored bests could not be read; starting without them', error);
    }
    removeRunDependency('kolvex-saves');
  });
});

// Called from syncBrowserStorage(). The write finishes after the call returns:
// a save never holds up a frame.
function kolvexSyncSaveFolder() {
  FS.syncfs(false, function (error) {
    if (error) {
      console.error('Kolvex: the bests could not be stored in this browser', error);
    }
  });
}
