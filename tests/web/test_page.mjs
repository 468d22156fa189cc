// End-to-end test of the web build, the page served from 127.0.0.1, in the
// three engines players use. In each (Chromium, Firefox ESR, WebKitGTK) the core
// cases: the title screen, GAME START with real key events, a game to the
// top-out, the bests read back after a reload, Q ending the game, no uncaught
// error; a tap on GAME START; a scripted gamepad starting a game. Chromium,
// headless, then the whole rest: the audio held back until a key, the pad
// playing, the page fitting every screen, the bests kept through storage
// faults and across two pages, a phone's game by touch alone, and a clear line
// where the page cannot run (no WebGL, no IndexedDB, the wasm missing). Firefox
// and WebKit run headed, since headless Firefox has no WebGL: the whole command
// under tests/with_display.sh. Prints the page's figures at the end.
// Usage: tests/with_display.sh node tests/web/test_page.mjs build/web
import { execFileSync, spawn } from 'node:child_process';
import { cpSync, mkdtempSync, readdirSync, readFileSync, rmSync, statSync } from 'node:fs';
import { createServer } from 'node:net';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { brotliDecompressSync, gunzipSync } from 'node:zlib';
import puppeteer from 'puppeteer-core';
import { kChromium, kChromiumArgs } from './chromium.mjs';
import { recordFrames } from './record_frames.mjs';
import { serveFolder } from './serve_static.mjs';

const kFirefox = '/usr/bin/firefox-esr';
const kWebKitDriver = '/usr/bin/WebKitWebDriver';
const kMiniBrowser = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
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

// A page in one engine, through its driver: `evaluate(expression)` (awaiting
// a promise), `keyDown(key)` and `keyUp(key)` by puppeteer's key names,
// `goto(url)`, `reload()`, `tap({ x, y })` in CSS pixels of the viewport, and
// `sync(page)`, which brings the console's new lines to `page.logs`, `errors`
// (console errors and uncaught ones) and `uncaught`. `audio` says whether the
// audio's state can be checked: the driver's own calls give no user gesture.
class Page {
  constructor(driver) {
    this.driver = driver;
    this.page = driver.tab;
    this.errors = [];
    this.uncaught = [];
    this.logs = [];
    driver.attach(this);
  }

  evaluate(expression) {
    return this.driver.evaluate(expression);
  }

  sync() {
    return this.driver.sync(this);
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
    await this.driver.keyDown(key);
    await sleep(kKeyHoldMs);
    await this.driver.keyUp(key);
  }

  audioStates() {
    return this.evaluate(`(window.miniaudio ? window.miniaudio.devices : [])
      .filter((device) => device && device.webaudio).map((device) => device.webaudio.state)`);
  }

  // The overlay's line, or '' while the overlay is hidden.
  overlayLine() {
    return this.evaluate("document.getElementById('overlay').hidden ? '' : document.getElementById('message').textContent");
  }

  // Loads the page and waits for a drawn title frame; the milliseconds from
  // navigation to the end of that frame.
  async open(url, reload) {
    this.logs = [];
    await (reload ? this.driver.reload() : this.driver.goto(url));
    const frame = await waitFor('the first title frame', async () => {
      const frames = await this.evaluate('window.kolvexFrames && window.kolvexFrames.slice(0, 1)');
      return frames && frames.length > 0 && frames[0];
    }, 30000).catch(async (error) => {
      await this.sync();
      throw new Error(`${error.message}; errors: ${this.errors.join(' | ') || 'none'}`);
    });
    if (frame.colours < 3) throw new Error('the title frame is blank');
    return frame.start + frame.ms;
  }

  // Enter on the title menu's first entry until the game scene starts loading
  // its pictures (the menu takes keys only once its opening has run).
  async startGame() {
    await this.sync();
    const from = this.logs.length;
    await waitFor('GAME START', async () => {
      await this.sync();
      if (!gameBegan(this.logs, from)) await this.press('Enter');
      await sleep(400);
      await this.sync();
      return gameBegan(this.logs, from);
    }, 20000);
  }

  // The score and the best stored before it, once the game-over scene has saved.
  async topOut() {
    await this.sync();
    const trace = this.logs.map((line) => kScoreTrace.exec(line)).find(Boolean);
    return trace && { score: Number(trace[1]), storedBest: Number(trace[2]) };
  }

