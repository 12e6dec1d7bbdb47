// CASL II syntax colours: the core splits every visible line into its tokens (the assembler's
// own split, so the colours never disagree with it) and the editor colours them by kind.
import { StateEffect, StateField } from '@codemirror/state';
import { Decoration, ViewPlugin } from '@codemirror/view';

/** Whether the editor shows the trace listing (each line behind a TAB or ">>>>>> " TAB). */
export const setTraceListing = StateEffect.define();

export const traceListingField = StateField.define({
  create: () => false,
  update(value, tr) {
    for (const effect of tr.effects) {
      if (effect.is(setTraceListing)) {
        value = effect.value;
      }
    }
    return value;
  },
});

/** Remembers the tokens of recent lines: scrolling and typing ask for the same lines again. */
class TokenCache {
  constructor(tokensOf, limit = 4000) {
    this.tokensOf = tokensOf;
    this.limit = limit;
    this.lines = new Map();
  }

  get(text, traceListing) {
    const key = (traceListing ? 'T' : 'S') + text;
    let tokens = this.lines.get(key);
    if (!tokens) {
      if (this.lines.size >= this.limit) {
        this.lines.clear();
      }
      tokens = this.tokensOf(text, traceListing);
      this.lines.set(key, tokens);
    }
    return tokens;
  }
}

const marks = new Map();
function markOf(kind) {
  let mark = marks.get(kind);
  if (!mark) {
    mark = Decoration.mark({ class: `tok-${kind}` });
    marks.set(kind, mark);
  }
  return mark;
}

/**
 * The highlighter; `tokensOf(lineText, traceListing)` gives a line's coloured tokens as
 * `{from, to, kind}` in the line's UTF-16 positions.
 */
export function caslHighlight(tokensOf) {
  const cache = new TokenCache(tokensOf);
  function decorate(view) {
    const traceListing = view.state.field(traceListingField);
    const ranges = [];
    // The editor draws only the part of a long line that is in view, so one line can hold
    // several visible ranges: each colours the stretch of its tokens that lies inside it, which
    // keeps the marks in order and never marks a stretch twice.
    for (const { from, to } of view.visibleRanges) {
      for (let pos = from; pos <= to; ) {
        const line = view.state.doc.lineAt(pos);
        for (const token of cache.get(line.text, traceListing)) {
          const start = Math.max(line.from + token.from, from);
          const end = Math.min(line.from + token.to, to);
          if (start < end) {
            ranges.push(markOf(token.kind).range(start, end));
          }
        }
        pos = line.to + 1;
      }
    }
    return Decoration.set(ranges);
  }
  return ViewPlugin.fromClass(
    class {
      constructor(view) {
        this.decorations = decorate(view);
      }

      update(update) {
        const modeChanged =
          update.startState.field(traceListingField) !== update.state.field(traceListingField);
        if (update.docChanged || update.viewportChanged || modeChanged) {
          this.decorations = decorate(update.view);
        }
      }
    },
    { decorations: (plugin) => plugin.decorations },
  );
}
