// What a screen reader says of the run: each wait's line and changes, read from a live region
// that nobody sees. The same words twice in a row (a loop that changes nothing new) are said
// again: the region's text must change for that, so the second gets an invisible mark.

const repeatMark = '\u200b';

export class Announcer {
  constructor(doc) {
    this.region = doc.createElement('div');
    this.region.id = 'announcer';
    this.region.className = 'visually-hidden';
    this.region.setAttribute('role', 'status');
    this.region.setAttribute('aria-live', 'polite');
    this.region.setAttribute('aria-atomic', 'true');
    doc.body.append(this.region);
  }

  /** Says `text`; nothing for "". */
  say(text) {
    if (!text) {
      return;
    }
    const shown = this.region.textContent;
    this.region.textContent = shown === text ? text + repeatMark : text;
  }
}
