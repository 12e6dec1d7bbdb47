// The main window (`Form1`) as a view of the core's working session: every command goes to the
// session, and the window shows what the session's view holds after it. The session decides
// what is enabled, what the captions say, what changed and which box is open; this file only
// draws it and shows the boxes.
import { fileNameBox, inputBox, messageBox } from './message_box.js';
import {
  colourWith,
  editorText,
  errorLinesEffect,
  executedLineEffects,
  moveCaretToLine,
  setEditorText,
  setTracing,
  showBreakpoint,
} from './source_editor.js';
import { TraceDisplays } from './trace_displays.js';

export class MainWindow {
  constructor(doc, editor, listingWindow) {
    this.doc = doc;
    this.editor = editor;
    this.listingWindow = listingWindow;
    this.workbench = null;
    this.displays = new TraceDisplays(doc);
    const byId = (id) => doc.getElementById(id);
    this.assembleButton = byId('Assemble');
    this.traceButton = byId('Trace');
    this.command1 = byId('Command1');
    this.command2 = byId('Command2');
    this.stepBackButton = byId('stepBack');
    this.command4 = byId('Command4');
    this.check1 = byId('Check1');
    this.label5 = byId('Label5');
    this.label6 = byId('Label6');
    this.label7 = byId('Label7');
    this.text1 = byId('Text1');
    this.text2 = byId('Text2');
    this.label4 = [byId('Label4-0'), byId('Label4-1')];
    this.mnuFILE = byId('mnuFILE');
    this.mnuUwagaki = byId('mnuUwagaki');
    this.examplesButton = byId('examplesButton');
    this.exercisesButton = byId('exercisesButton');

    /** The view the window shows (the session's, as the page's binding gives it). */
    this.view = null;
    /** The revisions of the session's editor text, listing and displays that are shown. */
    this.shown = { editor: 0, listing: 0, displays: 0 };
    /** The program's own text while a run shows the listing in the editor. */
    this.tracedProgramText = '';
    /** Whether a box is open on the screen. */
    this.boxOpen = false;
    /** Whether the examples menu has programs in it, and the exercises menu exercises. */
    this.hasExamples = false;
    this.hasExercises = false;
    /** The exercise's pane, which shows the session's exercise after every command. */
    this.exercisePane = null;
    /** Asks for a file with the browser's file picker: resolves with a File, or null. */
    this.pickFile = async () => null;
    /** Hands a file that a save wrote to the browser. */
    this.download = () => {};
    /** Says a run's announcement to a screen reader. */
    this.announce = () => {};
    /** Told after every command (to keep the program for a reload). */
    this.onRendered = () => {};

    this.assembleButton.addEventListener('click', () => this.assembleProgram());
    this.traceButton.addEventListener('click', () => this.startTrace());
    this.command1.addEventListener('click', () => this.run((w) => w.next()));
    this.command2.addEventListener('click', () => this.run((w) => w.end()));
    this.stepBackButton.addEventListener('click', () => this.run((w) => w.stepBack()));
    this.command4.addEventListener('click', () => this.run((w) => w.clearBreakpoint()));
    this.check1.addEventListener('change', () =>
      this.workbench?.setSimpleDisplay(this.check1.checked),
    );
    // Before the editor: its own keys must not take Enter and Backspace from the run.
    doc.addEventListener('keydown', (event) => this.onWindowKey(event), true);
  }

  /** The core is loaded: the commands that need it come alive. */
  attach(workbench) {
    this.workbench = workbench;
    colourWith(this.editor, (line, traceListing) => workbench.lineTokens(line, traceListing));
    this.render();
  }

  /** Runs `command` on the session (unless a box is open) and shows what follows. */
  run(command) {
    if (!this.workbench || this.boxOpen) {
      return;
    }
    command(this.workbench);
    this.render();
  }

  /** The program's text in the editor, which the commands that read it take. */
  text() {
    return editorText(this.editor);
  }

  /** The program's own text: the editor's, or during a run the text the run started with. */
  programText() {
    return this.view?.phase === 'tracing' ? this.tracedProgramText : this.text();
  }

  // The commands of the editor and the buttons.

  onEditorKeyDown() {
    this.run((w) => w.editorKeyDown());
  }

  onEditorChanged(byUser) {
    if (byUser) {
      this.run((w) => w.editorTextChanged(true));
    } else {
      this.workbench?.editorTextChanged(false);
    }
  }

  /** A click into the editor's text or beside one of its lines. */
  onEditorLineClick(line) {
    this.run((w) => w.clickLine(line));
  }

  assembleProgram() {
    this.run((w) => w.assemble(this.text()));
  }

  startTrace() {
    this.tracedProgramText = this.text();
    this.run((w) => w.startTrace(this.tracedProgramText));
    if (this.view?.phase === 'tracing') {
      this.command1.focus();
    }
  }

  /** Starts Trace with the case `index` of the open exercise. */
  startCaseRun(index) {
    this.tracedProgramText = this.text();
    this.run((w) => w.startCaseRun(this.tracedProgramText, index));
    if (this.view?.phase === 'tracing') {
      this.command1.focus();
    }
  }

  /** A line of the listing window was picked: the caret goes to its source line. */
  showListingLine(listingLine) {
    const line = this.workbench?.editorLineOfListingLine(listingLine) ?? 0;
    if (line > 0) {
      moveCaretToLine(this.editor, line);
      this.listingWindow.sendBehind();
      this.editor.focus();
    }
  }

  // What the session shows.

