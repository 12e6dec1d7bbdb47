// Steps per second of the loop program in headless chromium: the WebAssembly build of
// bench/loop4m_steps_bench.cpp as a page, whose figures come out on the console.
//   node web/bench/steps_in_browser.mjs [build-web/web]
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { serveSite } from '../serve.mjs';
import { launchChromium } from '../tests/browser.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const folder = process.argv[2] ?? path.join(here, '..', '..', 'build-web', 'web');

const server = await serveSite(folder, { port: 0 });
const browser = await launchChromium();
try {
  const page = await browser.newPage();
  const figures = [];
  const done = new Promise((resolve, reject) => {
    page.on('console', (message) => {
      const text = message.text();
      if (text.startsWith('loop4m ')) {
        figures.push(text);
      } else if (text.startsWith('exit ')) {
        // The program ended, after a figure for every way of running.
        if (text === 'exit 0') {
          resolve();
        } else {
          reject(new Error(`the benchmark ended with ${text}`));
        }
      }
    });
    page.on('pageerror', reject);
  });
  await page.goto(`http://127.0.0.1:${server.address().port}/loop4m_steps_bench_page.html`);
  await done;
  for (const figure of figures) {
    console.log(figure);
  }
} finally {
  await browser.close();
  server.close();
}
