// End-to-end test of the web build in the system's headless Chromium: the page
// served from 127.0.0.1, the title screen, GAME START with real key events, a
// game to the top-out, the bests read back after a reload, Q ending the game,
// no error on the console; a scripted gamepad starting and playing a game; the
// page fitting every screen; the bests kept through storage faults; and a
// phone's game by touch alone. Prints the page's figures at the end.
// Usage: node tests/web/test_page.mjs build/web
import { mkdtempSync, readFileSync, rmSync, statSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import puppeteer from 'puppeteer-core';
import { recordFrames } from './record_frames.mjs';
import { serveFolder } from './serve_static.mjs';

const kChromium = '/usr/bin/chromium';
// The flags a root user on a machine without a network or a GPU needs.
const kChromiumArgs = [
  '--no-sandbox', '--no-first-run', '--disable-background-networking',
  '--disable-component-update', '--disable-sync',
  '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--window-size=1000,800',
  // What browsers do by default for a page never visited: sound only after a gesture.
  '--autoplay-policy=document-user-activation-required',
];
const kViewport = { width: 1000, height: 800 };
// Long enough for raylib to see the key down in one frame and up in a later one.
const kKeyHoldMs = 100;
const kGameWaitMs = 90000;
// The working directory, kept in IndexedDB under its own name.
const kSaveFolder = '/kolvex';
// The save's trace line: the game's score, then the best stored before it.
const kScoreTrace = /^(\d+) \| (\d+)$/;

// Whether a game has begun since log line `from`: its countdown loads the other
// five backgrounds, while the title and game-over screens load only the first
// one ahead of the key.
function gameBegan(logs, from) {
  return logs.slice(from).filter((line) => line.includes('Texture loaded successfully (1280x1280')).length >= 2;
}
// What a page may weigh, all its files together.
const kMaxPageBytes = 10e6;

const folder = process.argv[2];
if (!folder) {
  console.error('usage: node test_page.mjs <folder with kolvex.html>');
  process.exit(2);
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

async function waitFor(what, check, timeoutMs) {
  const end = Date.now() + timeoutMs;
  for (;;) {
    const value = await check();
    if (value) return value;
    if (Date.now() > end) throw new Error(`timed out waiting for ${what}`);
    await sleep(50);
  }
}

class Page {
  constructor(page, session) {
    this.page = page;
    // Puppeteer's own evaluate counts as a user gesture, which would let the
    // page start its audio; the DevTools call below does not.
    this.session = session;
    this.errors = [];
    this.logs = [];
    page.on('console', (message) => {
      if (message.type() === 'error') this.errors.push(message.text());
      this.logs.push(message.text());
    });
    page.on('pageerror', (error) => this.errors.push(String(error)));
  }

  async evaluate(expression) {
    const { result, exceptionDetails } = await this.session.send('Runtime.evaluate',
      { expression, returnByValue: true, awaitPromise: true, userGesture: false });
    if (exceptionDetails) throw new Error(`${expression}: ${exceptionDetails.text}`);
    return result.value;
  }

  // The bytes of kolvex.sav as the browser's IndexedDB holds them, as text.
  async storedSave() {
    return (await this.storedRecord()).text;
  }

  // kolvex.sav's entry in IndexedDB: its text and the time it was written.
  storedRecord() {
    return this.evaluate(`new Promise((resolve) => {
      const none = { text: '', time: 0 };
      const open = indexedDB.open('${kSaveFolder}');
      open.onerror = () => resolve(none);
      open.onsuccess = () => {
        const files = open.result.transaction('FILE_DATA').objectStore('FILE_DATA');
        const read = files.get('${kSaveFolder}/kolvex.sav');
        read.onsuccess = () => resolve(read.result ? { text: new TextDecoder().decode(read.result.contents),
          time: read.result.timestamp.getTime() } : none);
        read.onerror = () => resolve(none);
      };
    })`);
  }

  frames() {
    return this.evaluate('window.kolvexFrames');
  }

  async press(key) {
    await this.page.keyboard.down(key);
    await sleep(kKeyHoldMs);
    await this.page.keyboard.up(key);
  }

  audioStates() {
    return this.evaluate(`(window.miniaudio ? window.miniaudio.devices : [])
      .filter((device) => device && device.webaudio).map((device) => device.webaudio.state)`);
  }

  // Loads the page and waits for a drawn title frame; the milliseconds from
  // navigation to the end of that frame.
  async open(url, reload) {
    this.logs = [];
    await (reload ? this.page.reload() : this.page.goto(url));
    const frame = await waitFor('the first title frame', async () => {
      const frames = await this.frames();
      return frames.length > 0 && frames[0];
    }, 30000);
    if (frame.colours < 3) throw new Error('the title frame is blank');
    return frame.start + frame.ms;
  }

  // Enter on the title menu's first entry until the game scene starts loading
  // its pictures (the menu takes keys only once its opening has run).
  async startGame() {
    const from = this.logs.length;
    await waitFor('GAME START', async () => {
      if (!gameBegan(this.logs, from)) await this.press('Enter');
      await sleep(400);
      return gameBegan(this.logs, from);
    }, 20000);
  }

  // Hard-drops every piece where it appears until the stack tops out and the
  // game-over scene saves; the score and the best stored before this game.
  async playToTopOut() {
    const trace = await waitFor('the top-out', async () => {
      await this.press('ArrowUp');
      return this.logs.map((line) => kScoreTrace.exec(line)).find(Boolean);
    }, kGameWaitMs);
    return { score: Number(trace[1]), storedBest: Number(trace[2]) };
  }
}

// Holds the soft drop, which scores nothing, until the stack tops out.
Page.prototype.softDropToTopOut = async function () {
  await this.page.keyboard.down('ArrowDown');
  try {
    const trace = await waitFor('the top-out', () => this.logs.map((line) => kScoreTrace.exec(line)).find(Boolean),
      kGameWaitMs);
    return { score: Number(trace[1]), storedBest: Number(trace[2]) };
  } finally {
    await this.page.keyboard.up('ArrowDown');
  }
};

function check(condition, what) {
  if (!condition) throw new Error(`failed: ${what}`);
  console.log(`ok: ${what}`);
}

// Runs in the page before its own script: the storage fault named by the
// address's `fault`: `read`, the first read-only transaction refused; `put`,
// every put failing (an add over the existing key); `abort`, every
// transaction with a put aborted, as a commit over the quota is.
function injectStorageFault() {
  const fault = new URLSearchParams(location.search).get('fault');
  const transaction = IDBDatabase.prototype.transaction;
  let readRefused = false;
  IDBDatabase.prototype.transaction = function (stores, mode) {
    if (fault === 'read' && mode !== 'readwrite' && !readRefused) {
      readRefused = true;
      throw new DOMException('refused by the test', 'UnknownError');
    }
    return transaction.call(this, stores, mode);
  };
  const put = IDBObjectStore.prototype.put;
  IDBObjectStore.prototype.put = function (value, key) {
    if (fault === 'put') return this.add(value, key);
    const request = put.call(this, value, key);
    if (fault === 'abort') this.transaction.abort();
    return request;
  };
}

function pageWeight() {
  return ['kolvex.html', 'kolvex.js', 'kolvex.wasm']
    .map((name) => statSync(join(folder, name)).size)
    .reduce((a, b) => a + b, 0);
}

async function openTab(context, before) {
  const tab = await context.newPage();
  for (const script of before) await tab.evaluateOnNewDocument(script);
  return new Page(tab, await tab.createCDPSession());
}

async function openPage(browser, before) {
  return openTab(await browser.createBrowserContext(), before);
}

// The whole path of a player: two games with a reload between, then Q.
async function playAcrossReload(browser, url) {
  const page = await openPage(browser, [recordFrames]);
  const firstFrameMs = await page.open(url, false);
  console.log(`ok: title screen drawn ${firstFrameMs.toFixed(0)} ms after navigation`);
  check(await page.evaluate("document.getElementById('bar').style.width === '100%'"),
    'the progress bar filled by the download');
  check((await page.audioStates()).every((state) => state === 'suspended'),
    'audio held back until a key or click');
  await page.page.screenshot({ path: join(folder, 'title.png') });

  await page.startGame();
  check((await page.audioStates()).every((state) => state === 'running'),
    'audio running after the first key');
  check(await page.evaluate("document.activeElement.id === 'canvas'"),
    'the canvas has the keyboard');
  const first = await page.playToTopOut();
  check(first.score > 0 && first.storedBest === 0, `first game topped out with ${first.score}`);
  const frames = await page.frames();
  await waitFor('the save to reach IndexedDB', async () =>
    (await page.storedSave()).split('\n')[2] === String(first.score), 10000);

  await page.open(null, true);
  await page.startGame();
  const second = await page.playToTopOut();
  check(second.storedBest === first.score, 'the best of the game before the reload read back');
  await page.page.screenshot({ path: join(folder, 'game_over.png') });

  // Pressed again until seen: a press and release within one slow frame is lost.
  await waitFor('the page to say the game has ended', async () => {
    const ended = await page.evaluate("!document.getElementById('overlay').hidden && " +
      "document.getElementById('message').textContent.includes('ended')");
    if (!ended) await page.press('KeyQ');
    return ended;
  }, 10000);
  await page.page.screenshot({ path: join(folder, 'ended.png') });
  const framesAtEnd = (await page.frames()).length;
  await sleep(500);
  check((await page.frames()).length === framesAtEnd, 'Q stopped the frame loop');
  check((await page.audioStates()).every((state) => state === 'closed'), 'Q closed the audio');
  check(page.errors.length === 0, `no error on the console${page.errors.length ? ': ' + page.errors.join(' | ') : ''}`);
  return { firstFrameMs, frames };
}

const kViewports = [
  { width: 1366, height: 657 },
  { width: 1920, height: 969 },
  { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true },
  { width: 844, height: 390, deviceScaleFactor: 3, isMobile: true, hasTouch: true, isLandscape: true },
];
const kGameShape = 900 / 700;

// The page served compressed, then resized live and turned as a phone is: the
// whole canvas inside the viewport, in the game's shape and as large as the
// viewport allows, its drawing buffer one pixel per device pixel, and the
// frame drawn over all of it.
async function fitEveryViewport(browser, url) {
  const page = await openPage(browser, [recordFrames]);
  await page.open(url, false);
  check(await page.evaluate("document.getElementById('bar').style.width === '100%'"),
    'the progress bar filled with the files sent compressed');
  for (const viewport of kViewports) {
    const name = `${viewport.width} x ${viewport.height}`;
    // A change of touch emulation reloads the page.
    await page.page.setViewport({ deviceScaleFactor: 1, ...viewport });
    await waitFor(`the title at ${name}`, async () => (await page.frames()).length > 0, 30000);
    const fit = await waitFor(`the drawing buffer at ${name}`, async () => {
      const box = await page.evaluate(`(() => {
        const canvas = document.getElementById('canvas');
        const r = canvas.getBoundingClientRect();
        return { left: r.left, top: r.top, right: r.right, bottom: r.bottom, width: r.width, height: r.height,
                 buffer: [canvas.width, canvas.height], viewport: [innerWidth, innerHeight], ratio: devicePixelRatio };
      })()`);
      const wanted = [Math.round(box.width * box.ratio), Math.round(box.height * box.ratio)];
      return box.viewport[0] === viewport.width && box.buffer.join() === wanted.join() && box;
    }, 10000);
    check(fit.left >= 0 && fit.top >= 0 && fit.right <= fit.viewport[0] + 0.5 && fit.bottom <= fit.viewport[1] + 0.5,
      `${name}: the whole canvas inside the viewport`);
    check(Math.abs(fit.width / fit.height - kGameShape) < 0.005 &&
      (Math.abs(fit.width - fit.viewport[0]) < 1 || Math.abs(fit.height - fit.viewport[1]) < 1),
      `${name}: the canvas ${fit.width.toFixed(0)} x ${fit.height.toFixed(0)} in the game's shape, as large as fits`);
    await page.evaluate('window.kolvexReadFrame = true');
    const frame = await waitFor(`a frame read at ${name}`, async () =>
      (await page.frames()).filter((f) => f.buffer && f.buffer.join() === fit.buffer.join()).pop(), 10000);
    check(frame.colours >= 3 && !frame.farBlack, `${name}: drawn over the whole ${fit.buffer.join(' x ')} buffer`);
  }
  check(page.errors.length === 0, `no error on the console${page.errors.length ? ': ' + page.errors.join(' | ') : ''}`);
}

// Stored bests far below any game's, so a write that should not have happened shows.
const kLowBests = 'SAV\n1\n1\n0\n1\n';

// One storage fault a visit: a failed read at start-up (saving is then off),
// a failed put, an aborted commit. Each is reported on the console and the
// page, and the stored record stays as it was, to its time of writing.
async function keepBestsThroughFaults(browser, url) {
  const page = await openPage(browser, [injectStorageFault, recordFrames]);
  await page.open(url, false);
  await page.evaluate(`new Promise((resolve, reject) => {
    const open = indexedDB.open('${kSaveFolder}');
    open.onsuccess = () => {
      const write = open.result.transaction('FILE_DATA', 'readwrite');
      write.objectStore('FILE_DATA').put({ timestamp: new Date(), mode: 33206,
        contents: new TextEncoder().encode(${JSON.stringify(kLowBests)}) }, '${kSaveFolder}/kolvex.sav');
      write.oncomplete = resolve;
      write.onabort = () => reject(write.error);
    };
  })`);
  const seeded = await page.storedRecord();
  for (const fault of ['read', 'put', 'abort']) {
    page.errors = [];
    await page.open(`${url}?fault=${fault}`, false);
    if (fault === 'read') check(page.errors.some((text) => text.includes('could not be read')), 'a failed read reported');
    await page.startGame();
    await page.playToTopOut();
    await waitFor(`the ${fault} fault reported`, () => page.errors.some((text) => text.includes('could not be stored')),
      10000);
    check((await page.evaluate("document.getElementById('notice').hidden ? '' : document.getElementById('notice').textContent"))
      .includes('could not be'), `the ${fault} fault told on the page`);
    await sleep(500);
    const stored = await page.storedRecord();
    check(stored.text === seeded.text && stored.time === seeded.time, `after the ${fault} fault the stored bests as they were`);
  }
}

// Two pages of one profile, both open before either saves: the first saves a
// game's score and is closed, the second, whose copy is older, a lower one
// (soft drops score nothing) after it. The higher best stays.
async function keepHigherOfTwoPages(browser, url) {
  const context = await browser.createBrowserContext();
  const pages = [await openTab(context, [recordFrames]), await openTab(context, [recordFrames])];
  for (const page of pages) {
    await page.page.bringToFront();
    await page.open(url, false);
  }
  const [first, second] = pages;
  await first.page.bringToFront();
  await first.startGame();
  const high = await first.playToTopOut();
  const afterFirst = await waitFor('the first save stored', async () => {
    const record = await first.storedRecord();
    return record.text.split('\n')[2] === String(high.score) && record;
  }, 10000);
  // Its job done, the first page goes, leaving the machine to the second.
  await first.page.close();
  await second.page.bringToFront();
  await second.startGame();
  const low = await second.softDropToTopOut();
  check(low.storedBest === 0 && low.score < high.score, `the second page saved ${low.score} over its copy without ${high.score}`);
  const afterSecond = await waitFor('the second save stored', async () => {
    const record = await second.storedRecord();
    return record.time > afterFirst.time && record;
  }, 10000);
  check(afterSecond.text.split('\n')[2] === String(high.score), 'two pages: the higher best kept');
  check(first.errors.length + second.errors.length === 0, 'two pages: no error on the console');
}

// The game's own tables, written out by the release build (as for the desktop tests).
const kFactsPath = process.env.KOLVEX_GAME_FACTS ||
  join(dirname(fileURLToPath(import.meta.url)), '../../build/release/tests/game_facts.json');
const kStandardButtons = 17;
const kPadA = 0;
const kPadUp = 12;
const kPadLeft = 14;
const kPadRight = 15;
// The well's bottom rows, where the first three pieces settle; a piece enters at the top.
const kFloorRows = 13;

// Runs in the page before its own script: one standard-mapping pad behind the
// Gamepad API, which the browser announces at its first button press, as Chromium
// does; `kolvexPad(buttons, stickY)` sets what is held.
function scriptPad(buttonCount) {
  const pad = {
    id: 'kolvex test pad', index: 0, connected: true, mapping: 'standard', timestamp: 0,
    axes: [0, 0, 0, 0],
    buttons: Array.from({ length: buttonCount }, () => ({ pressed: false, touched: false, value: 0 })),
  };
  let announced = false;
  Object.defineProperty(navigator, 'getGamepads', { value: () => [announced ? pad : null, null, null, null] });
  window.kolvexPad = (held, stickY) => {
    pad.buttons.forEach((button, i) => {
      button.pressed = button.touched = held.includes(i);
      button.value = button.pressed ? 1 : 0;
    });
    pad.axes[1] = stickY;
    pad.timestamp = performance.now();
    if (!announced && held.length > 0) {
      announced = true;
      const event = new Event('gamepadconnected');
      event.gamepad = pad;
      window.dispatchEvent(event);
    }
  };
}

// Runs in the page: on request, the well cells lit in the next frame drawn, read
// where the desktop tests read them (a piece's colour, not the grey ghost), in
// the drawing buffer the page scaled to the canvas's size on screen.
function readWell({ window: size, cell, origin, columns, rows }) {
  window.kolvexAfterFrame = (gl) => {
    if (!window.kolvexWellWanted) return;
    const lit = [];
    const pixel = new Uint8Array(4);
    const scaleX = gl.drawingBufferWidth / size[0];
    const scaleY = gl.drawingBufferHeight / size[1];
    for (let row = 0; row < rows; row++) {
      for (let column = 0; column < columns; column++) {
        const x = Math.floor(scaleX * (origin[0] + column * cell + cell * 0.25));
        const y = Math.floor(scaleY * (origin[1] + row * cell + cell * 0.5));
        gl.readPixels(x, gl.drawingBufferHeight - 1 - y, 1, 1, gl.RGBA, gl.UNSIGNED_BYTE, pixel);
        const [r, g, b] = pixel;
        if (Math.max(r, g, b) >= 150 && Math.max(r, g, b) - Math.min(r, g, b) >= 60) lit.push([column, row]);
      }
    }
    window.kolvexWell = lit;
    window.kolvexWellWanted = false;
  };
}

async function litCells(page) {
  await page.evaluate('window.kolvexWellWanted = true');
  await waitFor('a frame read', async () => !(await page.evaluate('window.kolvexWellWanted')), 5000);
  return page.evaluate('window.kolvexWell');
}

// Holds the pad's buttons and stick until check() holds: a pad is read once a
// frame, not queued like a key, so a frame longer than a short press would miss it.
async function padHoldUntil(page, buttons, stickY, what, check) {
  await page.evaluate(`window.kolvexPad(${JSON.stringify(buttons)}, ${stickY})`);
  try {
    return await waitFor(what, check, 20000);
  } finally {
    await page.evaluate('window.kolvexPad([], 0)');
  }
}

// The pad alone: button 0 starts a game; the D-pad moves the piece left and right
// and D-pad up hard-drops it; the stick down soft-drops the next one and the stick
// up hard-drops it.
async function playWithPad(browser, url) {
  const facts = JSON.parse(readFileSync(kFactsPath));
  const geometry = { window: facts.window, cell: facts.cell, origin: facts.well_origin,
    columns: facts.well.columns, rows: facts.well.rows };
  const page = await openPage(browser,
    [`(${scriptPad})(${kStandardButtons})`, recordFrames, `(${readWell})(${JSON.stringify(geometry)})`]);
  await page.open(url, false);
  const logged = page.logs.length;
  await padHoldUntil(page, [kPadA], 0, 'GAME START from the pad', () => gameBegan(page.logs, logged));
  const leftmost = async () => Math.min(...(await litCells(page)).map(([column]) => column));
  const start = await waitFor('the first piece', async () => {
    const cells = await litCells(page);
    return cells.length === 4 && leftmost();
  }, 10000);
  // Held through the countdown, the D-pad moves the piece once play begins.
  const moved = await padHoldUntil(page, [kPadLeft], 0, 'the D-pad to move the piece left',
    async () => { const column = await leftmost(); return column < start && { column }; });
  await padHoldUntil(page, [kPadRight], 0, 'the D-pad to move the piece right',
    async () => (await leftmost()) > moved.column);
  const onFloor = async () => (await litCells(page)).filter(([, row]) => row >= kFloorRows).length;
  await padHoldUntil(page, [kPadUp], 0, 'D-pad up to hard-drop the piece', async () => (await onFloor()) === 4);
  // Held down, the stick brings the next piece from the top to the floor rows in
  // under half the time gravity alone would take at the first level's row each
  // 0.8 s; a loaded machine only makes the frames longer.
  const heldAt = Date.now();
  await padHoldUntil(page, [], 1, 'the stick down to bring the piece down', async () => (await onFloor()) === 8);
  check(Date.now() - heldAt < (kFloorRows - 1) * 800 / 2, 'the stick down soft-dropping the piece');
  await padHoldUntil(page, [], -1, 'the stick up to hard-drop the piece', async () => (await onFloor()) === 12);
  check(page.errors.length === 0, 'no error on the console');
  await page.page.browserContext().close();
}

// A phone: touch only, on a 390 x 844 viewport. The taps and strokes go through
// the DevTools protocol's touch events, at points on the canvas's drawing (900 x
// 700) mapped to where the canvas stands on the page, and the strokes of play
// below the canvas when there is room, since the space around it counts too.
const kPhone = { width: 390, height: 844, hasTouch: true, isMobile: true };
const kTapMs = 100;

class Finger {
  // The window's size and the well's cell on its drawing, from the game's own tables.
  constructor(page, { window: size, cell }) {
    this.page = page;
    this.size = size;
    this.drawnCell = cell;
  }

  async findCanvas() {
    this.box = await this.page.evaluate(`(() => {
      const r = document.getElementById('canvas').getBoundingClientRect();
      return { left: r.left, top: r.top, width: r.width, height: r.height };
    })()`);
    this.cell = this.drawnCell * this.box.width / this.size[0];
    const below = this.box.top + this.box.height;
    this.playAt = below + 4 * this.cell < kPhone.height
      ? { x: kPhone.width / 2, y: (below + kPhone.height) / 2 }
      : { x: kPhone.width / 2, y: kPhone.height / 2 };
  }

  onCanvas(x, y) {
    return { x: this.box.left + x * this.box.width / this.size[0],
      y: this.box.top + y * this.box.height / this.size[1] };
  }

  touch(type, points) {
    return this.page.session.send('Input.dispatchTouchEvent', { type, touchPoints: points });
  }

  // The events go out on time, not each after the page's answer to the last,
  // which comes only with a drawn frame: a stroke keeps its speed.
  async stroke(from, to, ms, steps) {
    const sent = [this.touch('touchStart', [from])];
    for (let i = 1; i <= steps; ++i) {
      await sleep(ms / steps);
      sent.push(this.touch('touchMove', [{ x: from.x + (to.x - from.x) * i / steps, y: from.y + (to.y - from.y) * i / steps }]));
    }
    sent.push(this.touch('touchEnd', []));
    await Promise.all(sent);
  }

  tap(point) {
    return this.stroke(point, point, kTapMs, 1);
  }

  // Cells of the well, from the play spot.
  flick(cellsAcross, cellsDown, ms) {
    const to = { x: this.playAt.x + cellsAcross * this.cell, y: this.playAt.y + cellsDown * this.cell };
    return this.stroke(this.playAt, to, ms, 6);
  }

  // Taps an entry of a menu until the log shows what it started.
  // Taps (x, y) until done(the log's length before the first tap) holds.
  async choose(x, y, done, what) {
    const from = this.page.logs.length;
    await waitFor(what, async () => {
      if (!done(from)) await this.tap(this.onCanvas(x, y));
      await sleep(400);
      return done(from);
    }, 20000);
    console.log(`ok: ${what}`);
  }
}

// GAME START, play and the pause menu by touch alone; a page that goes to the
// background pauses the game; the bests stored.
async function playByTouch(browser, url) {
  const page = await openPage(browser, [recordFrames]);
  await page.page.setViewport(kPhone);
  await page.open(url, false);
  const finger = new Finger(page, JSON.parse(readFileSync(kFactsPath)));
  await finger.findCanvas();
  const began = (from) => gameBegan(finger.page.logs, from);
  await finger.choose(350, 370, began, 'GAME START by a tap');
  await waitFor('the audio to run after a tap', async () =>
    (await page.audioStates()).every((state) => state === 'running'), 5000);

  // The countdown, then a turn and a hard drop, then the page to the background
  // and back: the game waits on its pause menu, whose QUIT a tap chooses (the
  // title's picture loads again).
  await sleep(3500);
  await finger.tap(finger.playAt);
  await finger.flick(0, 8, 120);
  const other = await page.page.browserContext().newPage();
  await other.bringToFront();
  await waitFor('the page in the background', () => page.evaluate("document.visibilityState === 'hidden'"), 5000);
  await sleep(300);
  await page.page.bringToFront();
  await other.close();
  await finger.choose(570, 370, (from) => finger.page.logs.slice(from).some((line) => line.includes('Texture loaded')),
    'QUIT on the pause menu the background opened');

  await finger.choose(350, 370, began, 'GAME START again');
  await sleep(3500);
  let pieces = 0;
  const trace = await waitFor('the top-out by touch', async () => {
    await finger.tap(finger.playAt);
    await finger.flick(-3, 0, 200);
    await finger.flick(0, 8, 120);
    if (++pieces === 4) await page.page.screenshot({ path: join(folder, 'phone.png') });
    return page.logs.map((line) => kScoreTrace.exec(line)).find(Boolean);
  }, kGameWaitMs);
  check(Number(trace[1]) > 0, `a game played by taps and flicks topped out with ${trace[1]}`);
  await waitFor('the touch game\'s save in IndexedDB', async () =>
    (await page.storedSave()).split('\n')[2] === trace[1], 10000);
  check(page.errors.length === 0, `no error on the console${page.errors.length ? ': ' + page.errors.join(' | ') : ''}`);
  await page.page.browserContext().close();
}

function printFigures({ firstFrameMs, frames }) {
  const lengths = frames.map((frame) => frame.ms).sort((a, b) => a - b);
  const gaps = frames.slice(1).map((frame, i) => frame.start - frames[i].start).sort((a, b) => a - b);
  const at = (sorted, share) => sorted[Math.min(sorted.length - 1, Math.floor(sorted.length * share))].toFixed(1);
  console.log(`page weight: ${(pageWeight() / 1e6).toFixed(2)} MB`);
  console.log(`navigation to first title frame: ${firstFrameMs.toFixed(0)} ms`);
  console.log(`frames of the first game: ${lengths.length}, main thread median ${at(lengths, 0.5)} ms, ` +
    `99th percentile ${at(lengths, 0.99)} ms, heaviest ${at(lengths, 1)} ms; ` +
    `median time between frames ${at(gaps, 0.5)} ms`);
}

const profile = mkdtempSync(join(tmpdir(), 'kolvex-chromium-'));
const { server, base } = await serveFolder(folder);
const compressed = await serveFolder(folder, { gzip: true });
const browser = await puppeteer.launch({
  executablePath: kChromium, headless: true, userDataDir: profile,
  args: kChromiumArgs, defaultViewport: kViewport,
});
let failed = false;
try {
  check(pageWeight() <= kMaxPageBytes, 'the page within its weight');
  await playWithPad(browser, base + 'kolvex.html');
  const figures = await playAcrossReload(browser, base + 'kolvex.html');
  await fitEveryViewport(browser, compressed.base + 'kolvex.html');
  await keepBestsThroughFaults(browser, base + 'kolvex.html');
  await keepHigherOfTwoPages(browser, base + 'kolvex.html');
  // Last: its tab brought to the front would leave the others behind it.
  await playByTouch(browser, base + 'kolvex.html');
  printFigures(figures);
} catch (error) {
  failed = true;
  console.error(error.message);
} finally {
  await browser.close();
  server.close();
  compressed.server.close();
  rmSync(profile, { recursive: true, force: true });
}
process.exit(failed ? 1 : 0);
