// SPDX-License-Identifier: MIT
// The joint fit's chart, on the same panels: each shows the model's curve
// and its shaded 1-sd band, both from the module at a grid of frequencies,
// and the measured points with their +-1 sd error bars where the
// measurements have uncertainties.  The points are small rings, so that
// the curve stays visible through them, and each bar ends in caps wider
// than a ring, so that a bar shorter than the ring still shows.  Points
// of a sweep left out of the fit (they have no value) are grey crosses on
// the panel's foot at their frequencies.  A legend beside the chart says
// which mark is which.
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

// curve: [f, value, sd|null]; points: [f, value, u|null]; leftOut: [f].
function seriesOf(curveBands, measurements, leftOutMhz, key, sdKey) {
  const triple = (list) => list.map((b) => [b.frequency_mhz, b[key], b[sdKey]]);
  const curve = triple(curveBands).filter(([, v]) => isNumber(v));
  const points = triple(measurements).filter(([f, v]) => onChart(f) && isNumber(v));
  return { curve, points, leftOut: leftOutMhz.filter(onChart) };
}

function valueRange(series) {
  const values = [];
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
  if (series.curve.length) svg.appendChild(svgElement('path', { class: kind, d: pathThrough(series.curve, x, y) }));
  for (const f of series.leftOut) drawCross(svg, x(f), bottom - kCrossHalf - 2);
  for (const [f, v, u] of series.points) {
    if (isNumber(u) && u > 0) drawErrorBar(svg, x, y, f, v, u);
    svg.appendChild(svgElement('circle', { class: 'point', cx: x(f), cy: y(v), r: kPointRadius }));
  }
}

function render(svg, { curveBands, measurements, leftOutMhz }, measuredWidth) {
  const perm = seriesOf(curveBands, measurements, leftOutMhz, 'permittivity', 'permittivity_sd');
  const cond = seriesOf(curveBands, measurements, leftOutMhz, 'conductivity_ms_per_m', 'conductivity_sd_ms_per_m');
  renderPanels(svg, measuredWidth, perm, cond, valueRange, drawPanel);
}

const hasBars = (measurements) => measurements.some((m) => isNumber(m.permittivity_sd) || isNumber(m.conductivity_sd_ms_per_m));
const hasBand = (curveBands) => curveBands.some((b) => isNumber(b.permittivity_sd));

function describe({ curveBands, measurements, leftOutMhz }) {
  const leftOut = leftOutMhz.length
    ? ', ' + counted(leftOutMhz.length, 'point') + ' left out of the fit marked by crosses at the foot of each panel'
    : '';
  return 'Chart from 1 to 30 MHz on a logarithmic frequency axis: ' + counted(measurements.length, 'measured point') +
    (hasBars(measurements) ? ' with +-1 sd error bars' : '') + leftOut + ' and the joint model\'s curves' +
    (hasBand(curveBands) ? ' with a shaded band of +-1 sd' : '') + ', permittivity above and conductivity below.';
}

// A legend entry: a small SVG of the mark and its text.
function legendEntry(kind, text, withBar = false) {
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
  } else {
    icon.appendChild(svgElement('line', { class: 'perm', x1: 1, y1: 7, x2: 21, y2: 7 }));
  }
  li.append(icon, ' ' + text);
  return li;
}

// The legend of what `shown` draws, in the list `legend`.
function fillLegend(legend, { curveBands, measurements, leftOutMhz }) {
  legend.textContent = '';
  const bars = hasBars(measurements);
  legend.appendChild(legendEntry('point', bars ? 'measured, with +-1 sd' : 'measured', bars));
  legend.appendChild(legendEntry('curve', 'the model'));
  if (hasBand(curveBands)) legend.appendChild(legendEntry('band', 'its 1-sd band'));
  if (leftOutMhz.length) legend.appendChild(legendEntry('left-out', 'left out (no value)'));
}

// curveBands: the model at kGridMhz (the JSON's "bands"); measurements: the
// JSON's, with their uncertainties; leftOutMhz: the frequencies of points
// left out; legend: the list the legend goes into.  Gives the chart's
// text alternative.
export function draw(svg, curveBands, measurements, leftOutMhz = [], legend = null) {
  const shown = { curveBands, measurements, leftOutMhz };
  drawAtWidth(svg, render, shown);
  if (legend) fillLegend(legend, shown);
  return describe(shown);
}
