// The page for keyboard and screen-reader users and on small screens, in headless chromium:
// axe-core finds no violation in any main state (light and dark), the editor has a name, the
// whole flow works by keys alone with a visible focus, and at 1024×768 and on a phone nothing is
// cut off or overlaps.
import assert from 'node:assert/strict';
import { createRequire } from 'node:module';
import { after, afterEach, before, test } from 'node:test';
import { Site, editorText, pasteProgram, traceSnapshot } from './site.mjs';

const axeScript = createRequire(import.meta.url).resolve('axe-core/axe.min.js');

const site = new Site();
before(() => site.start());
after(() => site.stop());
afterEach(() => site.closePages());

const cleanProgram = 'P\tSTART\n\tIN\tBUF,LEN\n\tLAD\tGR1,1\n\tRET\nBUF\tDS\t8\nLEN\tDS\t1\n\tEND\n';

/** The violations axe-core finds in the page as it stands, one line each. */
async function violations(page) {
  if (!(await page.evaluate(() => 'axe' in window))) {
    await page.addScriptTag({ path: axeScript });
  }
  return page.evaluate(async () => {
    const { violations: found } = await window.axe.run(document);
    return found.map(
      (v) => `${v.id}: ${v.nodes.map((node) => node.target.join(' ')).join(', ')}`,
    );
  });
}

/** The main states, each reached from the one before. */
const states = [
  ['start', async () => {}],
  [
    'errors marked',
    async (page) => {
      await pasteProgram(page, 'P\tSTART\n\tLD\tGR9,A\n\tFOO\nA\tDC\t1\n\tEND\n');
      await page.locator('#Assemble').click();
      await page.locator('#Form2-Command2').click();
      await page.locator('#source .error-line').first().waitFor();
    },
  ],
  [
    'listing open',
    async (page) => {
      await pasteProgram(page, cleanProgram);
      await page.locator('#Assemble').click();
      await page.locator('#Form2').waitFor();
    },
  ],
  [
    'tracing',
    async (page) => {
      await page.locator('#Form2-Command2').click();
      await page.locator('#Trace').click();
      await page.locator('#Command1:enabled').waitFor();
    },
  ],
  [
    'a run box open',
    async (page) => {
      await page.locator('#Command1').click();
      await page.locator('#inputBox').waitFor();
    },
  ],
];

for (const colorScheme of ['light', 'dark']) {
  test(`axe-core finds no violation in any main state (${colorScheme})`, async () => {
    const page = await site.open({ colorScheme });
    for (const [state, reach] of states) {
      await reach(page);
      assert.deepEqual(await violations(page), [], state);
    }
  });
}

/** The states of an exercise, each reached from the one before. */
const exerciseStates = [
  [
    'an exercise open',
    async (page) => {
      await pasteProgram(page, cleanProgram);
      await page.locator('#exercisesButton:enabled').click();
      await page.locator('#exercisesMenu button', { hasText: '文字列を逆順に表示する' }).click();
      await page.locator('#exercisePane:not([hidden])').waitFor();
    },
  ],
  [
    'an exercise checked with a failing case',
    async (page) => {
      await page.locator('#exerciseCheck').click();
      await page.locator('#exerciseCases [data-verdict="failed"]').first().waitFor();
      await page.locator('#exerciseCaseDetails:not(:empty)').waitFor();
    },
  ],
];

for (const colorScheme of ['light', 'dark']) {
  test(`axe-core finds no violation with an exercise open and checked (${colorScheme})`, async () => {
    const page = await site.open({ colorScheme });
    for (const [state, reach] of exerciseStates) {
      await reach(page);
      assert.deepEqual(await violations(page), [], state);
    }
  });
}

test('the editor is a text box named by its caption that says how to leave it', async () => {
  const page = await site.open();
  const editor = page.getByRole('textbox', { name: 'Source Program' });
  assert.equal(await editor.count(), 1);
  assert.equal(
    await editor.evaluate((e) => document.getElementById(e.getAttribute('aria-describedby')).textContent),
    'Esc の後に Tab でエディタを離れます',
  );
});

