// The page in headless chromium against the built site (CASL_SITE_DIR, default build-web/site):
// typing, and Assemble on a faulty, a clean and a one-line program.
import assert from 'node:assert/strict';
import path from 'node:path';
import { after, before, beforeEach, afterEach, test } from 'node:test';
import { fileURLToPath } from 'node:url';
import { serveSite } from '../serve.mjs';
import { launchChromium } from './browser.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const siteDir = process.env.CASL_SITE_DIR ?? path.join(here, '..', '..', 'build-web', 'site');

const header =
  'Address Object-Code     Label    Mnemonic  Gr, Op, Xr\n' +
  '-------------------------------------------------------------\n';
const green = 'rgb(0, 255, 0)';
const red = 'rgb(255, 0, 0)';

let server;
let browser;
let siteUrl;
let page;

before(async () => {
  server = await serveSite(siteDir, { port: 0 });
  siteUrl = `http://127.0.0.1:${server.address().port}/`;
  browser = await launchChromium();
});

after(async () => {
  await browser?.close();
  server?.close();
});

beforeEach(async () => {
  page = await browser.newPage();
  const failures = [];
  page.on('pageerror', (error) => failures.push(error));
  page.failures = failures;
  await page.goto(siteUrl);
  await page.locator('#Assemble:enabled').waitFor();
});

afterEach(async () => {
  assert.deepEqual(page.failures, [], 'the page threw');
  await page.close();
});

/** The editor's text as CodeMirror holds it (lines joined by LF). */
function editorText() {
  return page.locator('#source .cm-line').allTextContents().then((lines) => lines.join('\n'));
}

/** Replaces the editor's text as a paste does (no upper-casing). */
async function pasteProgram(text) {
  await page.locator('#source .cm-content').click();
  await page.keyboard.press('Control+A');
  await page.evaluate((pasted) => {
    const data = new DataTransfer();
    data.setData('text/plain', pasted);
    const paste = { clipboardData: data, bubbles: true, cancelable: true };
    document.querySelector('#source .cm-content').dispatchEvent(new ClipboardEvent('paste', paste));
  }, text);
}

async function assembleResult() {
  await page.locator('#Assemble').click();
  const label = page.locator('#Form2-Label1');
  return {
    listing: await page.locator('#Form2-Text1').textContent(),
    resultLine: await label.textContent(),
    colour: await label.evaluate((element) => getComputedStyle(element).color),
    shown: await page.locator('#Form2').isVisible(),
  };
}

test('typed letters are upper-cased; digits, blanks, tabs and punctuation are kept', async () => {
  await page.locator('#source .cm-content').click();
  await page.keyboard.type("main\tstart\n\tld\tgr1,=#00ff ; first\n\tdc\t'abc'\n");
  assert.equal(
    await editorText(),
    "MAIN\tSTART\n\tLD\tGR1,=#00FF ; FIRST\n\tDC\t'ABC'\n",
  );
});

test('a composition stays as composed and is upper-cased when committed', async () => {
  await page.locator('#source .cm-content').click();
  const cdp = await page.context().newCDPSession(page);
  await cdp.send('Input.imeSetComposition', { text: 'ｌ', selectionStart: 1, selectionEnd: 1 });
  await cdp.send('Input.imeSetComposition', { text: 'ｌｄ', selectionStart: 2, selectionEnd: 2 });
  assert.equal(await editorText(), 'ｌｄ');
  await cdp.send('Input.insertText', { text: 'ｌｄ' });
  // The commit is upper-cased just after the composition ends.
  const changed = (composed) => document.querySelector('#source .cm-line').textContent !== composed;
  await page.waitForFunction(changed, 'ｌｄ', { timeout: 5000 }).catch(() => {});
  assert.equal(await editorText(), 'ＬＤ');
  await page.keyboard.insertText(' gr1');
  assert.equal(await editorText(), 'ＬＤ GR1');
});

