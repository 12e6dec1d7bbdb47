// Takes the README's picture of a trace in the browser: the subroutine example, assembled, a
// breakpoint in the subroutine, run on to it and, with Next, on to it once more.
//   node web/screenshot.mjs <out.png> [--dark] [--site build-web/site]
import path from 'node:path';
import { parseArgs } from 'node:util';
import { fileURLToPath } from 'node:url';
import { serveSite } from './serve.mjs';
import { launchChromium } from './tests/browser.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const { values, positionals } = parseArgs({
  allowPositionals: true,
  options: {
    dark: { type: 'boolean', default: false },
    site: { type: 'string', default: path.join(here, '..', 'build-web', 'site') },
  },
});
if (positionals.length !== 1) {
  console.error('usage: node web/screenshot.mjs <out.png> [--dark] [--site <folder>]');
  process.exit(2);
}

const server = await serveSite(values.site, { port: 0 });
const browser = await launchChromium();
try {
  const context = await browser.newContext({
    viewport: { width: 1280, height: 720 },
    colorScheme: values.dark ? 'dark' : 'light',
  });
  const page = await context.newPage();
  await page.goto(`http://127.0.0.1:${server.address().port}/`);
  await page.locator('#Assemble:enabled').waitFor();
  await page.locator('#examplesButton').click();
  await page.locator('#examplesMenu button', { hasText: 'subroutine.cas' }).click();
  await page.waitForFunction(() =>
    document.querySelector('#source .cm-line')?.textContent.startsWith('; subroutine.cas'),
  );
  await page.locator('#Assemble').click();
  await page.locator('#Form2-Command2').click();
  // The breakpoint on "CPA GR1,GR2" in MAX.
  await page.locator('#source .cm-line', { hasText: 'CPA     GR1,GR2' }).click();
  await page.locator('#Trace').click();
  await page.locator('#Command1').click();
  await page.mouse.move(0, 0);
  await page.screenshot({ path: positionals[0] });
  console.log(`${positionals[0]}: a trace of subroutine.cas`);
} finally {
  await browser.close();
  server.close();
}
