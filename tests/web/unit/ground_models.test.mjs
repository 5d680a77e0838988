// SPDX-License-Identifier: MIT
// What the page says about the ground models: the default model for a
// text, and why a parameter has no sd.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { defaultModel, parametersOf } from '../../../web/ground_models.js';

test('compare by default from 3 lines with uncertainties, whatever separates their fields', () => {
  assert.equal(defaultModel('# f er s u_er u_s\n1.8,47,8,0.5,0.2\n3.6\t36 10 0.5 0.2\n\n# 7.1 30 12 0.5 0.2\n'), 'messier');
  assert.equal(defaultModel('1.8,47,8,0.5,0.2\n3.6\t36 10 0.5 0.2\n 7.1 , 30 , 12 , 0.5 , 0.2 \n'), 'compare');
  assert.equal(defaultModel('1.8 47 8\n3.6 36 10\n7.1 30 12\n14 24 14\n'), 'messier');
});

test('a parameter without sd: at its bound or undetermined only as its own model\'s warnings say', () => {
  const model = { low_frequency_conductivity_ms_per_m: 10, dispersive_conductivity_ms_per_m: 0, exponent: 0.01,
    high_frequency_permittivity: 20, low_frequency_conductivity_sd: null, dispersive_conductivity_sd: null,
    exponent_sd: null, high_frequency_permittivity_sd: 0.25, covariance: [] };
  const warnings = [
    { code: 'parameter-at-bound', text: 'In the power-law model, the dispersive conductivity is at the bound of its domain, 0.' },
    { code: 'parameter-undetermined', text: 'In the power-law model, the exponent has no effect on the model\'s values.' },
    // Another model's warning names the same words: not this model's.
    { code: 'parameter-at-bound', text: 'In the other-law model, the low-frequency conductivity is at the bound.' },
  ];
  const got = parametersOf(model, 'power-law', warnings);
  assert.deepEqual(got.map((p) => [p.name, p.unit, p.sd, p.note]), [
    ['low_frequency_conductivity_ms_per_m', 'mS/m', null, 'no sd'],
    ['dispersive_conductivity_ms_per_m', 'mS/m', null, 'at its bound'],
    ['exponent', '', null, 'undetermined'],
    ['high_frequency_permittivity', '', 0.25, null],
  ]);
  // Alone (no "In the ... model" prefix) the warning is the fit's own.
  assert.equal(parametersOf(model, 'power-law', [{ code: 'parameter-at-bound', text: 'The exponent is at the bound of its domain, 0.01.' }])[2].note, 'at its bound');
});