test('pasted text keeps its case', async () => {
  await pasteProgram('; lower case stays');
  assert.equal(await editorText(), '; lower case stays');
});

test('a faulty program lists every finding and shows the count in red', async () => {
  await pasteProgram('PGM\tSTART\n\tLD\tGR9,A\n\tFOO\tGR1\nA\tDC\t1\nA\tDC\t2\n\tEND\n');
  const result = await assembleResult();
  assert.equal(
    result.listing,
    header +
      '0000\t         \tPGM      START   \n' +
      '0002\t1000 0007\t         LD      GR9,A\n' +
      '<GR>レジスタ \n' +
      '0004\t\t         FOO     GR1\n' +
      'ニーモニック \n' +
      '0006\t0001     \tA        DC      1\n' +
      'ラベルの重複 \n' +
      '0007\t0002     \tA        DC      2\n' +
      '0008\t         \t         END     \n',
  );
  assert.equal(result.resultLine, 'Assemble Error: 3');
  assert.equal(result.colour, red);
  assert.ok(result.shown);
});

test('a clean program shows 0 in green and the editor loses its empty lines', async () => {
  await pasteProgram(
    'SUM\tSTART\n\n\tLD\tGR1,A\t; first\n\tADDA\tGR1,=5\n\tST\tGR1,ANS\n\tRET\n' +
      'A\tDC\t12\nANS\tDS\t1\n\tEND\n',
  );
  const result = await assembleResult();
  assert.equal(
    result.listing,
    header +
      '0000\t         \tSUM      START   \n' +
      '0002\t1010 0009\t         LD      GR1,A\n' +
      '0004\t2010 000B\t         ADDA    GR1,=5\n' +
      '0006\t1110 000A\t         ST      GR1,ANS\n' +
      '0008\t8100     \t         RET     \n' +
      '0009\t000C     \tA        DC      12\n' +
      '000A\t0000     \tANS      DS      1\n' +
      '000B\t0005     \t         DC      5\n' +
      '000C\t         \t         END     \n',
  );
  assert.equal(result.resultLine, 'Assemble Error: 0');
  assert.equal(result.colour, green);
  assert.equal(
    await editorText(),
    'SUM\tSTART\n\tLD\tGR1,A\t; first\n\tADDA\tGR1,=5\n\tST\tGR1,ANS\n\tRET\n' +
      'A\tDC\t12\nANS\tDS\t1\n\tEND\n',
  );
  if (process.env.CASL_PAGE_SCREENSHOT) {
    await page.setViewportSize({ width: 1280, height: 720 });
    await page.screenshot({ path: process.env.CASL_PAGE_SCREENSHOT });
  }
});

test('character constants take the codes of the Japanese code page (CP932)', async () => {
  await pasteProgram(
    "MSG\tSTART\n\tLAD\tGR1,='AB'\n\tLD\tGR2,='x'\n\tRET\nS\tDC\t'あHi'\n\tEND\n",
  );
  const result = await assembleResult();
  assert.equal(
    result.listing,
    header +
      '0000\t         \tMSG      START   \n' +
      "0002\t1210 000A\t         LAD     GR1,='AB'\n" +
      "0004\t1020 000C\t         LD      GR2,='x'\n" +
      '0006\t8100     \t         RET     \n' +
      "0007\t82A0     \tS        DC      'あHi'\n" +
      "000A\t0041     \t         DC      'AB'\n" +
      "000C\t0078     \t         DC      'x'\n" +
      '000D\t         \t         END     \n',
  );
  assert.equal(result.resultLine, 'Assemble Error: 0');
});

test('a text of blanks and a clean one-line program show no listing', async () => {
  await pasteProgram('   ');
  await page.locator('#Assemble').click();
  assert.equal(await editorText(), '   ');
  await pasteProgram('\tNOP\n');
  await page.locator('#Assemble').click();
  assert.equal(await page.locator('#Form2').isVisible(), false);
  assert.equal(await editorText(), '\tNOP\n');
});
