// The page: the main window, the listing window, the menus and their commands, wired together
// around the core once it is loaded.
import { Announcer } from './announcer.js';
import { loadWorkbench } from './core.js';
import {
  copySelection,
  cutSelection,
  lowerCaseSelection,
  pasteClipboard,
  selectAll,
  undoEdit,
} from './edit_commands.js';
import { FileCommands } from './file_commands.js';
import { ExercisePane } from './exercise_pane.js';
import { ExplainPane } from './explain_pane.js';
import { ListingWindow } from './listing_window.js';
import { MainWindow } from './main_window.js';
import { MenuBar } from './menu_bar.js';
import { messageBox } from './message_box.js';
import { workOffline } from './offline.js';
import { SharedLinks } from './shared_link.js';
import { installWindowKeys } from './window_keys.js';
import { caretLine, createSourceEditor, setEditorText } from './source_editor.js';
import { setUpperCasing } from './upper_case.js';

let window1 = null;
const editor = createSourceEditor(document.getElementById('source'), {
  onKeyDown: () => window1?.onEditorKeyDown(),
  onLineClick: (line) => window1?.onEditorLineClick(line),
  onChange: (byUser) => window1?.onEditorChanged(byUser),
});
const listingWindow = new ListingWindow(document.getElementById('Form2'), {
  onBack: () => editor.focus(),
  onLineActivated: (line) => window1?.showListingLine(line),
});
window1 = new MainWindow(document, editor, listingWindow);
// The explanation follows every rendering of the main window.
const explainPane = new ExplainPane(document, window1);
const renderMainWindow = window1.render.bind(window1);
window1.render = () => {
  renderMainWindow();
  explainPane.render();
};
const files = new FileCommands(window1, document.getElementById('CommonDialog2'));
const exercisePane = new ExercisePane(document, window1);
window1.exercisePane = exercisePane;
files.restoreProgram((text) => setEditorText(editor, text));
const announcer = new Announcer(document);
window1.announce = (text) => announcer.say(text);
const linkStatus = document.getElementById('linkStatus');
/** The shipped exercises once their menu is filled (name, tests, start, folder). */
let exercisesListed = Promise.resolve([]);
const links = new SharedLinks(window1, {
  findExercise: async (name) => {
    const found = (await exercisesListed).find((exercise) => exercise.name === name);
    if (!found) {
      return null;
    }
    const startProgram = found.start ? await bytesOf(`${found.folder}/start.cas`) : null;
    return { tests: found.tests, startProgram };
  },
  onCopied: () => {
    linkStatus.textContent = 'リンクをコピーしました';
    clearTimeout(linkStatus.timer);
    linkStatus.timer = setTimeout(() => {
      linkStatus.textContent = '';
    }, 5000);
  },
});
addEventListener('hashchange', () => links.openFromAddress());

const menus = new MenuBar(document.getElementById('menubar'));
menus.on('mnuSinki', () => files.newFile());
menus.on('mnuOPEN', () => files.openFile());
menus.on('mnuSAVE', () => files.saveAs());
menus.on('mnuLink', () => links.copyLink());
menus.on('mnuExerciseLink', () => links.copyExerciseLink());
menus.on('mnuUwagaki', () => files.overwriteSave());
menus.on('mnuEditUndo', () => undoEdit(editor));
menus.on('mnuCOPY', () => copySelection(editor));
menus.on('mnuCUT', () => cutSelection(editor));
menus.on('mnuPASTE', () => pasteClipboard(editor));
menus.on('mnuEditSelectAll', () => selectAll(editor));
menus.on('mnuKomoji', () => lowerCaseSelection(editor));

function showHelpContents() {
  window.open('help/index.html', 'varnic-help');
}
menus.on('mnuMokuji', showHelpContents);

