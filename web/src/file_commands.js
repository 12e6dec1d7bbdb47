// The File menu and "上書き保存" in a browser: Open reads a file chosen with the browser's file
// picker, Save As and 上書き保存 hand the file to the browser as a download. The core reads and
// writes the bytes as the desktop does (CP932, or UTF-8 and UTF-16 as the file was read), and the
// save question comes where the desktop asks it. The program's text and its file's name are kept
// in the browser's local storage, so that a reload finds them again.
import { fileNameBox, messageBox } from './message_box.js';
import { applicationTitle, mainCaption } from './main_window.js';

const storageKey = 'casl2-workbench';
const writeFailure = 'ディスクに書き込めません';

/** A download of `bytes` named `name`. */
function download(bytes, name) {
  const url = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
  const link = document.createElement('a');
  link.href = url;
  link.download = name;
  link.hidden = true;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 60000);
}

export class FileCommands {
  constructor(window, fileInput) {
    this.window = window;
    this.fileInput = fileInput;
    /** The name the save dialog keeps between uses. */
    this.keptName = '';
    this.storage = null;
    try {
      this.storage = globalThis.localStorage ?? null;
    } catch {
      // Storage can be refused (private modes, policies): nothing is kept then.
    }
    fileInput.addEventListener('change', () => this.openChosenFile());
    window.onProgramChanged = () => this.keepProgram();
    addEventListener('beforeunload', (event) => {
      this.keepProgramNow();
      // Leaving with changes: the browser asks whether to leave, as the desktop asks to save.
      if (this.window.modified) {
        event.preventDefault();
        event.returnValue = '';
      }
    });
    addEventListener('pagehide', () => this.keepProgramNow());
  }

  get workbench() {
    return this.window.workbench;
  }

  setCaption() {
    const caption = `${mainCaption}   ${this.window.currentFileName}`;
    document.getElementById('Form1-caption').textContent = caption;
    document.title = caption;
  }

  /** Saves the editor's text to `name` (a download); on failure says why and returns false. */
  async writeEditorText(name, title) {
    const saved = this.workbench.saveSource(this.window.programText(), name);
    if (!saved.ok) {
      await messageBox({ text: `${writeFailure}\n\n${saved.message}`, title, buttons: 'ok' });
      return false;
    }
    download(saved.bytes, name);
    this.keptName = name;
    return true;
  }

  /** The save question; false only when the save was wanted and failed. */
  async askAndSave(failureTitle) {
    const answer = await messageBox({
      text: 'ソースプログラムを保存しますか?',
      title: '保存しますか?',
      buttons: 'yesNo',
    });
    if (answer !== 'yes') {
      return true;
    }
    const name = await fileNameBox(this.window.currentFileName);
    if (name === '') {
      return true;
    }
    return this.writeEditorText(name, failureTitle);
  }

  /** 新規作成. */
  async newFile() {
    const window = this.window;
    if (!this.workbench || window.traceActive) {
      return false;
    }
    // A failed save keeps the program: the user decides again.
    if (window.modified && !(await this.askAndSave(applicationTitle))) {
      return false;
    }
    window.currentFileName = '';
    window.mnuUwagaki.disabled = true;
    this.setCaption();
    window.setEditorTextByProgram('');
    this.workbench.newSource();
    window.enterEditing();
    window.showBreakpoint(this.workbench.clearBreakpoint());
    this.keepProgramNow();
    return true;
  }

  /** 開く: the browser's file picker; the file is read once it is chosen. */
  openFile() {
    if (!this.workbench || this.window.traceActive) {
      return;
    }
    this.fileInput.value = '';
    this.fileInput.click();
  }

  async openChosenFile() {
    const file = this.fileInput.files?.[0];
    if (!file || !this.workbench || this.window.traceActive) {
      return;
    }
    const bytes = new Uint8Array(await file.arrayBuffer());
    const opened = this.workbench.openSource(bytes, file.name);
    if (!opened.ok) {
      await messageBox({ text: opened.message, title: applicationTitle, buttons: 'ok' });
      return;
    }
    const window = this.window;
    window.setEditorTextByProgram(opened.text);
    this.keptName = file.name;
    window.currentFileName = file.name;
    window.mnuUwagaki.disabled = false;
    this.setCaption();
    window.enterEditing();
    window.showBreakpoint(this.workbench.clearBreakpoint());
    this.keepProgramNow();
  }

  /** 名前を付けて保存. */
  async saveAs() {
    if (!this.workbench || this.window.traceActive) {
      return;
    }
    const name = await fileNameBox(this.keptName);
    if (name === '' || !(await this.writeEditorText(name, applicationTitle))) {
      return;
    }
    this.window.currentFileName = name;
    this.window.mnuUwagaki.disabled = false;
    this.setCaption();
    this.keepProgramNow();
  }

  /** 上書き保存: the file again, under its name. */
  async overwriteSave() {
    const window = this.window;
    if (!this.workbench || window.traceActive || window.currentFileName === '') {
      return;
    }
    if (await this.writeEditorText(window.currentFileName, applicationTitle)) {
      window.modified = false;
      this.keepProgramNow();
    }
  }

  /** Opens an example program (bytes of the file `name`) as a new program without a name. */
  async openExample(bytes, name) {
    if (!this.workbench || this.window.traceActive) {
      return;
    }
    const example = this.workbench.readExample(bytes, name);
    if (!example.ok) {
      await messageBox({ text: example.message, title: applicationTitle, buttons: 'ok' });
      return;
    }
    // New keeps the program when the save it asked for failed; the example must not replace it.
    if (!(await this.newFile())) {
      return;
    }
    this.window.setEditorTextByProgram(example.text);
  }

  // What survives a reload.

  keepProgram() {
    clearTimeout(this.keepTimer);
    this.keepTimer = setTimeout(() => this.keepProgramNow(), 300);
  }

  keepProgramNow() {
    clearTimeout(this.keepTimer);
    if (!this.storage) {
      return;
    }
    const kept = {
      text: this.window.programText(),
      fileName: this.window.currentFileName,
      format: this.workbench?.fileFormat() ?? this.restoredFormat ?? '',
      modified: this.window.modified,
    };
    try {
      this.storage.setItem(storageKey, JSON.stringify(kept));
    } catch {
      // A full or refused storage keeps the last text it took.
    }
  }

  /** Puts the program of the last visit back into the editor (before the core is loaded). */
  restoreProgram() {
    let kept = null;
    try {
      kept = JSON.parse(this.storage?.getItem(storageKey) ?? 'null');
    } catch {
      kept = null;
    }
    if (!kept || typeof kept.text !== 'string') {
      return;
    }
    const window = this.window;
    window.setEditorTextByProgram(kept.text);
    window.currentFileName = typeof kept.fileName === 'string' ? kept.fileName : '';
    window.mnuUwagaki.disabled = window.currentFileName === '';
    if (window.currentFileName !== '') {
      this.keptName = window.currentFileName;
      this.setCaption();
    }
    window.modified = kept.modified === true;
    this.restoredFormat = typeof kept.format === 'string' ? kept.format : '';
  }

  /** The core is loaded: the restored file's format goes to it. */
  attach() {
    if (this.restoredFormat) {
      this.workbench.setFileFormat(this.restoredFormat);
    }
  }
}
