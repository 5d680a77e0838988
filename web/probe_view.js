// SPDX-License-Identifier: MIT
// The page's third way in: an analyser's sweep of a probe in the ground,
// opened or dropped, with the probe's settings (a short probe's C0, typed
// or from its sweep in air; an open line's length and Z0, or Z0 from its
// rods).  The module's probe conversion gives the ground points and their
// joint fit, shown by fit_result.js; the points can be saved as the CSV of
// `gndfit --probe` or handed to the several-measurements view.
import { byId, onSubmit, readFile, showErrors } from './dom.js';
import { create as createResult, hide as hideResult, show as showResult } from './fit_result.js';
import { kGridMhz } from './joint_chart.js';
import { fitLines } from './joint_view.js';
import { counted } from './number_text.js';

const kGridList = kGridMhz.join(',');
let api = null;
let sweep = null;  // { name, text } of the sweep in the ground
let air = null;    // { name, text } of the probe in air, if opened
let csvUrl = null; // the points' CSV as a Blob URL
let lastPoints = []; // the points of the last conversion

const kind = () => (byId('probe-line').checked ? 'line' : 'short');

function showKind() {
  byId('short-settings').hidden = kind() !== 'short';
  byId('line-settings').hidden = kind() !== 'line';
}

const showProbeErrors = (errors) => showErrors(byId('probe-errors'), errors);
const wholeInput = (reasons) => reasons.map((reason) => ({ line: null, reason }));

// One number a field, as --probe takes its settings.
function number(id, what, errors) {
  const text = byId(id).value.trim();
  if (text === '') errors.push('Enter ' + what + '.');
  else if (!/^[+]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?$/.test(text) || !(Number(text) > 0)) {
    errors.push(what.charAt(0).toUpperCase() + what.slice(1) + ' must be one positive number (a point as the decimal mark).');
  }
  return text;
}

// The setting as --probe takes it, or the errors of the fields.  A file
// name goes into the setting with its commas and equals signs replaced,
// which the setting would read as separators.
function setting() {
  const errors = [];
  let text;
  if (kind() === 'short') {
    const c0 = byId('probe-c0').value.trim();
    if (c0 !== '' && air) errors.push('Give C0 or the sweep in air, not both.');
    else if (air) text = 'short,air=' + air.name.replace(/[,=]/g, '_');
    else text = 'short,c0=' + number('probe-c0', 'the capacitance in air, C0 (or open its sweep in air)', errors);
  } else {
    const length = number('probe-length', 'the length', errors);
    const z0 = number('probe-z0', 'the impedance in air, Z0', errors);
    text = 'line,length=' + length + ',z0=' + z0;
  }
  return { text, errors };
}

function showPoints(got) {
  byId('probe-notes').textContent = '';
  for (const note of got.notes) {
    const li = document.createElement('li');
    li.textContent = note;
    if (note.startsWith('warning: ')) li.className = 'warning';
    byId('probe-notes').appendChild(li);
  }
  byId('probe-count').textContent = counted(got.points.length, 'point') + ' from ' + sweep.name + '.';
  if (csvUrl) URL.revokeObjectURL(csvUrl);
  csvUrl = URL.createObjectURL(new Blob([got.csv], { type: 'text/csv' }));
  const download = byId('probe-download');
  download.href = csvUrl;
  download.download = sweep.name.replace(/\.[^.]*$/, '') + '-ground.csv';
  download.dataset.csv = got.csv;
  byId('probe-points').hidden = false;
}

function hideAll() {
  byId('probe-points').hidden = true;
  hideResult('probe');
}

function fit() {
  if (!api) return;
  const s = setting();
  if (!sweep) s.errors.push('Open the sweep of the probe in the ground, or drop it here.');
  if (s.errors.length) {
    showProbeErrors(wholeInput(s.errors));
    hideAll();
    return;
  }
  const airText = air ? air.text : null;
  const got = api.probe(s.text, sweep.name, sweep.text, airText, null);
  if (got.errors) {
    showProbeErrors(got.errors);
    hideAll();
    return;
  }
  showPoints(got);
  lastPoints = got.points;
  if (got.joint.errors) {
    showProbeErrors(got.joint.errors);
    hideResult('probe');
    return;
  }
  showProbeErrors([]);
  const curve = api.probe(s.text, sweep.name, sweep.text, airText, kGridList).joint;
  showResult('probe', { result: got.joint, curveBands: curve.bands || null,
    summary: 'Joint fit of the ' + counted(got.points.length, 'point') + ' of ' + sweep.name });
}

// The points as lines of the several-measurements view, where their
// uncertainties can be added.
function handOver() {
  const lines = lastPoints.map((p) => p.frequency_mhz + ' ' + p.permittivity + ' ' + p.conductivity_ms_per_m);
  fitLines('# ' + sweep.name + ' through the probe\n' + lines.join('\n') + '\n');
}

const readOrSay = (file, then) => readFile(file, then, (reason) => showProbeErrors(wholeInput([reason])));

function takeSweep(file) {
  readOrSay(file, (got) => {
    sweep = got;
    byId('probe-file-name').textContent = 'Opened: ' + got.name;
    fit();
  });
}

function setUpDrop(drop) {
  drop.addEventListener('dragover', (event) => {
    event.preventDefault();
    drop.classList.add('dragging');
  });
  drop.addEventListener('dragleave', () => drop.classList.remove('dragging'));
  drop.addEventListener('drop', (event) => {
    event.preventDefault();
    drop.classList.remove('dragging');
    const file = event.dataTransfer.files[0];
    if (file) takeSweep(file);
  });
}

// Z0 of two rods of diameter d at spacing D: 120 acosh(D/d).
function rodsZ0() {
  const errors = [];
  const d = Number(number('rod-diameter', 'the rod diameter', errors));
  const spacing = Number(number('rod-spacing', 'the rod spacing', errors));
  if (!errors.length && !(spacing > d)) errors.push('The spacing must be more than the diameter.');
  showProbeErrors(wholeInput(errors));
  if (!errors.length) byId('probe-z0').value = String(Number((120 * Math.acosh(spacing / d)).toPrecision(6)));
}

export function setUpProbeView() {
  onSubmit(byId('probe-form'), fit);
  for (const id of ['probe-short', 'probe-line']) byId(id).addEventListener('change', showKind);
  byId('probe-file').addEventListener('change', (event) => {
    if (event.target.files[0]) takeSweep(event.target.files[0]);
  });
  byId('probe-air').addEventListener('change', (event) => {
    const file = event.target.files[0];
    if (!file) {
      air = null;
      return;
    }
    readOrSay(file, (got) => { air = got; });
  });
  setUpDrop(byId('probe-drop'));
  byId('rods-z0').addEventListener('click', rodsZ0);
  byId('probe-to-joint').addEventListener('click', handOver);
  createResult(byId('probe-view'), 'probe');
  byId('probe-measurements').caption.textContent = 'The sweep\'s points (line of the file; residual = point - model)';
  showKind();
}

export function startProbeView(loaded) {
  api = loaded;
  document.body.dataset.probeReady = 'true';
}
