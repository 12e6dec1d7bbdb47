// The source editor: CodeMirror with line numbers, undo and the forced upper case of typed
// letters. Like the desktop's plain text box, Tab inserts a tab and Enter a bare line break (no
// copied indentation); pasted text is not converted.
import {
  defaultKeymap,
  history,
  historyKeymap,
  insertNewline,
  insertTab,
} from '@codemirror/commands';
import { EditorSelection, EditorState } from '@codemirror/state';
import { EditorView, ViewPlugin, keymap, lineNumbers } from '@codemirror/view';
import { upperCasedTyping } from './upper_case.js';

const forcedUpperCase = EditorView.inputHandler.of((view, from, to, text) => {
  // An input method's composition is left alone until it is committed.
  if (view.composing) {
    return false;
  }
  const upper = upperCasedTyping(text);
  if (upper === text) {
    return false;
  }
  view.dispatch({
    changes: { from, to, insert: upper },
    selection: EditorSelection.cursor(from + upper.length),
    scrollIntoView: true,
    userEvent: 'input.type',
  });
  return true;
});

/** The ranges sorted, overlapping and touching ones joined. */
function mergedRanges(ranges) {
  const merged = [];
  for (const range of [...ranges].sort((a, b) => a.from - b.from)) {
    const last = merged[merged.length - 1];
    if (last && range.from <= last.to) {
      last.to = Math.max(last.to, range.to);
    } else {
      merged.push({ ...range });
    }
  }
  return merged;
}

/**
 * Text composed with an input method is upper-cased when the composition is committed, as the
 * desktop upper-cases what an input method commits; while it is composed it stays as it is.
 */
const upperCasedComposition = ViewPlugin.fromClass(
  class {
    constructor(view) {
      this.view = view;
      /** The ranges that compositions inserted since the last commit. */
      this.composed = [];
    }

    update(update) {
      for (const tr of update.transactions) {
        if (!tr.docChanged) {
          continue;
        }
        const { changes } = tr;
        this.composed = this.composed
          .map(({ from, to }) => ({ from: changes.mapPos(from, 1), to: changes.mapPos(to, -1) }))
          .filter(({ from, to }) => from < to);
        if (tr.isUserEvent('input.type.compose')) {
          tr.changes.iterChangedRanges((_fromA, _toA, from, to) => {
            if (from < to) {
              this.composed.push({ from, to });
            }
          });
        }
      }
    }

    commit() {
      if (this.view.composing || this.composed.length === 0) {
        return;
      }
      const { doc } = this.view.state;
      const changes = [];
      for (const { from, to } of mergedRanges(this.composed)) {
        const text = doc.sliceString(from, to);
        const upper = upperCasedTyping(text);
        if (upper !== text) {
          changes.push({ from, to, insert: upper });
        }
      }
      this.composed = [];
      if (changes.length > 0) {
        this.view.dispatch({ changes, userEvent: 'input.type' });
      }
    }
  },
  {
    eventObservers: {
      // The editor takes in the last change of a composition just after this event.
      compositionend() {
        setTimeout(() => this.commit(), 0);
      },
    },
  },
);

/**
 * @param {HTMLElement} parent
 * @returns {EditorView}
 */
export function createSourceEditor(parent) {
  return new EditorView({
    parent,
    state: EditorState.create({
      extensions: [
        lineNumbers(),
        EditorState.tabSize.of(8),
        history(),
        keymap.of([
          { key: 'Tab', run: insertTab },
          { key: 'Enter', run: insertNewline },
          ...defaultKeymap,
          ...historyKeymap,
        ]),
        forcedUpperCase,
        upperCasedComposition,
      ],
    }),
  });
}

/** The editor's text, lines separated by LF. */
export function editorText(view) {
  return view.state.doc.toString();
}

/** Replaces the whole text, as the desktop rewrites the editor after Assemble. */
export function setEditorText(view, text) {
  if (text !== editorText(view)) {
    view.dispatch({ changes: { from: 0, to: view.state.doc.length, insert: text } });
  }
}
