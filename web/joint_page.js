// SPDX-License-Identifier: MIT
// The page's second way in: several measurements fitted as one model.
// Lines added one at a time, typed or pasted into the text box, or read
// from a file, in the line format of `gndfit --joint`, go to the C API's
// joint fit; the view shows the two parameters with their standard
// deviations, chi-square, the warnings, the bands and the measurements with
// their residuals, and the chart (gndfitJointChart).  The measurements are kept in the URL as
// ?m=f,er,s[,u_er,u_s];... so that the fit can be shared.
(function () {
  'use strict';

  const $ = (id) => document.getElementById(id);
  let jointJson = null;
  let jointJsonAt = null;

  // --- the two views
  function showView(joint) {
    $('single-view').hidden = joint;
    $('joint-view').hidden = !joint;
    $('show-single').setAttribute('aria-pressed', String(!joint));
    $('show-joint').setAttribute('aria-pressed', String(joint));
  }

  // --- the link: the measurement lines only, fields joined by commas,
  // lines by semicolons; blank and comment lines are left out.
  function measurementLines(text) {
    return text.split(/\r\n|\r|\n/).map((l) => l.trim()).filter((l) => l !== '' && !l.startsWith('#'));
  }

  function linkParameter(text) {
    return measurementLines(text).map((l) => l.replace(/\s*,\s*|\s+/g, ',')).join(';');
  }

  function textOfParameter(m) {
    return m.split(';').map((l) => l.trim()).filter((l) => l !== '').join('\n');
  }

  function linkSearch(text) {
    return '?m=' + encodeURIComponent(linkParameter(text)).replace(/%2C/g, ',').replace(/%3B/g, ';');
  }

  function updateUrl(text) {
    const search = linkSearch(text);
    $('joint-link').href = search;
    if (window.location.search === search) return;
    try {
      window.history.replaceState(null, '', search);
    } catch (e) {
      // Pages opened from disk may refuse a changed URL: the result stands.
    }
  }

  // --- showing numbers
  function significant(value, digits) {
    if (value === null || value === undefined) return 'none';
    return Number.isFinite(value) ? Number(value.toPrecision(digits)).toString() : String(value);
  }

  // A cell or field with the JSON's value in full (for tests and copying)
  // and a rounded text.
  function setValue(node, value, digits) {
    node.textContent = significant(value, digits);
    node.dataset.value = value === null ? 'null' : String(value);
  }

  function withSd(value, sd, digits) {
    return significant(value, digits) + (sd === null ? ' (no sd)' : ' +- ' + significant(sd, 2));
  }

  function tableRows(id, rows) {
    const body = document.querySelector('#' + id + ' tbody');
    body.textContent = '';
    for (const cells of rows) {
      const tr = document.createElement('tr');
      for (const [value, digits] of cells) {
        const td = document.createElement('td');
        setValue(td, value, digits);
        tr.appendChild(td);
      }
      body.appendChild(tr);
    }
  }

  function showParameters(result) {
    const m = result.model;
    const field = (name) => document.querySelector('#joint-parameters dd[data-field="' + name + '"]');
    field('base_conductivity_s_per_m').textContent = withSd(m.base_conductivity_s_per_m, m.base_conductivity_sd, 5);
    field('base_conductivity_s_per_m').dataset.value = String(m.base_conductivity_s_per_m);
    field('base_conductivity_s_per_m').dataset.sd = String(m.base_conductivity_sd);
    field('base_permittivity').textContent = withSd(m.base_permittivity, m.base_permittivity_sd, 5);
    field('base_permittivity').dataset.value = String(m.base_permittivity);
    field('base_permittivity').dataset.sd = String(m.base_permittivity_sd);
    setValue(field('correlation'), m.correlation, 3);
    setValue(field('chi_square'), result.chi_square, 4);
    setValue(field('degrees_of_freedom'), result.degrees_of_freedom, 10);
    const n = result.measurements.length;
    $('joint-summary').textContent = 'Joint fit of ' + n + ' measurement' + (n === 1 ? '' : 's') + ', ' +
      (result.weighted ? 'weighted by their uncertainties.' : 'unweighted (no uncertainties given): the standard deviations come from the scatter of the residuals.');
  }

  function showWarnings(warnings) {
    const list = $('joint-warnings');
    list.textContent = '';
    for (const w of warnings) {
      const li = document.createElement('li');
      li.dataset.code = w.code;
      const code = document.createElement('strong');
      code.textContent = 'Warning (' + w.code + '):';
      li.append(code, ' ' + w.text);
      list.appendChild(li);
    }
  }

  function showErrors(errors) {
    const list = $('joint-errors');
    list.textContent = '';
    for (const e of errors) {
      const li = document.createElement('li');
      li.dataset.line = e.line === null ? 'null' : String(e.line);
      li.textContent = (e.line === null ? '' : 'Line ' + e.line + ': ') + e.reason;
      list.appendChild(li);
    }
  }

  // The uncertainties the lines give, by line number, for the error bars
  // (the JSON gives the measured values, not their uncertainties).
  function uncertaintiesByLine(text) {
    const byLine = new Map();
    text.split(/\r\n|\r|\n/).forEach((line, i) => {
      const fields = line.trim().split(/\s*,\s*|\s+/);
      if (fields.length === 5) byLine.set(i + 1, [Number(fields[3]), Number(fields[4])]);
    });
    return byLine;
  }

  function showChart(text, result) {
    const curve = JSON.parse(jointJsonAt(text, gndfitJointChart.gridMhz().join(',')));
    if (!curve.bands) return;
    const u = uncertaintiesByLine(text);
    const points = result.measurements.map((m) => {
      const [uEr, uS] = result.weighted && u.has(m.line) ? u.get(m.line) : [null, null];
      return { mhz: m.frequency_mhz, permittivity: m.permittivity, conductivity: m.conductivity_ms_per_m, u_er: uEr, u_s: uS };
    });
    $('joint-chart-summary').textContent = gndfitJointChart.draw($('joint-chart'), curve.bands, points);
  }

  function fit() {
    if (!jointJson) return;
    const text = $('joint-text').value;
    if (measurementLines(text).length === 0) {
      showErrors([{ line: null, reason: 'Enter at least one measurement, one a line.' }]);
      $('joint-result').hidden = true;
      return;
    }
    const result = JSON.parse(jointJson(text));
    updateUrl(text);
    if (result.errors) {
      showErrors(result.errors);
      $('joint-result').hidden = true;
      return;
    }
    showErrors([]);
    showParameters(result);
    showWarnings(result.warnings);
    tableRows('joint-bands', result.bands.map((b) => [[b.frequency_mhz, 4], [b.permittivity, 5], [b.permittivity_sd, 2],
      [b.conductivity_ms_per_m, 5], [b.conductivity_sd_ms_per_m, 2], [b.skin_depth_m, 4]]));
    tableRows('joint-measurements', result.measurements.map((m) => [[m.line, 10], [m.frequency_mhz, 6],
      [m.permittivity, 6], [m.model_permittivity, 5], [m.permittivity - m.model_permittivity, 3],
      [m.conductivity_ms_per_m, 6], [m.model_conductivity_ms_per_m, 5], [m.conductivity_ms_per_m - m.model_conductivity_ms_per_m, 3]]));
    $('joint-result').hidden = false; // before the chart, which is drawn at the width it has
    showChart(text, result);
  }

  function openFile(file) {
    const reader = new FileReader();
    reader.onload = () => {
      $('joint-text').value = String(reader.result);
      fit();
    };
    reader.onerror = () => showErrors([{ line: null, reason: 'The file could not be read: ' + file.name + '.' }]);
    reader.readAsText(file);
  }

  // --- adding and removing lines one at a time: each field one number
  // (a separator would split it into fields of its own), the two
  // uncertainties both or neither, as the fit asks of every line.
  const addFields = ['add-f', 'add-er', 'add-s', 'add-uer', 'add-us'];

  function lineOfFields() {
    const values = addFields.map((id) => $(id).value.trim());
    if (values.some((v) => /[\s,;]/.test(v))) return { error: 'Each field takes one number.' };
    if (values.slice(0, 3).some((v) => v === '')) return { error: 'Enter the frequency, permittivity and conductivity.' };
    if ((values[3] === '') !== (values[4] === '')) return { error: 'Give both uncertainties or neither.' };
    return { line: values.filter((v) => v !== '').join(' ') };
  }

  function addLine() {
    const got = lineOfFields();
    $('add-message').textContent = got.error || '';
    if (got.error) return;
    const box = $('joint-text');
    const text = box.value.replace(/\s+$/, '');
    box.value = (text === '' ? '' : text + '\n') + got.line + '\n';
    for (const id of addFields.slice(0, 3)) $(id).value = '';
    $('add-f').focus();
  }

  function removeLastLine() {
    const lines = $('joint-text').value.replace(/\s+$/, '').split('\n');
    for (let i = lines.length - 1; i >= 0; i--) {
      const l = lines[i].trim();
      if (l !== '' && !l.startsWith('#')) {
        lines.splice(i, 1);
        break;
      }
    }
    const text = lines.join('\n').replace(/\s+$/, '');
    $('joint-text').value = text === '' ? '' : text + '\n';
  }

  $('joint-add').addEventListener('submit', (event) => {
    event.preventDefault();
    addLine();
  });
  $('remove-line').addEventListener('click', removeLastLine);
  $('show-single').addEventListener('click', () => showView(false));
  $('show-joint').addEventListener('click', () => showView(true));
  $('joint-form').addEventListener('submit', (event) => {
    event.preventDefault();
    fit();
  });
  $('joint-file').addEventListener('change', (event) => {
    const file = event.target.files[0];
    if (file) openFile(file);
  });

  const params = new URLSearchParams(window.location.search);
  if (params.has('m')) {
    showView(true);
    $('joint-text').value = textOfParameter(params.get('m'));
  }
  window.gndfitModuleReady.then((module) => {
    jointJson = module.cwrap('gndfit_joint_json', 'string', ['string']);
    jointJsonAt = module.cwrap('gndfit_joint_json_at', 'string', ['string', 'string']);
    setTimeout(() => {
      if (params.has('m')) fit();
      document.body.dataset.jointReady = 'true';
    }, 0);
  });
})();
