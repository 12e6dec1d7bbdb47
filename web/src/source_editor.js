// The source editor (`source`): CodeMirror with the line-number gutter, the breakpoint and the
// other marks of the lines, CASL II colours from the core, undo and the forced upper case of
// typed letters. Like the desktop's plain text box, Tab inserts a tab and Enter a bare line
// break (no copied indentation); pasted text is not converted. During a trace it is locked: the
// text cannot change, but clicks still move the caret and choose the breakpoint.
import {
  defaultKeymap,
  history,
  historyKeymap,
  insertNewline,
  insertTab,
} from '@codemirror/commands';
import { Annotation, Compartment, EditorSelection, EditorState } from '@codemirror/state';
import { EditorView, ViewPlugin, keymap, lineNumbers } from '@codemirror/view';
import { caslHighlight, setTraceListing, traceListingField } from './casl_highlight.js';
import {
  editorMarks,
  lineClickHandlers,
  setBreakpointLine,
  setErrorLines,
  setExecutedLine,
} from './editor_marks.js';
import { upperCasedTyping } from './upper_case.js';

/** Marks the changes that the program makes (Assemble, the trace, Open, New). */
const byProgram = Annotation.define();
const lock = new Compartment();
const colours = new Compartment();

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
 * The editor in `parent`. The window hears `onKeyDown()` for every key pressed in it,
 * `onLineClick(line)` for a left click into the text (with the caret's line) or beside a line,
 * and `onChange(byUser)` for every change of the text.
 * @param {HTMLElement} parent
 * @returns {EditorView}
 */
export function createSourceEditor(parent, { onKeyDown, onLineClick, onChange }) {
  // A click beside a line puts the caret on it, then chooses as a click into the line does.
  const besideLine = (line, view) => {
    moveCaretToLine(view, line);
    onLineClick(line);
  };
  return new EditorView({
    parent,
    state: EditorState.create({
      extensions: [
        editorMarks({ onLineClick: besideLine }),
        lineNumbers({ domEventHandlers: lineClickHandlers(besideLine) }),
        traceListingField,
        colours.of([]),
        // Until the core is loaded (and with it the upper casing of typed letters).
        lock.of(EditorState.readOnly.of(true)),
        EditorState.tabSize.of(8),
        // Its name is the caption above it; the hint says how the keyboard leaves it.
        EditorView.contentAttributes.of({
          'aria-labelledby': 'Label2',
          'aria-describedby': 'source-keys',
        }),
        history(),
        keymap.of([
          // In the locked editor Enter is no line break: it goes on to the window (Next).
          { key: 'Tab', run: (view) => !view.state.readOnly && insertTab(view) },
          { key: 'Enter', run: (view) => !view.state.readOnly && insertNewline(view) },
          ...defaultKeymap,
          ...historyKeymap,
        ]),
        forcedUpperCase,
        upperCasedComposition,
        // Observers: they hear every key and click, also those that the editor handles.
        EditorView.domEventObservers({
          keydown() {
            onKeyDown();
          },
          click(event, view) {
            if (event.button === 0) {
              onLineClick(caretLine(view));
            }
          },
        }),
        EditorView.updateListener.of((update) => {
          for (const tr of update.transactions) {
            if (tr.docChanged) {
              onChange(tr.annotation(byProgram) !== true);
            }
          }
        }),
      ],
    }),
  });
}

/** Colours the text with the core's tokens (`tokensOf`, see casl_highlight.js). */
export function colourWith(view, tokensOf) {
  view.dispatch({ effects: colours.reconfigure(caslHighlight(tokensOf)) });
}

/** The editor's text, lines separated by LF. */
export function editorText(view) {
  return view.state.doc.toString();
}

/**
 * Replaces the whole text as the program does it (not the user); `effects` set the marks of the
 * new text in the same step, so that the change does not take them away.
 */
export function setEditorText(view, text, effects = []) {
  const changes =
    text === editorText(view) ? [] : [{ from: 0, to: view.state.doc.length, insert: text }];
  view.dispatch({ changes, effects, annotations: byProgram.of(true) });
}

/** Locks the editor for a trace (it shows the trace listing then), or unlocks it. */
export function setTracing(view, tracing) {
  // Locked, the text changes only as the program changes it, whatever command runs.
  const locked = [
    EditorState.readOnly.of(true),
    EditorState.changeFilter.of((tr) => tr.annotation(byProgram) === true),
  ];
  view.dispatch({
    effects: [
      lock.reconfigure(tracing ? locked : EditorState.readOnly.of(false)),
      setTraceListing.of(tracing),
    ],
  });
  view.dom.parentElement?.classList.toggle('tracing', tracing);
}

export function isLocked(view) {
  return view.state.readOnly;
}

/** The 1-based line that holds the caret. */
export function caretLine(view) {
  return view.state.doc.lineAt(view.state.selection.main.head).number;
}

/** Puts the caret at the start of `line` (the last line past the end) and shows it. */
export function moveCaretToLine(view, line) {
  const { doc } = view.state;
  const target = doc.line(Math.min(Math.max(line, 1), doc.lines));
  view.dispatch({ selection: EditorSelection.cursor(target.from), scrollIntoView: true });
}

export function showBreakpoint(view, line) {
  view.dispatch({ effects: setBreakpointLine.of(line) });
}

/** The effects that mark the executed line of the trace listing and keep it in view. */
export function executedLineEffects(view, text, line) {
  const effects = [setExecutedLine.of(line)];
  const lines = text.split('\n');
  if (line >= 1 && line <= lines.length) {
    let from = 0;
    for (let i = 0; i < line - 1; ++i) {
      from += lines[i].length + 1;
    }
    effects.push(EditorView.scrollIntoView(from, { y: 'nearest', yMargin: 40 }));
  }
  return effects;
}

/** The effect that marks the lines in error with their messages (a Map from line to text). */
export function errorLinesEffect(errors) {
  return setErrorLines.of(errors);
}

/** Replaces the selection by `text`, as a command of the user (Paste, 小文字変換). */
export function replaceSelection(view, text) {
  if (isLocked(view)) {
    return;
  }
  view.dispatch(view.state.replaceSelection(text), { userEvent: 'input' });
}

export function selectedText(view) {
  const { from, to } = view.state.selection.main;
  return view.state.sliceDoc(from, to);
}
