// The modal boxes: a message box with its text, title and OK or Yes/No buttons, and the input
// box with its prompt, title, default text and place on the screen. Each is a modal <dialog>
// that resolves with the user's answer when it closes; nothing waits inside a call.

/** Twips (1/1440 inch) as CSS pixels (1/96 inch). */
function pixelsFromTwips(twips) {
  return twips / 15;
}

function opened(dialog, focus) {
  dialog.showModal();
  focus.focus();
  return new Promise((resolve) => {
    dialog.addEventListener('close', () => resolve(dialog.returnValue), { once: true });
  });
}

/**
 * Shows a message box; resolves with "ok", "yes" or "no". A box with Yes and No has no other
 * way out (Escape does nothing) and has the focus on `defaultButton`; a box with OK closes on
 * Escape as on OK.
 */
export function messageBox({ text, title, buttons = 'ok', defaultButton = 'yes' }) {
  const dialog = document.getElementById('messageBox');
  const yesNo = buttons === 'yesNo';
  dialog.querySelector('#messageBox-title').textContent = title;
  dialog.querySelector('#messageBox-text').textContent = text;
  const yes = dialog.querySelector('#messageBox-yes');
  const no = dialog.querySelector('#messageBox-no');
  const ok = dialog.querySelector('#messageBox-ok');
  yes.hidden = !yesNo;
  no.hidden = !yesNo;
  ok.hidden = yesNo;
  dialog.returnValue = '';
  dialog.oncancel = (event) => {
    if (yesNo) {
      event.preventDefault();
    } else {
      dialog.returnValue = 'ok';
    }
  };
  return opened(dialog, yesNo ? (defaultButton === 'no' ? no : yes) : ok);
}

/** Shows the input box; resolves with the text typed, or null when it was cancelled. */
export function inputBox({ prompt, title, defaultText = '', leftTwips = 0, topTwips = 0 }) {
  const dialog = document.getElementById('inputBox');
  const field = dialog.querySelector('#inputBox-text');
  dialog.querySelector('#inputBox-title').textContent = title;
  dialog.querySelector('#inputBox-prompt').textContent = prompt;
  field.value = defaultText;
  dialog.style.left = `${pixelsFromTwips(leftTwips)}px`;
  dialog.style.top = `${pixelsFromTwips(topTwips)}px`;
  dialog.returnValue = '';
  dialog.oncancel = () => {
    dialog.returnValue = 'cancel';
  };
  return opened(dialog, field).then((button) => (button === 'ok' ? field.value : null));
}

/**
 * The save dialog's name field ("Varnic II"): resolves with the name chosen, or "" when it was
 * cancelled or left empty.
 */
export function fileNameBox(presetName) {
  const dialog = document.getElementById('fileNameBox');
  const field = dialog.querySelector('#fileNameBox-name');
  field.value = presetName;
  dialog.returnValue = '';
  dialog.oncancel = () => {
    dialog.returnValue = 'cancel';
  };
  const answer = opened(dialog, field);
  field.select();
  return answer.then((button) => (button === 'save' ? field.value.trim() : ''));
}
