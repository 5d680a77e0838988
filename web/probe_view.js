// SPDX-License-Identifier: MIT
// The page's third way in: an analyser's sweep of a probe in the ground,
// opened or dropped, with every setting `gndfit --probe` takes: a short
// probe's C0 with its leads' L and stray Cs typed, or C0 and L from its
// sweep in air, and C0 and Cs apart with its sweep in a liquid of known
// permittivity; an open line's length and Z0, or Z0 from its rods; and for
// either the analyser's uncertainty u_gamma.  The module's probe
// conversion gives the ground points and their joint fit in the ground
// model chosen (all three compared by default with u_gamma), shown by
// fit_result.js, and the points it left out, listed and marked on the
// chart; the points can be saved as the CSV of `gndfit --probe` or handed
// to the several-measurements view.  A changed setting converts again.
import { byId, onSubmit, readFile, showErrors } from './dom.js';
import { create as createResult, hide as hideResult, show as showResult } from './fit_result.js';
import { kGridMhz } from './joint_chart.js';
import { kCompareFrom } from './ground_models.js';
import { fitLines } from './joint_view.js';
import { counted, significant } from './number_text.js';

const kGridList = kGridMhz.join(',');
let api = null;
let sweep = null;  // { name, text } of the sweep in the ground
let air = null;    // { name, text } of the probe in air, if opened
let liquid = null; // { name, text } of the probe in a liquid, if opened
let csvUrl = null; // the points' CSV as a Blob URL
let lastPoints = []; // the points of the last conversion

const kind = () => (byId('probe-line').checked ? 'line' : 'short');

function showKind() {
  byId('short-settings').hidden = kind() !== 'short';
  byId('line-settings').hidden = kind() !== 'line';
}

const showProbeErrors = (errors) => showErrors(byId('probe-errors'), errors);
const wholeInput = (reasons) => reasons.map((reason) => ({ line: null, reason }));

const kNumber = /^[+]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?$/;
const capitalised = (what) => what.charAt(0).toUpperCase() + what.slice(1);
const fieldText = (id) => byId(id).value.trim();

// One positive number a field, as --probe takes its settings.
function number(id, what, errors) {
  const text = fieldText(id);
  if (text === '') errors.push('Enter ' + what + '.');
  else if (!kNumber.test(text) || !(Number(text) > 0)) {
    errors.push(capitalised(what) + ' must be one positive number (a point as the decimal mark).');
  }
  return text;
}

// An optional field: its ',name=value' for the setting, '' when empty.
function optional(id, name, what, errors, zeroAllowed = false) {
  const text = fieldText(id);
  if (text === '') return '';
  if (!kNumber.test(text) || !(zeroAllowed ? Number(text) >= 0 : Number(text) > 0)) {
    errors.push(capitalised(what) + ' must be one ' + (zeroAllowed ? 'number, 0 or more' : 'positive number') +
      ' (a point as the decimal mark), or left empty.');
  }
  return ',' + name + '=' + text;
}

// A file's name as a setting's value: its commas and equals signs, which
// the setting would read as separators, replaced.
const settingName = (file) => file.name.replace(/[,=]/g, '_');

// The short probe's part of the setting: its values typed, or its sweeps.
function shortSetting(errors) {
  const typed = ['probe-c0', 'probe-l', 'probe-cs'].some((id) => fieldText(id) !== '');
  if (!air) {
    if (liquid) errors.push('The sweep in a liquid goes with the sweep in air: open that too.');
    return 'short,c0=' + number('probe-c0', 'the capacitance in air, C0 (or open its sweep in air)', errors) +
      optional('probe-l', 'l', 'the leads\' inductance L', errors, true) +
      optional('probe-cs', 'cs', 'the stray capacitance Cs', errors, true);
  }
  if (typed) errors.push('Give C0 (with L and Cs) or the sweep in air, not both.');
  let text = 'short,air=' + settingName(air);
  const er = fieldText('probe-liquid-er');
  if (liquid) {
    text += ',liquid=' + settingName(liquid) + ',liquid_er=' +
      number('probe-liquid-er', 'the liquid\'s relative permittivity', errors);
    if (errors.length === 0 && !(Number(er) > 1)) {
      errors.push('The liquid\'s relative permittivity is above 1 (distilled water: 78.4 at 25 C).');
    }
  } else if (er !== '') {
    errors.push('Open the sweep in the liquid, or empty its permittivity.');
  }
  return text;
}

