// SPDX-License-Identifier: MIT
// The page's own code, after the fit's module (createGndfitModule) in the
// same script: reads the three fields, fits through the C API, shows the
// table, the base values, a chart and the visit's history, and keeps the
// measurement in the URL (?f=7.1&er=13&s=5) so that a result can be shared.
(function () {
  'use strict';

  const kEps0 = 8.854187812800387e-12; // F/m, as the model uses it
  const kSeparators = /[\s,]/;          // what separates fields on the console
  const $ = (id) => document.getElementById(id);
  const fields = { f: $('freq'), er: $('perm'), s: $('cond') };
  const visits = []; // measurements fitted in this visit, newest first
  let fitJson = null;

  function showMessage(text) {
    $('message').textContent = text;
  }

  // Each field holds one number: a separator in it would split it into
  // fields of its own, as on the console's line, and shift the others.
  function measurementText() {
    const names = { f: 'frequency', er: 'permittivity', s: 'conductivity' };
    const parts = [];
    for (const key of ['f', 'er', 's']) {
      const value = fields[key].value.trim();
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

  function significant(value) {
    return Number.isFinite(value) ? Number(value.toPrecision(4)).toString() : String(value);
  }

  // --- the chart: both curves through the ten band values on a log
  // frequency axis, each on its own linear scale, the measurement marked.
  const svgNs = 'http://www.w3.org/2000/svg';
  function svg(name, attributes, text) {
    const element = document.createElementNS(svgNs, name);
    for (const [k, v] of Object.entries(attributes)) element.setAttribute(k, v);
    if (text !== undefined) element.textContent = text;
    return element;
  }

  function drawChart(result) {
    const chart = $('chart');
    const title = $('chart-title');
    while (chart.lastChild) chart.removeChild(chart.lastChild);
    chart.appendChild(title);
    const left = 56, right = 584, top = 30, bottom = 256;
    const fMin = 1.8, fMax = 28.5;
    const x = (f) => left + (Math.log(f / fMin) / Math.log(fMax / fMin)) * (right - left);
    const series = (name) => result.bands.map((b) => [b.mhz, b[name]]).filter(([, v]) => v !== null && Number.isFinite(v));
    const scale = (points, extra) => {
      const values = points.map(([, v]) => v).concat(extra);
      let lo = Math.min(...values), hi = Math.max(...values);
      if (!(hi > lo)) { lo -= 1; hi += 1; }
      const pad = (hi - lo) * 0.08;
      lo -= pad; hi += pad;
      return { y: (v) => bottom - ((v - lo) / (hi - lo)) * (bottom - top), lo, hi };
    };
    const perm = series('permittivity');
    const cond = series('conductivity_ms');
    const measured = [result.frequency_mhz, result.permittivity, result.conductivity_ms];
    const inRange = measured[0] >= fMin && measured[0] <= fMax;
    const ps = scale(perm, inRange && Number.isFinite(measured[1]) ? [measured[1]] : []);
    const cs = scale(cond, inRange && Number.isFinite(measured[2]) ? [measured[2]] : []);
    chart.appendChild(svg('line', { class: 'axis', x1: left, y1: bottom, x2: right, y2: bottom }));
    chart.appendChild(svg('line', { class: 'axis', x1: left, y1: top, x2: left, y2: bottom }));
    chart.appendChild(svg('line', { class: 'axis', x1: right, y1: top, x2: right, y2: bottom }));
    for (const b of result.bands) {
      chart.appendChild(svg('text', { x: x(b.mhz), y: bottom + 14, 'text-anchor': 'middle' }, String(b.mhz)));
    }
    chart.appendChild(svg('text', { x: (left + right) / 2, y: bottom + 32, 'text-anchor': 'middle' }, 'MHz'));
    const axes = [[ps, left - 6, 'end', 'relative permittivity (solid)', left, 'start'],
                  [cs, right + 6, 'start', 'conductivity, mS/m (dashed)', right, 'end']];
    for (const [s, at, anchor, label, labelAt, labelAnchor] of axes) {
      for (const v of [s.lo, (s.lo + s.hi) / 2, s.hi]) {
        chart.appendChild(svg('text', { x: at, y: s.y(v) + 4, 'text-anchor': anchor }, significant(v)));
      }
      chart.appendChild(svg('text', { x: labelAt, y: 14, 'text-anchor': labelAnchor }, label));
    }
    const path = (points, s) => points.map(([f, v], i) => (i ? 'L' : 'M') + x(f).toFixed(1) + ' ' + s.y(v).toFixed(1)).join(' ');
    if (perm.length) chart.appendChild(svg('path', { class: 'perm', d: path(perm, ps) }));
    if (cond.length) chart.appendChild(svg('path', { class: 'cond', d: path(cond, cs) }));
    for (const [f, v] of perm) chart.appendChild(svg('circle', { class: 'perm-dot', cx: x(f), cy: ps.y(v), r: 3 }));
    for (const [f, v] of cond) chart.appendChild(svg('circle', { class: 'cond-dot', cx: x(f), cy: cs.y(v), r: 3 }));
    if (inRange) {
      for (const [v, s] of [[measured[1], ps], [measured[2], cs]]) {
        if (Number.isFinite(v)) {
          chart.appendChild(svg('circle', { class: 'measured', cx: x(measured[0]), cy: s.y(v), r: 7 }));
        }
      }
    }
  }

  function addHistory(values) {
    const key = values.join(' ');
    const at = visits.indexOf(key);
    if (at >= 0) visits.splice(at, 1);
    visits.unshift(key);
    const list = $('history');
    list.textContent = '';
    for (const entry of visits) {
      const li = document.createElement('li');
      const button = document.createElement('button');
      button.type = 'button';
      const [f, er, s] = entry.split(' ');
      button.textContent = f + ' MHz, εr ' + er + ', ' + s + ' mS/m';
      button.dataset.measurement = entry;
      button.addEventListener('click', () => {
        const [f, er, s] = entry.split(' ');
        fields.f.value = f; fields.er.value = er; fields.s.value = s;
        fit();
      });
      li.appendChild(button);
      list.appendChild(li);
    }
    $('history-box').hidden = false;
  }

  function updateUrl(values) {
    const params = new URLSearchParams({ f: values[0], er: values[1], s: values[2] });
    try {
      window.history.replaceState(null, '', '?' + params.toString());
    } catch (e) {
      // Pages opened from disk may refuse a changed URL: the result stands.
    }
  }

  function fit() {
    if (!fitJson) return;
    const m = measurementText();
    if (m.error) {
      showMessage(m.error);
      $('result').hidden = true;
      return;
    }
    const started = performance.now();
    const result = JSON.parse(fitJson(m.text));
    window.gndfitLastFitMs = performance.now() - started;
    updateUrl(m.values);
    if (!result.table) {
      showMessage('No table: the console prints none for this measurement. Every value must be a number greater than zero.');
      $('result').hidden = true;
      return;
    }
    showMessage('');
    fillRow('band', result.bands.map((b) => b.texts[0]));
    fillRow('permittivity', result.bands.map((b) => b.texts[1]));
    fillRow('conductivity', result.bands.map((b) => b.texts[2]));
    fillRow('depth', result.bands.map((b) => b.texts[3]));
    $('base').textContent = 'Base conductivity ' + significant(result.base_conductivity * 1000) +
      ' mS/m, base relative permittivity ' + significant(result.base_permittivity / kEps0) + '.';
    drawChart(result);
    $('result').hidden = false;
    addHistory(m.values);
  }

  $('measurement').addEventListener('submit', (event) => {
    event.preventDefault();
    fit();
  });

  createGndfitModule().then((module) => {
    fitJson = module.cwrap('gndfit_fit_json', 'string', ['string']);
    window.gndfitFit = (text) => JSON.parse(fitJson(text)); // for tests and timing
    const params = new URLSearchParams(window.location.search);
    if (params.has('f') || params.has('er') || params.has('s')) {
      fields.f.value = params.get('f') || '';
      fields.er.value = params.get('er') || '';
      fields.s.value = params.get('s') || '';
      fit();
    }
    document.body.dataset.ready = 'true';
  });
})();
