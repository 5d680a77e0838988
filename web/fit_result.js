// SPDX-License-Identifier: MIT
// A joint fit's result as the page shows it, in the views that fit one
// model to several points (measurements typed or opened, a probe's
// sweep).  Each view has its own copy of the template #fit-result-template,
// its ids prefixed by the view's name ('joint-result', 'probe-result', ...);
// show() fills one copy from the module's JSON: the model's parameters
// with their standard deviations (whichever model), with a comparison the
// models' table and the one chosen, chi-square, the warnings, the bands, the
// measurements with their residuals (folded away when there are more than
// kOpenRows of them), and the chart with its legend.
import { byId, showWarnings } from './dom.js';
import { draw as drawChart } from './joint_chart.js';
import { chosenSentence, parameterCount, parametersOf } from './ground_models.js';
import { counted, significant } from './number_text.js';

const kReferences = ['id', 'for', 'aria-labelledby', 'aria-describedby'];
// The most rows the residuals' table shows unfolded: a sweep's hundreds
// would push everything after it out of sight.
const kOpenRows = 20;

// The template's copy for `prefix`, put into `container`.
export function create(container, prefix) {
  const copy = byId('fit-result-template').content.cloneNode(true);
  for (const node of copy.querySelectorAll('*')) {
    for (const name of kReferences) {
      const value = node.getAttribute(name);
      if (value) node.setAttribute(name, value.replace(/\bfit-/g, prefix + '-'));
    }
  }
  container.appendChild(copy);
}

// A cell or field with the JSON's value in full (for tests and copying)
// and a rounded text.
function setValue(node, value, digits) {
  node.textContent = significant(value, digits);
  node.dataset.value = value === null ? 'null' : String(value);
}

// Each cell carries its column's heading (data-label), which a narrow
// screen shows beside the value when the table is laid out as cards.
function tableRows(table, rows) {
  const body = table.tBodies[0];
  const labels = [...table.tHead.rows[0].cells].map((th) => th.textContent);
  body.textContent = '';
  for (const cells of rows) {
    const tr = document.createElement('tr');
    cells.forEach(([value, digits], i) => {
      const td = document.createElement('td');
      setValue(td, value, digits);
      td.dataset.label = labels[i];
      tr.appendChild(td);
    });
    body.appendChild(tr);
  }
}

// "12.061 +- 0.52" in two pieces that each keep together, so that a narrow
// screen breaks the line before "+-", never after it; without an sd, why
// ("(at its bound)", "(no sd)").
function showWithSd(node, { value, sd, note }) {
  const piece = (text) => Object.assign(document.createElement('span'), { className: 'nowrap', textContent: text });
  node.textContent = '';
  node.append(piece(significant(value, 5)), ' ', piece(sd === null ? '(' + note + ')' : '+- ' + significant(sd, 2)));
  node.dataset.value = String(value);
  node.dataset.sd = String(sd);
}

// A term and its value in the parameters' list; the value's data-field
// is its name in the JSON.
function addField(list, words, name) {
  const dt = document.createElement('dt');
  dt.textContent = words;
  const dd = document.createElement('dd');
  dd.dataset.field = name;
  list.append(dt, dd);
  return dd;
}

// Whatever the model: each parameter the JSON's "model" names, then the
// correlation where the model gives one (the two-parameter model's).
function showParameters(part, result, summary) {
  const m = result.model;
  const list = part('parameters');
  list.textContent = '';
  for (const p of parametersOf(m, result.model_name, result.warnings)) {
    showWithSd(addField(list, p.words + (p.unit ? ', ' + p.unit : ''), p.name), p);
  }
  if ('correlation' in m) setValue(addField(list, 'Correlation', 'correlation'), m.correlation, 3);
  setValue(addField(list, 'Chi-square', 'chi_square'), result.chi_square, 4);
  setValue(addField(list, 'Degrees of freedom', 'degrees_of_freedom'), result.degrees_of_freedom, 10);
  part('summary').textContent = summary + (result.model_name ? ', the ' + result.model_name + ' model' : '') + ', ' +
    (result.weighted
      ? 'weighted by their uncertainties.'
      : 'unweighted (no uncertainties given): the standard deviations come from the scatter of the residuals.');
}

