// SPDX-License-Identifier: MIT
// The joint fit's chart, on the same panels: each shows the model's curve
// and its shaded 1-sd band, both from the module at a grid of frequencies,
// and the measured points with their +-1 sd error bars where the
// measurements have uncertainties.  The points are small rings, so that
// the curve stays visible through them, and each bar ends in caps wider
// than a ring, so that a bar shorter than the ring still shows.  Points
// of a sweep left out of the fit (they have no value) are grey crosses on
// the panel's foot at their frequencies.  With a comparison of models the
// chosen one is drawn so, the others as thinner dashed curves behind it.
// A legend beside the chart says which mark and which curve is which.
import { kFromMhz, kToMhz, curveMhz } from './chart_axes.js';
import { drawAtWidth, panelAxes, pathThrough, renderPanels } from './chart_panels.js';
import { svgElement } from './dom.js';
import { counted, isNumber } from './number_text.js';

// The frequencies the page asks the module's model for.
export const kGridMhz = curveMhz(61);

const kPointRadius = 2.5;
const kCapHalfWidth = 4.5; // px: wider than a ring
const kCrossHalf = 4;      // px

const onChart = (f) => f >= kFromMhz && f <= kToMhz;

// The other models' curves of a comparison, each with its own dashes,
// thinner than the chosen model's solid one.
const kOtherDashes = ['7 4', '2 3', '10 3 2 3'];
const dashOf = (i) => kOtherDashes[i % kOtherDashes.length];

// curve: [f, value, sd|null]; points: [f, value, u|null]; leftOut: [f];
// others: [{name, dash, curve: [f, value]}].
function seriesOf(shown, key, sdKey) {
  const { curveBands, measurements, leftOutMhz, curves } = shown;
  const triple = (list) => list.map((b) => [b.frequency_mhz, b[key], b[sdKey]]);
  const curve = triple(curveBands).filter(([, v]) => isNumber(v));
  const points = triple(measurements).filter(([f, v]) => onChart(f) && isNumber(v));
  const others = curves.others.map((c, i) => ({
    name: c.name, dash: dashOf(i), curve: c.bands.map((b) => [b.frequency_mhz, b[key]]).filter(([, v]) => isNumber(v)),
  }));
  return { curve, points, leftOut: leftOutMhz.filter(onChart), others, name: curves.name, compared: curves.compared };
}

// Every curve fits its panel, the other models' too.
function valueRange(series) {
  const values = series.others.flatMap((o) => o.curve.map(([, v]) => v));
  for (const [, v, sd] of series.curve.concat(series.points)) {
    const d = isNumber(sd) ? sd : 0;
    values.push(v, v - d, v + d);
  }
  return values.length ? [Math.min(...values), Math.max(...values)] : [0, 1];
}

function drawErrorBar(svg, x, y, f, v, u) {
  const cx = x(f);
  svg.appendChild(svgElement('line', { class: 'error-bar', x1: cx, y1: y(v - u), x2: cx, y2: y(v + u) }));
  for (const end of [v - u, v + u]) {
    svg.appendChild(svgElement('line', { class: 'error-cap', x1: cx - kCapHalfWidth, y1: y(end),
                                         x2: cx + kCapHalfWidth, y2: y(end) }));
  }
}

function drawCross(svg, cx, cy) {
  const d = 'M' + (cx - kCrossHalf) + ' ' + (cy - kCrossHalf) + ' L' + (cx + kCrossHalf) + ' ' + (cy + kCrossHalf) +
    ' M' + (cx - kCrossHalf) + ' ' + (cy + kCrossHalf) + ' L' + (cx + kCrossHalf) + ' ' + (cy - kCrossHalf);
  svg.appendChild(svgElement('path', { class: 'left-out', d }));
}

function drawPanel(svg, frame, x, panel) {
  const { series, kind, bottom } = panel;
  const y = panelAxes(svg, frame, x, panel);
  const banded = series.curve.filter(([, , sd]) => isNumber(sd));
  if (banded.length > 1) {
    const upper = pathThrough(banded.map(([f, v, sd]) => [f, v + sd]), x, y);
    const lower = pathThrough(banded.slice().reverse().map(([f, v, sd]) => [f, v - sd]), x, y).replace(/^M/, 'L');
    svg.appendChild(svgElement('path', { class: kind + '-band', d: upper + ' ' + lower + ' Z' }));
  }
  for (const o of series.others) {
    if (o.curve.length === 0) continue;
    svg.appendChild(svgElement('path', { class: kind + '-other', 'data-model': o.name, 'stroke-dasharray': o.dash,
                                         d: pathThrough(o.curve, x, y) }));
  }
  if (series.curve.length) {
    svg.appendChild(svgElement('path', { class: kind, 'data-model': series.name || '',
                                         'data-chosen': String(series.compared), d: pathThrough(series.curve, x, y) }));
  }
  for (const f of series.leftOut) drawCross(svg, x(f), bottom - kCrossHalf - 2);
  for (const [f, v, u] of series.points) {
    if (isNumber(u) && u > 0) drawErrorBar(svg, x, y, f, v, u);
    svg.appendChild(svgElement('circle', { class: 'point', cx: x(f), cy: y(v), r: kPointRadius }));
  }
}

