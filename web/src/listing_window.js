// The listing window of the desktop (`Form2`, "Assemble Result") as a window of the page: the
// listing text, the result line "Assemble Error: N" (green after a clean assembly, red
// otherwise), Print (the browser's print of the listing) and Back (the main window comes to the
// front; the listing window stays; Escape does the same). A click on a line, or Enter on it,
// leads to its source line.

export class ListingWindow {
  /** `onLineActivated(index)` hears the 0-based line of the listing text that was picked. */
  constructor(root, { onBack, onLineActivated }) {
    this.root = root;
    this.text1 = root.querySelector('#Form2-Text1');
    this.label1 = root.querySelector('#Form2-Label1');
    root.querySelector('#Form2-Command1').addEventListener('click', () => this.print());
    const back = () => {
      this.sendBehind();
      onBack();
    };
    root.querySelector('#Form2-Command2').addEventListener('click', back);
    // Escape leaves the listing window as Back does.
    root.addEventListener('keydown', (event) => {
      if (event.key === 'Escape' && !event.altKey && !event.ctrlKey && !event.metaKey) {
        event.preventDefault();
        back();
      }
    });
    this.text1.addEventListener('click', (event) => {
      const line = this.lineAt(event.target);
      if (line !== null && window.getSelection()?.isCollapsed !== false) {
        onLineActivated(line);
      }
    });
    this.text1.addEventListener('keydown', (event) => {
      if (event.key !== 'Enter') {
        return;
      }
      const line = this.lineAt(window.getSelection()?.anchorNode ?? null);
      if (line !== null) {
        event.preventDefault();
        onLineActivated(line);
      }
    });
    root.addEventListener('mousedown', () => this.raise());
  }

  /** The 0-based listing line that holds `node`, or null. */
  lineAt(node) {
    const element = node?.nodeType === Node.TEXT_NODE ? node.parentElement : node;
    const line = element?.closest?.('[data-line]');
    return line && this.text1.contains(line) ? Number(line.dataset.line) : null;
  }

  /** Shows an assembly as the desktop's Assemble does (`listing` from the session's view). */
  showAssembly(listing) {
    // The text and the colour change even when the window stays as it was: a clean one-line
    // program updates the hidden listing but shows nothing.
    const lines = listing.text.split('\n');
    this.text1.replaceChildren(
      ...lines.map((line, index) => {
        const row = document.createElement('span');
        row.dataset.line = String(index);
        row.textContent = index < lines.length - 1 ? `${line}\n` : line;
        return row;
      }),
    );
    this.label1.classList.toggle('success', listing.success);
    this.label1.classList.toggle('failure', !listing.success);
    if (listing.shown) {
      this.label1.textContent = listing.resultLine;
      this.root.hidden = false;
      this.raise();
      // The window that opens takes the keys, as a window of the desktop does.
      this.text1.focus();
    }
  }

  raise() {
    this.root.classList.remove('behind');
  }

  sendBehind() {
    this.root.classList.add('behind');
  }

  /** The browser's print of the listing text alone; cancelling its dialog prints nothing. */
  print() {
    document.body.classList.add('printing-listing');
    const done = () => document.body.classList.remove('printing-listing');
    window.addEventListener('afterprint', done, { once: true });
    window.print();
  }
}
