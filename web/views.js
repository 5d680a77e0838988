// SPDX-License-Identifier: MIT
// The page's ways in (one measurement, several, a probe's sweep): one view
// shown at a time, chosen by the buttons of .views, each naming its view
// in aria-controls and saying by aria-pressed whether it is the one shown.

const buttons = () => [...document.querySelectorAll('.views button[aria-controls]')];

export function showView(viewId) {
  for (const button of buttons()) {
    const mine = button.getAttribute('aria-controls') === viewId;
    button.setAttribute('aria-pressed', String(mine));
    document.getElementById(button.getAttribute('aria-controls')).hidden = !mine;
  }
}

export function setUpViews() {
  for (const button of buttons()) {
    button.addEventListener('click', () => showView(button.getAttribute('aria-controls')));
  }
}
