// The File menu and "上書き保存" in a browser. The session decides each command and its save
// question; the page gives it files through the browser's file picker and hands what it saves to
// the browser as a download. The program's text, its file's name and format and the modified
// mark are kept in the browser's local storage, so that a reload finds them again.

const storageKey = 'casl2-workbench';

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
    this.storage = null;
    try {
      this.storage = globalThis.localStorage ?? null;
    } catch {
      // Storage can be refused (private modes, policies): nothing is kept then.
    }
    window.pickFile = () => this.pickFile();
    window.download = download;
    window.onRendered = () => this.keepProgram();
    addEventListener('beforeunload', (event) => {
      this.keepProgramNow();
      // Leaving with changes: the browser asks whether to leave, as the desktop asks to save.
      if (this.window.view?.modified) {
        event.preventDefault();
        event.returnValue = '';
      }
    });
    addEventListener('pagehide', () => this.keepProgramNow());
  }

  newFile() {
    this.window.run((w) => w.newFile(this.window.text()));
  }

  openFile() {
    this.window.run((w) => w.openFile(this.window.text()));
  }

  saveAs() {
    this.window.run((w) => w.saveAs(this.window.text()));
  }

  overwriteSave() {
    this.window.run((w) => w.overwriteSave(this.window.text()));
  }

  /** Opens an example program (bytes of the file `name`) as a new program without a name. */
  openExample(bytes, name) {
    this.window.run((w) => {
      w.offerFile(name, bytes);
      w.openExample(this.window.text(), name);
    });
  }

  /** The browser's file picker: resolves with the chosen File, or null when it was cancelled. */
  pickFile() {
    const input = this.fileInput;
    input.value = '';
    return new Promise((resolve) => {
      const done = (file) => {
        input.removeEventListener('change', changed);
        input.removeEventListener('cancel', cancelled);
        resolve(file);
      };
      const changed = () => done(input.files?.[0] ?? null);
      const cancelled = () => done(null);
      input.addEventListener('change', changed);
      input.addEventListener('cancel', cancelled);
      input.click();
    });
  }

  // What survives a reload.

  keepProgram() {
    clearTimeout(this.keepTimer);
    this.keepTimer = setTimeout(() => this.keepProgramNow(), 300);
  }

  keepProgramNow() {
    clearTimeout(this.keepTimer);
    const view = this.window.view;
    if (!this.storage || !view) {
      return;
    }
    const kept = {
      text: this.window.programText(),
      fileName: view.fileName,
      format: this.window.workbench.fileFormat(),
      modified: view.modified,
    };
    try {
      this.storage.setItem(storageKey, JSON.stringify(kept));
    } catch {
      // A full or refused storage keeps the last text it took.
    }
  }

  /** The program of the last visit, put back into the editor before the core is loaded. */
  restoreProgram(setText) {
    let kept = null;
    try {
      kept = JSON.parse(this.storage?.getItem(storageKey) ?? 'null');
    } catch {
      kept = null;
    }
    if (!kept || typeof kept.text !== 'string') {
      return;
    }
    setText(kept.text);
    this.restored = {
      fileName: typeof kept.fileName === 'string' ? kept.fileName : '',
      format: typeof kept.format === 'string' ? kept.format : '',
      modified: kept.modified === true,
    };
  }

  /** The core is loaded: the restored file's name, format and mark go to the session. */
  attach(workbench) {
    if (this.restored) {
      const { fileName, format, modified } = this.restored;
      workbench.restoreFile(fileName, format, modified);
    }
  }
}
