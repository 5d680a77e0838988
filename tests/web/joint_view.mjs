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
      comparison: document.getElementById(`${prefix}-comparison-box`).hidden ? null : {
        rows: rows('comparison'),
        chosen: [...document.querySelectorAll(`#${prefix}-comparison tbody tr`)].map((tr) => tr.dataset.chosen),
        sentence: document.getElementById(`${prefix}-chosen`).textContent,
      },
    };
  }, prefix);
}

// The module and the program agree to rounding, except in the power law:
// its four-parameter fit stops within rounding of the minimum, and the
// browser's pow and log differ from the C library's in the last bit, so
// the two agree to 1e-6 (the agreement asked of its fit with SciPy's).
const kPowerLawTolerance = 1e-6;
const close = (a, b, tolerance = 1e-9) => (a === null || b === null ? a === b : Math.abs(a - b) <= tolerance * Math.abs(b) + 1e-300);
// The cell's full value equals the program's, and its text reads as it to
// the digits shown.
function sameNumber(got, want, what, tolerance = 1e-9) {
  const value = got.value === 'null' ? null : Number(got.value);
  expect(close(value, want, tolerance), `${what}: page ${got.value}, program ${want}`);
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
  const tol = j.model_name === 'power-law' ? kPowerLawTolerance : 1e-9;
  expect(view.shown && view.errors.length === 0, `${what}: no result shown (${view.errors})`);
  const f = view.fields;
  // Whatever the model, each parameter the JSON's "model" names, with its
  // sd (named as the parameter without its unit, then _sd), and nothing else.
  const names = Object.keys(j.model).filter((k) => !k.endsWith('_sd') && k !== 'correlation' && k !== 'covariance');
  const shownNames = Object.keys(f).filter((k) => !['correlation', 'chi_square', 'degrees_of_freedom'].includes(k));
  expect(JSON.stringify(shownNames) === JSON.stringify(names), `${what}: parameters shown ${shownNames}, program ${names}`);
  for (const name of names) {
    sameNumber(f[name], j.model[name], `${what} ${name}`, tol);
    const sd = j.model[name.replace(/_m?s_per_m$/, '') + '_sd'];
    expect(sd !== undefined, `${what}: the program has no sd for ${name}`);
    expect(close(f[name].sd === 'null' ? null : Number(f[name].sd), sd, tol), `${what} ${name} sd: page ${f[name].sd}, program ${sd}`);
    expect(sd === null ? /\((no sd|at its bound|undetermined)\)/.test(f[name].text) : f[name].text.includes('+- ' + Number(sd.toPrecision(2))),
           `${what} ${name}: "${f[name].text}" does not show the sd ${sd}`);
  }
  if ('correlation' in j.model) sameNumber(f.correlation, j.model.correlation, `${what} correlation`, tol);
  else expect(!f.correlation, `${what}: a correlation shown for ${j.model_name}`);
  sameNumber(f.chi_square, j.chi_square, `${what} chi-square`, tol);
  sameNumber(f.degrees_of_freedom, j.degrees_of_freedom, `${what} degrees of freedom`, tol);
  expect(view.summary.includes(j.weighted ? 'weighted by their uncertainties' : 'unweighted'), `${what}: summary "${view.summary}"`);
  expect(view.bands.length === j.bands.length, `${what}: ${view.bands.length} band rows, program ${j.bands.length}`);
  j.bands.forEach((b, i) => {
    const keys = ['frequency_mhz', 'permittivity', 'permittivity_sd', 'conductivity_ms_per_m', 'conductivity_sd_ms_per_m', 'skin_depth_m'];
    keys.forEach((k, c) => sameNumber(view.bands[i][c], b[k], `${what} band ${b.frequency_mhz} ${k}`, tol));
  });
  expect(view.measurements.length === j.measurements.length, `${what}: ${view.measurements.length} measurement rows`);
  j.measurements.forEach((m, i) => {
    const want8 = [m.line, m.frequency_mhz, m.permittivity, m.model_permittivity, m.permittivity - m.model_permittivity,
      m.conductivity_ms_per_m, m.model_conductivity_ms_per_m, m.conductivity_ms_per_m - m.model_conductivity_ms_per_m];
    want8.forEach((v, c) => sameNumber(view.measurements[i][c], v, `${what} measurement line ${m.line} column ${c + 1}`, tol));
  });
  sameComparison(view.comparison, j, what);
  const warnings = j.warnings.map((w) => ({ code: w.code, text: `Warning (${w.code}): ${w.text}` }));
  expect(JSON.stringify(view.warnings) === JSON.stringify(warnings),
         `${what}: warnings\n    page:    ${JSON.stringify(view.warnings)}\n    program: ${JSON.stringify(warnings)}`);
}


// With compare: a row a model in the program's order (name, k, chi-square,
// dof, AICc, weight), the chosen one marked and named in the sentence with
// its AICc below the next lowest; without, no comparison shown.
const kParameters = { messier: 2, 'alipio-visacro': 1, 'power-law': 4 };

function sameComparison(shown, j, what) {
  if (!j.models) {
    expect(shown === null, `${what}: a comparison shown for one model`);
    return;
  }
  expect(shown !== null && shown.rows.length === j.models.length, `${what}: comparison rows ${shown && shown.rows.length}`);
  j.models.forEach((m, i) => {
    const row = shown.rows[i];
    const tol = m.model_name === 'power-law' ? kPowerLawTolerance : 1e-9;
    expect(row[0].value === m.model_name, `${what}: comparison row ${i} is ${row[0].value}, program ${m.model_name}`);
    sameNumber(row[1], kParameters[m.model_name], `${what} ${m.model_name} k`, tol);
    sameNumber(row[2], m.chi_square, `${what} ${m.model_name} chi-square`, tol);
    sameNumber(row[3], m.degrees_of_freedom, `${what} ${m.model_name} dof`, tol);
    sameNumber(row[4], m.aicc, `${what} ${m.model_name} AICc`, tol);
    sameNumber(row[5], m.akaike_weight, `${what} ${m.model_name} Akaike weight`, tol);
    const chosen = m.model_name === j.chosen;
    expect(shown.chosen[i] === String(chosen) && row[0].text.includes('(chosen)') === chosen,
           `${what}: ${m.model_name} marked ${shown.chosen[i]} "${row[0].text}", chosen ${j.chosen}`);
  });
  const best = j.models.find((m) => m.model_name === j.chosen);
  const next = j.models.filter((m) => m !== best && m.aicc !== null).sort((a, b) => a.aicc - b.aicc)[0];
  expect(shown.sentence.startsWith(`The ${j.chosen} model is chosen`), `${what}: "${shown.sentence}"`);
  if (next) {
    const by = Number((next.aicc - best.aicc).toPrecision(3));
    expect(shown.sentence.includes(`AICc is ${by} below that of ${next.model_name}`) &&
           shown.sentence.includes(`Akaike weight is ${Number(best.akaike_weight.toPrecision(3))}`),
           `${what}: "${shown.sentence}" does not say by ${by} below ${next.model_name}`);
  }
}
