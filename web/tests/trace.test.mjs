// The trace in headless chromium: a run through IN and OUT to "Program終了", the boxes with their
// texts and titles, 戻る and its key, the highlighting of what a step changed, End, the step
// question and the executed line.
import assert from 'node:assert/strict';
import { after, afterEach, before, test } from 'node:test';
import {
  Site,
  contrastRatio,
  editorLine,
  editorText,
  pasteProgram,
  settled,
  traceSnapshot,
} from './site.mjs';

const site = new Site();
before(() => site.start());
after(() => site.stop());
afterEach(() => site.closePages());

const echoProgram =
  'ECHO\tSTART\n\tIN\tBUF,LEN\n\tOUT\tBUF,LEN\n\tLAD\tGR1,1\n\tRET\nBUF\tDS\t8\nLEN\tDS\t1\n\tEND\n';

/** Pastes, assembles, returns to the main window and starts the trace. */
async function startTrace(page, program) {
  await pasteProgram(page, program);
  await page.locator('#Assemble').click();
  await page.locator('#Form2-Command2').click();
  await page.locator('#Trace').click();
}

test('a run goes through IN and OUT to "Program終了" and gives the editor its program back', async () => {
  const page = await site.open();
  await startTrace(page, echoProgram);
  assert.ok(await page.locator('#Assemble').isDisabled());
  assert.ok(await page.locator('#Trace').isDisabled());
  assert.ok(await page.locator('#mnuFILE').isDisabled());
  assert.ok(await page.locator('#mnuUwagaki').isDisabled());
  assert.ok(await page.locator('#Text1').isVisible());
  assert.equal(await page.locator('#Label4-1').textContent(), 'Data Area');
  let shown = await traceSnapshot(page);
  assert.ok(shown.waiting);
  assert.equal(shown.markedLine, 1);
  assert.equal(shown.markedText, '>>>>>> \tECHO      START   ');
  assert.equal(shown.pc, 'PR:0002');
  assert.equal(shown.fr, 'OF:0 SF:0 ZF:0');
  assert.equal(shown.obj, 'OBJ-Code:         ');

  // The editor is locked: typing changes nothing.
  await editorLine(page, 3).click();
  await page.keyboard.type('x');
  assert.ok((await editorText(page)).startsWith('>>>>>> \tECHO'));
  assert.equal(await page.locator('#Command1').evaluate((b) => b === document.activeElement), false);

  await page.locator('#Command1').click();
  const input = page.locator('#inputBox');
  await input.waitFor();
  assert.equal(await page.locator('#inputBox-title').textContent(), 'IN command');
  assert.equal(await page.locator('#inputBox-prompt').textContent(), 'Input');
  assert.equal(await page.locator('#inputBox-text').inputValue(), '');
  const place = await input.boundingBox();
  assert.ok(place.x < 2 && place.y < 2, `the input box stands at ${place.x},${place.y}`);
  await page.keyboard.type('Hi!');
  await page.keyboard.press('Enter');
  await settled(page);
  shown = await traceSnapshot(page);
  assert.ok(shown.waiting);
  assert.equal(shown.markedLine, 2);
  assert.match(shown.dataArea, /\nBUF {7}0009 {3}0048 \(72\)H\n {10}000A {3}0069 \(105\)i\n/);

  await page.locator('#Command1').click();
  await page.locator('#messageBox').waitFor();
  shown = await traceSnapshot(page);
  assert.deepEqual(shown.box, { kind: 'message', title: 'OUT command', text: '\nHi!', buttons: 'ok' });
  await page.locator('#messageBox-ok').click();
  await settled(page);

  // Enter presses Next wherever the focus is but on another button.
  await editorLine(page, 1).click();
  await page.keyboard.press('Enter');
  shown = await traceSnapshot(page);
  assert.equal(shown.markedLine, 4);
  assert.equal(shown.registers[1], '[0000 0000 0000 0001] 0001 (     1)');

  await page.locator('#Command1').click();
  shown = await traceSnapshot(page);
  assert.deepEqual(shown.box, {
    kind: 'message',
    title: 'Program Terminated',
    text: 'Program終了',
    buttons: 'ok',
  });
  await page.keyboard.press('Enter');
  await page.locator('#Command1').waitFor({ state: 'hidden' });
  assert.equal(await editorText(page), echoProgram);
  assert.ok(await page.locator('#Assemble').isEnabled());
  assert.ok(await page.locator('#Trace').isEnabled());
  assert.ok(await page.locator('#mnuFILE').isEnabled());
  // The displays keep their last texts.
  assert.equal(await page.locator('#gr1').textContent(), '[0000 0000 0000 0001] 0001 (     1)');
  assert.equal(await page.locator('#source .cm-line.executed-line').count(), 0);
});

const countProgram =
  'CNT\tSTART\n\tLAD\tGR1,0\n\tLAD\tGR2,5\nLOOP\tADDA\tGR1,GR2\n\tST\tGR1,SUM\n\tPUSH\t0,GR1\n' +
  '\tSUBA\tGR2,ONE\n\tJPL\tLOOP\n\tRET\nONE\tDC\t1\nSUM\tDS\t1\n\tEND\n';

