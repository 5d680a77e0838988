// SPDX-License-Identifier: MIT
// Numbers as the page writes them for reading.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { counted, significant, withSd } from '../../../web/number_text.js';

test('significant digits without trailing zeros; none for a value the fit has not', () => {
  assert.equal(significant(12.060873973369096), '12.06');
  assert.equal(significant(0.00499905791276531, 3), '0.005');
  assert.equal(significant(-0.7505823694276615, 3), '-0.751');
  assert.equal(significant(6.872027601859012e-05, 2), '0.000069');
  assert.equal(significant(1.25e-9), '1.25e-9');
  assert.equal(significant(123456789, 4), '123500000');
  assert.equal(significant(null), 'none');
  assert.equal(significant(NaN), 'NaN');
  assert.equal(significant(-Infinity), '-Infinity');
});

test('a value with its standard deviation, or the note that it has none', () => {
  assert.equal(withSd(12.060873973369096, 0.16614668774207045, 5), '12.061 +- 0.17');
  assert.equal(withSd(0.125, null, 5), '0.125 (no sd)');
  assert.equal(withSd(2, 0, 5), '2 +- 0');
});

test('counts with their noun', () => {
  assert.equal(counted(1, 'point'), '1 point');
  assert.equal(counted(0, 'point'), '0 points');
  assert.equal(counted(12, 'measurement'), '12 measurements');
});
