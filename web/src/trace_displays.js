// The register, PR, SP, flag and object-code labels and the two dumps of the main window. Every
// text is the core's, character for character; what a step changed is drawn in the system's
// mark colours around the same text.

const registerIds = ['GR0', 'gr1', 'gr2', 'gr3', 'GR4', 'gr5', 'gr6', 'gr7'];

function setCaption(element, text, changed) {
  element.textContent = text;
  element.classList.toggle('changed', Boolean(changed));
}

/**
 * A caption with the parts that `spans` name (from the core) marked as changed; the text stays
 * exactly the caption.
 */
function setSpans(element, text, spans) {
  element.replaceChildren();
  let at = 0;
  for (const { from, length } of spans ?? []) {
    element.append(text.slice(at, from));
    const part = document.createElement('span');
    part.className = 'changed';
    part.textContent = text.slice(from, from + length);
    element.append(part);
    at = from + length;
  }
  element.append(text.slice(at));
}

/**
 * A dump's text with the lines of `changedRows` (0-based) marked. The user's scroll position
 * stays; with `showChange`, a changed line is scrolled into view when none is in view.
 */
function setDump(element, text, changedRows, showChange, readRows = []) {
  const rows = new Set(changedRows ?? []);
  const reads = new Set(readRows);
  if (
    element.dataset.text === text &&
    rows.size === 0 &&
    reads.size === 0 &&
    !element.querySelector('.changed, .read')
  ) {
    return;
  }
  const scrollTop = element.scrollTop;
  element.dataset.text = text;
  element.changedRows = [...rows];
  const lines = text.split('\n');
  const fragment = document.createDocumentFragment();
  let plain = '';
  lines.forEach((line, index) => {
    const end = index < lines.length - 1 ? '\n' : '';
    if (!rows.has(index) && !reads.has(index)) {
      plain += line + end;
      return;
    }
    fragment.append(plain);
    plain = '';
    const row = document.createElement('span');
    // A line the step read is underlined with dashes: a mark that needs no colour.
    row.className = [rows.has(index) ? 'changed' : '', reads.has(index) ? 'read' : '']
      .join(' ')
      .trim();
    row.dataset.row = String(index);
    row.textContent = line;
    fragment.append(row, end);
  });
  fragment.append(plain);
  element.replaceChildren(fragment);
  element.scrollTop = scrollTop;
  if (showChange && rows.size > 0) {
    const marked = [...element.querySelectorAll('.changed')];
    const top = element.scrollTop;
    const bottom = top + element.clientHeight;
    const inView = marked.some((row) => {
      const rowTop = row.offsetTop;
      return rowTop >= top && rowTop + row.offsetHeight <= bottom;
    });
    if (!inView) {
      element.scrollTop = Math.max(0, marked[0].offsetTop - element.clientHeight / 3);
    }
  }
}

export class TraceDisplays {
  constructor(root) {
    this.registers = registerIds.map((id) => root.getElementById(id));
    this.pc = root.getElementById('pc');
    this.sp = root.getElementById('sp');
    this.fr = root.getElementById('fr');
    this.obj = root.getElementById('obj');
    this.text1 = root.getElementById('Text1');
    this.text2 = root.getElementById('Text2');
  }

  /** Shows `displays` (from the core) with `changes` marked (none when absent). */
  show(displays, changes) {
    displays.registers.forEach((row, i) => {
      setCaption(this.registers[i], row, changes?.registers[i]);
    });
    setCaption(this.pc, displays.pc, changes?.programRegister);
    setCaption(this.sp, displays.sp, changes?.stackPointer);
    setSpans(this.fr, displays.fr, changes?.flagSpans);
    setCaption(this.obj, displays.obj, false);
    setDump(this.text1, displays.dataArea, changes?.dataRows, true);
    setDump(this.text2, displays.stackArea, changes?.stackRows, false);
  }

  /** Underlines the lines of the dumps whose words the last step read (0-based). */
  markReads(dataRows, stackRows) {
    setDump(this.text1, this.text1.dataset.text ?? '', this.text1.changedRows, false, dataRows);
    setDump(this.text2, this.text2.dataset.text ?? '', this.text2.changedRows, false, stackRows);
  }

  /** The data dump's box holds `text` as it is (the listing buffer of Assemble). */
  setDataAreaText(text) {
    setDump(this.text1, text, [], false);
  }

  /** Empties both dumps, as a shown listing does. */
  clearDumps() {
    setDump(this.text1, '', [], false);
    setDump(this.text2, '', [], false);
  }
}
