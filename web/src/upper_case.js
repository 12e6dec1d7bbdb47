/**
 * The typed text as the editor inserts it: every character in its upper-case form, as the
 * desktop editor does with what is typed. A character whose upper case is more than one
 * character (ß becomes SS) and characters without a case pass unchanged.
 * @param {string} typed
 * @returns {string}
 */
export function upperCasedTyping(typed) {
  let result = '';
  for (const character of typed) {
    const upper = character.toUpperCase();
    result += [...upper].length === 1 ? upper : character;
  }
  return result;
}