function render(svg, shown, measuredWidth) {
  const perm = seriesOf(shown, 'permittivity', 'permittivity_sd');
  const cond = seriesOf(shown, 'conductivity_ms_per_m', 'conductivity_sd_ms_per_m');
  renderPanels(svg, measuredWidth, perm, cond, valueRange, drawPanel);
}

const hasBars = (measurements) => measurements.some((m) => isNumber(m.permittivity_sd) || isNumber(m.conductivity_sd_ms_per_m));
const hasBand = (curveBands) => curveBands.some((b) => isNumber(b.permittivity_sd));

function describe({ curveBands, measurements, leftOutMhz, curves }) {
  const leftOut = leftOutMhz.length
    ? ', ' + counted(leftOutMhz.length, 'point') + ' left out of the fit marked by crosses at the foot of each panel'
    : '';
  const others = curves.others.length
    ? ', and thinner dashed curves of the other models compared (' + curves.others.map((o) => o.name).join(', ') + ')'
    : '';
  const model = curves.compared ? 'the chosen model\'s (' + curves.name + ') curves' : 'the joint model\'s curves';
  return 'Chart from 1 to 30 MHz on a logarithmic frequency axis: ' + counted(measurements.length, 'measured point') +
    (hasBars(measurements) ? ' with +-1 sd error bars' : '') + leftOut + ' and ' + model +
    (hasBand(curveBands) ? ' with a shaded band of +-1 sd' : '') + others + ', permittivity above and conductivity below.';
}

// A legend entry: a small SVG of the mark and its text.
function legendEntry(kind, text, withBar = false, dash = '') {
  const li = document.createElement('li');
  li.dataset.mark = kind;
  const icon = svgElement('svg', { width: 22, height: 14, viewBox: '0 0 22 14', 'aria-hidden': 'true' });
  if (kind === 'point') {
    if (withBar) icon.appendChild(svgElement('line', { class: 'error-bar', x1: 11, y1: 1, x2: 11, y2: 13 }));
    icon.appendChild(svgElement('circle', { class: 'point', cx: 11, cy: 7, r: kPointRadius }));
  } else if (kind === 'band') {
    icon.appendChild(svgElement('rect', { class: 'perm-band', x: 1, y: 2, width: 20, height: 10 }));
  } else if (kind === 'left-out') {
    icon.appendChild(svgElement('path', { class: 'left-out', d: 'M7 3 L15 11 M7 11 L15 3' }));
  } else if (kind === 'other') {
    icon.appendChild(svgElement('line', { class: 'perm-other', 'stroke-dasharray': dash, x1: 1, y1: 7, x2: 21, y2: 7 }));
  } else {
    icon.appendChild(svgElement('line', { class: 'perm', x1: 1, y1: 7, x2: 21, y2: 7 }));
  }
  li.append(icon, ' ' + text);
  return li;
}

// The legend of what `shown` draws, in the list `legend`.
function fillLegend(legend, { curveBands, measurements, leftOutMhz, curves }) {
  legend.textContent = '';
  const bars = hasBars(measurements);
  legend.appendChild(legendEntry('point', bars ? 'measured, with +-1 sd' : 'measured', bars));
  legend.appendChild(legendEntry('curve', curves.compared ? curves.name + ' (chosen)' : 'the model'));
  if (hasBand(curveBands)) legend.appendChild(legendEntry('band', 'its 1-sd band'));
  curves.others.forEach((o, i) => {
    const li = legendEntry('other', o.name, false, dashOf(i));
    li.dataset.model = o.name;
    legend.appendChild(li);
  });
  if (leftOutMhz.length) legend.appendChild(legendEntry('left-out', 'left out (no value)'));
}

// curveBands: the model at kGridMhz (the JSON's "bands"); measurements: the
// JSON's, with their uncertainties; leftOutMhz: the frequencies of points
// left out; legend: the list the legend goes into; curves: the model's
// name, whether it was chosen by a comparison, and the other models'
// curves at kGridMhz ({name, bands}).  Gives the chart's text alternative.
export function draw(svg, curveBands, measurements, leftOutMhz = [], legend = null,
                     curves = { name: '', compared: false, others: [] }) {
  const shown = { curveBands, measurements, leftOutMhz, curves };
  drawAtWidth(svg, render, shown);
  if (legend) fillLegend(legend, shown);
  return describe(shown);
}
