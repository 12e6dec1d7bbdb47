// The Edit menu and "小文字変換" on the source editor. Typed keys go to the editor itself
// (Ctrl+Z, Ctrl+C, …); the menu items do the same through the browser's clipboard.
import { selectAll as selectAllCommand, undo } from '@codemirror/commands';
import { isLocked, replaceSelection, selectedText } from './source_editor.js';

export function undoEdit(view) {
  if (!isLocked(view)) {
    undo(view);
  }
  view.focus();
}

export async function copySelection(view) {
  const text = selectedText(view);
  if (text !== '') {
    await navigator.clipboard?.writeText(text).catch(() => {});
  }
  view.focus();
}

export async function cutSelection(view) {
  const text = selectedText(view);
  if (!isLocked(view) && text !== '') {
    await navigator.clipboard?.writeText(text).catch(() => {});
    replaceSelection(view, '');
  }
  view.focus();
}

/** Pastes the clipboard's text; lines ending with CR LF or CR become the editor's lines. */
export async function pasteClipboard(view) {
  if (isLocked(view)) {
    return;
  }
  const text = await navigator.clipboard?.readText().catch(() => null);
  if (typeof text === 'string' && (text !== '' || selectedText(view) !== '')) {
    replaceSelection(view, text.replace(/\r\n?/g, '\n'));
  }
  view.focus();
}

export function selectAll(view) {
  selectAllCommand(view);
  view.focus();
}

/** 小文字変換: the selection in lower case; nothing selected changes nothing. */
export function lowerCaseSelection(view) {
  const text = selectedText(view);
  if (!isLocked(view) && text !== '') {
    replaceSelection(view, text.toLowerCase());
  }
  view.focus();
}
