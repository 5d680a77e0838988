// SPDX-License-Identifier: MIT
// The chart of one measurement's model: the curves are the fitted model
// at a fine grid of frequencies, as the module returns it ("curve"), the
// dots the table's band values, and a ring marks the measurement.
import { kFromMhz, kToMhz, curveMhz } from './chart_axes.js';
import { drawAtWidth, panelAxes, pathThrough, renderPanels } from './chart_panels.js';
import { svgElement } from './dom.js';
import { isNumber, significant } from './number_text.js';

// The frequencies the page asks the module's curve for.
export const kCurveMhz = curveMhz(160);

// What is drawn, in values: the curve, the band dots and the measurement
// where it lies on the chart; `key` names the quantity in the JSON.
function seriesOf(result, key) {
  const pairs = (list) => list.map((p) => [p.frequency_mhz, p[key]]).filter(([, v]) => isNumber(v));
  const curve = pairs(result.curve || []);
  const dots = pairs(result.bands);
  const f = result.frequency_mhz;
  const measured = f >= kFromMhz && f <= kToMhz && isNumber(result[key]) ? [[f, result[key]]] : [];
  return { curve, dots, measured };
}

function valueRange(series) {
  const values = series.curve.concat(series.dots, series.measured).map(([, v]) => v);
  if (values.length === 0) return [0, 1];
  return [Math.min(...values), Math.max(...values)];
}

function drawPanel(svg, frame, x, panel) {
  const { series, kind } = panel;
  const y = panelAxes(svg, frame, x, panel);
  if (series.curve.length) svg.appendChild(svgElement('path', { class: kind, d: pathThrough(series.curve, x, y) }));
  for (const [f, v] of series.dots) {
    svg.appendChild(svgElement('circle', { class: kind + '-dot', cx: x(f), cy: y(v), r: 3.5 }));
  }
  for (const [f, v] of series.measured) {
    svg.appendChild(svgElement('circle', { class: 'measured', cx: x(f), cy: y(v), r: 7 }));
  }
}

function render(svg, result, measuredWidth) {
  renderPanels(svg, measuredWidth, seriesOf(result, 'permittivity'), seriesOf(result, 'conductivity_ms_per_m'),
               valueRange, drawPanel);
}

// The chart's text alternative: what the curves do across the chart, from
// the curve's two ends.
export function describe(result) {
  const curve = result.curve || [];
  const low = curve[0];
  const high = curve[curve.length - 1];
  let text = 'Chart of the model from 1 to 30 MHz on a logarithmic frequency axis.';
  if (low && high && [low.permittivity, high.permittivity, low.conductivity_ms_per_m, high.conductivity_ms_per_m].every(isNumber)) {
    text += ' Relative permittivity (upper panel) falls from ' + significant(low.permittivity) +
      ' at ' + low.frequency_mhz + ' MHz to ' + significant(high.permittivity) + ' at ' + high.frequency_mhz +
      ' MHz; conductivity (lower panel) rises from ' + significant(low.conductivity_ms_per_m) + ' to ' +
      significant(high.conductivity_ms_per_m) + ' mS/m.';
  }
  text += ' Dots mark the ten bands of the table';
  const mhz = result.frequency_mhz;
  text += mhz >= kFromMhz && mhz <= kToMhz
    ? '; a ring in each panel marks the measurement at ' + mhz + ' MHz.'
    : '; the measurement at ' + mhz + ' MHz lies outside the chart.';
  return text;
}

export function draw(svg, result) {
  drawAtWidth(svg, render, result);
}
