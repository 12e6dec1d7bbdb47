// The menu bar: a click on a menu opens its items, a click on an item (or anywhere else), or
// Escape, closes it again. Disabled menus and items do nothing.

export class MenuBar {
  constructor(bar) {
    this.bar = bar;
    this.open = null;
    for (const opener of bar.querySelectorAll('[aria-haspopup="menu"]')) {
      opener.addEventListener('click', (event) => {
        event.stopPropagation();
        this.toggle(opener);
      });
      opener.addEventListener('mouseenter', () => {
        if (this.open && this.open !== opener && !opener.disabled) {
          this.show(opener);
        }
      });
    }
    bar.addEventListener('click', (event) => {
      if (event.target.closest('[role="menuitem"]')) {
        this.close();
      }
    });
    document.addEventListener('click', (event) => {
      if (!bar.contains(event.target)) {
        this.close();
      }
    });
    document.addEventListener('keydown', (event) => {
      if (event.key === 'Escape' && this.open) {
        const opener = this.open;
        this.close();
        opener.focus();
      }
    });
  }

  itemsOf(opener) {
    return opener.parentElement.querySelector('[role="menu"]');
  }

  toggle(opener) {
    if (this.open === opener) {
      this.close();
    } else if (!opener.disabled) {
      this.show(opener);
    }
  }

  show(opener) {
    this.close();
    this.open = opener;
    opener.setAttribute('aria-expanded', 'true');
    this.itemsOf(opener).hidden = false;
    this.itemsOf(opener).querySelector('button:enabled')?.focus();
  }

  close() {
    if (!this.open) {
      return;
    }
    this.open.setAttribute('aria-expanded', 'false');
    this.itemsOf(this.open).hidden = true;
    this.open = null;
  }

  /** `command` runs when the item `id` is chosen. */
  on(id, command) {
    document.getElementById(id).addEventListener('click', () => command());
  }
}
