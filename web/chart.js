// SPDX-License-Identifier: MIT
// The chart of the model: two panels on one logarithmic frequency axis from
// 1 to 30 MHz, relative permittivity above and conductivity below, each on
// its own round ticks with light grid lines.  The curves are the closed form
// (gndfitModelCurve) sampled finely; the dots are the table's band values
// from the C API; a ring marks the measurement.  The SVG is drawn in CSS
// pixels at the width it has on the page (and again when that changes), so
// that its text keeps its size on a phone instead of shrinking with it.
const gndfitChart = (function () {
  'use strict';

  const kFromMhz = 1;
  const kToMhz = 30;
  const kFontPx = 13; // the chart's text, as the stylesheet sets it
  const kSamples = 160;
  // Labelled frequencies, densest first: the first set whose labels fit
  // side by side at the chart's width is drawn.
  const kFrequencyLabelSets = [
    [1, 2, 3, 5, 10, 20, 30],
    [1, 2, 5, 10, 20, 30],
    [1, 3, 10, 30],
    [1, 10, 30],
  ];
  const kFrequencyGrid = [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 20, 30];
  const svgNs = 'http://www.w3.org/2000/svg';

  function element(name, attributes, text) {
    const node = document.createElementNS(svgNs, name);
    for (const [key, value] of Object.entries(attributes)) node.setAttribute(key, value);
    if (text !== undefined) node.textContent = text;
    return node;
  }

  // An upper bound of a numeric label's width: digits, signs, points and
  // 'e' are at most 0.62 em wide in common sans-serif faces.
  function labelWidth(text) {
    return text.length * kFontPx * 0.62;
  }

  function significant(value) {
    return Number(value.toPrecision(4)).toString();
  }

  // --- round ticks: steps of 1, 2, 2.5 or 5 times a power of ten, at most
  // maxTicks of them, the range widened to the outer ticks.
  function roundTicks(lo, hi, maxTicks) {
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
        const texts = values.map((v) => tickText(v, step, mantissa, Math.max(Math.abs(first), Math.abs(last)) * step));
        return { values, texts, lo: first * step, hi: last * step };
      }
    }
    return { values: [lo, hi], texts: [significant(lo), significant(hi)], lo, hi };
  }

  // As many decimals as the step needs, so that ticks read 0.25, 2.5, 40;
  // very large or small values in exponent form.
  function tickText(value, step, mantissa, largest) {
    const extra = mantissa === 2.5 ? 1 : 0;
    if (largest >= 1e6 || step < 1e-4) {
      const digits = Math.max(0, Math.floor(Math.log10(largest)) - Math.floor(Math.log10(step)) + extra);
      return value === 0 ? '0' : value.toExponential(Math.min(digits, 20));
    }
    const decimals = Math.max(0, -Math.floor(Math.log10(step) + 1e-9) + extra);
    return (Math.abs(value) < step / 2 ? 0 : value).toFixed(decimals);
  }

  // --- what is drawn, in values: the sampled curve, the band dots and the
  // measurement where it lies on the chart.
  function seriesOf(result, key) {
    const finite = (v) => typeof v === 'number' && Number.isFinite(v);
    const curve = gndfitModelCurve
      .sample(kFromMhz, kToMhz, kSamples, result.base_conductivity, result.base_permittivity)
      .map((p) => [p.mhz, p[key]])
      .filter(([, v]) => finite(v));
    const dots = result.bands.map((b) => [b.mhz, b[key]]).filter(([, v]) => finite(v));
    const measuredValue = key === 'permittivity' ? result.permittivity : result.conductivity_ms;
    const onChart = result.frequency_mhz >= kFromMhz && result.frequency_mhz <= kToMhz && finite(measuredValue);
    const measured = onChart ? [[result.frequency_mhz, measuredValue]] : [];
    return { curve, dots, measured };
  }

  function valueRange(series) {
    const values = series.curve.concat(series.dots, series.measured).map(([, v]) => v);
    if (values.length === 0) return [0, 1];
    return [Math.min(...values), Math.max(...values)];
  }

  // --- drawing
  function frequencyLabels(x) {
    for (const set of kFrequencyLabelSets) {
      const fits = set.every((f, i) => i === 0 ||
        x(f) - x(set[i - 1]) >= (labelWidth(String(f)) + labelWidth(String(set[i - 1]))) / 2 + 8);
      if (fits) return set;
    }
    return [kFromMhz, kToMhz];
  }

  // A panel's grid, tick labels, frame and title; its value-to-y mapping.
  function panelAxes(svg, frame, x, panel) {
    const { left, right } = frame;
    const { top, bottom, ticks, title } = panel;
    const y = (v) => bottom - ((v - ticks.lo) / (ticks.hi - ticks.lo)) * (bottom - top);
    for (const f of kFrequencyGrid) {
      svg.appendChild(element('line', { class: 'grid', x1: x(f), y1: top, x2: x(f), y2: bottom }));
    }
    ticks.values.forEach((v, i) => {
      svg.appendChild(element('line', { class: 'grid', x1: left, y1: y(v), x2: right, y2: y(v) }));
      svg.appendChild(element('text', { x: left - 6, y: y(v) + kFontPx * 0.35, 'text-anchor': 'end' }, ticks.texts[i]));
    });
    svg.appendChild(element('rect', { class: 'frame', x: left, y: top, width: right - left, height: bottom - top }));
    svg.appendChild(element('text', { class: 'panel-title', x: left, y: top - 9 }, title));
    return y;
  }

  function drawPanel(svg, frame, x, panel) {
    const { series, kind } = panel;
    const y = panelAxes(svg, frame, x, panel);
    if (series.curve.length) {
      const d = series.curve.map(([f, v], i) => (i ? 'L' : 'M') + x(f).toFixed(1) + ' ' + y(v).toFixed(1)).join(' ');
      svg.appendChild(element('path', { class: kind, d }));
    }
    for (const [f, v] of series.dots) {
      svg.appendChild(element('circle', { class: kind + '-dot', cx: x(f), cy: y(v), r: 3.5 }));
    }
    for (const [f, v] of series.measured) {
      svg.appendChild(element('circle', { class: 'measured', cx: x(f), cy: y(v), r: 7 }));
    }
  }

  // The two panels at the chart's width (CSS px): permittivity above,
  // conductivity below, on one log frequency axis; each panel's ticks from
  // valueRange(series), its contents drawn by drawPanel.
  function renderPanels(svg, measuredWidth, perm, cond, valueRange, drawPanel) {
    const width = Math.max(240, measuredWidth || 640);
    const panelHeight = width < 480 ? 120 : 150;
    const maxTicks = Math.floor(panelHeight / 28) + 1;
    const permTicks = roundTicks(...valueRange(perm), maxTicks);
    const condTicks = roundTicks(...valueRange(cond), maxTicks);
    const widest = Math.max(...permTicks.texts.concat(condTicks.texts).map(labelWidth));
    const frame = { left: Math.ceil(widest) + 12, right: width - 16 };
    const x = (f) => frame.left + (Math.log(f / kFromMhz) / Math.log(kToMhz / kFromMhz)) * (frame.right - frame.left);
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
      svg.appendChild(element('text', { x: x(f), y: axisY + 18, 'text-anchor': 'middle' }, String(f)));
    }
    svg.appendChild(element('text', { x: (frame.left + frame.right) / 2, y: axisY + 38, 'text-anchor': 'middle' },
                            'Frequency, MHz (logarithmic)'));
  }

  function render(svg, result, measuredWidth) {
    renderPanels(svg, measuredWidth, seriesOf(result, 'permittivity'), seriesOf(result, 'conductivity_ms'),
                 valueRange, drawPanel);
  }

  // The chart's text alternative: what the curves do across the chart.
  function describe(result) {
    const low = gndfitModelCurve.at(kFromMhz, result.base_conductivity, result.base_permittivity);
    const high = gndfitModelCurve.at(kToMhz, result.base_conductivity, result.base_permittivity);
    const numbers = [low.permittivity, high.permittivity, low.conductivity_ms, high.conductivity_ms];
    let text = 'Chart of the model from 1 to 30 MHz on a logarithmic frequency axis.';
    if (numbers.every(Number.isFinite)) {
      text += ' Relative permittivity (upper panel) falls from ' + significant(low.permittivity) +
        ' at 1 MHz to ' + significant(high.permittivity) + ' at 30 MHz; conductivity (lower panel) rises from ' +
        significant(low.conductivity_ms) + ' to ' + significant(high.conductivity_ms) + ' mS/m.';
    }
    text += ' Dots mark the ten bands of the table';
    const mhz = result.frequency_mhz;
    text += mhz >= kFromMhz && mhz <= kToMhz
      ? '; a ring in each panel marks the measurement at ' + mhz + ' MHz.'
      : '; the measurement at ' + mhz + ' MHz lies outside the chart.';
    return text;
  }

  // Draws with render(svg, shown, width) now and again whenever the
  // chart's width changes; each chart (one a view) keeps what it shows.
  const charts = new WeakMap(); // svg -> { render, shown, width }
  const widthOf = (svg) => Math.round(svg.getBoundingClientRect().width);
  const observer = typeof ResizeObserver === 'function' ? new ResizeObserver((entries) => {
    for (const { target } of entries) {
      const chart = charts.get(target);
      const width = widthOf(target);
      if (!chart || width === chart.width || width === 0) continue;
      chart.width = width;
      chart.render(target, chart.shown, width);
    }
  }) : null;
  function drawAtWidth(svg, render, shown) {
    const known = charts.has(svg);
    const chart = { render, shown, width: widthOf(svg) };
    charts.set(svg, chart);
    render(svg, shown, chart.width);
    if (observer && !known) observer.observe(svg);
  }

  function draw(svg, result) {
    drawAtWidth(svg, render, result);
  }

  // The axes' pieces, for the joint fit's chart (joint_chart.js).
  const parts = { element, kFromMhz, kToMhz, panelAxes, renderPanels, drawAtWidth };
  return { draw, describe, parts };
})();
