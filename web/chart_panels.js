// SPDX-License-Identifier: MIT
// The charts' two panels on one logarithmic frequency axis from 1 to 30
// MHz, relative permittivity above and conductivity below, each on its own
// round ticks with light grid lines.  The SVG is drawn in CSS pixels at
// the width it has on the page (and again when that changes), so that its
// text keeps its size on a phone instead of shrinking with it.
import { kFontPx, kFrequencyGrid, frequencyLabels, frequencyScale, labelWidth, roundTicks } from './chart_axes.js';
import { svgElement } from './dom.js';

// A panel's grid, tick labels, frame and title; its value-to-y mapping.
export function panelAxes(svg, frame, x, panel) {
  const { left, right } = frame;
  const { top, bottom, ticks, title } = panel;
  const y = (v) => bottom - ((v - ticks.lo) / (ticks.hi - ticks.lo)) * (bottom - top);
  for (const f of kFrequencyGrid) {
    svg.appendChild(svgElement('line', { class: 'grid', x1: x(f), y1: top, x2: x(f), y2: bottom }));
  }
  ticks.values.forEach((v, i) => {
    svg.appendChild(svgElement('line', { class: 'grid', x1: left, y1: y(v), x2: right, y2: y(v) }));
    svg.appendChild(svgElement('text', { x: left - 6, y: y(v) + kFontPx * 0.35, 'text-anchor': 'end' }, ticks.texts[i]));
  });
  svg.appendChild(svgElement('rect', { class: 'frame', x: left, y: top, width: right - left, height: bottom - top }));
  svg.appendChild(svgElement('text', { class: 'panel-title', x: left, y: top - 9 }, title));
  return y;
}

// An SVG path through [f, v] points at the scales x and y.
export function pathThrough(points, x, y) {
  return points.map(([f, v], i) => (i ? 'L' : 'M') + x(f).toFixed(1) + ' ' + y(v).toFixed(1)).join(' ');
}

// The two panels at the chart's width (CSS px): permittivity above,
// conductivity below, on one log frequency axis; each panel's ticks from
// valueRange(series), its contents drawn by drawPanel.
export function renderPanels(svg, measuredWidth, perm, cond, valueRange, drawPanel) {
  const width = Math.max(240, measuredWidth || 640);
  const panelHeight = width < 480 ? 120 : 150;
  const maxTicks = Math.floor(panelHeight / 28) + 1;
  const permTicks = roundTicks(...valueRange(perm), maxTicks);
  const condTicks = roundTicks(...valueRange(cond), maxTicks);
  const widest = Math.max(...permTicks.texts.concat(condTicks.texts).map(labelWidth));
  const frame = { left: Math.ceil(widest) + 12, right: width - 16 };
  const x = frequencyScale(frame.left, frame.right);
  const permTop = 30;
  const condTop = permTop + panelHeight + 42;
  const axisY = condTop + panelHeight;
  const height = axisY + 46;

  const title = svg.querySelector('title');
  while (svg.lastChild) svg.removeChild(svg.lastChild);
  if (title) svg.appendChild(title);
  svg.setAttribute('viewBox', '0 0 ' + width + ' ' + height);
  svg.setAttribute('height', height);
  drawPanel(svg, frame, x, { top: permTop, bottom: permTop + panelHeight, ticks: permTicks, series: perm,
                             title: 'Relative permittivity', kind: 'perm' });
  drawPanel(svg, frame, x, { top: condTop, bottom: axisY, ticks: condTicks, series: cond,
                             title: 'Conductivity, mS/m', kind: 'cond' });
  for (const f of frequencyLabels(x)) {
    svg.appendChild(svgElement('text', { x: x(f), y: axisY + 18, 'text-anchor': 'middle' }, String(f)));
  }
  svg.appendChild(svgElement('text', { x: (frame.left + frame.right) / 2, y: axisY + 38, 'text-anchor': 'middle' },
                             'Frequency, MHz (logarithmic)'));
}

// Draws with render(svg, shown, width) now and again whenever the chart's
// width changes; each chart (one a view) keeps what it shows.
const charts = new WeakMap(); // svg -> { render, shown, width }
const widthOf = (svg) => Math.round(svg.getBoundingClientRect().width);
let observer = null;

function resized(entries) {
  for (const { target } of entries) {
    const chart = charts.get(target);
    const width = widthOf(target);
    if (!chart || width === chart.width || width === 0) continue;
    chart.width = width;
    chart.render(target, chart.shown, width);
  }
}

export function drawAtWidth(svg, render, shown) {
  const known = charts.has(svg);
  const chart = { render, shown, width: widthOf(svg) };
  charts.set(svg, chart);
  render(svg, shown, chart.width);
  if (!observer && typeof ResizeObserver === 'function') observer = new ResizeObserver(resized);
  if (observer && !known) observer.observe(svg);
}
