// The source editor in headless chromium: the forced upper case, the colours from the core, the
// error marks of a failed assembly, the breakpoint chosen by a click, the enable protocol and the
// fixed-pitch Japanese font of the displays.
import assert from 'node:assert/strict';
import { after, afterEach, before, test } from 'node:test';
import { Site, contrastRatio, editorLine, editorText, pasteProgram } from './site.mjs';

const site = new Site();
before(() => site.start());
after(() => site.stop());
afterEach(() => site.closePages());

test('typed letters are upper-cased; digits, blanks, tabs and punctuation are kept', async () => {
  const page = await site.open();
  await page.locator('#source .cm-content').click();
  await page.keyboard.type("main\tstart\n\tld\tgr1,=#00ff ; first\n\tdc\t'abc'\n");
  assert.equal(await editorText(page), "MAIN\tSTART\n\tLD\tGR1,=#00FF ; FIRST\n\tDC\t'ABC'\n");
});

test('a composition stays as composed and is upper-cased when committed', async () => {
  const page = await site.open();
  await page.locator('#source .cm-content').click();
  const cdp = await page.context().newCDPSession(page);
  await cdp.send('Input.imeSetComposition', { text: 'ｌ', selectionStart: 1, selectionEnd: 1 });
  await cdp.send('Input.imeSetComposition', { text: 'ｌｄ', selectionStart: 2, selectionEnd: 2 });
  assert.equal(await editorText(page), 'ｌｄ');
  await cdp.send('Input.insertText', { text: 'ｌｄ' });
  // The commit is upper-cased just after the composition ends.
  const changed = (composed) => document.querySelector('#source .cm-line').textContent !== composed;
  await page.waitForFunction(changed, 'ｌｄ', { timeout: 5000 }).catch(() => {});
  assert.equal(await editorText(page), 'ＬＤ');
  await page.keyboard.insertText(' gr1');
  assert.equal(await editorText(page), 'ＬＤ GR1');
});

test('pasted text keeps its case; 小文字変換 lowers the selection', async () => {
  const page = await site.open();
  await pasteProgram(page, '; lower case stays');
  assert.equal(await editorText(page), '; lower case stays');
  await pasteProgram(page, "\tDC\t'ABC'");
  await page.keyboard.press('Shift+ArrowLeft');
  await page.keyboard.press('Shift+ArrowLeft');
  await page.keyboard.press('Shift+ArrowLeft');
  await page.keyboard.press('Shift+ArrowLeft');
  await page.locator('#mnuKomoji').click();
  assert.equal(await editorText(page), "\tDC\t'abc'");
});

/** The classes of the coloured stretches of editor line `line`, with their texts. */
function tokensOfLine(page, line) {
  return editorLine(page, line).evaluate((element) =>
    [...element.querySelectorAll('[class^="tok-"]')].map((span) => [
      span.className,
      span.textContent,
    ]),
  );
}

test('the colours follow the core: labels, mnemonics, registers, numbers, literals, comments', async () => {
  const page = await site.open();
  await pasteProgram(
    page,
    "LOOP\tLD\tGR1,DATA,GR2 ; count\n\tFOO\t#00FF,=5\n\tDC\t'A',-3\n\tRET\t\tX,Y,Z,W",
  );
  assert.deepEqual(await tokensOfLine(page, 1), [
    ['tok-label', 'LOOP'],
    ['tok-mnemonic', 'LD'],
    ['tok-register', 'GR1'],
    ['tok-register', 'GR2'],
    ['tok-comment', '; count'],
  ]);
  assert.deepEqual(await tokensOfLine(page, 2), [
    ['tok-unknownMnemonic', 'FOO'],
    ['tok-hexadecimal', '#00FF'],
    ['tok-literal', '=5'],
  ]);
  assert.deepEqual(await tokensOfLine(page, 3), [
    ['tok-mnemonic', 'DC'],
    ['tok-character', "'A'"],
    ['tok-decimal', '-3'],
  ]);
  assert.deepEqual(await tokensOfLine(page, 4), [
    ['tok-mnemonic', 'RET'],
    ['tok-ignored', 'W'],
  ]);
  // Each kind has a colour of its own, none of them the text's.
  const colours = await page.evaluate(() => {
    const colourOf = (selector) =>
      getComputedStyle(document.querySelector(`#source ${selector}`)).color;
    return ['.tok-mnemonic', '.tok-register', '.tok-hexadecimal', '.tok-literal', '.tok-character']
      .map(colourOf)
      .concat(getComputedStyle(document.querySelector('#source .cm-content')).color);
  });
  assert.equal(new Set(colours).size, colours.length, colours.join(' '));
});