  // Hard-drops every piece where it appears until the stack tops out and the
  // game-over scene saves; the score and the best stored before this game.
  playToTopOut() {
    return waitFor('the top-out', async () => {
      await this.press('ArrowUp');
      return this.topOut();
    }, kGameWaitMs);
  }
}

// Chromium over the DevTools protocol, Firefox over WebDriver BiDi. On Chromium
// the DevTools session evaluates, since puppeteer's own evaluate counts as a
// user gesture, which would let the page start its audio; and it sends touches.
function puppeteerDriver(tab, session) {
  return {
    tab,
    session,
    audio: Boolean(session),
    attach(page) {
      tab.on('console', (message) => {
        if (message.type() === 'error') page.errors.push(message.text());
        page.logs.push(message.text());
      });
      tab.on('pageerror', (error) => {
        page.errors.push(String(error));
        page.uncaught.push(String(error));
      });
    },
    async evaluate(expression) {
      if (!session) return tab.evaluate(expression);
      const { result, exceptionDetails } = await session.send('Runtime.evaluate',
        { expression, returnByValue: true, awaitPromise: true, userGesture: false });
      if (exceptionDetails) throw new Error(`${expression}: ${exceptionDetails.text}`);
      return result.value;
    },
    keyDown: (key) => tab.keyboard.down(key),
    keyUp: (key) => tab.keyboard.up(key),
    goto: (url) => tab.goto(url),
    reload: () => tab.reload(),
    close: () => tab.browserContext().close(),
    async tap(point) {
      if (!session) return tab.touchscreen.tap(point.x, point.y);
      await session.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: [point] });
      await sleep(kTapMs);
      await session.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
    },
    sync() {},
  };
}

// Runs in the page before its own script where the driver has no console of
// its own (WebKit's WebDriver): the console's lines and the uncaught errors.
function captureConsole() {
  const seen = { logs: [], errors: [], uncaught: [] };
  window.kolvexConsole = seen;
  for (const level of ['log', 'info', 'warn', 'error']) {
    const original = console[level].bind(console);
    console[level] = (...args) => {
      const text = args.map(String).join(' ');
      seen.logs.push(text);
      if (level === 'error') seen.errors.push(text);
      original(...args);
    };
  }
  addEventListener('error', (event) => seen.uncaught.push(String(event.message)));
  addEventListener('unhandledrejection', (event) => seen.uncaught.push(`unhandled rejection: ${event.reason}`));
}

// The WebDriver key values of the keys the test presses.
const kWebDriverKeys = { Enter: '\uE006', ArrowUp: '\uE013', ArrowDown: '\uE015', KeyQ: 'q' };

// WebKitGTK over its WebDriver, plain HTTP. Its scripts before the page's own
// come with the page from the test's server (`preload`); its driver cannot send
// touches (they arrive as a mouse), so a tap is dispatched in the page, its
// lists made by createTouchList (WebKit's TouchEvent takes no arrays).
function webDriverDriver(base, sessionId) {
  const call = async (method, path, body) => {
    const response = await fetch(`${base}/session/${sessionId}${path}`, {
      method, headers: { 'Content-Type': 'application/json' }, body: body && JSON.stringify(body) });
    const { value } = await response.json();
    if (!response.ok) throw new Error(`WebDriver ${path}: ${value.error}: ${value.message}`);
    return value;
  };
  const key = (type, name) => call('POST', '/actions',
    { actions: [{ type: 'key', id: 'keyboard', actions: [{ type, value: kWebDriverKeys[name] }] }] });
  const read = { logs: 0, errors: 0, uncaught: 0 };
  return {
    audio: false,
    attach() {},
    close() {},
    evaluate: (expression) => call('POST', '/execute/sync', { script: `return (${expression}\n);`, args: [] }),
    keyDown: (name) => key('keyDown', name),
    keyUp: (name) => key('keyUp', name),
    goto(url) {
      Object.assign(read, { logs: 0, errors: 0, uncaught: 0 });
      return call('POST', '/url', { url });
    },
    reload() {
      Object.assign(read, { logs: 0, errors: 0, uncaught: 0 });
      return call('POST', '/refresh', {});
    },
    async tap({ x, y }) {
      const touch = (type) => call('POST', '/execute/sync', { script: `
        const target = document.elementFromPoint(${x}, ${y});
        const touch = document.createTouch(window, target, 1, ${x}, ${y}, ${x}, ${y});
        const now = document.createTouchList(...('${type}' === 'touchstart' ? [touch] : []));
        target.dispatchEvent(new TouchEvent('${type}', { bubbles: true, cancelable: true,
          touches: now, targetTouches: now, changedTouches: document.createTouchList(touch) }));`, args: [] });
      await touch('touchstart');
      await sleep(kTapMs);
      await touch('touchend');
    },
    async sync(page) {
      const seen = await call('POST', '/execute/sync', { script: `const seen = window.kolvexConsole;
        return seen && { logs: seen.logs.slice(${read.logs}), errors: seen.errors.slice(${read.errors}),
          uncaught: seen.uncaught.slice(${read.uncaught}) };`, args: [] });
      if (!seen) return;
      for (const field of ['logs', 'errors', 'uncaught']) {
        read[field] += seen[field].length;
        page[field].push(...seen[field]);
      }
      page.errors.push(...seen.uncaught);
    },
  };
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
  return ['kolvex.html', 'kolvex.js', 'kolvex.wasm', ...readdirSync(folder).filter((name) => name.endsWith('.pack'))]
    .map((name) => statSync(join(folder, name)).size)
    .reduce((a, b) => a + b, 0);
}