const about = document.getElementById('frmAbout');
menus.on('mnuVer', () => {
  if (!about.open) {
    // Shown without blocking the main window.
    about.show();
  }
  about.querySelector('#cmdOK').focus();
});
about.querySelector('#cmdSysInfo').addEventListener('click', () =>
  messageBox({
    text: '現時点ではｼｽﾃﾑ情報を使用できません',
    title: 'Varnic',
    buttons: 'ok',
  }),
);

// The shortcuts that a browser lets a page have (Ctrl+N opens a browser window instead).
document.addEventListener('keydown', (event) => {
  if (event.key === 'F1') {
    event.preventDefault();
    showHelpContents();
  } else if (event.ctrlKey && !event.altKey && !event.shiftKey && event.key.toLowerCase() === 'o') {
    event.preventDefault();
    if (!document.getElementById('mnuFILE').disabled) {
      files.openFile();
    }
  }
});

installWindowKeys(document, document.getElementById('source'), {
  commandOf: (event, afterEscape) =>
    window1.workbench?.editorKeyCommand(
      event.key,
      event.shiftKey,
      event.ctrlKey || event.altKey || event.metaKey,
      afterEscape,
    ) ?? 'type',
  onBreakpointKey: () => window1.onEditorLineClick(caretLine(editor)),
});

/** The example programs with their captions, from the session's catalogue. */
async function fillExamplesMenu(workbench) {
  const menu = document.getElementById('examplesMenu');
  const response = await fetch('examples/index.json').catch(() => null);
  const names = response?.ok ? await response.json() : [];
  const examples = await Promise.all(
    names.map(async (name) => {
      const file = await fetch(`examples/${encodeURIComponent(name)}`).catch(() => null);
      return { name, bytes: file?.ok ? new Uint8Array(await file.arrayBuffer()) : null };
    }),
  );
  for (const { name, bytes } of examples.filter((example) => example.bytes)) {
    const item = document.createElement('button');
    item.type = 'button';
    item.setAttribute('role', 'menuitem');
    item.textContent = workbench.exampleCaption(name, bytes);
    item.addEventListener('click', () => files.openExample(bytes, name));
    menu.append(item);
  }
  window1.hasExamples = menu.childElementCount > 0;
  window1.render();
}

/** The bytes of the page's file at `url`, or null. */
async function bytesOf(url) {
  const file = await fetch(url).catch(() => null);
  return file?.ok ? new Uint8Array(await file.arrayBuffer()) : null;
}

/** The shipped exercises, titled by their test files, from the session's catalogue. */
async function fillExercisesMenu(workbench) {
  const menu = document.getElementById('exercisesMenu');
  const response = await fetch('exercises/index.json').catch(() => null);
  const entries = response?.ok ? await response.json() : [];
  const exercises = await Promise.all(
    entries.map(async ({ name, start }) => {
      const folder = `exercises/${encodeURIComponent(name)}`;
      return { name, start, tests: await bytesOf(`${folder}/tests.toml`), folder };
    }),
  );
  const shipped = exercises.filter((exercise) => exercise.tests);
  for (const { name, start, tests, folder } of shipped) {
    const item = document.createElement('button');
    item.type = 'button';
    item.setAttribute('role', 'menuitem');
    item.textContent = workbench.exerciseTitle(name, tests);
    item.addEventListener('click', async () => {
      const startProgram = start ? await bytesOf(`${folder}/start.cas`) : null;
      exercisePane.open(name, tests, startProgram);
    });
    menu.append(item);
  }
  window1.hasExercises = menu.childElementCount > 0;
  window1.render();
  return shipped;
}

const status = document.getElementById('core-status');
loadWorkbench().then(
  (workbench) => {
    setUpperCasing((typed) => workbench.upperCased(typed));
    files.attach(workbench);
    window1.attach(workbench);
    fillExamplesMenu(workbench);
    exercisesListed = fillExercisesMenu(workbench);
    links.openFromAddress();
  },
  (error) => {
    status.textContent = `The assembler could not be loaded: ${error}`;
  },
);
editor.focus();
workOffline();