test('the longest line the editor takes is coloured, and so is every text after it', async () => {
  const page = await site.open();
  const errors = [];
  page.on('console', (message) => {
    if (message.type() === 'error') {
      errors.push(message.text());
    }
  });
  // As long as a line that Open takes can be: the editor draws only the part of it in view.
  const longest = 32768;
  const head = '\tDC\t';
  const line = head + '1,'.repeat((longest - head.length) / 2);
  assert.equal(line.length, longest);
  await pasteProgram(page, `${line}\n\tRET`);
  const scroller = page.locator('#source .cm-scroller');
  for (const place of [0.5, 1]) {
    await scroller.evaluate((element, share) => {
      element.scrollLeft = (element.scrollWidth - element.clientWidth) * share;
    }, place);
    await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(resolve)));
    const shown = await tokensOfLine(page, 1);
    assert.ok(shown.length > 100, `${shown.length} coloured stretches in view`);
    assert.ok(shown.every(([kind, text]) => kind === 'tok-decimal' && text === '1'));
  }
  assert.deepEqual(await tokensOfLine(page, 2), [['tok-mnemonic', 'RET']]);
  await pasteProgram(page, 'LOOP\tLD\tGR1,=5');
  assert.deepEqual(await tokensOfLine(page, 1), [
    ['tok-label', 'LOOP'],
    ['tok-mnemonic', 'LD'],
    ['tok-register', 'GR1'],
    ['tok-literal', '=5'],
  ]);
  assert.deepEqual(errors, []);
});

test('after a failed assembly each line in error is marked with its messages until an edit', async () => {
  const page = await site.open();
  await pasteProgram(page, 'P\tSTART\n\n\tFOO\tGR1\n\tLD\tGR9,X\n\tRET\n\tEND\n');
  await page.locator('#Assemble').click();
  await page.locator('#Form2-Command2').click();
  const marked = () =>
    page.locator('#source .cm-line.error-line').evaluateAll((lines) =>
      lines.map((line) => line.textContent),
    );
  assert.deepEqual(await marked(), ['\tFOO\tGR1', '\tLD\tGR9,X']);
  assert.deepEqual(
    await page.locator('#source .cm-lineNumbers .error-number').allTextContents(),
    ['2', '3'],
  );
  assert.deepEqual(
    await page.locator('#source .error-cross').evaluateAll((marks) => marks.map((m) => m.title)),
    ['ニーモニック ', '<GR>レジスタ \nオペランドのラベルが見つからない '],
  );
  await editorLine(page, 3).hover({ position: { x: 60, y: 5 } });
  const tooltip = page.locator('.error-tooltip');
  await tooltip.waitFor();
  assert.equal(await tooltip.textContent(), '<GR>レジスタ \nオペランドのラベルが見つからない ');

  // Assembling again marks again; an edit takes the marks away.
  await page.locator('#Assemble').click();
  await page.locator('#Form2-Command2').click();
  assert.equal((await marked()).length, 2);
  await editorLine(page, 1).click();
  await page.keyboard.press('End');
  await page.keyboard.type(' ');
  assert.deepEqual(await marked(), []);
  assert.equal(await page.locator('#source .error-cross').count(), 0);
});

const program =
  'MAIN\tSTART\n\tLD\tGR1,A\n\tADDA\tGR1,B\n\tST\tGR1,C\n\tRET\nA\tDC\t3\nB\tDC\t4\nC\tDS\t1\n\tEND\n';

/** The line of the breakpoint's dot, 0 when there is none. */
async function dotLine(page) {
  const line = await page.evaluate(() => {
    const dot = document.querySelector('#source .breakpoint-dot');
    if (!dot) {
      return 0;
    }
    const top = dot.getBoundingClientRect().top;
    const numbers = [...document.querySelectorAll('#source .cm-lineNumbers .cm-gutterElement')];
    const number = numbers.find((n) => {
      const box = n.getBoundingClientRect();
      return box.height > 0 && top >= box.top && top < box.bottom;
    });
    return Number(number?.textContent ?? -1);
  });
  return line;
}