  render() {
    if (!this.workbench) {
      return;
    }
    const view = this.workbench.view();
    this.view = view;
    this.renderEditor(view);
    this.renderControls(view);
    if (view.displaysRevision !== this.shown.displays) {
      this.shown.displays = view.displaysRevision;
      this.displays.show(view.displays, view.changes);
      this.announce(view.announcement);
    }
    if (view.listing.revision !== this.shown.listing) {
      this.shown.listing = view.listing.revision;
      this.listingWindow.showAssembly(view.listing);
    }
    const download = this.workbench.takeDownload();
    if (download) {
      this.download(download.bytes, download.name);
    }
    this.onRendered(view);
    this.exercisePane?.render(this.workbench.exercise());
    if (view.box.kind !== '' && !this.boxOpen) {
      this.openBox(view.box);
    }
  }

  renderEditor(view) {
    const { editor } = view;
    if (editor.locked !== this.editorLocked) {
      this.editorLocked = editor.locked;
      setTracing(this.editor, editor.locked);
    }
    if (editor.revision !== this.shown.editor) {
      this.shown.editor = editor.revision;
      const effects = editor.locked
        ? executedLineEffects(this.editor, editor.text, editor.executedLine)
        : [
            errorLinesEffect(
              new Map(
                editor.findings
                  .filter((finding) => finding.sourceLine >= 1)
                  .map((finding) => [finding.sourceLine, finding.messages]),
              ),
            ),
          ];
      setEditorText(this.editor, editor.text, effects);
    }
  }

  renderControls(view) {
    this.doc.getElementById('Form1-caption').textContent = view.windowCaption;
    this.doc.title = view.windowCaption;
    this.assembleButton.disabled = !view.assembleEnabled;
    this.traceButton.disabled = !view.traceEnabled;
    this.traceButton.title = view.traceDisabledReason;
    const runButtons = [this.command1, this.command2, this.stepBackButton];
    const focused = this.doc.activeElement;
    const focusLost =
      !view.runButtonsShown && (focused === this.doc.body || runButtons.includes(focused));
    for (const button of runButtons) {
      button.hidden = !view.runButtonsShown;
    }
    this.command1.disabled = !view.nextEnabled;
    this.command2.disabled = !view.endEnabled;
    this.stepBackButton.disabled = !view.stepBackEnabled;
    this.stepBackButton.title = view.stepBackTip;
    // The run's buttons went away: their focus goes to Trace, which starts the next run.
    if (focusLost && this.wasTracing) {
      this.traceButton.focus();
    }
    this.wasTracing = view.runButtonsShown;
    this.command4.disabled = !view.clearEnabled;
    for (const label of [this.label5, this.label6, this.label7]) {
      label.hidden = !view.breakpointShown;
    }
    this.label6.textContent = view.breakpointCaption;
    showBreakpoint(this.editor, view.breakpointMark);
    this.mnuFILE.disabled = !view.fileMenuEnabled;
    this.examplesButton.disabled = !view.fileMenuEnabled || !this.hasExamples;
    this.exercisesButton.disabled = !view.fileMenuEnabled || !this.hasExercises;
    this.mnuUwagaki.disabled = !view.overwriteSaveEnabled;
    for (const element of [this.text1, this.text2, ...this.label4]) {
      element.hidden = !view.dumpsShown;
    }
  }

  /** While a box is open the main window waits on its answer. */
  setBoxOpen(open) {
    this.boxOpen = open;
    this.doc.getElementById('Form1').setAttribute('aria-busy', String(open));
  }

  async openBox(box) {
    this.setBoxOpen(true);
    const answer = await this.askBox(box);
    this.setBoxOpen(false);
    const running = this.view.phase === 'tracing';
    this.run((w) => w.answer(answer));
    if (this.view.phase === 'tracing') {
      if (running) {
        this.command1.focus();
      }
    } else if (box.purpose === 'run') {
      // The box was the last of a run (one that may have started and ended within one
      // command, never showing its buttons): the focus goes to Trace, which starts the next.
      this.traceButton.focus();
    }
  }

  /** Shows `box` as its kind says and resolves with the answer for the session. */
  async askBox(box) {
    switch (box.kind) {
      case 'input': {
        const text = await inputBox({
          prompt: box.text,
          title: box.title,
          defaultText: box.defaultText,
          leftTwips: box.leftTwips,
          topTwips: box.topTwips,
        });
        return { button: 'ok', input: text ?? '', cancelled: text === null };
      }
      case 'saveName': {
        const name = await fileNameBox(box.defaultText);
        return { button: 'ok', input: name, cancelled: name === '' };
      }
      case 'openName': {
        const file = await this.pickFile();
        if (!file) {
          return { button: 'ok', input: '', cancelled: true };
        }
        this.workbench.offerFile(file.name, new Uint8Array(await file.arrayBuffer()));
        return { button: 'ok', input: file.name, cancelled: false };
      }
      default: {
        const button = await messageBox({
          text: box.text,
          title: box.title,
          buttons: box.buttons,
          defaultButton: box.defaultButton,
        });
        return { button, input: '', cancelled: false };
      }
    }
  }

  /**
   * Enter presses Next during a run (a focused button takes it itself); Backspace is 戻る. The
   * listing window and the boxes keep their own keys.
   */
  onWindowKey(event) {
    const target = event.target;
    const inMainWindow = target === this.doc.body || target.closest?.('#Form1, #menubar');
    if (!this.workbench || this.boxOpen || !inMainWindow || event.altKey || event.ctrlKey) {
      return;
    }
    const command = this.workbench.keyCommand(event.key, target instanceof HTMLButtonElement);
    if (command === 'next' || command === 'stepBack') {
      event.preventDefault();
      event.stopPropagation();
      this.run((w) => (command === 'next' ? w.next() : w.stepBack()));
    }
  }
}
