// SPDX-License-Identifier: MIT
// The joint fit's chart, on the same panels: each shows the model's curve
// and its shaded 1-sd band, both from the module at a grid of frequencies,
// and the measured points with their +-1 sd error bars where the
// measurements have uncertainties.
import { kFromMhz, kToMhz, curveMhz } from './chart_axes.js';
import { drawAtWidth, panelAxes, pathThrough, renderPanels } from './chart_panels.js';
import { svgElement } from './dom.js';
import { counted, isNumber } from './number_text.js';

// The frequencies the page asks the module's model for.
export const kGridMhz = curveMhz(61);

// curve: [f, value, sd|null]; points: [f, value, u|null].
function seriesOf(curveBands, measurements, key, sdKey) {
  const triple = (list) => list.map((b) => [b.frequency_mhz, b[key], b[sdKey]]);
  const curve = triple(curveBands).filter(([, v]) => isNumber(v));
  const points = triple(measurements).filter(([f, v]) => f >= kFromMhz && f <= kToMhz && isNumber(v));
  return { curve, points };
}

function valueRange(series) {
  const values = [];
  for (const [, v, sd] of series.curve.concat(series.points)) {
    const d = isNumber(sd) ? sd : 0;
    values.push(v, v - d, v + d);
  }
  return values.length ? [Math.min(...values), Math.max(...values)] : [0, 1];
}

function drawPanel(svg, frame, x, panel) {
  const { series, kind } = panel;
  const y = panelAxes(svg, frame, x, panel);
  const banded = series.curve.filter(([, , sd]) => isNumber(sd));
  if (banded.length > 1) {
    const upper = pathThrough(banded.map(([f, v, sd]) => [f, v + sd]), x, y);
    const lower = pathThrough(banded.slice().reverse().map(([f, v, sd]) => [f, v - sd]), x, y).replace(/^M/, 'L');
    svg.appendChild(svgElement('path', { class: kind + '-band', d: upper + ' ' + lower + ' Z' }));
  }
  if (series.curve.length) svg.appendChild(svgElement('path', { class: kind, d: pathThrough(series.curve, x, y) }));
  for (const [f, v, u] of series.points) {
    if (isNumber(u) && u > 0) {
      svg.appendChild(svgElement('line', { class: 'error-bar', x1: x(f), y1: y(v - u), x2: x(f), y2: y(v + u) }));
    }
    svg.appendChild(svgElement('circle', { class: 'point', cx: x(f), cy: y(v), r: 3.5 }));
  }
}

function render(svg, { curveBands, measurements }, measuredWidth) {
  const perm = seriesOf(curveBands, measurements, 'permittivity', 'permittivity_sd');
  const cond = seriesOf(curveBands, measurements, 'conductivity_ms_per_m', 'conductivity_sd_ms_per_m');
  renderPanels(svg, measuredWidth, perm, cond, valueRange, drawPanel);
}

function describe({ curveBands, measurements }) {
  const bars = measurements.some((m) => isNumber(m.permittivity_sd) || isNumber(m.conductivity_sd_ms_per_m));
  const band = curveBands.some((b) => isNumber(b.permittivity_sd));
  return 'Chart from 1 to 30 MHz on a logarithmic frequency axis: ' + counted(measurements.length, 'measured point') +
    (bars ? ' with +-1 sd error bars' : '') + ' and the joint model\'s curves' +
    (band ? ' with a shaded band of +-1 sd' : '') + ', permittivity above and conductivity below.';
}

// curveBands: the model at kGridMhz (the JSON's "bands"); measurements: the
// JSON's, with their uncertainties.  Gives the chart's text alternative.
export function draw(svg, curveBands, measurements) {
  const shown = { curveBands, measurements };
  drawAtWidth(svg, render, shown);
  return describe(shown);
}
