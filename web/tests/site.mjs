// What the browser tests share: the built site served on a free port, Debian's chromium, a new
// browser context (fresh storage) for every page, and ways to read the page as a user sees it.
import assert from 'node:assert/strict';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { serveSite } from '../serve.mjs';
import { launchChromium } from './browser.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
export const siteDir =
  process.env.CASL_SITE_DIR ?? path.join(here, '..', '..', 'build-web', 'site');

export const listingHeader =
  'Address Object-Code     Label    Mnemonic  Gr, Op, Xr\n' +
  '-------------------------------------------------------------\n';
export const green = 'rgb(0, 255, 0)';
export const red = 'rgb(255, 0, 0)';

/** The server and the browser of one test file; `open()` gives a fresh page of the site. */
export class Site {
  async start() {
    this.server = await serveSite(siteDir, { port: 0 });
    this.url = `http://127.0.0.1:${this.server.address().port}/`;
    this.browser = await launchChromium();
    this.contexts = [];
  }

  async stop() {
    await this.browser?.close();
    this.server?.close();
  }

  /**
   * A page of the site in a context of its own (`options` of the context), with the core
   * loaded; `address` is the site's own unless given (a link into it).
   */
  async open(options = {}, address = this.url) {
    const context = await this.browser.newContext({
      viewport: { width: 1280, height: 800 },
      acceptDownloads: true,
      ...options,
    });
    this.contexts.push(context);
    const page = await context.newPage();
    page.failures = [];
    page.on('pageerror', (error) => page.failures.push(error));
    await page.goto(address);
    await page.locator('#Assemble:enabled').waitFor();
    return page;
  }

  /** Closes every page opened since the last call; none of them may have thrown. */
  async closePages() {
    const contexts = this.contexts.splice(0);
    for (const context of contexts) {
      for (const page of context.pages()) {
        assert.deepEqual(page.failures ?? [], [], 'the page threw');
      }
      await context.close();
    }
  }
}

/** The editor's text as CodeMirror holds it (lines joined by LF). */
export async function editorText(page) {
  const lines = await page.locator('#source .cm-line').allTextContents();
  return lines.join('\n');
}

/** Replaces the editor's text as a paste does (no upper-casing). */
export async function pasteProgram(page, text) {
  await page.locator('#source .cm-content').click();
  await page.keyboard.press('Control+A');
  await page.evaluate((pasted) => {
    const data = new DataTransfer();
    data.setData('text/plain', pasted);
    const paste = { clipboardData: data, bubbles: true, cancelable: true };
    document.querySelector('#source .cm-content').dispatchEvent(new ClipboardEvent('paste', paste));
  }, text);
}

/** Presses Assemble and reads the listing window. */
export async function assembleResult(page) {
  await page.locator('#Assemble').click();
  const label = page.locator('#Form2-Label1');
  return {
    listing: await page.locator('#Form2-Text1').textContent(),
    resultLine: await label.textContent(),
    colour: await label.evaluate((element) => getComputedStyle(element).color),
    shown: await page.locator('#Form2').isVisible(),
  };
}

/** The editor line (1-based) whose text is shown at `index` among the rendered lines. */
export function editorLine(page, line) {
  return page.locator('#source .cm-line').nth(line - 1);
}

/**
 * Everything the trace shows at this moment, read from the page in one go: the open box, the
 * buttons, the marked line of the editor and every display text.
 */
export function traceSnapshot(page) {
  return page.evaluate(() => {
    const text = (id) => document.getElementById(id).textContent;
    const open = [...document.querySelectorAll('dialog.box')].find(
      (dialog) => dialog.open && dialog.id !== 'frmAbout',
    );
    let box = null;
    if (open?.id === 'messageBox') {
      const yesNo = !document.getElementById('messageBox-yes').hidden;
      box = {
        kind: 'message',
        title: text('messageBox-title'),
        text: text('messageBox-text'),
        buttons: yesNo ? 'yesNo' : 'ok',
      };
    } else if (open?.id === 'inputBox') {
      box = { kind: 'input', title: text('inputBox-title'), text: text('inputBox-prompt') };
    }
    const next = document.getElementById('Command1');
    const marked = document.querySelector('#source .cm-line.executed-line');
    const markedNumber = document.querySelector(
      '#source .cm-lineNumbers .cm-gutterElement.executed-line',
    );
    return {
      box,
      waiting: box === null && !next.hidden && !next.disabled,
      ended: next.hidden,
      markedLine: markedNumber ? Number(markedNumber.textContent) : 0,
      markedText: marked?.textContent ?? '',
      registers: ['GR0', 'gr1', 'gr2', 'gr3', 'GR4', 'gr5', 'gr6', 'gr7'].map(text),
      pc: text('pc'),
      sp: text('sp'),
      fr: text('fr'),
      obj: text('obj'),
      stackArea: text('Text2'),
      dataArea: text('Text1'),
      backEnabled: !document.getElementById('stepBack').disabled,
      breakpointCaption: text('Label6'),
    };
  });
}