async function openTab(context, before) {
  const tab = await context.newPage();
  for (const script of before) await tab.evaluateOnNewDocument(script);
  return new Page(puppeteerDriver(tab, await tab.createCDPSession()));
}

async function openPage(browser, before) {
  return openTab(await browser.createBrowserContext(), before);
}

// The whole path of a player, in every engine: two games with a reload
// between, then Q; in Chromium also the progress bar, the audio held back until
// the first key, the keyboard on the canvas and the screenshots.
async function playAcrossReload(engine) {
  const name = engine.name;
  const page = await engine.openPage([recordFrames]);
  const firstFrameMs = await page.open(engine.url, false);
  console.log(`ok: ${name}: title screen drawn ${firstFrameMs.toFixed(0)} ms after navigation`);
  check(await page.evaluate("document.getElementById('bar').style.width === '100%'"),
    `${name}: the progress bar filled by the download`);
  if (engine.full) {
    check((await page.audioStates()).every((state) => state === 'suspended'), 'audio held back until a key or click');
    await page.page.screenshot({ path: join(folder, 'title.png') });
  }

  await page.startGame();
  if (engine.full) {
    check((await page.audioStates()).every((state) => state === 'running'), 'audio running after the first key');
    check(await page.evaluate("document.activeElement.id === 'canvas'"), 'the canvas has the keyboard');
  }
  const first = await page.playToTopOut();
  check(first.score > 0 && first.storedBest === 0, `${name}: first game topped out with ${first.score}`);
  const frames = await page.frames();
  await waitFor('the save to reach IndexedDB', async () =>
    (await page.storedSave()).split('\n')[2] === String(first.score), 10000);

  await page.open(null, true);
  await page.startGame();
  const second = await page.playToTopOut();
  check(second.storedBest === first.score, `${name}: the best of the game before the reload read back`);
  if (engine.full) await page.page.screenshot({ path: join(folder, 'game_over.png') });

  // Pressed again until seen: a press and release within one slow frame is lost.
  await waitFor('the page to say the game has ended', async () => {
    const ended = (await page.overlayLine()).includes('ended');
    if (!ended) await page.press('KeyQ');
    return ended;
  }, 10000);
  if (engine.full) await page.page.screenshot({ path: join(folder, 'ended.png') });
  const framesAtEnd = (await page.frames()).length;
  await sleep(500);
  check((await page.frames()).length === framesAtEnd, `${name}: Q stopped the frame loop`);
  if (engine.full) check((await page.audioStates()).every((state) => state === 'closed'), 'Q closed the audio');
  await page.sync();
  check(page.errors.length === 0,
    `${name}: no error on the console${page.errors.length ? ': ' + page.errors.join(' | ') : ''}`);
  await page.driver.close();
  return { firstFrameMs, frames };
}

// Taps GAME START until the game begins, at its place on the game's drawing
// mapped to where the canvas stands on the page.
async function tapGameStart(page) {
  const { window: size } = JSON.parse(readFileSync(kFactsPath));
  const box = await page.evaluate(`(() => {
    const r = document.getElementById('canvas').getBoundingClientRect();
    return { left: r.left, top: r.top, width: r.width, height: r.height };
  })()`);
  const point = { x: box.left + kGameStartAt.x * box.width / size[0], y: box.top + kGameStartAt.y * box.height / size[1] };
  await page.sync();
  const from = page.logs.length;
  await waitFor('GAME START by a tap', async () => {
    await page.sync();
    if (!gameBegan(page.logs, from)) await page.driver.tap(point);
    await sleep(400);
    await page.sync();
    return gameBegan(page.logs, from);
  }, 20000);
}

