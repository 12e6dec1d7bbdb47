// Assemble and the listing window in headless chromium against the built site: a faulty, a
// clean and a one-line program, character constants, Back, Print and a click on a listing line.
import assert from 'node:assert/strict';
import { after, afterEach, before, test } from 'node:test';
import {
  Site,
  assembleResult,
  backgroundBehind,
  contrastRatio,
  editorText,
  green,
  listingHeader,
  pasteProgram,
  red,
} from './site.mjs';

const site = new Site();
before(() => site.start());
after(() => site.stop());
afterEach(() => site.closePages());

test('a faulty program lists every finding, shows the count in red and cannot be traced', async () => {
  const page = await site.open();
  await pasteProgram(page, 'PGM\tSTART\n\tLD\tGR9,A\n\tFOO\tGR1\nA\tDC\t1\nA\tDC\t2\n\tEND\n');
  const result = await assembleResult(page);
  assert.equal(
    result.listing,
    listingHeader +
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
  assert.ok(await page.locator('#Trace').isDisabled());
  assert.ok(await page.locator('#Command4').isDisabled());
  assert.equal(await page.locator('#Label6').isVisible(), false);
});

test('a clean program shows 0 in green, the editor loses its empty lines, Trace is offered', async () => {
  const page = await site.open();
  await pasteProgram(
    page,
    'SUM\tSTART\n\n\tLD\tGR1,A\t; first\n\tADDA\tGR1,=5\n\tST\tGR1,ANS\n\tRET\n' +
      'A\tDC\t12\nANS\tDS\t1\n\tEND\n',
  );
  const result = await assembleResult(page);
  assert.equal(
    result.listing,
    listingHeader +
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
    await editorText(page),
    'SUM\tSTART\n\tLD\tGR1,A\t; first\n\tADDA\tGR1,=5\n\tST\tGR1,ANS\n\tRET\n' +
      'A\tDC\t12\nANS\tDS\t1\n\tEND\n',
  );
  assert.ok(await page.locator('#Trace').isEnabled());
  assert.ok(await page.locator('#Command4').isEnabled());
  assert.equal(await page.locator('#Label5').textContent(), 'ブレークポイントを');
  assert.equal(await page.locator('#Label7').textContent(), '行に設定します');
  assert.ok(await page.locator('#Label5').isVisible());
});

test('character constants take the codes of the Japanese code page (CP932)', async () => {
  const page = await site.open();
  await pasteProgram(
    page,
    "MSG\tSTART\n\tLAD\tGR1,='AB'\n\tLD\tGR2,='x'\n\tRET\nS\tDC\t'あHi'\n\tEND\n",
  );
  const result = await assembleResult(page);
  assert.equal(
    result.listing,
    listingHeader +
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
  const page = await site.open();
  await pasteProgram(page, '   ');
  await page.locator('#Assemble').click();
  assert.equal(await editorText(page), '   ');
  await pasteProgram(page, '\tNOP\n');
  await page.locator('#Assemble').click();
  assert.equal(await page.locator('#Form2').isVisible(), false);
  assert.equal(await editorText(page), '\tNOP\n');
  assert.ok(await page.locator('#Trace').isDisabled());
  // The listing stays in the main window's buffer, the data dump's box.
  assert.equal(await page.locator('#Text1').textContent(), '0000\t0000 0000\t         NOP     \n');
});

/** The element that shows at the middle of `locator`. */
function topmostAt(page, selector) {
  return page.evaluate((target) => {
    const box = document.querySelector(target).getBoundingClientRect();
    const top = document.elementFromPoint(box.x + box.width / 2, box.y + box.height / 2);
    return top?.closest('#Form1, #Form2')?.id ?? null;
  }, selector);
}

test('Back brings the main window to the front; the next assembly shows the listing again', async () => {
  const page = await site.open();
  await pasteProgram(page, 'P\tSTART\n\tRET\n\tEND\n');
  await page.locator('#Assemble').click();
  assert.equal(await topmostAt(page, '#Form2-Text1'), 'Form2');
  await page.locator('#Form2-Command2').click();
  assert.equal(await topmostAt(page, '#Form2-Text1'), 'Form1');
  assert.ok(await page.locator('#source .cm-content').evaluate((e) => e === document.activeElement));
  await page.locator('#Assemble').click();
  assert.equal(await topmostAt(page, '#Form2-Text1'), 'Form2');
});

test('the listing window takes the focus when it opens; Escape leaves it as Back does', async () => {
  const page = await site.open();
  await pasteProgram(page, 'P\tSTART\n\tRET\n\tEND\n');
  await page.locator('#Assemble').click();
  const focused = () => page.evaluate(() => document.activeElement?.id);
  assert.equal(await focused(), 'Form2-Text1');
  await page.keyboard.press('Escape');
  assert.equal(await topmostAt(page, '#Form2-Text1'), 'Form1');
  assert.ok(await page.locator('#source .cm-content').evaluate((e) => e === document.activeElement));
  // From its buttons too.
  await page.locator('#Assemble').click();
  assert.equal(await topmostAt(page, '#Form2-Text1'), 'Form2');
  await page.locator('#Form2-Command1').focus();
  await page.keyboard.press('Escape');
  assert.equal(await topmostAt(page, '#Form2-Text1'), 'Form1');
});

for (const colorScheme of ['light', 'dark']) {
  test(`the result line keeps its green or red on a background it reads on (${colorScheme})`, async () => {
    const page = await site.open({ colorScheme });
    for (const [program, colour] of [
      ['P\tSTART\n\tRET\n\tEND\n', green],
      ['P\tSTART\n\tFOO\n\tEND\n', red],
    ]) {
      await pasteProgram(page, program);
      const result = await assembleResult(page);
      assert.equal(result.colour, colour);
      const background = await backgroundBehind(page.locator('#Form2-Label1'));
      const ratio = await contrastRatio(page, colour, background);
      assert.ok(ratio >= 4.5, `${colour} on ${background}: ${ratio.toFixed(2)}:1`);
      await page.locator('#Form2-Command2').click();
    }
  });
}

test('Print prints the listing alone, in the fixed-pitch gothic at 12 points', async () => {
  const page = await site.open();
  await page.evaluate(() => {
    window.printed = [];
    window.print = () => window.printed.push(document.body.className);
  });
  await pasteProgram(page, 'P\tSTART\n\tRET\n\tEND\n');
  await page.locator('#Assemble').click();
  await page.locator('#Form2-Command1').click();
  assert.deepEqual(await page.evaluate(() => window.printed), ['printing-listing']);
  await page.emulateMedia({ media: 'print' });
  assert.equal(await page.locator('#Form1').isVisible(), false);
  assert.equal(await page.locator('#Form2-Label1').isVisible(), false);
  assert.ok(await page.locator('#Form2-Text1').isVisible());
  assert.equal(
    await page.locator('#Form2-Text1').evaluate((e) => getComputedStyle(e).fontSize),
    '16px',
  );
});

test('a click on a listing line puts the caret on its source line and keeps the breakpoint', async () => {
  const page = await site.open();
  await pasteProgram(page, 'P\tSTART\n\tLD\tGR1,=7\n\tBAD\n\tRET\n\tEND\n');
  await page.locator('#Assemble').click();
  // Listing lines: header (2), START, LD, BAD and its message, RET, the literal, END.
  await page.locator('#Form2-Text1 [data-line="5"]').click();
  const caret = () =>
    page.evaluate(() => {
      const selection = document.getSelection();
      const line = selection.anchorNode?.parentElement?.closest('.cm-line');
      return [...document.querySelectorAll('#source .cm-line')].indexOf(line) + 1;
    });
  assert.equal(await caret(), 3);
  assert.equal(await topmostAt(page, '#Form2-Text1'), 'Form1');
  // The literal line leads to the line that writes the literal.
  await page.locator('#Form2-Text1 [data-line="7"]').dispatchEvent('click');
  assert.equal(await caret(), 2);
  assert.equal(await page.locator('#source .breakpoint-dot').count(), 0);
});
