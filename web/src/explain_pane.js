// What the session explains about its run, beside the main window: who wrote each value (the
// tooltip of a register, PR, SP, the flags and every dump line; a click selects it and offers
// the step back to its writer), the words the last step read (underlined in the dumps and said
// in words), the predictions for Next with their marks, and the trace table (copy, CSV, print).
// Every text and rule comes from the core; this file only draws them.

const registerIds = ['GR0', 'gr1', 'gr2', 'gr3', 'GR4', 'gr5', 'gr6', 'gr7'];
const predicted = ['GR0', 'GR1', 'GR2', 'GR3', 'GR4', 'GR5', 'GR6', 'GR7', 'PR', 'SP', 'OF', 'SF', 'ZF'];
const columnNames = ['GR0', 'GR1', 'GR2', 'GR3', 'GR4', 'GR5', 'GR6', 'GR7', 'PR', 'SP', 'FR'];

function element(doc, tag, attributes = {}, text = '') {
  const node = doc.createElement(tag);
  for (const [name, value] of Object.entries(attributes)) {
    node.setAttribute(name, value);
  }
  node.textContent = text;
  return node;
}

/** The 0-based line of a dump under the point (x, y), or -1. */
function dumpLineAt(doc, dump, x, y) {
  const caret = doc.caretRangeFromPoint?.(x, y);
  if (!caret || !dump.contains(caret.startContainer)) {
    return -1;
  }
  const before = doc.createRange();
  before.setStart(dump, 0);
  before.setEnd(caret.startContainer, caret.startOffset);
  return before.toString().split('\n').length - 1;
}

export class ExplainPane {
  constructor(doc, mainWindow) {
    this.doc = doc;
    this.window = mainWindow;
    this.explanation = null;
    this.selected = null;
    this.shownRevision = -1;

    const pane = element(doc, 'section', { id: 'explainPane', 'aria-label': 'Explain' });
    const hint = element(
      doc,
      'p',
      {},
      'Hover a value to see which step wrote it; click it to step back to that step. ' +
        'Words the step read are underlined with dashes.',
    );
    this.selectedTip = element(doc, 'p', { id: 'selectedTip', role: 'status' });
    this.stepBackToWriter = element(doc, 'button', { type: 'button', id: 'stepBackToWriter' });
    this.stepBackToWriter.hidden = true;
    this.stepBackToWriter.addEventListener('click', () => {
      const step = this.selected?.writerStep ?? 0;
      this.window.run((w) => w.stepBackToStep(step));
    });
    this.reads = element(doc, 'p', { id: 'readsText' });
    this.notice = element(doc, 'p', { id: 'noticeText', role: 'status' });

    const predictions = element(doc, 'fieldset', { id: 'predictions' });
    predictions.append(element(doc, 'legend', {}, 'Predict, then Next (empty: skipped)'));
    this.predictionInputs = [];
    this.predictionMarks = [];
    predicted.forEach((name, value) => {
      const label = element(doc, 'label', { class: 'prediction' }, name);
      const input = element(doc, 'input', {
        id: `prediction${name}`,
        size: '6',
        autocomplete: 'off',
        spellcheck: 'false',
      });
      input.addEventListener('input', () =>
        this.window.workbench?.setPrediction(value, input.value.trim()),
      );
      const mark = element(doc, 'span', { id: `mark${name}`, class: 'prediction-mark' });
      label.append(input, mark);
      predictions.append(label);
      this.predictionInputs.push(input);
      this.predictionMarks.push(mark);
    });
    this.score = element(doc, 'p', { id: 'predictionScore', role: 'status' });
    predictions.append(this.score);

    const table = element(doc, 'details', { id: 'traceTablePane' });
    table.append(element(doc, 'summary', {}, 'トレース表'));
    const choices = element(doc, 'div', { class: 'row' });
    this.columnBoxes = columnNames.map((name) => {
      const box = element(doc, 'input', { type: 'checkbox', id: `column${name}` });
      box.checked = true;
      box.addEventListener('change', () => this.renderTable(true));
      const label = element(doc, 'label', {}, name);
      label.prepend(box);
      choices.append(label);
      return box;
    });
    this.table = element(doc, 'table', { id: 'traceTable', class: 'gothic' });
    const buttons = element(doc, 'div', { class: 'row' });
    const copy = element(doc, 'button', { type: 'button', id: 'copyTable' }, 'コピー');
    copy.addEventListener('click', () => navigator.clipboard?.writeText(this.tableText('csv')));
    const save = element(doc, 'button', { type: 'button', id: 'saveTable' }, 'CSVで保存');
    save.addEventListener('click', () =>
      this.window.download(new TextEncoder().encode(this.tableText('csv')), 'trace.csv'),
    );
    const print = element(doc, 'button', { type: 'button', id: 'printTable' }, '印刷');
    print.addEventListener('click', () => this.printTable());
    buttons.append(copy, save, print);
    this.tableScroll = element(doc, 'div', { class: 'table-scroll' });
    this.tableScroll.append(this.table);
    table.append(choices, this.tableScroll, buttons);
    table.addEventListener('toggle', () => this.renderTable(true));
    this.tablePane = table;

    pane.append(hint, this.selectedTip, this.stepBackToWriter, this.reads, this.notice);
    pane.append(predictions, table);
    doc.getElementById('Form1').after(pane);

    this.values = [
      ...registerIds.map((id, i) => [doc.getElementById(id), (e) => e.registers[i]]),
      [doc.getElementById('pc'), (e) => e.programRegister],
      [doc.getElementById('sp'), (e) => e.stackPointer],
      [doc.getElementById('fr'), (e) => e.flags],
    ];
    for (const [node, of] of this.values) {
      node.addEventListener('click', () => this.select(this.explanation && of(this.explanation)));
    }
    for (const [id, key] of [
      ['Text1', 'dataArea'],
      ['Text2', 'stackArea'],
    ]) {
      const dump = doc.getElementById(id);
      const at = (event) => {
        const line = dumpLineAt(doc, dump, event.clientX, event.clientY);
        const value = this.explanation?.[key]?.[line];
        return value?.tip ? value : null;
      };
      dump.addEventListener('mousemove', (event) => {
        dump.title = at(event)?.tip ?? '';
      });
      dump.addEventListener('click', (event) => {
        const value = at(event);
        if (value) {
          this.select(value);
        }
      });
    }
  }

