// SPDX-License-Identifier: MIT
// A joint fit's result as the page shows it, in the views that fit one
// model to several points (measurements typed or opened, a probe's
// sweep).  Each view has its own copy of the template #fit-result-template,
// its ids prefixed by the view's name ('joint-result', 'probe-result', ...);
// show() fills one copy from the C API's JSON: the two parameters with
// their standard deviations, chi-square, the warnings, the bands, the
// measurements with their residuals, and the chart (gndfitJointChart).
const gndfitJointResult = (function () {
  'use strict';

  const kReferences = ['id', 'for', 'aria-labelledby', 'aria-describedby'];

  // The template's copy for `prefix`, put into `container`.
  function create(container, prefix) {
    const copy = document.getElementById('fit-result-template').content.cloneNode(true);
    for (const node of copy.querySelectorAll('*')) {
      for (const name of kReferences) {
        const value = node.getAttribute(name);
        if (value) node.setAttribute(name, value.replace(/\bfit-/g, prefix + '-'));
      }
    }
    container.appendChild(copy);
  }

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

  function tableRows(body, rows) {
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

  function showParameters(part, result, summary) {
    const m = result.model;
    const field = (name) => part('parameters').querySelector('dd[data-field="' + name + '"]');
    for (const [name, sd] of [['base_conductivity_s_per_m', m.base_conductivity_sd], ['base_permittivity', m.base_permittivity_sd]]) {
      field(name).textContent = withSd(m[name], sd, 5);
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

  function showWarnings(list, warnings) {
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

  // Errors as list items, "Line N: reason" where they have a line.
  function showErrors(list, errors) {
    list.textContent = '';
    for (const e of errors) {
      const li = document.createElement('li');
      li.dataset.line = e.line === null ? 'null' : String(e.line);
      li.textContent = (e.line === null ? '' : 'Line ' + e.line + ': ') + e.reason;
      list.appendChild(li);
    }
  }

  // result: the JSON at the bands; curveBands: the model at the chart's
  // grid (null for no curve); points: the measured points for the chart,
  // {mhz, permittivity, conductivity, u_er, u_s}; summary: what was fitted.
  function show(prefix, { result, curveBands, points, summary }) {
    const part = (name) => document.getElementById(prefix + '-' + name);
    showParameters(part, result, summary);
    showWarnings(part('warnings'), result.warnings);
    tableRows(part('bands').tBodies[0], result.bands.map((b) => [[b.frequency_mhz, 4], [b.permittivity, 5],
      [b.permittivity_sd, 2], [b.conductivity_ms_per_m, 5], [b.conductivity_sd_ms_per_m, 2], [b.skin_depth_m, 4]]));
    tableRows(part('measurements').tBodies[0], result.measurements.map((m) => [[m.line, 10], [m.frequency_mhz, 6],
      [m.permittivity, 6], [m.model_permittivity, 5], [m.permittivity - m.model_permittivity, 3],
      [m.conductivity_ms_per_m, 6], [m.model_conductivity_ms_per_m, 5],
      [m.conductivity_ms_per_m - m.model_conductivity_ms_per_m, 3]]));
    part('result').hidden = false; // before the chart, which is drawn at the width it has
    if (curveBands) part('chart-summary').textContent = gndfitJointChart.draw(part('chart'), curveBands, points);
  }

  function hide(prefix) {
    document.getElementById(prefix + '-result').hidden = true;
  }

  return { create, show, hide, showErrors, showWarnings };
})();
