// SPDX-License-Identifier: MIT
// The page's own code, after the fit's module (createGndfitModule), the
// model's closed form (gndfitModelCurve) and the chart (gndfitChart) in the
// same script: reads the three fields, fits through the C API, shows the
// table, the base values, the chart and the visit's history, keeps the
// measurement in the URL (?f=7.1&er=13&s=5) so that a result can be shared,
// and over http(s) registers the service worker that keeps the page's files
// for use with no network.
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

  // The console's fields, one row per quantity and one cell per band (on a
  // narrow screen the stylesheet lays the bands out as rows instead).
  function showTable(result) {
    fillRow('band', result.bands.map((b) => b.texts[0]));
    fillRow('permittivity', result.bands.map((b) => b.texts[1]));
    fillRow('conductivity', result.bands.map((b) => b.texts[2]));
    fillRow('depth', result.bands.map((b) => b.texts[3]));
  }

  function showBase(result) {
    $('base').textContent = 'Base conductivity ' + significant(result.base_conductivity * 1000) +
      ' mS/m, base relative permittivity ' + significant(result.base_permittivity / kEps0) + '.';
  }

  function showChart(result) {
    gndfitChart.draw($('chart'), result);
    $('chart-summary').textContent = gndfitChart.describe(result);
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
    const search = '?' + new URLSearchParams({ f: values[0], er: values[1], s: values[2] }).toString();
    if (window.location.search === search) return; // a page opened from its link: nothing to change
    try {
      window.history.replaceState(null, '', search);
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
    showTable(result);
    showBase(result);
    // The measurement's own warnings (a base permittivity below vacuum's),
    // as the joint fit's views show theirs (joint_result.js, later in this
    // script).
    gndfitJointResult.showWarnings($('warnings'), result.warnings);
    $('result').hidden = false; // before the chart, which is drawn at the width it has
    showChart(result);
    addHistory(m.values);
  }

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

  $('measurement').addEventListener('submit', (event) => {
    event.preventDefault();
    fit();
  });

  // A link's measurement is fitted in a task of its own after the module's
  // start-up, so that the page answers input in between.
  function fitFromUrl() {
    const params = new URLSearchParams(window.location.search);
    if (params.has('f') || params.has('er') || params.has('s')) {
      fields.f.value = params.get('f') || '';
      fields.er.value = params.get('er') || '';
      fields.s.value = params.get('s') || '';
      fit();
    }
    document.body.dataset.ready = 'true';
  }

  // One instance of the module for the page; the joint view (joint_page.js)
  // uses it too.
  window.gndfitModuleReady = createGndfitModule();
  window.gndfitModuleReady.then((module) => {
    fitJson = module.cwrap('gndfit_fit_json', 'string', ['string']);
    window.gndfitFit = (text) => JSON.parse(fitJson(text)); // for tests and timing
    setTimeout(fitFromUrl, 0);
  });
  registerOfflineCache();
})();
