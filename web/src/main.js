import { loadWorkbench } from './core.js';
import { ListingWindow } from './listing_window.js';
import { createSourceEditor, editorText, setEditorText } from './source_editor.js';

const editor = createSourceEditor(document.getElementById('source'));
const listingWindow = new ListingWindow(document.getElementById('Form2'));
const assembleButton = document.getElementById('Assemble');
const status = document.getElementById('core-status');

function assembleProgram(workbench) {
  const assembly = workbench.assemble(editorText(editor));
  if (assembly.blank) {
    return;
  }
  setEditorText(editor, assembly.editorText);
  listingWindow.showAssembly(assembly);
}

loadWorkbench().then(
  (workbench) => {
    assembleButton.addEventListener('click', () => assembleProgram(workbench));
    assembleButton.disabled = false;
  },
  (error) => {
    status.textContent = `The assembler could not be loaded: ${error}`;
  },
);
editor.focus();
