// SPDX-License-Identifier: MIT
// The joint fit's chart, on the single fit's axes (gndfitChart.parts): two
// panels on a log frequency axis from 1 to 30 MHz, permittivity above and
// conductivity below.  Each panel shows the model's curve and its shaded
// 1-sd band, both from the C API at a grid of frequencies, and the measured
// points with their +-1 sd error bars where the lines give uncertainties.
const gndfitJointChart = (function () {
  'use strict';

  const { element, roundTicks, frequencyLabels, kFrequencyGrid, kFromMhz, kToMhz } = gndfitChart.parts;
  const { labelWidth } = gndfitChart.parts;
  const kFontPx = 13;
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
    const { left, right } = frame;
    const { top, bottom, ticks, series, title, kind } = panel;
    const y = (v) => bottom - ((v - ticks.lo) / (ticks.hi - ticks.lo)) * (bottom - top);
    for (const f of kFrequencyGrid) svg.appendChild(element('line', { class: 'grid', x1: x(f), y1: top, x2: x(f), y2: bottom }));
    ticks.values.forEach((v, i) => {
      svg.appendChild(element('line', { class: 'grid', x1: left, y1: y(v), x2: right, y2: y(v) }));
      svg.appendChild(element('text', { x: left - 6, y: y(v) + kFontPx * 0.35, 'text-anchor': 'end' }, ticks.texts[i]));
    });
    svg.appendChild(element('rect', { class: 'frame', x: left, y: top, width: right - left, height: bottom - top }));
    svg.appendChild(element('text', { class: 'panel-title', x: left, y: top - 9 }, title));
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
    const width = Math.max(240, measuredWidth || 640);
    const panelHeight = width < 480 ? 120 : 150;
    const maxTicks = Math.floor(panelHeight / 28) + 1;
    const perm = seriesOf(curveBands, points.map((p) => [p.mhz, p.permittivity, p.u_er]), 'permittivity', 'permittivity_sd');
    const cond = seriesOf(curveBands, points.map((p) => [p.mhz, p.conductivity, p.u_s]), 'conductivity_ms_per_m', 'conductivity_sd_ms_per_m');
    const permTicks = roundTicks(...valueRange(perm), maxTicks);
    const condTicks = roundTicks(...valueRange(cond), maxTicks);
    const widest = Math.max(...permTicks.texts.concat(condTicks.texts).map(labelWidth));
    const frame = { left: Math.ceil(widest) + 12, right: width - 16 };
    const x = (f) => frame.left + (Math.log(f / kFromMhz) / Math.log(kToMhz / kFromMhz)) * (frame.right - frame.left);
    const permTop = 30;
    const condTop = permTop + panelHeight + 42;
    const axisY = condTop + panelHeight;
    const title = svg.querySelector('title');
    while (svg.lastChild) svg.removeChild(svg.lastChild);
    if (title) svg.appendChild(title);
    svg.setAttribute('viewBox', '0 0 ' + width + ' ' + (axisY + 46));
    svg.setAttribute('height', axisY + 46);
    drawPanel(svg, frame, x, { top: permTop, bottom: permTop + panelHeight, ticks: permTicks, series: perm,
                               title: 'Relative permittivity', kind: 'perm' });
    drawPanel(svg, frame, x, { top: condTop, bottom: axisY, ticks: condTicks, series: cond,
                               title: 'Conductivity, mS/m', kind: 'cond' });
    for (const f of frequencyLabels(x)) {
      svg.appendChild(element('text', { x: x(f), y: axisY + 18, 'text-anchor': 'middle' }, String(f)));
    }
    svg.appendChild(element('text', { x: (frame.left + frame.right) / 2, y: axisY + 38, 'text-anchor': 'middle' },
                            'Frequency, MHz (logarithmic)'));
  }

  function describe(shown) {
    const n = shown.points.length;
    const bars = shown.points.some((p) => finite(p.u_er) || finite(p.u_s));
    const band = shown.curveBands.some((b) => finite(b.permittivity_sd));
    return 'Chart from 1 to 30 MHz on a logarithmic frequency axis: ' + n + ' measured point' + (n === 1 ? '' : 's') +
      (bars ? ' with +-1 sd error bars' : '') + ' and the joint model\'s curves' +
      (band ? ' with a shaded band of +-1 sd' : '') + ', permittivity above and conductivity below.';
  }

  // Draws now and again whenever the chart's width changes; each chart
  // (one a view) keeps what it shows.
  const charts = new WeakMap(); // svg -> { shown, width }
  const widthOf = (svg) => Math.round(svg.getBoundingClientRect().width);
  const observer = typeof ResizeObserver === 'function' ? new ResizeObserver((entries) => {
    for (const { target } of entries) {
      const chart = charts.get(target);
      const width = widthOf(target);
      if (!chart || width === chart.width || width === 0) continue;
      chart.width = width;
      render(target, chart.shown, width);
    }
  }) : null;
  function draw(svg, curveBands, points) {
    const known = charts.has(svg);
    const chart = { shown: { curveBands, points }, width: widthOf(svg) };
    charts.set(svg, chart);
    render(svg, chart.shown, chart.width);
    if (observer && !known) observer.observe(svg);
    return describe(chart.shown);
  }

  return { draw, gridMhz };
})();
