// SPDX-License-Identifier: MIT
// The page's second way in: several measurements fitted as one model.
// Lines added one at a time, typed or pasted into the text box, or read
// from a file, in the line format of `gndfit --joint`, go to the module's
// joint fit in the ground model chosen (or all three compared), shown by
// fit_result.js.  The measurements, and a model the user chose, are kept
// in the address (links.js) so that the fit can be shared.
import { byId, onSubmit, readFile, showErrors, showSearch } from './dom.js';
import { create as createResult, hide as hideResult, show as showResult } from './fit_result.js';
import { kGridMhz } from './joint_chart.js';
import { defaultModel, kModelChoices } from './ground_models.js';
import { jointSearch, measurementLines, textOfParameter } from './links.js';
import { counted } from './number_text.js';
import { showView } from './views.js';

const kGridList = kGridMhz.join(',');
let api = null;
let linked = false; // the page was opened with measurements in its address

const showJointErrors = (errors) => showErrors(byId('joint-errors'), errors);

// The model asked for: the user's choice once made, until then the
// default for the lines (compare with 3 or more lines with uncertainties).
let modelChosen = false;

function modelFor(text) {
  const select = byId('joint-model');
  if (!modelChosen) select.value = defaultModel(text);
  return select.value;
}

// The link names the model only where the user chose one the lines would
// not get by default, so that a plain link stays ?m=... alone.
function searchOf(text, model) {
  const search = jointSearch(text);
  return model === defaultModel(text) ? search : search + '&model=' + model;
}

function fit() {
  if (!api) return;
  const text = byId('joint-text').value;
  if (measurementLines(text).length === 0) {
    showJointErrors([{ line: null, reason: 'Enter at least one measurement, one a line.' }]);
    hideResult('joint');
    return;
  }
  const model = modelFor(text);
  const result = api.jointModelAt(text, null, model);
  const search = searchOf(text, model);
  byId('joint-link').href = search;
  showSearch(search);
  if (result.errors) {
    showJointErrors(result.errors);
    hideResult('joint');
    return;
  }
  showJointErrors([]);
  // The model at the chart's grid (with compare, every model's); the
  // measurements' error bars are their uncertainties as the module read
  // them.
  const curve = api.jointModelAt(text, kGridList, model);
  const summary = 'Joint fit of ' + counted(result.measurements.length, 'measurement');
  showResult('joint', { result, summary, curveBands: curve.bands || null, curveModels: curve.models || null });
}

// --- adding and removing lines one at a time: each field one number
// (a separator would split it into fields of its own), the two
// uncertainties both or neither, as the fit asks of every line.
const addFields = ['add-f', 'add-er', 'add-s', 'add-uer', 'add-us'];

function lineOfFields() {
  const values = addFields.map((id) => byId(id).value.trim());
  if (values.some((v) => /[\s,;]/.test(v))) return { error: 'Each field takes one number.' };
  if (values.slice(0, 3).some((v) => v === '')) return { error: 'Enter the frequency, permittivity and conductivity.' };
  if ((values[3] === '') !== (values[4] === '')) return { error: 'Give both uncertainties or neither.' };
  return { line: values.filter((v) => v !== '').join(' ') };
}

function addLine() {
  const got = lineOfFields();
  byId('add-message').textContent = got.error || '';
  if (got.error) return;
  const box = byId('joint-text');
  const text = box.value.replace(/\s+$/, '');
  box.value = (text === '' ? '' : text + '\n') + got.line + '\n';
  for (const id of addFields.slice(0, 3)) byId(id).value = '';
  byId('add-f').focus();
}

function removeLastLine() {
  const lines = byId('joint-text').value.replace(/\s+$/, '').split('\n');
  for (let i = lines.length - 1; i >= 0; i--) {
    const l = lines[i].trim();
    if (l !== '' && !l.startsWith('#')) {
      lines.splice(i, 1);
      break;
    }
  }
  const text = lines.join('\n').replace(/\s+$/, '');
  byId('joint-text').value = text === '' ? '' : text + '\n';
}

// Other views hand their points over as lines (the probe's).
export function fitLines(text) {
  showView('joint-view');
  byId('joint-text').value = text;
  fit();
}

export function setUpJointView() {
  onSubmit(byId('joint-add'), addLine);
  byId('remove-line').addEventListener('click', removeLastLine);
  onSubmit(byId('joint-form'), fit);
  byId('joint-model').addEventListener('change', () => {
    modelChosen = true;
    if (measurementLines(byId('joint-text').value).length) fit();
  });
  byId('joint-file').addEventListener('change', (event) => {
    const file = event.target.files[0];
    if (!file) return;
    readFile(file, (got) => {
      byId('joint-text').value = got.text;
      fit();
    }, (reason) => showJointErrors([{ line: null, reason }]));
  });
  // The view's copy of the result, with the share link at its end.
  createResult(byId('joint-view'), 'joint');
  byId('joint-result').appendChild(byId('joint-share'));
  const params = new URLSearchParams(window.location.search);
  linked = params.has('m');
  if (linked) {
    showView('joint-view');
    byId('joint-text').value = textOfParameter(params.get('m'));
    if (kModelChoices.includes(params.get('model'))) {
      byId('joint-model').value = params.get('model');
      modelChosen = true;
    }
  }
}

export function startJointView(loaded) {
  api = loaded;
  setTimeout(() => {
    if (linked) fit();
    document.body.dataset.jointReady = 'true';
  }, 0);
}