/** What has the focus, and whether it shows it with an outline. */
function focused(page) {
  return page.evaluate(async () => {
    const element = document.activeElement;
    const shown = element.closest('.cm-editor') ?? element;
    // The editor marks its focus from a short timer after it took it, which a loaded machine may
    // run late; give it a second before calling the focus unmarked.
    const deadline = performance.now() + 1000;
    while (shown !== element && !shown.classList.contains('cm-focused') && performance.now() < deadline) {
      await new Promise((resolve) => setTimeout(resolve, 10));
    }
    const style = getComputedStyle(shown);
    return {
      id: element.id || (element.closest('#source') ? 'source' : element.tagName),
      outlined: style.outlineStyle !== 'none' && parseFloat(style.outlineWidth) >= 2,
    };
  });
}

/** Presses `key` and expects the focus on `id`, visibly. */
async function pressTo(page, key, id) {
  await page.keyboard.press(key);
  const now = await focused(page);
  assert.equal(now.id, id, `${key} should move the focus to ${id}`);
  assert.ok(now.outlined, `${id} shows its focus`);
}

test('the whole flow works by keys alone, the focus always visible', async () => {
  const page = await site.open();
  assert.equal((await focused(page)).id, 'source');
  await page.keyboard.type('p\tstart\n\tlad\tgr1,1\n\tlad\tgr2,2\n\tret\n\tend\n');
  // The caret waits on line 3 for the breakpoint: a key in the editor after Assemble would call
  // for a new assembly.
  for (let i = 0; i < 3; ++i) {
    await page.keyboard.press('ArrowUp');
  }
  await pressTo(page, 'Escape', 'source');
  await pressTo(page, 'Tab', 'Assemble');
  await pressTo(page, 'Enter', 'Form2-Text1');
  assert.equal(await page.locator('#Form2-Label1').textContent(), 'Assemble Error: 0');
  await pressTo(page, 'Tab', 'Form2-Command1');
  await pressTo(page, 'Tab', 'Form2-Command2');
  await pressTo(page, 'Enter', 'source');
  await page.keyboard.press('F9');
  assert.equal(await page.locator('#Label6').textContent(), '3');
  assert.ok(await page.locator('#Trace').isEnabled(), 'F9 is no edit');
  await pressTo(page, 'Escape', 'source');
  await pressTo(page, 'Tab', 'Assemble');
  await pressTo(page, 'Tab', 'Trace');
  await pressTo(page, 'Enter', 'Command1');
  // The run goes on to the breakpoint's line; 戻る and Next by their keys.
  assert.equal((await traceSnapshot(page)).markedLine, 3);
  await pressTo(page, 'Backspace', 'Command1');
  assert.equal((await traceSnapshot(page)).markedLine, 2);
  await pressTo(page, 'Enter', 'Command1');
  assert.equal((await traceSnapshot(page)).markedLine, 3);
  await pressTo(page, 'Tab', 'Command2');
  await pressTo(page, 'Enter', 'Trace');
  assert.equal((await traceSnapshot(page)).ended, true);
  assert.equal(await editorText(page), 'P\tSTART\n\tLAD\tGR1,1\n\tLAD\tGR2,2\n\tRET\n\tEND\n');
});

test('Escape then Shift+Tab leaves the editor backwards and is no key of the editor', async () => {
  const page = await site.open();
  await pasteProgram(page, cleanProgram);
  await page.locator('#Assemble').click();
  await page.locator('#Form2-Command2').click();
  assert.equal((await focused(page)).id, 'source');
  assert.ok(await page.locator('#Trace').isEnabled());
  await page.keyboard.press('Escape');
  await page.keyboard.press('Shift+Tab');
  const now = await focused(page);
  assert.notEqual(now.id, 'source', 'the focus went back to the control before the editor');
  assert.ok(now.outlined, `${now.id} shows its focus`);
  assert.equal(await editorText(page), cleanProgram);
  assert.ok(await page.locator('#Trace').isEnabled(), 'Escape, Shift and Tab call for no new assembly');
});

