// The exercise's pane beside the editor: its title and statement, 採点 and the verdict of every
// case, and the run of a case with its comparison once it ended. It shows the session's view of
// the exercise; every rule (what passed, what can run, what the texts say) is the core's.

/** Fills `element` with the blocks of a statement, as text: nothing in them becomes markup. */
export function showStatement(element, blocks) {
  element.replaceChildren();
  let list = null;
  for (const block of blocks) {
    const item = block.kind === 'bullet' || block.kind === 'numbered';
    const listTag = block.kind === 'bullet' ? 'UL' : 'OL';
    if (!item || list?.tagName !== listTag) {
      list = null;
    }
    let target;
    if (item) {
      if (!list) {
        list = document.createElement(listTag.toLowerCase());
        if (block.kind === 'numbered' && block.level !== 1) {
          list.start = block.level;
        }
        element.append(list);
      }
      target = document.createElement('li');
      list.append(target);
    } else {
      const tag =
        block.kind === 'heading'
          ? `h${Math.min(block.level + 2, 6)}`
          : block.kind === 'code'
            ? 'pre'
            : 'p';
      target = document.createElement(tag);
      if (block.kind === 'code') {
        target.className = 'gothic';
      }
      element.append(target);
    }
    for (const span of block.spans) {
      let node = document.createTextNode(span.text);
      if (span.code && block.kind !== 'code') {
        const code = document.createElement('code');
        code.append(node);
        node = code;
      }
      if (span.emphasis) {
        const em = document.createElement('em');
        em.append(node);
        node = em;
      }
      if (span.strong) {
        const strong = document.createElement('strong');
        strong.append(node);
        node = strong;
      }
      target.append(node);
    }
  }
}

/**
 * The name under which the starting program of exercise `name` is offered to the core, or ''
 * when the exercise has none: the caption a student sees for it.
 */
export function startProgramName(name, startProgram) {
  return startProgram ? `${name}/start.cas` : '';
}

export class ExercisePane {
  constructor(doc, mainWindow) {
    this.doc = doc;
    this.window = mainWindow;
    const byId = (id) => doc.getElementById(id);
    this.pane = byId('exercisePane');
    this.title = byId('exerciseTitle');
    this.statement = byId('exerciseStatement');
    this.checkButton = byId('exerciseCheck');
    this.closeButton = byId('exerciseClose');
    this.summary = byId('exerciseSummary');
    this.cases = byId('exerciseCases');
    this.caseDetails = byId('exerciseCaseDetails');
    this.runButton = byId('exerciseRunCase');
    this.run = byId('exerciseRun');
    this.runHeading = byId('exerciseRunHeading');
    this.runDetails = byId('exerciseRunDetails');
    /** The file menu's command that copies a link to the exercise. */
    this.linkItem = byId('mnuExerciseLink');
    /** The exercise shown, and the case chosen in the list (an index of `view.cases`). */
    this.view = null;
    this.shownRevision = -1;
    this.chosen = -1;

    this.checkButton.addEventListener('click', () =>
      this.window.run((w) => w.checkExercise(this.window.text())),
    );
    this.closeButton.addEventListener('click', () => this.window.run((w) => w.closeExercise()));
    this.runButton.addEventListener('click', () => this.runChosenCase());
    this.cases.addEventListener('keydown', (event) => this.onListKey(event));
  }

  /** Opens the exercise `name` (its test file's bytes, its starting program's if it has one). */
  open(name, tests, startProgram) {
    const startName = startProgramName(name, startProgram);
    this.window.run((w) => {
      if (startProgram) {
        w.offerFile(startName, startProgram);
      }
      w.openExercise(this.window.text(), name, tests, startName);
    });
  }

  runChosenCase() {
    const chosen = this.view?.cases[this.chosen];
    if (!chosen?.runnable) {
      return;
    }
    this.window.startCaseRun(chosen.index);
  }

  render(view) {
    if (view.revision === this.shownRevision) {
      return;
    }
    this.shownRevision = view.revision;
    const sameExercise = this.view?.open && view.open && this.view.name === view.name;
    this.view = view;
    this.pane.hidden = !view.open;
    this.linkItem.disabled = !view.open;
    if (!view.open) {
      return;
    }
    this.linkItem.firstElementChild.textContent = view.linkCommand;
    this.title.textContent = view.title;
    if (!sameExercise) {
      showStatement(this.statement, view.statement);
      this.chosen = -1;
    }
    this.checkButton.disabled = !view.checkEnabled;
    this.closeButton.disabled = !view.checkEnabled;
    this.summary.textContent = view.summary;

    // After a Check the first failing case is chosen, so that its details show at once.
    if (this.chosen < 0 || view.cases[this.chosen]?.passed) {
      const failing = view.cases.findIndex((c) => c.verdict !== '' && !c.passed);
      this.chosen = failing >= 0 ? failing : Math.max(this.chosen, 0);
    }
    this.cases.replaceChildren(
      ...view.cases.map((c, i) => {
        const item = this.doc.createElement('li');
        item.setAttribute('role', 'option');
        item.id = `exerciseCase-${i}`;
        item.dataset.verdict = c.verdict === '' ? 'none' : c.passed ? 'passed' : 'failed';
        const mark = c.verdict === '' ? '・' : c.passed ? '✔ ' : '✘ ';
        item.textContent = `${mark}${c.verdict === '' ? '' : `${c.verdict}  `}${c.name}`;
        item.setAttribute('aria-selected', String(i === this.chosen));
        item.addEventListener('click', () => this.choose(i));
        item.addEventListener('dblclick', () => this.runChosenCase());
        return item;
      }),
    );
    this.showChosen();

    const { run } = view;
    this.run.hidden = !run.shown;
    this.runHeading.textContent = run.heading;
    this.runHeading.dataset.verdict = !run.ended ? 'none' : run.passed ? 'passed' : 'failed';
    this.runDetails.textContent = [...run.given, ...run.details].join('\n');
  }

  choose(index) {
    this.chosen = index;
    for (const [i, item] of [...this.cases.children].entries()) {
      item.setAttribute('aria-selected', String(i === index));
    }
    this.showChosen();
  }

  showChosen() {
    const chosen = this.view.cases[this.chosen];
    this.cases.setAttribute('aria-activedescendant', chosen ? `exerciseCase-${this.chosen}` : '');
    this.caseDetails.textContent = chosen ? chosen.details.join('\n') : '';
    this.runButton.disabled = !chosen?.runnable;
  }

  /** The list takes the arrow keys and Enter, as a list box does. */
  onListKey(event) {
    const count = this.view?.cases.length ?? 0;
    if (event.key === 'ArrowDown' || event.key === 'ArrowUp') {
      event.preventDefault();
      const step = event.key === 'ArrowDown' ? 1 : -1;
      this.choose(Math.min(Math.max(this.chosen + step, 0), count - 1));
    } else if (event.key === 'Enter') {
      event.preventDefault();
      this.runChosenCase();
    }
  }
}
