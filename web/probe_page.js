// SPDX-License-Identifier: MIT
// The page's third way in: an analyser's sweep of a probe in the ground,
// opened or dropped, with the probe's settings (a short probe's C0, typed
// or from its sweep in air; an open line's length and Z0, or Z0 from its
// rods).  The C API's probe conversion gives the ground points and their
// joint fit, shown by gndfitJointResult; the points can be saved as the
// CSV of `gndfit --probe` or handed to the several-measurements view.
(function () {
  'use strict';

  const $ = (id) => document.getElementById(id);
  let probeJson = null;
  let sweep = null;  // { name, text } of the sweep in the ground
  let air = null;    // { name, text } of the probe in air, if opened
  let csvUrl = null; // the points' CSV as a Blob URL
  let lastPoints = []; // the points of the last conversion

  const kind = () => ($('probe-line').checked ? 'line' : 'short');

  function showKind() {
    $('short-settings').hidden = kind() !== 'short';
    $('line-settings').hidden = kind() !== 'line';
  }

  function showErrors(errors) {
    gndfitJointResult.showErrors($('probe-errors'), errors);
  }

  // One number a field, as --probe takes its settings.
  function number(id, what, errors) {
    const text = $(id).value.trim();
    if (text === '') errors.push('Enter ' + what + '.');
    else if (!/^[+]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?$/.test(text) || !(Number(text) > 0)) {
      errors.push(what.charAt(0).toUpperCase() + what.slice(1) + ' must be one positive number (a point as the decimal mark).');
    }
    return text;
  }

  // The setting as --probe takes it, or the errors of the fields.  A file
  // name goes into the setting with its commas and equals signs replaced,
  // which the setting would read as separators.
  function setting() {
    const errors = [];
    let text;
    if (kind() === 'short') {
      const c0 = $('probe-c0').value.trim();
      if (c0 !== '' && air) errors.push('Give C0 or the sweep in air, not both.');
      else if (air) text = 'short,air=' + air.name.replace(/[,=]/g, '_');
      else text = 'short,c0=' + number('probe-c0', 'the capacitance in air, C0 (or open its sweep in air)', errors);
    } else {
      const length = number('probe-length', 'the length', errors);
      const z0 = number('probe-z0', 'the impedance in air, Z0', errors);
      text = 'line,length=' + length + ',z0=' + z0;
    }
    return { text, errors };
  }

  function showPoints(got) {
    $('probe-notes').textContent = '';
    for (const note of got.notes) {
      const li = document.createElement('li');
      li.textContent = note;
      if (note.startsWith('warning: ')) li.className = 'warning';
      $('probe-notes').appendChild(li);
    }
    const n = got.points.length;
    $('probe-count').textContent = n + ' point' + (n === 1 ? '' : 's') + ' from ' + sweep.name + '.';
    if (csvUrl) URL.revokeObjectURL(csvUrl);
    csvUrl = URL.createObjectURL(new Blob([got.csv], { type: 'text/csv' }));
    $('probe-download').href = csvUrl;
    $('probe-download').download = sweep.name.replace(/\.[^.]*$/, '') + '-ground.csv';
    $('probe-download').dataset.csv = got.csv;
    $('probe-points').hidden = false;
  }

  function hideAll() {
    $('probe-points').hidden = true;
    gndfitJointResult.hide('probe');
  }

  function fit() {
    if (!probeJson) return;
    const s = setting();
    if (!sweep) s.errors.push('Open the sweep of the probe in the ground, or drop it here.');
    if (s.errors.length) {
      showErrors(s.errors.map((reason) => ({ line: null, reason })));
      hideAll();
      return;
    }
    const airText = air ? air.text : null;
    const got = JSON.parse(probeJson(s.text, sweep.name, sweep.text, airText, null));
    if (got.errors) {
      showErrors(got.errors);
      hideAll();
      return;
    }
    showPoints(got);
    lastPoints = got.points;
    if (got.joint.errors) {
      showErrors(got.joint.errors);
      gndfitJointResult.hide('probe');
      return;
    }
    showErrors([]);
    const grid = gndfitJointChart.gridMhz().join(',');
    const curve = JSON.parse(probeJson(s.text, sweep.name, sweep.text, airText, grid)).joint;
    const points = got.points.map((p) => ({ mhz: p.frequency_mhz, permittivity: p.permittivity,
      conductivity: p.conductivity_ms_per_m, u_er: null, u_s: null }));
    const n = got.points.length;
    gndfitJointResult.show('probe', { result: got.joint, curveBands: curve.bands || null, points,
      summary: 'Joint fit of the ' + n + ' point' + (n === 1 ? '' : 's') + ' of ' + sweep.name });
  }

  // The points as lines of the several-measurements view, where their
  // uncertainties can be added.
  function handOver() {
    const lines = lastPoints.map((p) => p.frequency_mhz + ' ' + p.permittivity + ' ' + p.conductivity_ms_per_m);
    window.gndfitFitLines('# ' + sweep.name + ' through the probe\n' + lines.join('\n') + '\n');
  }

  function read(file, then) {
    const reader = new FileReader();
    reader.onload = () => then({ name: file.name, text: String(reader.result) });
    reader.onerror = () => showErrors([{ line: null, reason: 'The file could not be read: ' + file.name + '.' }]);
    reader.readAsText(file);
  }

  function takeSweep(file) {
    read(file, (got) => {
      sweep = got;
      $('probe-file-name').textContent = 'Opened: ' + got.name;
      fit();
    });
  }

  $('probe-form').addEventListener('submit', (event) => {
    event.preventDefault();
    fit();
  });
  for (const id of ['probe-short', 'probe-line']) $(id).addEventListener('change', showKind);
  $('probe-file').addEventListener('change', (event) => {
    if (event.target.files[0]) takeSweep(event.target.files[0]);
  });
  $('probe-air').addEventListener('change', (event) => {
    const file = event.target.files[0];
    if (!file) {
      air = null;
      return;
    }
    read(file, (got) => { air = got; });
  });
  const drop = $('probe-drop');
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
  $('rods-z0').addEventListener('click', () => {
    const errors = [];
    const d = Number(number('rod-diameter', 'the rod diameter', errors));
    const spacing = Number(number('rod-spacing', 'the rod spacing', errors));
    if (!errors.length && !(spacing > d)) errors.push('The spacing must be more than the diameter.');
    showErrors(errors.map((reason) => ({ line: null, reason })));
    if (!errors.length) $('probe-z0').value = String(Number((120 * Math.acosh(spacing / d)).toPrecision(6)));
  });
  $('probe-to-joint').addEventListener('click', handOver);

  gndfitJointResult.create($('probe-view'), 'probe');
  $('probe-measurements').caption.textContent = 'The sweep\'s points (line of the file; residual = point - model)';
  showKind();
  window.gndfitModuleReady.then((module) => {
    probeJson = module.cwrap('gndfit_probe_json', 'string', ['string', 'string', 'string', 'string', 'string']);
    document.body.dataset.probeReady = 'true';
  });
})();
