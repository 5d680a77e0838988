// SPDX-License-Identifier: MIT
// The charts' axes in numbers: round ticks, their texts, the frequency
// labels that fit and the frequencies a curve is asked for.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { curveMhz, frequencyLabels, frequencyScale, kFromMhz, kToMhz, roundTicks, tickText } from '../../../web/chart_axes.js';

// Ranges of every size and sign, as the fits give them.
const kRanges = [[0.5, 1.5], [3.2, 47.9], [9.8, 10.3], [0, 1e-7], [-2.4, 3.1], [12, 12], [0, 0],
  [1.2e6, 4.5e7], [2.5e-5, 3.5e-5], [0.999, 1.001], [-5e-3, -1e-3]];

test('round ticks cover the range in at most maxTicks round steps, their texts read back as them', () => {
  for (const [lo, hi] of kRanges) {
    for (const maxTicks of [5, 6]) {
      const t = roundTicks(lo, hi, maxTicks);
      const what = `[${lo}, ${hi}] in ${maxTicks}`;
      assert.ok(t.values.length >= 2 && t.values.length <= maxTicks, `${what}: ${t.values.length} ticks`);
      assert.ok(t.lo <= lo && t.hi >= hi, `${what}: ticks ${t.lo}..${t.hi} leave out the range`);
      const step = t.values[1] - t.values[0];
      const mantissa = step / 10 ** Math.floor(Math.log10(step) + 1e-9);
      assert.ok([1, 2, 2.5, 5].some((m) => Math.abs(mantissa - m) < 1e-6), `${what}: step ${step}`);
      assert.equal(new Set(t.texts).size, t.texts.length, `${what}: repeated labels ${t.texts}`);
      t.texts.forEach((text, i) => {
        assert.ok(Math.abs(Number(text) - t.values[i]) <= step * 1e-6, `${what}: label ${text} for ${t.values[i]}`);
      });
    }
  }
});

test('tick texts have the decimals their step needs, exponents only for extreme values', () => {
  assert.equal(tickText(2.5, 2.5, 2.5, 10), '2.5');
  assert.equal(tickText(0.25, 0.25, 2.5, 1), '0.25');
  assert.equal(tickText(40, 10, 1, 40), '40');
  assert.equal(tickText(1e-17, 0.2, 2, 1), '0.0'); // rounding noise at zero is 0
  assert.equal(tickText(3e7, 1e7, 1, 4e7), '3e+7');
  assert.equal(tickText(0, 1e-5, 1, 3e-5), '0');
});

test('frequency labels: the densest set that fits, fewer on a narrow chart', () => {
  assert.deepEqual(frequencyLabels(frequencyScale(60, 1000)), [1, 2, 3, 5, 10, 20, 30]);
  const narrow = frequencyLabels(frequencyScale(40, 240));
  assert.ok(narrow.length < 7 && narrow[0] === 1 && narrow.at(-1) === 30, `narrow: ${narrow}`);
  const x = frequencyScale(40, 240);
  assert.equal(x(kFromMhz), 40);
  assert.equal(x(kToMhz), 240);
});

test('a curve\'s frequencies run from 1 to 30 MHz exactly, rising evenly on the log axis', () => {
  const f = curveMhz(61);
  assert.equal(f.length, 61);
  assert.equal(f[0], 1);
  assert.equal(f[60], 30);
  for (let i = 1; i < f.length; i++) {
    assert.ok(Math.abs(Math.log(f[i] / f[i - 1]) - Math.log(30) / 60) < 1e-5, `step ${i}: ${f[i - 1]} to ${f[i]}`);
  }
});
