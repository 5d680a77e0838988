// SPDX-License-Identifier: MIT
// What the page keeps in its address, so that a result can be shared: one
// measurement as ?f=7.1&er=13&s=5, several as ?m=f,er,s[,u_er,u_s];...
// (the measurement lines only, fields joined by commas, lines by
// semicolons; blank and comment lines left out).

// The measurement lines of a text: not blank, not a # comment.
export function measurementLines(text) {
  return text.split(/\r\n|\r|\n/).map((l) => l.trim()).filter((l) => l !== '' && !l.startsWith('#'));
}

export function linkParameter(text) {
  return measurementLines(text).map((l) => l.replace(/\s*,\s*|\s+/g, ',')).join(';');
}

// The lines of an ?m= parameter, one a line.
export function textOfParameter(m) {
  return m.split(';').map((l) => l.trim()).filter((l) => l !== '').join('\n');
}

// ?m=... for the lines of `text`, its commas and semicolons kept readable.
export function jointSearch(text) {
  return '?m=' + encodeURIComponent(linkParameter(text)).replace(/%2C/g, ',').replace(/%3B/g, ';');
}

// ?f=..&er=..&s=.. for one measurement's three fields as typed.
export function singleSearch([f, er, s]) {
  return '?' + new URLSearchParams({ f, er, s }).toString();
}

// The three fields of a link's measurement, or null when it has none.
export function singleOfSearch(search) {
  const params = new URLSearchParams(search);
  if (!params.has('f') && !params.has('er') && !params.has('s')) return null;
  return [params.get('f') || '', params.get('er') || '', params.get('s') || ''];
}
