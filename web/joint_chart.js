// SPDX-License-Identifier: MIT
// The joint fit's chart, on the single fit's axes (gndfitChart.parts): two
// panels on a log frequency axis from 1 to 30 MHz, permittivity above and
// conductivity below.  Each panel shows the model's curve and its shaded
// 1-sd band, both from the C API at a grid of frequencies, and the measured
// points with their +-1 sd error bars where the lines give uncertainties.
const gndfitJointChart = (function () {
  'use strict';

  const { element, kFromMhz, kToMhz, panelAxes, renderPanels, drawAtWidth } = gndfitChart.parts;
  const kGridCount = 61;

  // The frequencies (MHz) the model is asked for, evenly spaced on the log axis.
  function gridMhz() {
    const out = [];
    const ratio = Math.log(kToMhz / kFromMhz);
    for (let i = 0; i < kGridCount; i++) out.push(Number((kFromMhz * Math.exp((ratio * i) / (kGridCount - 1))).toPrecision(6)));
    return out;
  }

  const finite = (v) => typeof v === 'number' && Number.isFinite(v);

  // curve: [f, value, sd|null]; points: [f, value, u|null].
  function seriesOf(curveBands, points, key, sdKey) {
    const curve = curveBands.map((b) => [b.frequency_mhz, b[key], b[sdKey]]).filter(([, v]) => finite(v));
    const shown = points.filter(([f, v]) => f >= kFromMhz && f <= kToMhz && finite(v));
    return { curve, points: shown };
  }

  function valueRange(series) {
    const values = [];
    for (const [, v, sd] of series.curve) values.push(v, v - (finite(sd) ? sd : 0), v + (finite(sd) ? sd : 0));
    for (const [, v, u] of series.points) values.push(v, v - (finite(u) ? u : 0), v + (finite(u) ? u : 0));
    return values.length ? [Math.min(...values), Math.max(...values)] : [0, 1];
  }

  function drawPanel(svg, frame, x, panel) {
    const { series, kind } = panel;
    const y = panelAxes(svg, frame, x, panel);
    const pt = (f, v) => x(f).toFixed(1) + ' ' + y(v).toFixed(1);
    const banded = series.curve.filter(([, , sd]) => finite(sd));
    if (banded.length > 1) {
      const upper = banded.map(([f, v, sd], i) => (i ? 'L' : 'M') + pt(f, v + sd));
      const lower = banded.slice().reverse().map(([f, v, sd]) => 'L' + pt(f, v - sd));
      svg.appendChild(element('path', { class: kind + '-band', d: upper.concat(lower).join(' ') + ' Z' }));
    }
    if (series.curve.length) {
      svg.appendChild(element('path', { class: kind, d: series.curve.map(([f, v], i) => (i ? 'L' : 'M') + pt(f, v)).join(' ') }));
    }
    for (const [f, v, u] of series.points) {
      if (finite(u) && u > 0) {
        svg.appendChild(element('line', { class: 'error-bar', x1: x(f), y1: y(v - u), x2: x(f), y2: y(v + u) }));
      }
      svg.appendChild(element('circle', { class: 'point', cx: x(f), cy: y(v), r: 3.5 }));
    }
  }

  function render(svg, shown, measuredWidth) {
    const { curveBands, points } = shown;
    const perm = seriesOf(curveBands, points.map((p) => [p.mhz, p.permittivity, p.u_er]), 'permittivity', 'permittivity_sd');
    const cond = seriesOf(curveBands, points.map((p) => [p.mhz, p.conductivity, p.u_s]), 'conductivity_ms_per_m', 'conductivity_sd_ms_per_m');
    renderPanels(svg, measuredWidth, perm, cond, valueRange, drawPanel);
  }

  function describe(shown) {
    const n = shown.points.length;
    const bars = shown.points.some((p) => finite(p.u_er) || finite(p.u_s));
    const band = shown.curveBands.some((b) => finite(b.permittivity_sd));
    return 'Chart from 1 to 30 MHz on a logarithmic frequency axis: ' + n + ' measured point' + (n === 1 ? '' : 's') +
      (bars ? ' with +-1 sd error bars' : '') + ' and the joint model\'s curves' +
      (band ? ' with a shaded band of +-1 sd' : '') + ', permittivity above and conductivity below.';
  }

  function draw(svg, curveBands, points) {
    const shown = { curveBands, points };
    drawAtWidth(svg, render, shown);
    return describe(shown);
  }

  return { draw, gridMhz };
})();
