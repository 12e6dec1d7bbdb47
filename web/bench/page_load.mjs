// How fast the page comes up from the local server in headless chromium, and what it
// downloads: first contentful paint, the moment the core is ready (Assemble enabled), and the
// bytes of every response, as stored and gzip-compressed.
//   node web/bench/page_load.mjs [site folder] [runs]
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { gzipSync } from 'node:zlib';
import { serveSite } from '../serve.mjs';
import { launchChromium } from '../tests/browser.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const siteDir = process.argv[2] ?? path.join(here, '..', '..', 'build-web', 'site');
const runs = Number(process.argv[3] ?? 5);

const server = await serveSite(siteDir, { port: 0 });
const browser = await launchChromium();
try {
  const url = `http://127.0.0.1:${server.address().port}/`;
  const paints = [];
  const ready = [];
  let downloads = new Map();
  for (let run = 0; run < runs; ++run) {
    // A new context each time: nothing comes from the cache.
    const context = await browser.newContext();
    const page = await context.newPage();
    downloads = new Map();
    const bodies = [];
    page.on('response', (response) => {
      const name = new URL(response.url()).pathname;
      bodies.push(
        response
          .body()
          .catch(() => Buffer.alloc(0))
          .then((body) => downloads.set(name, body)),
      );
    });
    await page.goto(url);
    await page.locator('#Assemble:enabled').waitFor();
    const timing = await page.evaluate(() => ({
      paint: performance.getEntriesByName('first-contentful-paint')[0]?.startTime ?? NaN,
      ready: performance.now(),
    }));
    paints.push(timing.paint);
    ready.push(timing.ready);
    // The offline copy (examples, exercises) is fetched after the page is up; its bodies are
    // read before the context closes, or they would count as empty.
    await page.evaluate(() => navigator.serviceWorker.ready.then(() => true));
    await Promise.all(bodies);
    await context.close();
  }
  const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
  console.log(`first contentful paint: ${median(paints).toFixed(0)} ms (median of ${runs})`);
  console.log(`core ready (Assemble enabled): ${median(ready).toFixed(0)} ms (median of ${runs})`);
  let stored = 0;
  let compressed = 0;
  for (const [name, body] of [...downloads].sort()) {
    const gzip = gzipSync(body, { level: 9 }).length;
    stored += body.length;
    compressed += gzip;
    console.log(`  ${name.padEnd(20)} ${String(body.length).padStart(8)} bytes, ${gzip} gzip`);
  }
  console.log(`download: ${stored} bytes, ${compressed} bytes gzip-compressed`);
} finally {
  await browser.close();
  server.close();
}
