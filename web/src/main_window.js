// The main window (`Form1`): the enable protocol between editing, assembling and tracing, the
// commands of its buttons, the trace run and its boxes. The core's Workbench keeps the program
// tables, the machine, the breakpoint and the run; this file keeps what the window itself shows.
import { inputBox, messageBox } from './message_box.js';
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

/** The window's title before a file was named, and the start of it after. */
export const mainCaption = 'RuzidOV & OzerAR Orozaraz';
/** The title of a message box that has none of its own. */
export const applicationTitle = 'Varnic';

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

    /** The window-level marks. */
    this.modified = false;
    this.traceActive = false;
    this.currentFileName = '';
    /** The program's own text while the editor shows the trace listing. */
    this.savedProgramText = '';
    /** Whether a box of the run is open. */
    this.boxOpen = false;
    /** Told when the program's text or the file's name changed (to keep them for a reload). */
    this.onProgramChanged = () => {};

    this.assembleButton.addEventListener('click', () => this.assembleProgram());
    this.traceButton.addEventListener('click', () => this.startTrace());
    this.command1.addEventListener('click', () => this.nextStep());
    this.command2.addEventListener('click', () => this.endStep());
    this.stepBackButton.addEventListener('click', () => this.stepBack());
    this.command4.addEventListener('click', () => this.clearBreakpoint());
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
    this.displays.show(workbench.trace().displays, null);
    this.assembleButton.disabled = false;
  }

  // The enable protocol.

  enterEditing() {
    this.traceButton.disabled = true;
    this.label5.hidden = true;
    this.label6.hidden = true;
    this.label7.hidden = true;
    this.command4.disabled = true;
  }

  enterAssembled() {
    this.traceButton.disabled = false;
    this.label5.hidden = false;
    this.label6.hidden = false;
    this.label7.hidden = false;
    this.command4.disabled = false;
  }

  /** A key went down in the editor: the tables may no longer describe its program. */
  onEditorKeyDown() {
    // The locked editor of a run changes nothing, so a key there keeps the trace controls.
    if (!this.traceActive) {
      this.enterEditing();
    }
  }

  onEditorChanged(byUser) {
    this.modified = true;
    if (byUser && !this.traceActive) {
      this.enterEditing();
    }
    if (!this.traceActive) {
      this.onProgramChanged();
    }
  }

  /** Replaces the editor's text as the program does it; `effects` mark the new text. */
  setEditorTextByProgram(text, effects = []) {
    setEditorText(this.editor, text, effects);
  }

  // The breakpoint.

  showBreakpoint(breakpoint) {
    this.label6.textContent = breakpoint.caption;
    showBreakpoint(this.editor, breakpoint.line);
  }

  /** A click into the editor's text or beside one of its lines. */
  onEditorLineClick(line) {
    if (!this.workbench) {
      return;
    }
    this.showBreakpoint(this.workbench.clickLine(line, !this.traceButton.disabled));
  }

  clearBreakpoint() {
    if (this.workbench) {
      this.showBreakpoint(this.workbench.clearBreakpoint());
    }
  }

  // Assemble.

  assembleProgram() {
    if (!this.workbench || this.traceActive || this.assembleButton.disabled) {
      return;
    }
    const assembly = this.workbench.assemble(editorText(this.editor));
    if (assembly.blank) {
      return;
    }
    const errors = new Map(
      assembly.findings
        .filter((finding) => finding.sourceLine >= 1)
        .map((finding) => [finding.sourceLine, finding.messages]),
    );
    this.setEditorTextByProgram(assembly.editorText, [errorLinesEffect(errors)]);
    this.listingWindow.showAssembly(assembly);
    if (assembly.success) {
      this.enterAssembled();
      this.label6.textContent = assembly.breakpointCaption;
    } else {
      this.enterEditing();
    }
    // The listing passes through the data dump's box, which keeps it when no listing window
    // shows it (a clean one-line program).
    this.displays.setDataAreaText(assembly.listingText);
    if (assembly.showListing) {
      this.displays.clearDumps();
    }
  }

  /** A line of the listing window was picked: the caret goes to its source line. */
  showListingLine(listingLine) {
    const line = this.workbench?.editorLineOfListingLine(listingLine, this.traceActive) ?? 0;
    if (line > 0) {
      moveCaretToLine(this.editor, line);
      this.listingWindow.sendBehind();
      this.editor.focus();
    }
  }

  // The trace.

  setFileMenuEnabled(enabled) {
    this.mnuFILE.disabled = !enabled;
    this.examplesButton.disabled = !enabled;
  }

  startTrace() {
    if (!this.workbench || this.traceActive || this.traceButton.disabled) {
      return;
    }
    this.setFileMenuEnabled(false);
    this.mnuUwagaki.disabled = true;
    this.traceActive = true;
    this.assembleButton.disabled = true;
    this.traceButton.disabled = true;
    for (const button of [this.command1, this.command2, this.stepBackButton]) {
      button.hidden = false;
    }
    this.command1.disabled = false;
    this.command2.disabled = false;
    setTracing(this.editor, true);
    for (const element of [this.text1, this.text2, ...this.label4]) {
      element.hidden = false;
    }
    this.savedProgramText = editorText(this.editor);
    this.onProgramChanged();
    this.command1.focus();
    this.showTrace(this.workbench.startTrace(this.check1.checked));
  }

  nextStep() {
    if (this.traceActive && !this.boxOpen) {
      this.showTrace(this.workbench.next());
    }
  }

  endStep() {
    if (this.traceActive && !this.boxOpen) {
      this.showTrace(this.workbench.end());
    }
  }

  stepBack() {
    if (this.traceActive && !this.boxOpen && !this.stepBackButton.disabled) {
      this.showTrace(this.workbench.back());
    }
  }

  /** Shows where the run stands: its displays, then its box or its end. */
  showTrace(trace) {
    const { displays } = trace;
    this.displays.show(displays, trace.changes);
    if (displays.listing !== '') {
      this.setEditorTextByProgram(
        displays.listing,
        executedLineEffects(this.editor, displays.listing, displays.markedLine),
      );
    }
    this.label6.textContent = trace.breakpointCaption;
    const waiting = trace.state === 'waiting';
    this.stepBackButton.disabled = !waiting || trace.stepsBack === 0;
    this.stepBackButton.title = trace.historyDropped
      ? '古いステップは記録の上限を超えたため、そこまでは戻れません'
      : '1ステップ戻る (Backspace)';
    if (trace.state === 'asking') {
      this.openRunBox(trace.box);
    } else if (trace.state === 'ended') {
      this.endTrace();
    }
  }

  /** While a box of the run is open the main window waits on its answer. */
  setBoxOpen(open) {
    this.boxOpen = open;
    this.doc.getElementById('Form1').setAttribute('aria-busy', String(open));
  }

  async openRunBox(box) {
    this.setBoxOpen(true);
    let answer;
    if (box.kind === 'input') {
      const text = await inputBox({
        prompt: box.text,
        title: box.title,
        defaultText: box.defaultText,
        leftTwips: box.leftTwips,
        topTwips: box.topTwips,
      });
      answer = { button: 'ok', input: text ?? '', cancelled: text === null };
    } else {
      const button = await messageBox({ text: box.text, title: box.title, buttons: box.buttons });
      answer = { button, input: '', cancelled: false };
    }
    this.setBoxOpen(false);
    this.showTrace(this.workbench.answer(answer));
    if (this.traceActive) {
      this.command1.focus();
    }
  }

  endTrace() {
    const focused = this.doc.activeElement;
    const focusLost =
      focused === this.doc.body ||
      [this.command1, this.command2, this.stepBackButton].includes(focused);
    for (const button of [this.command1, this.command2, this.stepBackButton]) {
      button.hidden = true;
      button.disabled = true;
    }
    this.assembleButton.disabled = false;
    this.traceButton.disabled = false;
    // The run's buttons go away: their focus goes to Trace, which starts the next run.
    if (focusLost) {
      this.traceButton.focus();
    }
    setTracing(this.editor, false);
    this.setFileMenuEnabled(true);
    // Overwrite-save needs a file to write to.
    this.mnuUwagaki.disabled = this.currentFileName === '';
    this.traceActive = false;
    this.setEditorTextByProgram(this.savedProgramText);
    this.savedProgramText = '';
    this.onProgramChanged();
  }

  /** The program's own text: the editor's, or during a trace the text the run put aside. */
  programText() {
    return this.traceActive ? this.savedProgramText : editorText(this.editor);
  }

  /**
   * Enter presses Next during a run (a focused button takes it itself); Backspace is 戻る. The
   * listing window and the boxes keep their own keys.
   */
  onWindowKey(event) {
    const target = event.target;
    const inMainWindow = target === this.doc.body || target.closest?.('#Form1, #menubar');
    if (!this.traceActive || this.boxOpen || !inMainWindow || event.altKey || event.ctrlKey) {
      return;
    }
    if (event.key === 'Enter' && !(target instanceof HTMLButtonElement)) {
      event.preventDefault();
      event.stopPropagation();
      this.nextStep();
    } else if (event.key === 'Backspace') {
      event.preventDefault();
      event.stopPropagation();
      this.stepBack();
    }
  }
}
