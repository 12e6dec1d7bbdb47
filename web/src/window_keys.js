// Keys of the window that reach it through the editor but are no key presses of the editor
// (which would call for a new assembly): taken before the editor sees them. The core's table
// says what each key does:
//
// - Escape then Tab (or Shift+Tab) leaves the editor, where Tab alone inserts a tab: the
//   keyboard's way out of the editor, as CodeMirror's own.
// - F9 chooses the caret's line as the breakpoint, as a click into that line does.

/**
 * Installs the keys on `doc` for the editor inside `editorElement`. `commandOf(event,
 * afterEscape)` gives the core's command of a key ("type" before the core is loaded);
 * `onBreakpointKey()` hears F9.
 */
export function installWindowKeys(doc, editorElement, { commandOf, onBreakpointKey }) {
  let afterEscape = false;
  editorElement.addEventListener('focusout', () => {
    afterEscape = false;
  });
  doc.addEventListener(
    'keydown',
    (event) => {
      if (!editorElement.contains(event.target)) {
        afterEscape = false;
        return;
      }
      const command = commandOf(event, afterEscape);
      afterEscape = command === 'awaitLeave';
      if (command === 'awaitLeave' || command === 'leaveForward' || command === 'leaveBackward') {
        // For a Tab the browser moves the focus on (or back); the editor never hears the key.
        event.stopPropagation();
      } else if (command === 'chooseBreakpointLine') {
        event.preventDefault();
        event.stopPropagation();
        onBreakpointKey();
      }
    },
    true,
  );
}