/** The displays drawn as changed: labels by id, dump rows and flags as "box:row" or "fr:flag". */
function changed(page) {
  return page.evaluate(() =>
    [...document.querySelectorAll('.machine-pane .changed')].map((element) => {
      if (element.id) {
        return element.id;
      }
      return `${element.parentElement.id}:${element.dataset.row ?? element.textContent}`;
    }),
  );
}

test('what a step changed is highlighted; 戻る and its key go back to the displays before', async () => {
  const page = await site.open();
  await startTrace(page, countProgram);
  const first = await traceSnapshot(page);
  assert.equal(first.backEnabled, false);
  assert.deepEqual(await changed(page), []);

  await page.locator('#Command1').click(); // LAD GR1,0: GR1 was 0 already
  await page.locator('#Command1').click(); // LAD GR2,5
  const second = await traceSnapshot(page);
  assert.deepEqual(await changed(page), ['gr2', 'pc']);
  await page.locator('#Command1').click(); // ADDA GR1,GR2
  assert.deepEqual(await changed(page), ['gr1', 'pc']);
  await page.locator('#Command1').click(); // ST GR1,SUM
  assert.deepEqual(await changed(page), ['pc', 'Text1:3']);
  await page.locator('#Command1').click(); // PUSH 0,GR1
  assert.deepEqual(await changed(page), ['pc', 'sp', 'Text2:2']);
  const pushed = await traceSnapshot(page);
  assert.ok(pushed.backEnabled);

  await page.locator('#stepBack').click();
  await page.locator('#stepBack').click();
  await page.locator('#stepBack').click();
  assert.deepEqual(
    { ...(await traceSnapshot(page)), backEnabled: true },
    { ...second, backEnabled: true },
  );
  // The key steps back too, as far as the start of the run and no further.
  await page.locator('#source .cm-content').click();
  await page.keyboard.press('Backspace');
  await page.keyboard.press('Backspace');
  const back = await traceSnapshot(page);
  assert.deepEqual(back, { ...first, breakpointCaption: back.breakpointCaption });
  assert.equal(back.backEnabled, false);
  await page.keyboard.press('Backspace');
  assert.deepEqual(await traceSnapshot(page), back);
  // Next executes again from there.
  await page.locator('#Command1').click();
  await page.locator('#Command1').click();
  assert.deepEqual(await traceSnapshot(page), second);
});

test('End ends a waiting run at once, without a message', async () => {
  const page = await site.open();
  await startTrace(page, countProgram);
  await page.locator('#Command1').click();
  await page.locator('#Command2').click();
  const shown = await traceSnapshot(page);
  assert.ok(shown.ended);
  assert.equal(shown.box, null);
  assert.equal(await editorText(page), countProgram);
});

/** The id of the element that has the focus, or its tag name. */
function focusedControl(page) {
  return page.evaluate(() => document.activeElement?.id || document.activeElement?.tagName);
}

test('when a run ends the focus goes to Trace, not to the page', async () => {
  const page = await site.open();
  await startTrace(page, countProgram);
  await page.locator('#Command1').click();
  await page.locator('#Command2').click();
  assert.equal(await focusedControl(page), 'Trace');
  // From the keyboard: Enter on Trace starts the next run, Enter on End ends it.
  await page.keyboard.press('Enter');
  assert.equal(await focusedControl(page), 'Command1');
  await page.locator('#Command2').focus();
  await page.keyboard.press('Enter');
  await page.locator('#Command1').waitFor({ state: 'hidden' });
  assert.equal(await focusedControl(page), 'Trace');
  // A run that ends with its message box, answered from the keyboard.
  const ending = 'P\tSTART\n\tLAD\tGR1,1\n\tRET\n\tEND\n';
  await startTrace(page, ending);
  for (let i = 0; i < 3 && !(await page.locator('#messageBox').isVisible()); ++i) {
    await page.keyboard.press('Enter');
  }
  assert.equal((await traceSnapshot(page)).box?.text, 'Program終了');
  await page.keyboard.press('Enter');
  await page.locator('#Command1').waitFor({ state: 'hidden' });
  assert.equal(await focusedControl(page), 'Trace');
});

test('the OUT box wraps a long line without blanks', async () => {
  const page = await site.open();
  const text = 'X'.repeat(250);
  await startTrace(
    page,
    `P\tSTART\n\tOUT\tBUF,LEN\n\tRET\nBUF\tDC\t'${text}'\nLEN\tDC\t${text.length}\n\tEND\n`,
  );
  await page.locator('#Command1').click();
  await page.locator('#messageBox').waitFor();
  const box = await page.locator('#messageBox-text').evaluate((element) => ({
    text: element.textContent,
    overflow: element.scrollWidth - element.clientWidth,
    right: element.getBoundingClientRect().right,
  }));
  assert.ok(box.text.includes(text), box.text);
  assert.equal(box.overflow, 0);
  assert.ok(box.right <= 1280, `the text reaches ${box.right}`);
});

