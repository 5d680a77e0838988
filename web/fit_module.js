// SPDX-License-Identifier: MIT
// The fit's WebAssembly module (its C APIs, fit_api.h, joint_api.h and
// probe_api.h) as functions from text to the parsed JSON.  The build
// writes emscripten_module.js: Emscripten's module with the WebAssembly
// inside, as an ES module whose default export makes an instance.
import createGndfitModule from './emscripten_module.js';

// Every text argument is a string or null (the C APIs' null pointer).
function apiOf(module) {
  const json = (name, count) => {
    const call = module.cwrap(name, 'string', new Array(count).fill('string'));
    return (...args) => JSON.parse(call(...args));
  };
  return {
    fit: json('gndfit_fit_json', 1),
    fitAt: json('gndfit_fit_json_at', 2),
    joint: json('gndfit_joint_json', 1),
    jointAt: json('gndfit_joint_json_at', 2),
    jointModelAt: json('gndfit_joint_model_json_at', 3),
    probe: json('gndfit_probe_json', 7),
  };
}

// One instance of the module for the page, made on the first call.
let api = null;
export function loadApi() {
  if (!api) api = createGndfitModule().then(apiOf);
  return api;
}
