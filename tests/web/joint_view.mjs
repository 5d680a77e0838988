// SPDX-License-Identifier: MIT
// A joint fit's result as a view of the page shows it (the several
// measurements' view, the probe's), read back and compared with the
// native program's --json of the same input.
import { expect } from './harness.mjs';

// Everything the view shows, as text and as data-value.
export function readView(page, prefix) {
  return page.evaluate((prefix) => {
    const cell = (n) => ({ text: n.textContent, value: n.dataset.value, sd: n.dataset.sd });
    const rows = (part) => [...document.querySelectorAll(`#${prefix}-${part} tbody tr`)].map((tr) => [...tr.children].map(cell));
    const fields = {};
    for (const dd of document.querySelectorAll(`#${prefix}-parameters dd`)) fields[dd.dataset.field] = cell(dd);
    return {
      shown: !document.getElementById(`${prefix}-result`).hidden,
      fields,
      warnings: [...document.querySelectorAll(`#${prefix}-warnings li`)].map((li) => ({ code: li.dataset.code, text: li.textContent })),
      errors: [...document.querySelectorAll(`#${prefix}-errors li`)].map((li) => li.textContent),
      bands: rows('bands'),
      measurements: rows('measurements'),
      summary: document.getElementById(`${prefix}-summary`).textContent,
    };
  }, prefix);
}

const close = (a, b) => (a === null || b === null ? a === b : Math.abs(a - b) <= 1e-9 * Math.abs(b) + 1e-300);
// The cell's full value equals the program's, and its text reads as it to
// the digits shown.
function sameNumber(got, want, what) {
  const value = got.value === 'null' ? null : Number(got.value);
  expect(close(value, want), `${what}: page ${got.value}, program ${want}`);
  if (want === null) return;
  const shown = Number(got.text.split(' ')[0]);
  const digits = got.text.split(' ')[0].replace(/^-?0\.0*/, '').replace(/[-.]/g, '').length;
  expect(Math.abs(shown - want) <= Math.abs(want) * 10 ** (1 - digits) + 1e-12, `${what}: shows ${got.text}, program ${want}`);
}

export function sameAsProgram(view, want, what) {
  if (want.errors) {
    expect(!view.shown, `${what}: a result is shown for faulty lines`);
    expect(JSON.stringify(view.errors) === JSON.stringify(want.errors),
           `${what}: errors\n    page:    ${JSON.stringify(view.errors)}\n    program: ${JSON.stringify(want.errors)}`);
    return;
  }
  const j = want.json;
  expect(view.shown && view.errors.length === 0, `${what}: no result shown (${view.errors})`);
  const f = view.fields;
  sameNumber(f.base_conductivity_s_per_m, j.model.base_conductivity_s_per_m, `${what} base conductivity`);
  sameNumber(f.base_permittivity, j.model.base_permittivity, `${what} base permittivity`);
  for (const [name, sd] of [['base_conductivity_s_per_m', j.model.base_conductivity_sd], ['base_permittivity', j.model.base_permittivity_sd]]) {
    expect(close(f[name].sd === 'null' ? null : Number(f[name].sd), sd), `${what} ${name} sd: page ${f[name].sd}, program ${sd}`);
    expect(sd === null ? f[name].text.includes('no sd') : f[name].text.includes('+- ' + Number(sd.toPrecision(2))),
           `${what} ${name}: "${f[name].text}" does not show the sd ${sd}`);
  }
  sameNumber(f.correlation, j.model.correlation, `${what} correlation`);
  sameNumber(f.chi_square, j.chi_square, `${what} chi-square`);
  sameNumber(f.degrees_of_freedom, j.degrees_of_freedom, `${what} degrees of freedom`);
  expect(view.summary.includes(j.weighted ? 'weighted by their uncertainties' : 'unweighted'), `${what}: summary "${view.summary}"`);
  expect(view.bands.length === j.bands.length, `${what}: ${view.bands.length} band rows, program ${j.bands.length}`);
  j.bands.forEach((b, i) => {
    const keys = ['frequency_mhz', 'permittivity', 'permittivity_sd', 'conductivity_ms_per_m', 'conductivity_sd_ms_per_m', 'skin_depth_m'];
    keys.forEach((k, c) => sameNumber(view.bands[i][c], b[k], `${what} band ${b.frequency_mhz} ${k}`));
  });
  expect(view.measurements.length === j.measurements.length, `${what}: ${view.measurements.length} measurement rows`);
  j.measurements.forEach((m, i) => {
    const want8 = [m.line, m.frequency_mhz, m.permittivity, m.model_permittivity, m.permittivity - m.model_permittivity,
      m.conductivity_ms_per_m, m.model_conductivity_ms_per_m, m.conductivity_ms_per_m - m.model_conductivity_ms_per_m];
    want8.forEach((v, c) => sameNumber(view.measurements[i][c], v, `${what} measurement line ${m.line} column ${c + 1}`));
  });
  const warnings = j.warnings.map((w) => ({ code: w.code, text: `Warning (${w.code}): ${w.text}` }));
  expect(JSON.stringify(view.warnings) === JSON.stringify(warnings),
         `${what}: warnings\n    page:    ${JSON.stringify(view.warnings)}\n    program: ${JSON.stringify(warnings)}`);
}

