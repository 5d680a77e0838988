// SPDX-License-Identifier: MIT
// The page's ways in (one measurement, several, a probe's sweep): one view
// shown at a time, chosen by the buttons of .views, each naming its view
// in aria-controls and saying by aria-pressed whether it is the one shown.
const gndfitViews = (function () {
  'use strict';

  const buttons = () => [...document.querySelectorAll('.views button[aria-controls]')];

  function show(viewId) {
    for (const button of buttons()) {
      const mine = button.getAttribute('aria-controls') === viewId;
      button.setAttribute('aria-pressed', String(mine));
      document.getElementById(button.getAttribute('aria-controls')).hidden = !mine;
    }
  }

  for (const button of buttons()) {
    button.addEventListener('click', () => show(button.getAttribute('aria-controls')));
  }
  return { show };
})();
