// SPDX-License-Identifier: MIT
// The page's first way in: one measurement.  Reads the three fields, fits
// through the module, shows the table, the base values, the chart and the
// visit's history, and keeps the measurement in the address
// (?f=7.1&er=13&s=5) so that a result can be shared.
import { byId, onSubmit, showSearch, showWarnings } from './dom.js';
import { draw as drawChart, describe as describeChart, kCurveMhz } from './fit_chart.js';
import { singleOfSearch, singleSearch } from './links.js';
import { significant } from './number_text.js';

const kSeparators = /[\s,]/; // what separates fields on the console
const kCurveList = kCurveMhz.join(',');
const visits = []; // measurements fitted in this visit, newest first
let api = null;

const fields = () => ({ f: byId('freq'), er: byId('perm'), s: byId('cond') });

function showMessage(text) {
  byId('message').textContent = text;
}

// Each field holds one number: a separator in it would split it into
// fields of its own, as on the console's line, and shift the others.
function measurementText() {
  const names = { f: 'frequency', er: 'permittivity', s: 'conductivity' };
  const boxes = fields();
  const parts = [];
  for (const key of ['f', 'er', 's']) {
    const value = boxes[key].value.trim();
    if (value === '') return { error: 'Enter the ' + names[key] + '.' };
    if (kSeparators.test(value)) {
      return { error: 'The ' + names[key] + ' field takes one number (use a point as the decimal mark).' };
    }
    parts.push(value);
  }
  return { text: parts.join(' '), values: parts };
}

function fillRow(row, texts) {
  const tr = document.querySelector('#bands tr[data-row="' + row + '"]');
  while (tr.children.length > 1) tr.removeChild(tr.lastChild);
  for (const text of texts) {
    const td = document.createElement('td');
    td.textContent = text.trim();
    td.dataset.text = text; // the console's field, padding included
    tr.appendChild(td);
  }
}

// The console's fields, one row per quantity and one cell per band (on a
// narrow screen the stylesheet lays the bands out as rows instead).
function showTable(result) {
  ['band', 'permittivity', 'conductivity', 'depth'].forEach((row, i) => fillRow(row, result.bands.map((b) => b.texts[i])));
}

function showBase(result) {
  byId('base').textContent = 'Base conductivity ' + significant(result.model.base_conductivity_s_per_m * 1000) +
    ' mS/m, base relative permittivity ' + significant(result.model.base_permittivity) + '.';
}

function showChart(result) {
  drawChart(byId('chart'), result);
  byId('chart-summary').textContent = describeChart(result);
}

function setFields([f, er, s]) {
  const boxes = fields();
  boxes.f.value = f;
  boxes.er.value = er;
  boxes.s.value = s;
}

function addHistory(values) {
  const key = values.join(' ');
  const at = visits.indexOf(key);
  if (at >= 0) visits.splice(at, 1);
  visits.unshift(key);
  const list = byId('history');
  list.textContent = '';
  for (const entry of visits) {
    const li = document.createElement('li');
    const button = document.createElement('button');
    button.type = 'button';
    const [f, er, s] = entry.split(' ');
    button.textContent = f + ' MHz, εr ' + er + ', ' + s + ' mS/m';
    button.dataset.measurement = entry;
    button.addEventListener('click', () => {
      setFields(entry.split(' '));
      fit();
    });
    li.appendChild(button);
    list.appendChild(li);
  }
  byId('history-box').hidden = false;
}

function fit() {
  if (!api) return;
  const m = measurementText();
  if (m.error) {
    showMessage(m.error);
    byId('result').hidden = true;
    return;
  }
  const started = performance.now();
  const result = api.fitAt(m.text, kCurveList);
  window.gndfitLastFitMs = performance.now() - started;
  showSearch(singleSearch(m.values));
  if (!result.table) {
    showMessage('No table: the console prints none for this measurement. Every value must be a number greater than zero.');
    byId('result').hidden = true;
    return;
  }
  showMessage('');
  showTable(result);
  showBase(result);
  // The measurement's own warnings (a base permittivity below vacuum's),
  // as the joint fit's views show theirs.
  showWarnings(byId('warnings'), result.warnings);
  byId('result').hidden = false; // before the chart, which is drawn at the width it has
  showChart(result);
  addHistory(m.values);
}

export function setUpSingleView() {
  onSubmit(byId('measurement'), fit);
}

// With the module: a link's measurement is fitted in a task of its own,
// so that the page answers input in between.
export function startSingleView(loaded) {
  api = loaded;
  window.gndfitFit = (text) => api.fit(text); // for tests and timing
  setTimeout(() => {
    const linked = singleOfSearch(window.location.search);
    if (linked) {
      setFields(linked);
      fit();
    }
    document.body.dataset.ready = 'true';
  }, 0);
}