// With compare: the models' table, the chosen one marked, and the sentence
// saying which was chosen and by how much; hidden for a single model.
function showComparison(part, result) {
  part('comparison-box').hidden = !result.models;
  if (!result.models) return;
  part('chosen').textContent = chosenSentence(result);
  tableRows(part('comparison'), result.models.map((m) => [[m.model_name], [parameterCount(m.model_name), 10],
    [m.chi_square, 5], [m.degrees_of_freedom, 10], [m.aicc, 6], [m.akaike_weight, 3]]));
  [...part('comparison').tBodies[0].rows].forEach((tr, i) => {
    const chosen = result.models[i].model_name === result.chosen;
    tr.dataset.chosen = String(chosen);
    if (chosen) tr.cells[0].append(' (chosen)');
  });
}

// The bands' NEC-2 cards, saved as a file: one Blob URL per view, let go
// when the next result replaces it.
const cardUrls = new Map();

function offerCards(link, prefix, cards) {
  if (cardUrls.has(prefix)) URL.revokeObjectURL(cardUrls.get(prefix));
  const url = URL.createObjectURL(new Blob([cards], { type: 'text/plain' }));
  cardUrls.set(prefix, url);
  link.href = url;
  link.dataset.cards = cards;
}

function showResiduals(part, measurements) {
  tableRows(part('measurements'), measurements.map((m) => [[m.line, 10], [m.frequency_mhz, 6],
    [m.permittivity, 6], [m.model_permittivity, 5], [m.permittivity - m.model_permittivity, 3],
    [m.conductivity_ms_per_m, 6], [m.model_conductivity_ms_per_m, 5],
    [m.conductivity_ms_per_m - m.model_conductivity_ms_per_m, 3]]));
  part('residuals').open = measurements.length <= kOpenRows;
  part('residuals-summary').textContent = 'The residuals of the ' + counted(measurements.length, 'point') +
    (measurements.length > kOpenRows ? ' (open to show)' : '');
}

// The other models' curves at the chart's grid, from the JSON of compare
// at its frequencies ("models", each with its bands): none for one model.
function otherCurves(result, curveModels) {
  if (!curveModels) return [];
  return curveModels.filter((m) => m.model_name !== result.model_name && m.bands.length > 0)
    .map((m) => ({ name: m.model_name, bands: m.bands }));
}

// result: the JSON at the bands; curveBands: the model at the chart's
// grid (null for no curve); curveModels: with compare, every model at that
// grid; summary: what was fitted; points: the points the chart draws, as
// the JSON's measurements (by default those); leftOutMhz: the frequencies
// of points left out of the fit.
export function show(prefix, { result, curveBands, curveModels = null, summary, points = result.measurements,
                               leftOutMhz = [] }) {
  const part = (name) => byId(prefix + '-' + name);
  showParameters(part, result, summary);
  showComparison(part, result);
  showWarnings(part('warnings'), result.warnings);
  tableRows(part('bands'), result.bands.map((b) => [[b.frequency_mhz, 4], [b.permittivity, 5],
    [b.permittivity_sd, 2], [b.conductivity_ms_per_m, 5], [b.conductivity_sd_ms_per_m, 2], [b.skin_depth_m, 4]]));
  showResiduals(part, result.measurements);
  offerCards(part('nec'), prefix, result.nec_cards);
  part('result').hidden = false; // before the chart, which is drawn at the width it has
  if (curveBands) {
    const curves = { name: result.model_name, compared: Boolean(result.models), others: otherCurves(result, curveModels) };
    part('chart-summary').textContent = drawChart(part('chart'), curveBands, points, leftOutMhz, part('legend'), curves);
  }
}

export function hide(prefix) {
  byId(prefix + '-result').hidden = true;
}