test('a click on a DC line sets the breakpoint on the instruction above, in the label and the gutter', async () => {
  const page = await site.open();
  await pasteProgram(page, program);
  await page.locator('#Assemble').click();
  await page.locator('#Form2-Command2').click();
  assert.equal(await dotLine(page), 0);
  await editorLine(page, 7).click();
  assert.equal(await page.locator('#Label6').textContent(), '5');
  assert.equal(await dotLine(page), 5);
  // A click beside a line chooses by the same rule.
  await page.locator('#source .cm-lineNumbers .cm-gutterElement', { hasText: /^3$/ }).click();
  assert.equal(await page.locator('#Label6').textContent(), '3');
  assert.equal(await dotLine(page), 3);
  await page.locator('#Command4').click();
  assert.equal(await page.locator('#Label6').textContent(), '');
  assert.equal(await dotLine(page), 0);
});

test('a breakpoint on a line in error shows both: the cross cut out of the dot', async () => {
  const missing = 'オペランドのラベルが見つからない ';
  const page = await site.open();
  await pasteProgram(page, program);
  await page.locator('#Assemble').click();
  await page.locator('#Form2-Command2').click();
  await editorLine(page, 3).click();
  assert.equal(await page.locator('#Label6').textContent(), '3');
  // Lines 3 and 2 now name labels that no line has (typed: a click would move the breakpoint).
  await page.keyboard.press('End');
  await page.keyboard.type('X');
  await page.keyboard.press('ArrowUp');
  await page.keyboard.press('End');
  await page.keyboard.type('Y');
  await page.locator('#Assemble').click();
  await page.locator('#Form2-Command2').click();
  const marks = await page.evaluate(() =>
    [...document.querySelectorAll('#source .cm-marks .cm-gutterElement > span')].map((mark) => {
      const style = getComputedStyle(mark);
      return {
        className: mark.className,
        text: mark.textContent,
        title: mark.title,
        colour: style.color,
        background: style.backgroundColor,
      };
    }),
  );
  const [cross, both] = marks.filter((mark) => mark.className !== '');
  assert.deepEqual([cross.className, cross.text], ['error-cross', '×']);
  assert.equal(cross.colour, 'rgb(255, 0, 0)');
  assert.deepEqual([both.className, both.text], ['breakpoint-dot with-error', '×']);
  assert.deepEqual([cross.title, both.title], [missing, missing]);
  assert.equal(both.background, 'rgb(255, 0, 0)');
  assert.ok((await contrastRatio(page, both.colour, both.background)) >= 3);
  assert.equal(await dotLine(page), 3);
});

test('a key in the editor returns to editing: Trace, クリア and the breakpoint labels go', async () => {
  const page = await site.open();
  await pasteProgram(page, program);
  await page.locator('#Assemble').click();
  await page.locator('#Form2-Command2').click();
  await editorLine(page, 4).click();
  assert.ok(await page.locator('#Trace').isEnabled());
  await page.keyboard.press('ArrowDown');
  assert.ok(await page.locator('#Trace').isDisabled());
  assert.ok(await page.locator('#Command4').isDisabled());
  assert.equal(await page.locator('#Label5').isVisible(), false);
  // The greyed Trace says why.
  assert.equal(
    await page.locator('#Trace').getAttribute('title'),
    'プログラムが変更されました。もう一度 Assemble すると、トレースできます',
  );
  // The breakpoint stays; a clean assembly shows it again.
  assert.equal(await dotLine(page), 4);
  await page.locator('#Assemble').click();
  assert.equal(await page.locator('#Label6').textContent(), '4');
  assert.ok(await page.locator('#Label6').isVisible());
  assert.equal(await page.locator('#Trace').getAttribute('title'), '');
});

test('the displays use a Japanese gothic whose half-width glyphs are half as wide as full-width', async () => {
  const page = await site.open();
  const widths = await page.evaluate(() => {
    // A label of the register display, which the page lays out in the displays' font.
    const probe = document.getElementById('GR0').cloneNode();
    probe.id = '';
    document.getElementById('GR0').after(probe);
    const width = (text) => {
      probe.textContent = text;
      return probe.getBoundingClientRect().width;
    };
    const result = {
      half: width('0123456789'),
      full: width('２進数ＡＢＣあいう漢'),
      blank: width('          '),
    };
    probe.remove();
    return result;
  });
  assert.ok(widths.half > 0);
  assert.equal(widths.blank, widths.half);
  assert.equal(widths.full, widths.half * 2);
});