// The setting as --probe takes it, or the errors of the fields.
function setting() {
  const errors = [];
  let text;
  if (kind() === 'short') {
    text = shortSetting(errors);
  } else {
    const length = number('probe-length', 'the length', errors);
    const z0 = number('probe-z0', 'the impedance in air, Z0', errors);
    text = 'line,length=' + length + ',z0=' + z0;
  }
  text += optional('probe-u-gamma', 'u_gamma', 'the analyser\'s uncertainty u_gamma', errors);
  return { text, errors };
}

function showNotes(notes) {
  byId('probe-notes').textContent = '';
  for (const note of notes) {
    const li = document.createElement('li');
    li.textContent = note;
    if (note.startsWith('warning: ')) li.className = 'warning';
    byId('probe-notes').appendChild(li);
  }
}

// The left-out points, one row each; their file is the sweep's, named in
// the caption once.
function showLeftOut(leftOut) {
  const body = byId('probe-left-out').tBodies[0];
  body.textContent = '';
  for (const p of leftOut) {
    const tr = document.createElement('tr');
    for (const [value, text] of [[p.line, String(p.line)], [p.frequency_mhz, significant(p.frequency_mhz, 6)],
                                 [p.reason, p.reason]]) {
      const td = document.createElement('td');
      td.textContent = text;
      td.dataset.value = String(value);
      tr.appendChild(td);
    }
    body.appendChild(tr);
  }
  byId('probe-left-out-caption').textContent = 'Left out of ' + sweep.name + ': ' + counted(leftOut.length, 'point');
  byId('probe-left-out-box').hidden = leftOut.length === 0;
}

function showPoints(got) {
  showNotes(got.notes);
  byId('probe-count').textContent = counted(got.points.length, 'point') + ' from ' + sweep.name + '.';
  if (csvUrl) URL.revokeObjectURL(csvUrl);
  csvUrl = URL.createObjectURL(new Blob([got.csv], { type: 'text/csv' }));
  const download = byId('probe-download');
  download.href = csvUrl;
  download.download = sweep.name.replace(/\.[^.]*$/, '') + '-ground.csv';
  download.dataset.csv = got.csv;
  showLeftOut(got.left_out);
  byId('probe-points').hidden = false;
}

function hideAll() {
  byId('probe-points').hidden = true;
  hideResult('probe');
}

// The converted points as the chart draws measurements: their own
// uncertainties (with u_gamma) as the error bars.
const chartPoints = (points) => points.map((p) => ({
  frequency_mhz: p.frequency_mhz, permittivity: p.permittivity, conductivity_ms_per_m: p.conductivity_ms_per_m,
  permittivity_sd: p.permittivity_u ?? null, conductivity_sd_ms_per_m: p.conductivity_u_ms_per_m ?? null,
}));

// The model fitted: the user's choice once made; until then compare where
// u_gamma gives the points uncertainties and there are at least
// kCompareFrom of them, messier otherwise.
let modelChosen = false;

function convertWith(s, model, frequencies) {
  return api.probe(s.text, sweep.name, sweep.text, air ? air.text : null, liquid ? liquid.text : null, frequencies,
                   model);
}

function convertInModel(s) {
  const select = byId('probe-model');
  if (modelChosen) return { model: select.value, got: convertWith(s, select.value, null) };
  let model = /(^|,)u_gamma=/.test(s.text) ? 'compare' : 'messier';
  let got = convertWith(s, model, null);
  if (model === 'compare' && got.points && got.points.length < kCompareFrom) {
    model = 'messier';
    got = convertWith(s, model, null);
  }
  select.value = model;
  return { model, got };
}

