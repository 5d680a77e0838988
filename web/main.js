// SPDX-License-Identifier: MIT
// The page's entry: sets up its three views, starts them once the fit's
// module is ready, and over http(s) registers the service worker that
// keeps the page's files for use with no network.
import { loadApi } from './fit_module.js';
import { setUpJointView, startJointView } from './joint_view.js';
import { setUpProbeView, startProbeView } from './probe_view.js';
import { setUpSingleView, startSingleView } from './single_view.js';
import { setUpViews } from './views.js';

// Only pages served over http(s) can have a service worker; opened from
// disk the page needs none and asks for none.  It is registered once the
// page has loaded, so that filling its cache does not compete with the
// first visit's own downloads.
function registerOfflineCache() {
  const served = window.location.protocol === 'https:' || window.location.protocol === 'http:';
  if (!served || !('serviceWorker' in navigator)) return;
  const register = () => navigator.serviceWorker.register('service-worker.js').catch((error) => {
    console.warn('gndfit: the page will not work offline:', error.message);
  });
  if (document.readyState === 'complete') register();
  else window.addEventListener('load', register, { once: true });
}

setUpViews();
setUpSingleView();
setUpJointView();
setUpProbeView();
// The fit's module is made in a task of its own, so that decoding and
// compiling it does not lengthen the task that set up the views.
setTimeout(() => loadApi().then((api) => {
  startSingleView(api);
  startJointView(api);
  startProbeView(api);
}), 0);
registerOfflineCache();