for (const colorScheme of ['light', 'dark']) {
  test(`every token of the executed line is legible on its background (${colorScheme})`, async () => {
    const page = await site.open({ colorScheme });
    await startTrace(
      page,
      'P\tSTART\n\tLD\tGR1,=5\n\tLAD\tGR2,#0010\nTOP\tLAD\tGR3,-1,GR2\n' +
        "\tLD\tGR4,='A'\n\tADDA\tGR1,DATA\n\tRET\nDATA\tDC\t3\n\tEND\n",
    );
    const kinds = new Set();
    for (;;) {
      const shown = await page.evaluate(() => {
        const line = document.querySelector('#source .cm-line.executed-line');
        const background = getComputedStyle(line).backgroundColor;
        return [...line.querySelectorAll('[class^="tok-"]')].map((token) => ({
          kind: token.className,
          colour: getComputedStyle(token).color,
          background,
        }));
      });
      for (const { kind, colour, background } of shown) {
        kinds.add(kind);
        const ratio = await contrastRatio(page, colour, background);
        assert.ok(ratio >= 4.5, `${kind}: ${colour} on ${background}, ${ratio.toFixed(2)}:1`);
      }
      if (!(await traceSnapshot(page)).waiting) {
        break;
      }
      await page.locator('#Command1').click();
    }
    const expected = ['decimal', 'hexadecimal', 'label', 'literal', 'mnemonic', 'register'];
    assert.deepEqual(
      [...kinds].sort(),
      expected.map((kind) => `tok-${kind}`),
    );
  });
}

test('a breakpoint that is never reached brings the step question after 101 steps', async () => {
  const page = await site.open();
  const loop = 'L\tSTART\nTOP\tLAD\tGR1,1,GR1\n\tJUMP\tTOP\n\tRET\n\tEND\n';
  await pasteProgram(page, loop);
  await page.locator('#Assemble').click();
  await page.locator('#Form2-Command2').click();
  await editorLine(page, 4).click();
  assert.equal(await page.locator('#Label6').textContent(), '4');
  await page.locator('#Trace').click();
  let shown = await traceSnapshot(page);
  assert.deepEqual(shown.box, {
    kind: 'message',
    title: '確認',
    text: '100ステップ実行されました。\n現在のブレークポイントは4行目です。\nトレースを続行しますか?',
    buttons: 'yesNo',
  });
  // Escape is no answer to a question.
  await page.keyboard.press('Escape');
  assert.ok(await page.locator('#messageBox').isVisible());
  await page.locator('#messageBox-yes').click();
  await settled(page);
  shown = await traceSnapshot(page);
  assert.equal(shown.box?.title, '確認');
  await page.locator('#messageBox-no').click();
  await page.locator('#Command1').waitFor({ state: 'hidden' });
  assert.equal(await editorText(page), loop);
});

test('the executed line has its background and stays in view in a long program', async () => {
  const page = await site.open();
  const filler = Array.from({ length: 200 }, (_, i) => `\tLAD\tGR1,${i}\n`).join('');
  await startTrace(page, `LONG\tSTART\n${filler}\tRET\n\tEND\n`);
  for (let i = 0; i < 3; ++i) {
    await page.locator('#Command1').click();
  }
  const marked = page.locator('#source .cm-line.executed-line');
  assert.equal(await marked.textContent(), '>>>>>> \t          LAD     GR1,2');
  const background = await marked.evaluate((line) => getComputedStyle(line).backgroundColor);
  assert.notEqual(background, 'rgba(0, 0, 0, 0)');
  // A breakpoint far down: the run goes on to it and the editor follows.
  await page.locator('#Command4').click();
  await page.locator('#Command2').click();
  await page.locator('#Assemble').click();
  await page.locator('#Form2-Command2').click();
  await page.locator('#source .cm-scroller').evaluate((s) => s.scrollTo(0, s.scrollHeight / 2.4));
  await page.locator('#source .cm-line', { hasText: 'GR1,90' }).click();
  await page.locator('#source .cm-scroller').evaluate((s) => s.scrollTo(0, 0));
  await page.locator('#Trace').click();
  assert.equal(await marked.textContent(), '>>>>>> \t          LAD     GR1,90');
  const inView = await marked.evaluate((line) => {
    const box = line.getBoundingClientRect();
    const scroller = document.querySelector('#source .cm-scroller').getBoundingClientRect();
    return box.top >= scroller.top && box.bottom <= scroller.bottom;
  });
  assert.ok(inView);
});

test('簡易表示 folds the later words of a DS area from the next refresh on', async () => {
  const page = await site.open();
  await startTrace(page, 'P\tSTART\n\tLAD\tGR1,1\n\tLAD\tGR1,2\n\tRET\nB\tDS\t25\n\tEND\n');
  assert.equal((await traceSnapshot(page)).dataArea.includes('\t:\n'), false);
  await page.locator('#Check1').check();
  await page.locator('#Command1').click();
  const { dataArea } = await traceSnapshot(page);
  assert.ok(dataArea.endsWith('\t:\n'), dataArea);
  assert.equal(dataArea.split('\n').length, 2 + 20 + 2);
});
