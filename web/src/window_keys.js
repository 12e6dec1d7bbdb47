// Keys of the window that reach it through the editor but are no key presses of the editor
// (which would call for a new assembly): taken before the editor sees them.
//
// - Escape then Tab (or Shift+Tab) leaves the editor, where Tab alone inserts a tab: the
//   keyboard's way out of the editor, as CodeMirror's own.
// - F9 chooses the caret's line as the breakpoint, as a click into that line does.

/**
 * Installs the keys on `doc` for the editor inside `editorElement`; `onBreakpointKey()` hears F9.
 */
export function installWindowKeys(doc, editorElement, { onBreakpointKey }) {
  let leaving = false;
  doc.addEventListener(
    'keydown',
    (event) => {
      if (!editorElement.contains(event.target)) {
        leaving = false;
        return;
      }
      const plain = !event.altKey && !event.ctrlKey && !event.metaKey;
      const wasLeaving = leaving;
      leaving = false;
      if (event.key === 'Escape' && plain && !event.shiftKey) {
        leaving = true;
        event.stopPropagation();
      } else if (event.key === 'Tab' && plain && wasLeaving) {
        // The browser moves the focus on; the editor never hears the key.
        event.stopPropagation();
      } else if (event.key === 'F9' && plain && !event.shiftKey) {
        event.preventDefault();
        event.stopPropagation();
        onBreakpointKey();
      }
    },
    true,
  );
}
