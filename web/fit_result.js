// SPDX-License-Identifier: MIT
// A joint fit's result as the page shows it, in the views that fit one
// model to several points (measurements typed or opened, a probe's
// sweep).  Each view has its own copy of the template #fit-result-template,
// its ids prefixed by the view's name ('joint-result', 'probe-result', ...);
// show() fills one copy from the module's JSON: the two parameters with
// their standard deviations, chi-square, the warnings, the bands, the
// measurements with their residuals (folded away when there are more than
// kOpenRows of them), and the chart with its legend.
import { byId, showWarnings } from './dom.js';
import { draw as drawChart } from './joint_chart.js';
import { counted, significant, withSd } from './number_text.js';

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
// screen breaks the line before "+-", never after it.
function showWithSd(node, value, sd) {
  const [number, rest] = withSd(value, sd, 5).split(/ (?=\+- |\(no sd\))/);
  const piece = (text) => Object.assign(document.createElement('span'), { className: 'nowrap', textContent: text });
  node.textContent = '';
  node.append(piece(number), ' ', piece(rest));
}

function showParameters(part, result, summary) {
  const m = result.model;
  const field = (name) => part('parameters').querySelector('dd[data-field="' + name + '"]');
  for (const [name, sd] of [['base_conductivity_s_per_m', m.base_conductivity_sd], ['base_permittivity', m.base_permittivity_sd]]) {
    showWithSd(field(name), m[name], sd);
    field(name).dataset.value = String(m[name]);
    field(name).dataset.sd = String(sd);
  }
  setValue(field('correlation'), m.correlation, 3);
  setValue(field('chi_square'), result.chi_square, 4);
  setValue(field('degrees_of_freedom'), result.degrees_of_freedom, 10);
  part('summary').textContent = summary + ', ' + (result.weighted
    ? 'weighted by their uncertainties.'
    : 'unweighted (no uncertainties given): the standard deviations come from the scatter of the residuals.');
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

// result: the JSON at the bands; curveBands: the model at the chart's
// grid (null for no curve); summary: what was fitted; points: the points
// the chart draws, as the JSON's measurements (by default those); leftOutMhz:
// the frequencies of points left out of the fit.
export function show(prefix, { result, curveBands, summary, points = result.measurements, leftOutMhz = [] }) {
  const part = (name) => byId(prefix + '-' + name);
  showParameters(part, result, summary);
  showWarnings(part('warnings'), result.warnings);
  tableRows(part('bands'), result.bands.map((b) => [[b.frequency_mhz, 4], [b.permittivity, 5],
    [b.permittivity_sd, 2], [b.conductivity_ms_per_m, 5], [b.conductivity_sd_ms_per_m, 2], [b.skin_depth_m, 4]]));
  showResiduals(part, result.measurements);
  offerCards(part('nec'), prefix, result.nec_cards);
  part('result').hidden = false; // before the chart, which is drawn at the width it has
  if (curveBands) {
    part('chart-summary').textContent = drawChart(part('chart'), curveBands, points, leftOutMhz, part('legend'));
  }
}

export function hide(prefix) {
  byId(prefix + '-result').hidden = true;
}
