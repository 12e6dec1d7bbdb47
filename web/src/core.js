// The core compiled to WebAssembly: `createCaslCore` is the module that emscripten builds from
// web/binding (the build points the name `casl-core` at it).
import createCaslCore from 'casl-core';

/** Loads the module and returns the page's workbench object (web/binding/workbench.h). */
export async function loadWorkbench() {
  const core = await createCaslCore();
  return new core.Workbench();
}