/** Waits until a box that was answered by a click or a key has handed its answer to the run. */
export function settled(page) {
  return page.waitForFunction(
    () =>
      document.getElementById('Form1').getAttribute('aria-busy') !== 'true' ||
      [...document.querySelectorAll('dialog.box')].some((dialog) => dialog.open),
  );
}

/** Clicks `selector` inside the page and lets the page settle (a box's close comes later). */
export async function press(page, selector) {
  await page.evaluate(async (target) => {
    document.querySelector(target).click();
    await new Promise((resolve) => setTimeout(resolve, 0));
  }, selector);
}

/** Answers the open box: the button ("ok", "yes", "no", "cancel") and the input box's text. */
export async function answerBox(page, button, input = '') {
  await page.evaluate(
    async ({ button, input }) => {
      const dialog = [...document.querySelectorAll('dialog.box')].find((d) => d.open);
      const field = dialog.querySelector('input');
      if (field) {
        field.value = input;
      }
      // The page hears the close first; its answer to the run is done when this one hears it.
      const closed = new Promise((resolve) =>
        dialog.addEventListener('close', resolve, { once: true }),
      );
      dialog.querySelector(`button[value="${button}"]`).click();
      await closed;
    },
    { button, input },
  );
}

/** The display block as `casl2 run --trace` prints it. */
export function displayBlock(snapshot) {
  return (
    snapshot.registers.map((row, i) => `GR${i} ${row}\n`).join('') +
    `${snapshot.pc}\n${snapshot.sp}\n${snapshot.fr}\n${snapshot.obj}\n` +
    `Stack Area\n${snapshot.stackArea}Data Area\n${snapshot.dataArea}`
  );
}

/**
 * The contrast ratio (1 to 21) of text in colour `text` on `background`, as the page paints them
 * (any colour syntax, a background that lets the page show through included), by the
 * accessibility guidelines' formula.
 */
export function contrastRatio(page, text, background) {
  return page.evaluate(
    ([foreground, behind]) => {
      const canvas = document.createElement('canvas');
      canvas.width = 1;
      canvas.height = 1;
      const context = canvas.getContext('2d', { willReadFrequently: true });
      const luminance = (layers) => {
        for (const colour of layers) {
          context.fillStyle = colour;
          context.fillRect(0, 0, 1, 1);
        }
        const [red, green, blue] = context.getImageData(0, 0, 1, 1).data;
        const channel = (value) => {
          const v = value / 255;
          return v <= 0.04045 ? v / 12.92 : ((v + 0.055) / 1.055) ** 2.4;
        };
        return 0.2126 * channel(red) + 0.7152 * channel(green) + 0.0722 * channel(blue);
      };
      const page = getComputedStyle(document.body).backgroundColor;
      const la = luminance([page, behind, foreground]);
      const lb = luminance([page, behind]);
      return (Math.max(la, lb) + 0.05) / (Math.min(la, lb) + 0.05);
    },
    [text, background],
  );
}

/** The colour that shows behind `element`'s text: its own background or its nearest opaque one. */
export function backgroundBehind(locator) {
  return locator.evaluate((element) => {
    for (let e = element; e; e = e.parentElement) {
      const colour = getComputedStyle(e).backgroundColor;
      if (colour !== 'rgba(0, 0, 0, 0)' && colour !== 'transparent') {
        return colour;
      }
    }
    return getComputedStyle(document.body).backgroundColor;
  });
}