test('every menu and command is reached with Tab, and a menu opens with Enter', async () => {
  const page = await site.open();
  await pasteProgram(page, cleanProgram);
  await page.keyboard.press('Escape');
  const reached = new Set();
  for (let i = 0; i < 30; ++i) {
    await page.keyboard.press('Tab');
    const now = await focused(page);
    // Past the last control the document itself has the focus for a moment.
    assert.ok(now.outlined || now.id === 'BODY', `${now.id} shows its focus`);
    reached.add(now.id);
  }
  for (const id of ['mnuFILE', 'mnuEdit', 'mnuKomoji', 'mnuHelp', 'examplesButton', 'Assemble', 'Check1']) {
    assert.ok(reached.has(id), `${id} is reached`);
  }
  // Beside the menu bar Tab follows the screen: 演習 stands left of サンプル.
  await page.locator('#exercisesButton:enabled').waitFor();
  await page.locator('#exercisesButton').focus();
  await pressTo(page, 'Tab', 'examplesButton');
  const [exercises, examples] = await Promise.all(
    ['#exercisesButton', '#examplesButton'].map((selector) => page.locator(selector).boundingBox()),
  );
  assert.ok(exercises.x < examples.x, '演習 stands left of サンプル');
  await page.locator('#mnuFILE').focus();
  await pressTo(page, 'Enter', 'mnuSinki');
  await pressTo(page, 'Tab', 'mnuOPEN');
  await pressTo(page, 'Tab', 'mnuSAVE');
  await pressTo(page, 'Tab', 'mnuLink');
  await pressTo(page, 'Escape', 'mnuFILE');
});

/** Where the visible controls and captions of the page stand, and how wide the page is. */
function layout(page) {
  return page.evaluate(() => {
    const boxes = [];
    const selector =
      'button, input, #Label5, #Label6, #Label7, .registers > span, .machine > span, .dump, ' +
      '#Form2-Label1, .caption, #source';
    for (const element of document.querySelectorAll(selector)) {
      const box = element.getBoundingClientRect();
      const style = getComputedStyle(element);
      if (box.width === 0 || style.visibility === 'hidden' || element.closest('[hidden]')) {
        continue;
      }
      boxes.push({
        id: element.id || element.textContent.slice(0, 12),
        window: element.closest('.window, dialog')?.id ?? 'Form1',
        left: box.left,
        right: box.right,
        top: box.top,
        bottom: box.bottom,
      });
    }
    return { width: innerWidth, pageWidth: document.documentElement.scrollWidth, boxes };
  });
}

function overlaps(a, b) {
  const gap = 0.5;
  return (
    a.left < b.right - gap && b.left < a.right - gap && a.top < b.bottom - gap && b.top < a.bottom - gap
  );
}

for (const [width, height] of [
  [1024, 768],
  [390, 844],
]) {
  test(`at ${width}×${height} nothing is cut off or overlaps`, async () => {
    const page = await site.open({ viewport: { width, height } });
    for (const [state, reach] of states.slice(0, 4)) {
      await reach(page);
      const { width: shown, pageWidth, boxes } = await layout(page);
      assert.ok(pageWidth <= shown, `${state}: the page is ${pageWidth} wide`);
      for (const box of boxes) {
        assert.ok(box.left >= 0 && box.right <= shown + 0.5, `${state}: ${box.id} is cut off`);
      }
      // Within one window nothing covers another control.
      for (const [i, a] of boxes.entries()) {
        for (const b of boxes.slice(i + 1)) {
          if (a.window === b.window) {
            assert.ok(!overlaps(a, b), `${state}: ${a.id} overlaps ${b.id}`);
          }
        }
      }
    }
  });
}
