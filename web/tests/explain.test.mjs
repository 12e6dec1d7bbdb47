// The explain pane of the page: the writer of a value as its tooltip and the step back to it,
// the words a step read underlined in the dumps, the predictions' marks, and the trace table.
import assert from 'node:assert/strict';
import { after, afterEach, before, test } from 'node:test';
import { Site, pasteProgram } from './site.mjs';

const site = new Site();
before(() => site.start());
after(() => site.stop());
afterEach(() => site.closePages());

const sumProgram =
  'P\tSTART\n\tLD\tGR1,A\n\tADDA\tGR1,B\n\tST\tGR1,C\n\tRET\nA\tDC\t3\nB\tDC\t4\nC\tDS\t1\n\tEND\n';

async function startTrace(page) {
  await pasteProgram(page, sumProgram);
  await page.locator('#Assemble').click();
  await page.locator('#Form2-Command2').click();
  await page.locator('#Trace').click();
}

async function next(page, times = 1) {
  for (let i = 0; i < times; ++i) {
    await page.locator('#Command1').click();
  }
}

test('a value names its writer, and a click on it steps back to that step', async () => {
  const page = await site.open();
  await startTrace(page);
  await next(page, 3);
  assert.equal(
    await page.locator('#gr1').getAttribute('title'),
    'GR1: written at step 3, line 3: ADDA GR1,B',
  );
  // The display text itself is the core's, unchanged.
  assert.ok((await page.locator('#gr1').textContent()).endsWith('0007 (     7)'));
  await page.locator('#gr1').click();
  assert.equal(
    await page.locator('#selectedTip').textContent(),
    'GR1: written at step 3, line 3: ADDA GR1,B',
  );
  await page.locator('#stepBackToWriter').click();
  assert.match(await page.locator('#pc').textContent(), /PR:0006/);
  assert.equal(await page.locator('#noticeText').textContent(), '');
});

test('the words a step read are underlined and said', async () => {
  const page = await site.open();
  await startTrace(page);
  await next(page);
  assert.equal(await page.locator('#readsText').textContent(), 'read: A 0009 = 0003');
  const read = page.locator('#Text1 .read');
  assert.equal(await read.count(), 1);
  assert.match(await read.textContent(), /^A\s+0009/);
  assert.equal(
    await read.evaluate((row) => getComputedStyle(row).textDecorationStyle),
    'dashed',
  );
  // The dump's text is the core's, character for character.
  assert.ok((await page.locator('#Text1').textContent()).startsWith('Label Address   Value\n'));
  await next(page, 2);
  assert.equal(await page.locator('#Text1 .read').count(), 0);
});

test('predictions are marked at Next and counted', async () => {
  const page = await site.open();
  await startTrace(page);
  await next(page);
  await page.locator('#predictionGR1').fill('7');
  await page.locator('#predictionZF').fill('1');
  await next(page);
  assert.equal(await page.locator('#markGR1').textContent(), '✓ 正');
  assert.equal(await page.locator('#markZF').textContent(), '✗ 誤');
  assert.equal(await page.locator('#markGR2').textContent(), '');
  assert.equal(await page.locator('#predictionScore').textContent(), 'Predictions right: 1 of 2');
  assert.equal(await page.locator('#predictionGR1').inputValue(), '');
});

test('the trace table has a row per step, chosen columns, and downloads as CSV', async () => {
  const page = await site.open();
  await startTrace(page);
  await page.locator('#traceTablePane summary').click();
  await next(page, 3);
  assert.equal(await page.locator('#traceTable tbody tr').count(), 4);
  assert.equal(await page.locator('#traceTable tbody tr').nth(3).locator('td').nth(2).textContent(), 'ST GR1,C');
  for (const name of ['GR0', 'GR2', 'GR3', 'GR4', 'GR5', 'GR6', 'GR7', 'PR', 'SP']) {
    await page.locator(`#column${name}`).uncheck();
  }
  assert.equal(await page.locator('#traceTable thead th').count(), 8);
  const [download] = await Promise.all([
    page.waitForEvent('download'),
    page.locator('#saveTable').click(),
  ]);
  assert.equal(download.suggestedFilename(), 'trace.csv');
  const chunks = [];
  for await (const chunk of await download.createReadStream()) {
    chunks.push(chunk);
  }
  assert.equal(
    Buffer.concat(chunks).toString('utf8'),
    'step,line,instruction,GR1,OF,SF,ZF,written\r\n' +
      '1,1,START,0000,0,0,0,\r\n' +
      '2,2,"LD GR1,A",0003,0,0,0,\r\n' +
      '3,3,"ADDA GR1,B",0007,0,0,0,\r\n' +
      '4,4,"ST GR1,C",0007,0,0,0,000B:0007\r\n',
  );
});
