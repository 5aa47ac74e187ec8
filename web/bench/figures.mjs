// The browser front end's figures (a benchmark, not a test): bytes before
// the first verdict, time to the first verdict cold and cached, verdicts per
// second in the page against the native build, suggestion latency, and the
// tab's memory. Run after scripts/build-web.sh and scripts/build.sh:
//   node web/bench/figures.mjs     (TOVURI_WEB_OUT, TOVURI_NATIVE_BIN, TOVURI_CHROMIUM as for the tests)
import path from 'node:path';
import { performance } from 'node:perf_hooks';
import { webOut, native, sampleWords, slip } from '../tests/common.mjs';
import { launch, serve } from '../tests/browser.mjs';

const words = sampleWords();
const server = await serve(path.join(webOut, 'site'));
const browser = await launch();
const page = await browser.newPage();
const client = await page.createCDPSession();
await client.send('Network.enable');
let wire = 0;
client.on('Network.loadingFinished', (e) => { wire += e.encodedDataLength; });

// Navigation start to the first verdict of a dictionary word, and of a word
// only the analyser accepts, asked as the page asks it: once the word check
// index is ready (at the first visit a worker makes its file).
const firstVerdicts = () => page.evaluate(async () => {
  const t = await window.tovuriReady;
  const ready = performance.now();
  t.check('abantu');
  const first = performance.now();
  await t.indexReady;
  t.check('ngizobahambela');
  return { ready, first, analysed: performance.now(), wasmBytes: t.core.HEAPU8.length };
});

await page.goto(server.url, { waitUntil: 'load' });
const cold = await firstVerdicts();
const coldBytes = wire;
await page.evaluate(() => navigator.serviceWorker.ready.then(() => true));
// The word check index made at the first visit is kept once compressed.
await page.evaluate(async () => {
  for (;;) {
    for (const name of await caches.keys())
      for (const request of await (await caches.open(name)).keys())
        if (request.url.endsWith('/Ndebele.idx')) return;
    await new Promise((r) => setTimeout(r, 200));
  }
});
wire = 0;
await page.reload({ waitUntil: 'load' });
const cached = await firstVerdicts();
const cachedBytes = wire;

const pageRun = await page.evaluate(async (words) => {
  const t = await window.tovuriReady;
  let start = performance.now();
  for (const w of words) t.check(w);
  const verdictsPerSecond = words.length / ((performance.now() - start) / 1000);
  return { verdictsPerSecond, wasmBytes: t.core.HEAPU8.length };
}, words);

const slips = words.filter((w) => /^[a-z]{4,}$/.test(w)).slice(0, 200).map(slip);
const latencies = await page.evaluate(async (slips) => {
  const t = await window.tovuriReady;
  return slips.map((s) => { const start = performance.now(); t.suggest(s); return performance.now() - start; });
}, slips);
latencies.sort((a, b) => a - b);
const metrics = await page.metrics();

const startNative = performance.now();
native(['--no-learn', '--words', 'abantu']);
const nativeStart = performance.now() - startNative;
const startAll = performance.now();
for (let i = 0; i < words.length; i += 2000) native(['--no-learn', '--words', ...words.slice(i, i + 2000)]);
const nativeRuns = Math.ceil(words.length / 2000);
const nativePerSecond = words.length / ((performance.now() - startAll - nativeRuns * nativeStart) / 1000);

await browser.close();
await server.close();
const ms = (x) => `${x.toFixed(0)} ms`;
console.log(`bytes before the first verdict, cold: ${coldBytes} (module and data gzip-compressed, page files)`);
console.log(`bytes on a cached visit: ${cachedBytes}`);
console.log(`first verdict, cold: ${ms(cold.first)} (dictionary word); ${ms(cold.analysed)} (analysed word, index file made by the worker)`);
console.log(`WebAssembly memory after the first visit's first verdicts: ${(cold.wasmBytes / 2 ** 20).toFixed(0)} MiB`);
console.log(`first verdict, cached: ${ms(cached.first)}; ${ms(cached.analysed)} (analysed word)`);
console.log(`verdicts per second over ${words.length} sample words: page ${pageRun.verdictsPerSecond.toFixed(0)}, native ${nativePerSecond.toFixed(0)}`);
console.log(`suggestion latency over ${slips.length} slips: median ${ms(latencies[latencies.length >> 1])}, 95th percentile ${ms(latencies[Math.floor(latencies.length * 0.95)])}`);
console.log(`tab memory: WebAssembly ${(pageRun.wasmBytes / 2 ** 20).toFixed(0)} MiB, JavaScript heap ${(metrics.JSHeapTotalSize / 2 ** 20).toFixed(0)} MiB`);
