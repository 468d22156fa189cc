// The save folder kept in the browser's IndexedDB, for the web build: the
// page's files live in memory and are gone with the page unless stored there.
// One record, kolvex.sav, in the database layout emscripten's IDBFS uses, so
// bests stored by earlier builds are read. IDBFS itself is not used: its error
// handlers report failed writes and aborted commits as success or never, and
// its sync cannot read and write in one transaction. Here a write reads the
// stored record and writes the merged one in one transaction, so two pages
// keep the higher bests; a failure is reported and never counted as saved.
var kolvexStorage = {
  folder: '/kolvex',
  file: '/kolvex/kolvex.sav',
  // This page's bests while they are merged into bests another page stored.
  ours: '/kolvex/kolvex.sav.ours',
  // Bests still on their way to the database when the page went away.
  pending: '/kolvex/kolvex.sav.pending',
  database: '/kolvex',
  version: 21,
  store: 'FILE_DATA',
  db: null,
  // The stored bests could not be read: saving them now could overwrite them.
  off: false,
  // The browser has no IndexedDB for this page (some private windows): nothing is kept.
  absent: false,
  // The stored record as this page last read or wrote it.
  known: null,
  // The bytes of the write whose stored record has not come back yet.
  unsent: null,
  merging: false,
};

function kolvexReport(text, error) {
  console.error('Kolvex: ' + text, error);
  if (Module['onStorageProblem']) Module['onStorageProblem'](text);
}

function kolvexContents(entry) {
  return entry && entry.contents ? new Uint8Array(entry.contents) : null;
}

function kolvexSameBytes(a, b) {
  return !!a && !!b && a.length === b.length && a.every(function (byte, i) { return byte === b[i]; });
}

function kolvexEntry(bytes) {
  return { timestamp: new Date(), mode: FS.stat(kolvexStorage.file).mode, contents: bytes };
}

// Opens the database (once) and runs `body` in a transaction on its store;
// `onFail` gets every way it can go wrong: the open refused or failing, a
// request failing (which aborts the transaction: its event is not prevented),
// the commit aborted (quota), or `body` throwing.
function kolvexTransaction(mode, body, onDone, onFail) {
  var run = function (db) {
    var transaction;
    try {
      transaction = db.transaction([kolvexStorage.store], mode);
      transaction.oncomplete = onDone;
      transaction.onabort = function () { onFail(transaction.error || new Error('transaction aborted')); };
      body(transaction.objectStore(kolvexStorage.store));
    } catch (error) {
      if (transaction) {
        transaction.onabort = null;
        try { transaction.abort(); } catch (ignored) {}
      }
      onFail(error);
    }
  };
  if (kolvexStorage.db) return run(kolvexStorage.db);
  var request;
  try {
    request = indexedDB.open(kolvexStorage.database, kolvexStorage.version);
  } catch (error) {
    return onFail(error);
  }
  request.onupgradeneeded = function () {
    var db = request.result;
    var store = db.objectStoreNames.contains(kolvexStorage.store)
      ? request.transaction.objectStore(kolvexStorage.store)
      : db.createObjectStore(kolvexStorage.store);
    if (!store.indexNames.contains('timestamp')) store.createIndex('timestamp', 'timestamp', { unique: false });
  };
  request.onsuccess = function () {
    kolvexStorage.db = request.result;
    run(kolvexStorage.db);
  };
  request.onerror = function () { onFail(request.error); };
}

Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function () {
  FS.mkdir(kolvexStorage.folder);
  FS.chdir(kolvexStorage.folder);
  if (typeof indexedDB === 'undefined' || !indexedDB) {
    kolvexStorage.off = true;
    kolvexStorage.absent = true;
    var text = 'this browser keeps no storage for this page (a private window?): ' +
      'the game plays, but its bests will not be kept';
    console.warn('Kolvex: ' + text);
    if (Module['onStorageProblem']) Module['onStorageProblem'](text);
    return;
  }
  var pending = null;
  // The game starts only once this dependency is gone, so it sees the bests.
  addRunDependency('kolvex-saves');
  kolvexTransaction('readonly', function (store) {
    store.get(kolvexStorage.file).onsuccess = function (event) {
      kolvexStorage.known = kolvexContents(event.target.result);
      if (kolvexStorage.known) FS.writeFile(kolvexStorage.file, kolvexStorage.known);
    };
    store.get(kolvexStorage.pending).onsuccess = function (event) {
      pending = kolvexContents(event.target.result);
    };
  }, function () {
    if (pending) {
      FS.writeFile(kolvexStorage.ours, pending);
      addOnPostRun(function () {
        kolvexMergeOurs();
        kolvexSyncSaveFolder();
      });
    }
    removeRunDependency('kolvex-saves');
  }, function (error) {
    kolvexStorage.off = true;
    kolvexReport('the stored bests could not be read, so this visit\'s bests will not be saved', error);
    removeRunDependency('kolvex-saves');
  });
});

// The bests in kolvex.sav.ours merged into kolvex.sav by the game's own save;
// its call of kolvexSyncSaveFolder is left out, the caller writes the result.
function kolvexMergeOurs() {
  kolvexStorage.merging = true;
  try {
    Module['_kolvexMergeOurBests']();
  } finally {
    kolvexStorage.merging = false;
  }
}

// Called after every save of the game. The write finishes after the call
// returns: a save never holds up a frame.
function kolvexSyncSaveFolder() {
  if (kolvexStorage.merging) return;
  if (kolvexStorage.absent) return;
  if (kolvexStorage.off) {
    kolvexReport('the bests could not be stored in this browser: saving is off for this visit', null);
    return;
  }
  var bytes = FS.readFile(kolvexStorage.file);
  kolvexStorage.unsent = bytes;
  kolvexTransaction('readwrite', function (store) {
    store.get(kolvexStorage.file).onsuccess = function (event) {
      var stored = kolvexContents(event.target.result);
      if (stored && !kolvexSameBytes(stored, kolvexStorage.known)) {
        // Another page stored bests since this one read them: keep the higher of each.
        FS.writeFile(kolvexStorage.ours, bytes);
        FS.writeFile(kolvexStorage.file, stored);
        kolvexMergeOurs();
        bytes = FS.readFile(kolvexStorage.file);
      }
      store.put(kolvexEntry(bytes), kolvexStorage.file);
      store.delete(kolvexStorage.pending);
      kolvexStorage.unsent = null;
    };
  }, function () {
    kolvexStorage.known = bytes;
  }, function (error) {
    kolvexStorage.unsent = null;
    kolvexReport('the bests could not be stored in this browser', error);
  });
}

// A page going away takes an unfinished read-and-write with it: the bests it
// was writing are put, without a read, where the next visit merges them in.
function kolvexFlushUnsent() {
  var bytes = kolvexStorage.unsent;
  if (!bytes || !kolvexStorage.db) return;
  kolvexStorage.unsent = null;
  kolvexTransaction('readwrite', function (store) {
    store.put(kolvexEntry(bytes), kolvexStorage.pending);
  }, function () {}, function (error) {
    kolvexReport('the bests could not be stored in this browser', error);
  });
}
addEventListener('pagehide', kolvexFlushUnsent);
addEventListener('visibilitychange', function () {
  if (document.visibilityState === 'hidden') kolvexFlushUnsent();
});
