// The register, PR, SP, flag and object-code labels and the two dumps of the main window. Every
// text is the core's, character for character; what a step changed is drawn in the system's
// mark colours around the same text.

const registerIds = ['GR0', 'gr1', 'gr2', 'gr3', 'GR4', 'gr5', 'gr6', 'gr7'];
/** "OF:0 SF:0 ZF:0": each flag is three characters and its digit. */
const flagParts = [
  { from: 0, to: 4, change: 'overflowFlag' },
  { from: 5, to: 9, change: 'signFlag' },
  { from: 10, to: 14, change: 'zeroFlag' },
];

function setCaption(element, text, changed) {
  element.textContent = text;
  element.classList.toggle('changed', Boolean(changed));
}

/** The flags with the changed ones marked; the text stays exactly the caption. */
function setFlags(element, text, changes) {
  element.replaceChildren();
  let at = 0;
  for (const part of flagParts) {
    if (part.from >= text.length) {
      break;
    }
    element.append(text.slice(at, part.from));
    const flag = document.createElement('span');
    flag.textContent = text.slice(part.from, part.to);
    flag.classList.toggle('changed', Boolean(changes?.[part.change]));
    element.append(flag);
    at = Math.min(part.to, text.length);
  }
  element.append(text.slice(at));
}

/**
 * A dump's text with the lines of `changedRows` (0-based) marked. The user's scroll position
 * stays; with `showChange`, a changed line is scrolled into view when none is in view.
 */
function setDump(element, text, changedRows, showChange) {
  const rows = new Set(changedRows ?? []);
  if (element.dataset.text === text && rows.size === 0 && !element.querySelector('.changed')) {
    return;
  }
  const scrollTop = element.scrollTop;
  element.dataset.text = text;
  const lines = text.split('\n');
  const fragment = document.createDocumentFragment();
  let plain = '';
  lines.forEach((line, index) => {
    const end = index < lines.length - 1 ? '\n' : '';
    if (!rows.has(index)) {
      plain += line + end;
      return;
    }
    fragment.append(plain);
    plain = '';
    const row = document.createElement('span');
    row.className = 'changed';
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
    setFlags(this.fr, displays.fr, changes);
    setCaption(this.obj, displays.obj, false);
    setDump(this.text1, displays.dataArea, changes?.dataRows, true);
    setDump(this.text2, displays.stackArea, changes?.stackRows, false);
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
