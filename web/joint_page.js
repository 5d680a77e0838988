// SPDX-License-Identifier: MIT
// The page's second way in: several measurements fitted as one model.
// Lines added one at a time, typed or pasted into the text box, or read
// from a file, in the line format of `gndfit --joint`, go to the C API's
// joint fit, shown by gndfitJointResult.  The measurements are kept in the
// URL as ?m=f,er,s[,u_er,u_s];... so that the fit can be shared.
(function () {
  'use strict';

  const $ = (id) => document.getElementById(id);
  let jointJson = null;
  let jointJsonAt = null;

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

  function showErrors(errors) {
    gndfitJointResult.showErrors($('joint-errors'), errors);
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

  // The model at the chart's grid, and the points with their error bars.
  function chartOf(text, result) {
    const curve = JSON.parse(jointJsonAt(text, gndfitJointChart.gridMhz().join(',')));
    const u = uncertaintiesByLine(text);
    const points = result.measurements.map((m) => {
      const [uEr, uS] = result.weighted && u.has(m.line) ? u.get(m.line) : [null, null];
      return { mhz: m.frequency_mhz, permittivity: m.permittivity, conductivity: m.conductivity_ms_per_m, u_er: uEr, u_s: uS };
    });
    return { curveBands: curve.bands || null, points };
  }

  function fit() {
    if (!jointJson) return;
    const text = $('joint-text').value;
    if (measurementLines(text).length === 0) {
      showErrors([{ line: null, reason: 'Enter at least one measurement, one a line.' }]);
      gndfitJointResult.hide('joint');
      return;
    }
    const result = JSON.parse(jointJson(text));
    updateUrl(text);
    if (result.errors) {
      showErrors(result.errors);
      gndfitJointResult.hide('joint');
      return;
    }
    showErrors([]);
    const n = result.measurements.length;
    const summary = 'Joint fit of ' + n + ' measurement' + (n === 1 ? '' : 's');
    gndfitJointResult.show('joint', { result, summary, ...chartOf(text, result) });
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
  $('joint-form').addEventListener('submit', (event) => {
    event.preventDefault();
    fit();
  });
  $('joint-file').addEventListener('change', (event) => {
    const file = event.target.files[0];
    if (file) openFile(file);
  });

  // The view's copy of the result, with the share link at its end.
  gndfitJointResult.create($('joint-view'), 'joint');
  $('joint-result').appendChild($('joint-share'));

  // Other views hand their points over as lines (probe_page.js).
  window.gndfitFitLines = (text) => {
    gndfitViews.show('joint-view');
    $('joint-text').value = text;
    fit();
  };

  const params = new URLSearchParams(window.location.search);
  if (params.has('m')) {
    gndfitViews.show('joint-view');
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
