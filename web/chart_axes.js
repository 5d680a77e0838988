// SPDX-License-Identifier: MIT
// The charts' axes, in numbers only: the logarithmic frequency axis from
// 1 to 30 MHz with the labels that fit at its width, the frequencies a
// curve is sampled at, and round ticks for a value axis.
import { significant } from './number_text.js';

export const kFromMhz = 1;
export const kToMhz = 30;
export const kFontPx = 13; // the chart's text, as the stylesheet sets it
export const kFrequencyGrid = [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 20, 30];
// Labelled frequencies, densest first: the first set whose labels fit
// side by side at the chart's width is drawn.
const kFrequencyLabelSets = [
  [1, 2, 3, 5, 10, 20, 30],
  [1, 2, 5, 10, 20, 30],
  [1, 3, 10, 30],
  [1, 10, 30],
];

// An upper bound of a numeric label's width: digits, signs, points and
// 'e' are at most 0.62 em wide in common sans-serif faces.
export function labelWidth(text) {
  return text.length * kFontPx * 0.62;
}

// The x of a frequency (MHz) between `left` and `right`.
export function frequencyScale(left, right) {
  return (f) => left + (Math.log(f / kFromMhz) / Math.log(kToMhz / kFromMhz)) * (right - left);
}

// The densest label set whose neighbours stand apart by half their widths
// and 8 px at the scale `x`.
export function frequencyLabels(x) {
  for (const set of kFrequencyLabelSets) {
    const fits = set.every((f, i) => i === 0 ||
      x(f) - x(set[i - 1]) >= (labelWidth(String(f)) + labelWidth(String(set[i - 1]))) / 2 + 8);
    if (fits) return set;
  }
  return [kFromMhz, kToMhz];
}

// `count` frequencies (MHz, 6 significant digits) evenly spaced on the log
// axis, ends included: what a curve is asked for.
export function curveMhz(count) {
  const out = [];
  const ratio = Math.log(kToMhz / kFromMhz);
  for (let i = 0; i < count; i++) out.push(Number((kFromMhz * Math.exp((ratio * i) / (count - 1))).toPrecision(6)));
  return out;
}

// As many decimals as the step needs, so that ticks read 0.25, 2.5, 40;
// very large or small values in exponent form.
export function tickText(value, step, mantissa, largest) {
  const extra = mantissa === 2.5 ? 1 : 0;
  if (largest >= 1e6 || step < 1e-4) {
    const digits = Math.max(0, Math.floor(Math.log10(largest)) - Math.floor(Math.log10(step)) + extra);
    return value === 0 ? '0' : value.toExponential(Math.min(digits, 20));
  }
  const decimals = Math.max(0, -Math.floor(Math.log10(step) + 1e-9) + extra);
  return (Math.abs(value) < step / 2 ? 0 : value).toFixed(decimals);
}

// Round ticks: steps of 1, 2, 2.5 or 5 times a power of ten, at most
// maxTicks of them, the range widened to the outer ticks.
export function roundTicks(lo, hi, maxTicks) {
  if (!(hi > lo)) {
    const pad = lo !== 0 ? Math.abs(lo) * 0.1 : 1;
    lo -= pad;
    hi += pad;
  }
  let power = Math.pow(10, Math.floor(Math.log10((hi - lo) / (maxTicks - 1))));
  for (let tries = 0; tries < 40; tries++, power *= 10) {
    for (const mantissa of [1, 2, 2.5, 5]) {
      const step = mantissa * power;
      const first = Math.floor(lo / step);
      const last = Math.ceil(hi / step);
      if (last - first + 1 > maxTicks) continue;
      const values = [];
      for (let k = first; k <= last; k++) values.push(k * step);
      const largest = Math.max(Math.abs(first), Math.abs(last)) * step;
      const texts = values.map((v) => tickText(v, step, mantissa, largest));
      return { values, texts, lo: first * step, hi: last * step };
    }
  }
  return { values: [lo, hi], texts: [significant(lo), significant(hi)], lo, hi };
}
