// Lighthouse's mobile performance audit of the web build, served precompressed
// as a production server sends it, on the system's Chromium with its default
// mobile settings: the score and the metrics, each the median of a few runs,
// then the median-scored run's opportunities and diagnostics. Exits non-zero
// when a run fails or never sees the page's first frame ('kolvex-first-frame').
// Usage: node tests/bench/web/measure_lighthouse.mjs build/web
import { execFile } from 'node:child_process';
import { fileURLToPath } from 'node:url';
import { promisify } from 'node:util';
import { kChromium, kChromiumArgs } from '../../web/chromium.mjs';
import { serveFolder } from '../../web/serve_static.mjs';

const kRuns = 3;
const kMark = 'kolvex-first-frame';
const kMetrics = [
  ['first-contentful-paint', 'FCP'], ['largest-contentful-paint', 'LCP'], ['total-blocking-time', 'TBT'],
  ['speed-index', 'SI'], ['cumulative-layout-shift', 'CLS'], ['interactive', 'TTI'],
];
const kLighthouse = fileURLToPath(new URL('node_modules/.bin/lighthouse', import.meta.url));

const folder = process.argv[2];
if (!folder) {
  console.error('usage: node measure_lighthouse.mjs <folder with kolvex.html>');
  process.exit(2);
}

// One audit in a fresh browser; Lighthouse's result object.
async function audit(url) {
  const { stdout } = await promisify(execFile)(kLighthouse, [
    url, '--only-categories=performance', '--output=json', '--output-path=stdout', '--quiet',
    `--chrome-flags=${['--headless=new', ...kChromiumArgs].join(' ')}`,
  ], { env: { ...process.env, CHROME_PATH: kChromium }, maxBuffer: 1 << 28 });
  const result = JSON.parse(stdout);
  if (result.runtimeError) throw new Error(`Lighthouse: ${result.runtimeError.code}: ${result.runtimeError.message}`);
  const marks = result.audits['user-timings'].details?.items ?? [];
  if (!marks.some((mark) => mark.name === kMark)) throw new Error(`Lighthouse's run never saw the page's '${kMark}' mark`);
  return result;
}

const median = (values) => values.slice().sort((a, b) => a - b)[Math.floor(values.length / 2)];
const score = (result) => result.categories.performance.score;

const { server, base } = await serveFolder(folder, { precompressed: true });
try {
  const runs = [];
  for (let i = 0; i < kRuns; ++i) runs.push(await audit(base + 'kolvex.html'));
  const scores = runs.map(score);
  console.log(`Lighthouse ${runs[0].lighthouseVersion}, mobile defaults (simulated slow 4G, CPU slowed 4 times), ` +
    `the system's Chromium, served precompressed; this machine's CPU benchmark index ` +
    `${runs.map((run) => Math.round(run.environment.benchmarkIndex)).join(', ')}`);
  console.log(`performance score: median ${scores.includes(null) ? 'none' : Math.round(median(scores) * 100)} ` +
    `over ${kRuns} runs (${scores.map((s) => (s === null ? 'none' : Math.round(s * 100))).join(', ')})`);
  const metrics = kMetrics.map(([id, label]) => {
    const values = runs.map((run) => run.audits[id]?.numericValue);
    if (values.some((value) => value === undefined)) {
      const why = runs.map((run) => run.audits[id]?.errorMessage).find(Boolean) ?? 'not measured';
      return `${label} none (${why})`;
    }
    const shown = (value) => (id === 'cumulative-layout-shift' ? value.toFixed(3)
      : id === 'total-blocking-time' ? `${value.toFixed(0)} ms` : `${(value / 1000).toFixed(1)} s`);
    return `${label} ${shown(median(values))} (${values.map(shown).join(', ')})`;
  });
  console.log(`metrics, medians (each run): ${metrics.join('; ')}`);

  const chosen = runs.find((run) => score(run) === median(scores)) ?? runs[0];
  const failing = chosen.categories.performance.auditRefs.filter((ref) => ref.group === 'diagnostics')
    .map((ref) => chosen.audits[ref.id]).filter((found) => found.score !== null && found.score < 1);
  const saving = (found) => Object.entries(found.metricSavings ?? {}).filter(([, ms]) => ms > 0)
    .map(([metric, ms]) => `${metric} -${(ms / 1000).toFixed(1)} s`).join(', ');
  const describe = (found) => `  ${found.id}: ${found.displayValue ?? ''}${saving(found) ? ` (${saving(found)})` : ''}`;
  const opportunities = failing.filter((found) => found.details?.type === 'opportunity');
  console.log(`opportunities (the median-scored run):${opportunities.length ? '' : ' none'}`);
  for (const found of opportunities.sort((a, b) => b.details.overallSavingsMs - a.details.overallSavingsMs ||
    b.details.overallSavingsBytes - a.details.overallSavingsBytes)) {
    console.log(describe(found).replace(/\u00a0/g, ' '));
  }
  const diagnostics = failing.filter((found) => found.details?.type !== 'opportunity');
  console.log(`diagnostics:${diagnostics.length ? '' : ' none'}`);
  for (const found of diagnostics.sort((a, b) => a.score - b.score)) console.log(describe(found).replace(/\u00a0/g, ' '));
} finally {
  server.close();
}