// A new try: what an earlier one said goes first, whatever this one says.
function fit() {
  if (!api) return;
  showProbeErrors([]);
  const s = setting();
  if (!sweep) s.errors.push('Open the sweep of the probe in the ground, or drop it here.');
  if (s.errors.length) {
    showProbeErrors(wholeInput(s.errors));
    hideAll();
    return;
  }
  const { model, got } = convertInModel(s);
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
  const curve = convertWith(s, model, kGridList).joint;
  showResult('probe', { result: got.joint, curveBands: curve.bands || null, curveModels: curve.models || null,
    points: chartPoints(got.points),
    leftOutMhz: got.left_out.map((p) => p.frequency_mhz),
    summary: 'Joint fit of these ' + counted(got.points.length, 'point') });
}

// A setting changed: the sweep, if there is one, converted again.
function settingChanged() {
  if (sweep) fit();
}

// The points as lines of the several-measurements view, with their
// uncertainties where u_gamma gave them.
function handOver() {
  const lines = lastPoints.map((p) => [p.frequency_mhz, p.permittivity, p.conductivity_ms_per_m]
    .concat(p.permittivity_u === undefined ? [] : [p.permittivity_u, p.conductivity_u_ms_per_m]).join(' '));
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

// A reference sweep's file field: the file read, then the sweep converted
// again; no file (the choice cancelled) forgets it.
// Its data-read is the name of the file read (for tests, which wait for it).
function setUpReference(id, keep) {
  const field = byId(id);
  const take = (got) => {
    keep(got);
    field.dataset.read = got ? got.name : '';
    settingChanged();
  };
  field.addEventListener('change', (event) => {
    event.stopPropagation(); // converted once it is read, not before
    const file = event.target.files[0];
    if (file) readOrSay(file, take);
    else take(null);
  });
}

function forgetReferences() {
  air = null;
  liquid = null;
  for (const id of ['probe-air', 'probe-liquid']) {
    byId(id).value = '';
    byId(id).dataset.read = '';
  }
  settingChanged();
}

// Z0 of two rods of diameter d at spacing D: 120 acosh(D/d).
function rodsZ0() {
  const errors = [];
  const d = Number(number('rod-diameter', 'the rod diameter', errors));
  const spacing = Number(number('rod-spacing', 'the rod spacing', errors));
  if (!errors.length && !(spacing > d)) errors.push('The spacing must be more than the diameter.');
  showProbeErrors(wholeInput(errors));
  if (errors.length) return;
  byId('probe-z0').value = String(Number((120 * Math.acosh(spacing / d)).toPrecision(6)));
  settingChanged();
}

export function setUpProbeView() {
  onSubmit(byId('probe-form'), fit);
  // Before the form's own change listener, which converts again.
  byId('probe-model').addEventListener('change', () => { modelChosen = true; });
  for (const id of ['probe-short', 'probe-line']) byId(id).addEventListener('change', showKind);
  byId('probe-file').addEventListener('change', (event) => {
    event.stopPropagation();
    if (event.target.files[0]) takeSweep(event.target.files[0]);
  });
  setUpReference('probe-air', (got) => { air = got; });
  setUpReference('probe-liquid', (got) => { liquid = got; });
  // Any other field's change (a number typed and left, the probe's kind).
  byId('probe-form').addEventListener('change', (event) => {
    if (!['rod-diameter', 'rod-spacing'].includes(event.target.id)) settingChanged();
  });
  setUpDrop(byId('probe-drop'));
  byId('rods-z0').addEventListener('click', rodsZ0);
  byId('probe-forget').addEventListener('click', forgetReferences);
  byId('probe-to-joint').addEventListener('click', handOver);
  createResult(byId('probe-view'), 'probe');
  byId('probe-measurements').caption.textContent = 'The sweep\'s points (line of the file; residual = point - model)';
  showKind();
}

export function startProbeView(loaded) {
  api = loaded;
  document.body.dataset.probeReady = 'true';
}
