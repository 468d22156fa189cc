// Measures the web build as a phone on a slow connection meets it: the page
// served precompressed, as a production server sends it, opened in headless
// Chromium with a phone's screen and touch, its network throttled and its
// cache off. Reports the median over a few runs of the time from navigation
// to the first drawn frame (the page's 'kolvex-first-frame' mark) and the bytes
// on the wire before it, with the median run's files by name. Exits non-zero
// when a run sees no first frame by the deadline.
// Usage: node tests/web/measure_first_frame.mjs build/web
import puppeteer from 'puppeteer-core';
import { kChromium, kChromiumArgs } from './chromium.mjs';
import { serveFolder } from './serve_static.mjs';

const kRuns = 3;
const kDeadlineMs = 120000;
const kMark = 'kolvex-first-frame';
// A mid-range phone held landscape.
const kPhone = { width: 915, height: 412, deviceScaleFactor: 2.625, isMobile: true, hasTouch: true, isLandscape: true };
// A slow mobile connection: 1.6 Mbit/s down, 750 kbit/s up, 150 ms round trip.
const kNetwork = { offline: false, latency: 150, downloadThroughput: 200000, uploadThroughput: 750000 / 8 };

const folder = process.argv[2];
if (!folder) {
  console.error('usage: node measure_first_frame.mjs <folder with kolvex.html>');
  process.exit(2);
}

// One load in a fresh browser, so nothing is cached or compiled ahead: the
// mark's time and each file's bytes received before it.
async function measureOnce(url) {
  const browser = await puppeteer.launch({ executablePath: kChromium, headless: true, args: kChromiumArgs });
  try {
    const page = await browser.newPage();
    await page.setViewport(kPhone);
    const cdp = await page.createCDPSession();
    await cdp.send('Network.enable');
    await cdp.send('Network.emulateNetworkConditions', kNetwork);
    await cdp.send('Network.setCacheDisabled', { cacheDisabled: true });
    // Files still loading at the first frame have no resource timing yet: their
    // chunks as received (monotonic seconds, encoded bytes) tell how far they got.
    const loading = new Map();
    let clock = null; // wall-clock ms less monotonic ms, from the first request
    cdp.on('Network.requestWillBeSent', ({ requestId, request, timestamp, wallTime }) => {
      if (!request.url.startsWith('http')) return;
      clock ??= wallTime * 1000 - timestamp * 1000;
      loading.set(requestId, { url: request.url, chunks: [] });
    });
    cdp.on('Network.dataReceived', ({ requestId, timestamp, encodedDataLength }) => {
      loading.get(requestId)?.chunks.push([timestamp, encodedDataLength]);
    });

    await page.goto(url, { waitUntil: 'domcontentloaded' });
    await page.waitForFunction(`performance.getEntriesByName('${kMark}').length > 0`,
      { timeout: kDeadlineMs, polling: 100 }).catch(() => {
      throw new Error(`no first frame (the '${kMark}' mark) within ${kDeadlineMs / 1000} s of navigation`);
    });
    // Files done by the mark: their bytes on the wire, headers included, as the page saw them.
    const { origin, at, done } = await page.evaluate(`(() => {
      const at = performance.getEntriesByName('${kMark}')[0].startTime;
      const done = [...performance.getEntriesByType('navigation'), ...performance.getEntriesByType('resource')]
        .filter((entry) => entry.name.startsWith('http') && entry.responseEnd <= at)
        .map((entry) => ({ url: entry.name, bytes: entry.transferSize }));
      return { origin: performance.timeOrigin, at, done };
    })()`);
    const markSeconds = (origin + at - clock) / 1000;
    const name = (url) => new URL(url).pathname.split('/').pop();
    const files = done.map(({ url, bytes }) => ({ name: name(url), bytes, partial: false }));
    for (const { url, chunks } of loading.values()) {
      const bytes = chunks.filter(([time]) => time <= markSeconds).reduce((sum, [, length]) => sum + length, 0);
      if (bytes > 0 && !done.some((file) => file.url === url)) files.push({ name: name(url), bytes, partial: true });
    }
    return { ms: at, bytes: files.reduce((sum, file) => sum + file.bytes, 0), files };
  } finally {
    await browser.close();
  }
}

const { server, base, encoded } = await serveFolder(folder, { precompressed: true });
try {
  const runs = [];
  for (let i = 0; i < kRuns; ++i) runs.push(await measureOnce(base + 'kolvex.html'));
  const median = runs.slice().sort((a, b) => a.ms - b.ms)[Math.floor(kRuns / 2)];
  const seconds = (ms) => (ms / 1000).toFixed(1);
  console.log(`phone ${kPhone.width}x${kPhone.height} at ${kPhone.deviceScaleFactor} with touch, ` +
    `${(kNetwork.downloadThroughput * 8) / 1e6} Mbit/s down, ${(kNetwork.uploadThroughput * 8) / 1e3} kbit/s up, ` +
    `${kNetwork.latency} ms round trip, cache off, served precompressed`);
  console.log(`first title frame: median ${seconds(median.ms)} s after navigation over ${kRuns} runs ` +
    `(${runs.map((run) => seconds(run.ms)).join(', ')} s), ${(median.bytes / 1e6).toFixed(2)} MB on the wire before it`);
  for (const file of median.files.sort((a, b) => b.bytes - a.bytes)) {
    console.log(`  ${file.name.padEnd(24)} ${String(file.bytes).padStart(10)} B` +
      `${encoded.has(file.name) ? ` (${encoded.get(file.name)})` : ''}${file.partial ? ', still loading' : ''}`);
  }
} finally {
  server.close();
}
