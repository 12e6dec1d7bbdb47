// A program shared by a link: 「リンクをコピー」 puts on the clipboard the page's address with the
// program in its fragment (deflated by the browser, written by the core), and a page opened at
// such an address (or whose fragment changes) opens the program as a new unnamed one. A link to
// the open exercise names it, with the student's program when the core says it carries one;
// opening it opens the exercise as its menu does. The fragment never reaches a server. The core
// reads the fragment and decides what a link without a program shows; the page only compresses
// and decompresses, and finds the exercise's files.
import { startProgramName } from './exercise_pane.js';
import { messageBox } from './message_box.js';

async function bytesThrough(bytes, transform) {
  const stream = new Blob([bytes]).stream().pipeThrough(transform);
  return new Uint8Array(await new Response(stream).arrayBuffer());
}

/**
 * The bytes that `compressed` inflates to, read no further than `limit` bytes: resolves with
 * { bytes } or { problem } ("broken", "tooLarge").
 */
async function inflated(compressed, limit) {
  const reader = new Blob([compressed])
    .stream()
    .pipeThrough(new DecompressionStream('deflate'))
    .getReader();
  const chunks = [];
  let size = 0;
  try {
    for (;;) {
      const { done, value } = await reader.read();
      if (done) {
        break;
      }
      size += value.length;
      if (size > limit) {
        reader.cancel().catch(() => {});
        return { problem: 'tooLarge' };
      }
      chunks.push(value);
    }
  } catch {
    return { problem: 'broken' };
  }
  const bytes = new Uint8Array(size);
  let at = 0;
  for (const chunk of chunks) {
    bytes.set(chunk, at);
    at += chunk.length;
  }
  return { bytes };
}

/** The page's address with `fragment`, or without one. */
function addressWith(fragment) {
  const url = new URL(location.href);
  url.hash = fragment;
  return fragment ? url.href : url.href.replace(/#$/, '');
}

async function deflated(text) {
  return bytesThrough(new TextEncoder().encode(text), new CompressionStream('deflate'));
}

export class SharedLinks {
  /**
   * `findExercise(name)` resolves with the shipped exercise `name` ({ tests, startProgram },
   * the bytes of its files, startProgram null without one) or null when there is none.
   */
  constructor(window, { onCopied, findExercise }) {
    this.window = window;
    this.onCopied = onCopied;
    this.findExercise = findExercise;
  }

  /** The link of the program in the editor. */
  async programLink() {
    const compressed = await deflated(this.window.programText());
    return addressWith(this.window.workbench.programLinkFragment(compressed));
  }

  /** The link of the open exercise, with the program in the editor when it is the student's. */
  async exerciseLink() {
    const workbench = this.window.workbench;
    const program = workbench.exerciseLinkProgram(this.window.text());
    const compressed = program ? await deflated(program) : new Uint8Array();
    return addressWith(workbench.exerciseLinkFragment(compressed));
  }

  /** 「リンクをコピー」: the link goes to the clipboard; where the browser refuses, it is shown. */
  async copyLink() {
    if (this.window.workbench) {
      await this.copy(await this.programLink());
    }
  }

  /** 「演習のリンクをコピー」, while an exercise is open. */
  async copyExerciseLink() {
    if (this.window.workbench?.exercise().open) {
      await this.copy(await this.exerciseLink());
    }
  }

  async copy(link) {
    try {
      await navigator.clipboard.writeText(link);
      this.onCopied(link);
    } catch {
      await messageBox({ text: link, title: 'リンクをコピー', buttons: 'ok' });
    }
  }

  /** Opens the program of the page's fragment, if it has one; the fragment is then dropped. */
  async openFromAddress() {
    const fragment = location.hash;
    if (fragment.length <= 1 || !this.window.workbench) {
      return;
    }
    // Once opened (or refused) the address no longer carries the link: a reload keeps the
    // program as it stands then, and the same link pasted again opens again.
    history.replaceState(history.state, '', addressWith(''));
    const workbench = this.window.workbench;
    const read = workbench.readLink(fragment);
    if (!read.problem && read.kind === 'exercise') {
      await this.openExercise(read);
      return;
    }
    const opened = read.problem
      ? { problem: read.problem }
      : await inflated(read.compressed, workbench.maxLinkedProgramBytes());
    this.window.run((w) =>
      opened.problem
        ? w.openUnreadableLink(this.window.text(), opened.problem)
        : w.openLink(this.window.text(), opened.bytes),
    );
  }

  /** Opens the exercise of a link that `readLink` read, with the program it carries. */
  async openExercise(read) {
    const exercise = await this.findExercise(read.exercise);
    if (!exercise) {
      this.window.run((w) => w.openUnknownExerciseLink(read.exercise));
      return;
    }
    const carries = read.compressed.length > 0;
    const opened = carries
      ? await inflated(read.compressed, this.window.workbench.maxLinkedProgramBytes())
      : {};
    const startName = startProgramName(read.exercise, exercise.startProgram);
    this.window.run((w) => {
      if (exercise.startProgram) {
        w.offerFile(startName, exercise.startProgram);
      }
      w.openExerciseLink(
        this.window.text(),
        read.exercise,
        exercise.tests,
        startName,
        carries,
        opened.problem ?? '',
        opened.bytes ?? new Uint8Array(),
      );
    });
  }
}
