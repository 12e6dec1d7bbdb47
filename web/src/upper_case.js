// The forced upper case of typed text is the core's (the same table as the desktop's); the page
// hands it over once the core is loaded, and the editor takes no typing before.

let upperCasing = null;

/** The core's upper casing of typed text. */
export function setUpperCasing(upperCased) {
  upperCasing = upperCased;
}

/**
 * The typed text as the editor inserts it: every character in its upper-case form; a character
 * whose upper case is more than one character (ß) and characters without a case pass unchanged.
 * @param {string} typed
 * @returns {string}
 */
export function upperCasedTyping(typed) {
  return upperCasing ? upperCasing(typed) : typed;
}
