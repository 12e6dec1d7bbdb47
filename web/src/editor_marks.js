// The marks on the editor's lines besides its text, as the desktop's editor draws them: the
// breakpoint's red dot beside its line (it moves as `Label6` does), the background of the line
// the trace has just executed, and the lines in error after a failed assembly (a red cross and
// a red number in the gutter, a wavy underline, their messages on hover). Any change of the
// text takes the execution and error marks away: they describe the text they were made for.
import { RangeSet, StateEffect, StateField } from '@codemirror/state';
import {
  Decoration,
  EditorView,
  GutterMarker,
  gutter,
  gutterLineClass,
  hoverTooltip,
} from '@codemirror/view';

/** The breakpoint line (0 = none); it survives editing, as the window's breakpoint line does. */
export const setBreakpointLine = StateEffect.define();
/** The executed line of the trace listing (0 = none). */
export const setExecutedLine = StateEffect.define();
/** The lines in error: a Map from the 1-based line to its messages (one a line). */
export const setErrorLines = StateEffect.define();

const breakpointField = StateField.define({
  create: () => 0,
  update(line, tr) {
    for (const effect of tr.effects) {
      if (effect.is(setBreakpointLine)) {
        line = effect.value;
      }
    }
    return line;
  },
});

/** A mark that an edit removes unless the same transaction sets it anew. */
function textMark(effectType, empty) {
  return StateField.define({
    create: () => empty,
    update(value, tr) {
      let set = false;
      for (const effect of tr.effects) {
        if (effect.is(effectType)) {
          value = effect.value;
          set = true;
        }
      }
      return tr.docChanged && !set ? empty : value;
    },
  });
}

const executedField = textMark(setExecutedLine, 0);
const errorsField = textMark(setErrorLines, new Map());

/** The start positions of the lines of `numbers` that the document has, in order. */
function lineStarts(doc, numbers) {
  return [...numbers]
    .filter((n) => n >= 1 && n <= doc.lines)
    .sort((a, b) => a - b)
    .map((n) => doc.line(n).from);
}

const lineDecorations = EditorView.decorations.compute([executedField, errorsField], (state) => {
  const { doc } = state;
  const executed = state.field(executedField);
  const errors = state.field(errorsField);
  const lines = new Set([...errors.keys(), executed].filter((n) => n >= 1 && n <= doc.lines));
  const ranges = [...lines]
    .sort((a, b) => a - b)
    .map((n) => {
      const classes = [];
      if (n === executed) {
        classes.push('executed-line');
      }
      if (errors.has(n)) {
        classes.push('error-line');
      }
      return Decoration.line({ class: classes.join(' ') }).range(doc.line(n).from);
    });
  return Decoration.set(ranges);
});

class LineClass extends GutterMarker {
  constructor(elementClass) {
    super();
    this.elementClass = elementClass;
  }
}

const executedGutterClass = new LineClass('executed-line');
const errorGutterClass = new LineClass('error-number');

const gutterClasses = gutterLineClass.compute([executedField, errorsField], (state) => {
  const { doc } = state;
  const executed = state.field(executedField);
  const marks = [];
  for (const from of lineStarts(doc, state.field(errorsField).keys())) {
    marks.push(errorGutterClass.range(from));
  }
  if (executed >= 1 && executed <= doc.lines) {
    marks.push(executedGutterClass.range(doc.line(executed).from));
  }
  return RangeSet.of(marks, true);
});

class LineMark extends GutterMarker {
  constructor(breakpoint, messages) {
    super();
    this.breakpoint = breakpoint;
    this.messages = messages;
  }

  eq(other) {
    return other.breakpoint === this.breakpoint && other.messages === this.messages;
  }

  toDOM() {
    const mark = document.createElement('span');
    if (this.messages) {
      mark.className = 'error-cross';
      mark.textContent = '×';
      mark.title = this.messages;
    }
    if (this.breakpoint) {
      // The breakpoint stays where it was when the line later fails to assemble: the cross is
      // then cut out of the dot, so that both show.
      mark.className = this.messages ? 'breakpoint-dot with-error' : 'breakpoint-dot';
      const label = this.messages ? 'ブレークポイント (エラーのある行)' : 'ブレークポイント';
      mark.setAttribute('aria-label', label);
    }
    return mark;
  }
}

/**
 * The editor's marks. `onLineClick(line, view)` hears a click beside a line (in the mark
 * column or on its number): the window chooses the breakpoint from it as from a click into the
 * text.
 */
export function editorMarks({ onLineClick }) {
  return [
    breakpointField,
    executedField,
    errorsField,
    lineDecorations,
    gutterClasses,
    gutter({
      class: 'cm-marks',
      lineMarker(view, block) {
        const line = view.state.doc.lineAt(block.from).number;
        const breakpoint = view.state.field(breakpointField) === line;
        const messages = view.state.field(errorsField).get(line) ?? '';
        return breakpoint || messages ? new LineMark(breakpoint, messages) : null;
      },
      lineMarkerChange: (update) =>
        update.startState.field(breakpointField) !== update.state.field(breakpointField) ||
        update.startState.field(errorsField) !== update.state.field(errorsField),
      initialSpacer: () => new LineMark(false, ''),
      domEventHandlers: lineClickHandlers(onLineClick),
    }),
    hoverTooltip((view, pos) => {
      const line = view.state.doc.lineAt(pos);
      const messages = view.state.field(errorsField).get(line.number);
      if (!messages) {
        return null;
      }
      return {
        pos: line.from,
        end: line.to,
        above: true,
        create() {
          const dom = document.createElement('div');
          dom.className = 'error-tooltip';
          dom.textContent = messages;
          return { dom };
        },
      };
    }),
  ];
}

/** Gutter handlers that report a left click beside a line as `onLineClick(line, view)`. */
export function lineClickHandlers(onLineClick) {
  return {
    mousedown(view, block, event) {
      if (event.button !== 0) {
        return false;
      }
      onLineClick(view.state.doc.lineAt(block.from).number, view);
      return true;
    },
  };
}