  /** `value` (a tip and its writer's step) is the one the pane speaks of. */
  select(value) {
    this.selected = value ?? null;
    this.renderSelected();
  }

  renderSelected() {
    const value = this.selected;
    this.selectedTip.textContent = value?.tip ?? '';
    this.stepBackToWriter.hidden = !value;
    if (value) {
      this.stepBackToWriter.textContent = `書いたステップへ戻る (step ${value.writerStep})`;
      this.stepBackToWriter.disabled =
        value.writerStep === 0 || this.window.view?.phase !== 'tracing';
    }
  }

  columns() {
    return columnNames.filter((_, i) => this.columnBoxes[i].checked).join(',');
  }

  tableText(format) {
    return this.window.workbench?.traceTable(format, this.columns()) ?? '';
  }

  printTable() {
    const printed = window.open('', 'varnic-trace-table');
    if (!printed) {
      return;
    }
    const table = this.table.cloneNode(true);
    printed.document.body.append(table);
    printed.print();
  }

  /** Shows the session's explanation; the main window has just rendered its view. */
  render() {
    const workbench = this.window.workbench;
    if (!workbench) {
      return;
    }
    const e = JSON.parse(workbench.explanation());
    this.explanation = e;
    for (const [node, of] of this.values) {
      node.title = of(e).tip;
    }
    this.reads.textContent = e.readsText;
    this.notice.textContent = e.notice;
    this.window.displays.markReads(e.dataAreaReads, e.stackAreaReads);
    e.predictionResults.forEach((result, value) => {
      const input = this.predictionInputs[value];
      if (this.doc.activeElement !== input && input.value.trim() !== e.predictions[value]) {
        input.value = e.predictions[value];
      }
      const mark = this.predictionMarks[value];
      mark.textContent = result === 'right' ? '✓ 正' : result === 'wrong' ? '✗ 誤' : '';
      mark.className = `prediction-mark ${result}`;
    });
    this.score.textContent =
      e.predictionsMade === 0
        ? ''
        : `Predictions right: ${e.predictionsRight} of ${e.predictionsMade}`;
    if (this.selected) {
      // The selected value's writer as the run now stands.
      const same = [...this.values.map(([, of]) => of(e)), ...e.dataArea, ...e.stackArea].find(
        (value) => value.tip.split(':')[0] === this.selected.tip.split(':')[0],
      );
      this.selected = same ?? null;
    }
    this.renderSelected();
    this.renderTable(false);
  }

  renderTable(force) {
    const revision = this.window.view?.displaysRevision ?? 0;
    if (!this.tablePane.open || (!force && revision === this.shownRevision)) {
      return;
    }
    this.shownRevision = revision;
    const rows = JSON.parse(this.tableText('cells') || '[[]]');
    const head = element(this.doc, 'thead');
    const headRow = element(this.doc, 'tr');
    for (const cell of rows[0]) {
      headRow.append(element(this.doc, 'th', { scope: 'col' }, cell));
    }
    head.append(headRow);
    const body = element(this.doc, 'tbody');
    for (const row of rows.slice(1)) {
      const tr = element(this.doc, 'tr');
      for (const cell of row) {
        tr.append(element(this.doc, 'td', {}, cell));
      }
      body.append(tr);
    }
    this.table.replaceChildren(head, body);
    this.tableScroll.scrollTop = this.tableScroll.scrollHeight;
  }
}
