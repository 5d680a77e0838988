// SPDX-License-Identifier: MIT
// Numbers as the page writes them for reading: a few significant digits,
// 'none' where the fit has no value, and counts with their noun.

// `value` to `digits` significant digits, without trailing zeros.
export function significant(value, digits = 4) {
  if (value === null || value === undefined) return 'none';
  return Number.isFinite(value) ? Number(value.toPrecision(digits)).toString() : String(value);
}

// A value with its standard deviation, or the note that it has none.
export function withSd(value, sd, digits) {
  return significant(value, digits) + (sd === null ? ' (no sd)' : ' +- ' + significant(sd, 2));
}

// '1 point', '3 points'.
export function counted(n, noun) {
  return n + ' ' + noun + (n === 1 ? '' : 's');
}

export const isNumber = (v) => typeof v === 'number' && Number.isFinite(v);