// The core cases, written once, in Firefox and WebKit (Chromium runs them
// within its whole test): the first finds the storage empty.
async function coreCases(engine) {
  await playAcrossReload(engine);
  const byPad = await startGameByPad(engine, []);
  await byPad.sync();
  check(byPad.uncaught.length === 0, `${engine.name}: GAME START from a scripted pad, no uncaught error`);
  await byPad.driver.close();
  const byTap = await engine.openPage([recordFrames]);
  await byTap.open(engine.url, false);
  await tapGameStart(byTap);
  await byTap.sync();
  check(byTap.uncaught.length === 0, `${engine.name}: GAME START by a tap, no uncaught error`);
  await byTap.driver.close();
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
// The build's .br and .gz siblings hold the very files, and the page came
// through them as a browser takes them from a server that sends them.
function checkPrecompressed(encoded) {
  const names = ['kolvex.html', 'kolvex.js', 'kolvex.wasm'];
  const same = names.every((name) => {
    const file = readFileSync(join(folder, name));
    return brotliDecompressSync(readFileSync(join(folder, name + '.br'))).equals(file) &&
      gunzipSync(readFileSync(join(folder, name + '.gz'))).equals(file);
  });
  check(same, 'the .br and .gz siblings decompress to the files');
  check(names.every((name) => encoded.has(name)), `the page sent precompressed (${[...encoded].join(', ')})`);
}

// The game's pack, the big one, answered by `answer(request, attempt)` instead
// of the server; the page's requests bypass the offline cache so each is seen.
async function withGamePack(page, answer) {
  let attempt = 0;
  await page.page.setBypassServiceWorker(true);
  await page.page.setRequestInterception(true);
  page.page.on('request', (request) => {
    if (/kolvex-game\.[0-9a-f]+\.pack$/.test(request.url())) answer(request, ++attempt);
    else request.continue();
  });
}

const frameCount = async (page) => (await page.frames()).length;
const lineShown = (page, id) => page.evaluate(`!document.getElementById('${id}').hidden`);

// GAME START pressed while the game's pack is on its way: the game waits with
// LOADING, frames still coming, and starts once the pack is in, whole and
// without a warning. The pack's first request fails and is made again; one that
// always fails is said in a line whose retry brings it.
async function streamTheGame(browser, url) {
  let release;
  const held = new Promise((resolve) => { release = resolve; });
  const page = await openPage(browser, [recordFrames]);
  await withGamePack(page, (request, attempt) => attempt === 1 ? request.abort() : held.then(() => request.continue()));
  await page.open(url, false);
  check(await lineShown(page, 'streaming'), 'the packs still coming shown by the line on the canvas');
  await waitForPack(page, 'the game waits for its pack with frames still drawn');
  release();
  await waitFor('the game to begin once its pack is in', async () => (await page.sync(), gameBegan(page.logs, 0)), 20000);
  await waitFor('the streaming line to go', async () => !(await lineShown(page, 'streaming')), 20000);
  const waited = page.logs.findIndex((line) => line.includes('waiting for the game'));
  const warnings = page.logs.slice(waited).filter((line) => line.includes('WARNING'));
  check(warnings.length === 0 && !(await lineShown(page, 'packs-failed')),
    `the pack fetched again after a failure, the game begun whole${warnings.length ? ': ' + warnings.join(' | ') : ''}`);
  await page.page.screenshot({ path: join(folder, 'streamed_game.png') });
  await page.driver.close();

  let refuse = true;
  const failing = await openPage(browser, [recordFrames]);
  await withGamePack(failing, (request) => refuse ? request.abort() : request.continue());
  await failing.open(url, false);
  await waitFor('the line saying the pack failed', () => lineShown(failing, 'packs-failed'), 30000);
  await waitForPack(failing, 'a pack that always fails: its line shown, the game waiting, not stopped');
  await failing.page.screenshot({ path: join(folder, 'pack_failed.png') });
  refuse = false;
  await failing.page.click('#packs-retry');
  await waitFor('the game to begin after the retry', async () => (await failing.sync(), gameBegan(failing.logs, 0)), 20000);
  check(!(await lineShown(failing, 'packs-failed')), 'the retry brought the pack and the game began');
  await failing.driver.close();
}

// GAME START until the game says it waits for its files; then frames drawn
// without the game beginning.
async function waitForPack(page, what) {
  await waitFor('GAME START to wait for the pack', async () => {
    await page.press('Enter');
    await page.sync();
    return page.logs.some((line) => line.includes('waiting for the game'));
  }, 20000);
  const frames = await frameCount(page);
  await waitFor('frames drawn while waiting', async () => (await frameCount(page)) > frames + 5, 20000);
  await page.sync();
  check(!gameBegan(page.logs, 0) && (await page.overlayLine()) === '', what);
}

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
// The pad's button 0 starting a game, in every engine; the page.
async function startGameByPad(engine, before) {
  const page = await engine.openPage([`(${scriptPad})(${kStandardButtons})`, recordFrames, ...before]);
  await page.open(engine.url, false);
  const logged = page.logs.length;
  await padHoldUntil(page, [kPadA], 0, 'GAME START from the pad', async () => {
    await page.sync();
    return gameBegan(page.logs, logged);
  });
  return page;
}

async function playWithPad(engine) {
  const facts = JSON.parse(readFileSync(kFactsPath));
  const geometry = { window: facts.window, cell: facts.cell, origin: facts.well_origin,
    columns: facts.well.columns, rows: facts.well.rows };
  const page = await startGameByPad(engine, [`(${readWell})(${JSON.stringify(geometry)})`]);
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

// Where GAME START stands on the game's 900 x 700 drawing.
const kGameStartAt = { x: 350, y: 370 };

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
    return this.page.driver.session.send('Input.dispatchTouchEvent', { type, touchPoints: points });
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
  await tapGameStart(page);
  console.log('ok: GAME START by a tap');
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

  await finger.choose(kGameStartAt.x, kGameStartAt.y, began, 'GAME START again');
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

// Runs in the page before its own script: a browser without IndexedDB (some
// private windows) whose audio stays suspended whatever the page asks.
function withoutStorageOrSound() {
  Object.defineProperty(window, 'indexedDB', { value: undefined });
  AudioContext.prototype.resume = () => new Promise(() => {});
}

// Where the page cannot run as built it says so, with no uncaught error: the
// wasm answered 404; no IndexedDB, where the game plays on and the audio stays
// suspended; and, in a Chromium of its own started without WebGL, no WebGL.
async function sayWhatIsMissing(browser, url) {
  const broken = await serveFolder(folder, { missing: ['kolvex.wasm'] });
  try {
    const page = await openPage(browser, []);
    await page.driver.goto(broken.base + 'kolvex.html');
    const line = await waitFor('the line for a missing wasm', async () => {
      const text = await page.overlayLine();
      return text.includes('404') && text;
    }, 10000);
    check(line.includes('kolvex.wasm') && page.uncaught.length === 0, `the wasm answered 404: "${line}", no uncaught error`);
    await page.driver.close();
  } finally {
    broken.server.close();
  }

  const page = await openPage(browser, [withoutStorageOrSound, recordFrames]);
  await page.open(url, false);
  const notice = await page.evaluate("document.getElementById('notice').hidden ? '' : document.getElementById('notice').textContent");
  check(notice.includes('will not be kept'), `no IndexedDB: "${notice}"`);
  await page.startGame();
  const game = await page.playToTopOut();
  check(game.score > 0 && (await page.overlayLine()) === '' && page.uncaught.length === 0 &&
    (await page.audioStates()).every((state) => state === 'suspended'),
    'no IndexedDB and the audio suspended: a game played silently to its top-out, no uncaught error');
  await page.driver.close();

  const profile = mkdtempSync(join(tmpdir(), 'kolvex-chromium-'));
  const noWebGL = await puppeteer.launch({ executablePath: kChromium, headless: true, userDataDir: profile,
    args: [...kChromiumArgs, '--disable-webgl', '--disable-3d-apis'], defaultViewport: kViewport });
  try {
    const bare = new Page(puppeteerDriver(await noWebGL.newPage(), null));
    await bare.driver.goto(url);
    const text = await bare.overlayLine();
    check(text.includes('WebGL') && bare.uncaught.length === 0, `no WebGL: "${text}", no uncaught error`);
  } finally {
    await noWebGL.close();
    rmSync(profile, { recursive: true, force: true });
  }
}

const kSource = join(dirname(fileURLToPath(import.meta.url)), '../..');

// The page's step of the build (cmake/WebPage.cmake) run again on a copy of the
// build as another version, with the sources the build gives it.
function rebuildPage(out, version) {
  const { window: size } = JSON.parse(readFileSync(kFactsPath));
  const source = (path) => join(kSource, path);
  execFileSync('cmake', [`-DKOLVEX_OUT=${out}`, `-DPROJECT_VERSION=${version}`,
    `-DKOLVEX_SHELL=${source('web/kolvex.html')}`, `-DKOLVEX_LICENSE=${source('LICENSE')}`,
    `-DKOLVEX_NOTICES=${source('THIRD_PARTY_NOTICES.md')}`, `-DKOLVEX_MANIFEST=${source('web/kolvex.webmanifest')}`,
    `-DKOLVEX_WORKER=${source('web/service_worker.js')}`, `-DKOLVEX_ICONS=${source('web/icons')}`,
    `-DKOLVEX_WINDOW_WIDTH=${size[0]}`, `-DKOLVEX_WINDOW_HEIGHT=${size[1]}`, '-P', source('cmake/WebPage.cmake')]);
}

// The version the page shows, and the cache its profile's active worker keeps.
async function servedBuild(page) {
  const text = await page.evaluate("document.getElementById('controls').textContent");
  const workers = () => page.page.browserContext().targets().filter((target) => target.type() === 'service_worker');
  // A stopped worker's target may stay listed without ever answering.
  const cache = await waitFor('the active worker', async () => {
    const states = await Promise.all(workers().map((target) => Promise.race([
      target.worker().then((worker) => worker.evaluate('[self.serviceWorker.state, kCache]')), sleep(3000),
    ]).catch(() => null)));
    const active = states.find((state) => state && state[0] === 'activated');
    return active && active[1];
  }, 20000);
  return { version: /Kolvex (\S+), MIT/.exec(text)[1], cache };
}

// In the browser's own profile, as an installed page lives (a new context is
// private, where nothing installs): once the first visit's worker is active
// the page is installable; with the network off a reload plays a game to its
// save; then a second build served in its place is, on the visit after its
// worker has installed, the whole page, and the first build's cache is gone.
async function playOfflineThenUpdate(browser) {
  const site = await serveFolder(folder);
  const copy = mkdtempSync(join(tmpdir(), 'kolvex-update-'));
  const page = await openTab(browser.defaultBrowserContext(), [recordFrames]);
  const caches = () => page.evaluate('caches.keys()');
  try {
    await page.open(site.base + 'kolvex.html', false);
    const [first] = await waitFor('the worker to keep the page', async () =>
      (await page.evaluate('Boolean(navigator.serviceWorker.controller)')) && caches(), 30000);
    const { installabilityErrors } = await page.driver.session.send('Page.getInstallabilityErrors');
    check(installabilityErrors.length === 0,
      `installable, the worker keeping ${first} (${JSON.stringify(installabilityErrors)})`);

    await page.page.setOfflineMode(true);
    await page.open(null, true);
    await page.startGame();
    const game = await page.playToTopOut();
    await waitFor('the offline game\'s save in IndexedDB', async () =>
      (await page.storedSave()).split('\n')[2] === String(game.score), 10000);
    check(page.errors.length === 0, `offline: a reload played a game to its save (${game.score})`);
    await page.page.setOfflineMode(false);

    const old = await servedBuild(page);
    cpSync(folder, copy, { recursive: true });
    const version = `${old.version}-next`;
    rebuildPage(copy, version);
    site.folder = copy;
    // Answered by the first build's worker, whose visit fetches the new one.
    await page.open(null, true);
    const kept = (await servedBuild(page)).version;
    const [fresh] = await waitFor('the second build\'s worker to take over', async () => {
      const names = await caches();
      return names.length === 1 && names[0] !== first && names;
    }, 60000);
    await page.open(null, true);
    const now = await servedBuild(page);
    check(kept === old.version && now.version === version && now.cache === fresh && fresh.includes(version) &&
      (await caches()).join() === fresh,
      `updated: the open page kept ${kept}; the next visit ${now.version}, its worker's cache ${now.cache} alone`);
  } finally {
    await page.page.close();
    site.server.close();
    rmSync(copy, { recursive: true, force: true });
  }
}

// A free port on 127.0.0.1 for a driver that must be told one.
function freePort() {
  return new Promise((resolve) => {
    const probe = createServer().listen(0, '127.0.0.1', () => {
      const { port } = probe.address();
      probe.close(() => resolve(port));
    });
  });
}

// Chromium, headless, the whole test.
async function runChromium() {
  const profile = mkdtempSync(join(tmpdir(), 'kolvex-chromium-'));
  const { server, base } = await serveFolder(folder);
  const compressed = await serveFolder(folder, { precompressed: true });
  const browser = await puppeteer.launch({
    executablePath: kChromium, headless: true, userDataDir: profile,
    args: kChromiumArgs, defaultViewport: kViewport,
  });
  const url = base + 'kolvex.html';
  const engine = { name: 'chromium', full: true, url, browser, openPage: (before) => openPage(browser, before) };
  try {
    check(pageWeight() <= kMaxPageBytes, 'the page within its weight');
    await playWithPad(engine);
    const figures = await playAcrossReload(engine);
    await streamTheGame(browser, url);
    await fitEveryViewport(browser, compressed.base + 'kolvex.html');
    checkPrecompressed(compressed.encoded);
    await keepBestsThroughFaults(browser, url);
    await keepHigherOfTwoPages(browser, url);
    await sayWhatIsMissing(browser, url);
    await playOfflineThenUpdate(browser);
    // Last: its tab brought to the front would leave the others behind it.
    await playByTouch(browser, url);
    printFigures(figures);
  } finally {
    await browser.close();
    server.close();
    compressed.server.close();
    rmSync(profile, { recursive: true, force: true });
  }
}

// Firefox ESR over WebDriver BiDi, headed: headless Firefox has no WebGL.
async function runFirefox() {
  const { server, base } = await serveFolder(folder);
  const browser = await puppeteer.launch({ browser: 'firefox', protocol: 'webDriverBiDi', executablePath: kFirefox,
    headless: false, defaultViewport: kViewport });
  try {
    await coreCases({
      name: 'firefox', url: base + 'kolvex.html',
      async openPage(before) {
        const tab = await (await browser.createBrowserContext()).newPage();
        for (const script of before) await tab.evaluateOnNewDocument(script);
        return new Page(puppeteerDriver(tab, null));
      },
    });
  } finally {
    await browser.close();
    server.close();
  }
}

// WebKitGTK's MiniBrowser through WebKitWebDriver, headed. Each page comes
// with the console's capture and the case's scripts from the test's server.
async function runWebKit() {
  let scripts = '';
  const { server, base } = await serveFolder(folder, { preload: () => scripts });
  const port = await freePort();
  const driver = spawn(kWebKitDriver, [`--port=${port}`], { stdio: ['ignore', 'ignore', 'inherit'] });
  const address = `http://127.0.0.1:${port}`;
  let sessionId = null;
  try {
    await waitFor('WebKitWebDriver', () => fetch(`${address}/status`).then((r) => r.ok, () => false), 10000);
    const response = await fetch(`${address}/session`, { method: 'POST', body: JSON.stringify({ capabilities: {
      alwaysMatch: { 'webkitgtk:browserOptions': { binary: kMiniBrowser, args: ['--automation'] } } } }) });
    const { value } = await response.json();
    if (!response.ok) throw new Error(`WebKitWebDriver refused the session: ${value.message}`);
    sessionId = value.sessionId;
    await fetch(`${address}/session/${sessionId}/window/rect`, { method: 'POST',
      body: JSON.stringify({ width: kViewport.width, height: kViewport.height }) });
    await coreCases({
      name: 'webkit', url: base + 'kolvex.html',
      openPage(before) {
        scripts = [captureConsole, ...before].map((script) => typeof script === 'function' ? `(${script})();` : script)
          .join(';\n');
        return new Page(webDriverDriver(address, sessionId));
      },
    });
  } finally {
    if (sessionId) await fetch(`${address}/session/${sessionId}`, { method: 'DELETE' }).catch(() => {});
    driver.kill();
    server.close();
  }
}

let failed = false;
for (const run of [runChromium, runFirefox, runWebKit]) {
  try {
    await run();
  } catch (error) {
    failed = true;
    console.error(`${run.name}: ${error.message}`);
  }
}
process.exit(failed ? 1 : 0);
