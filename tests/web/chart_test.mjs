// SPDX-License-Identifier: MIT
// The chart and the table as a reader sees them, in Debian's Chromium:
//   node chart_test.mjs WEB_DIR ARTIFACT_DIR
// The chart is read back as a person reads it, from its tick labels: the
// band dots must read as the table's printed values (the console's fields),
// the curve must pass through them, no two labels may overlap, and on a
// phone the text is at least 12 px and the table turns to one row per band
// with no sideways overflow.
import path from 'node:path';
import { expect, fitInPage, launchBrowser, makeChecks, openPage, startServer } from './harness.mjs';

const [webDir, artifacts] = process.argv.slice(2).map((p) => path.resolve(p));
const { check, finish } = makeChecks(artifacts);
const server = await startServer(webDir);
const browser = await launchBrowser();

const realistic = [['7.1', '13', '5'], ['1.8', '4', '0.5'], ['28.5', '80', '30'], ['14.2', '5', '100']];
const extreme = [['0.000001', '1e30', '1e-20'], ['30', '1e-6', '1e6']];

// Everything the checks need, in page pixels: each text's box and
// rendered font size, each panel's frame, dots, curve samples and ticks.
function readChart(page) {
  return page.evaluate(() => {
    const svg = document.getElementById('chart');
    const scale = svg.getScreenCTM().a;
    const box = (el) => { const r = el.getBoundingClientRect(); return { l: r.left, r: r.right, t: r.top, b: r.bottom }; };
    const toPage = (x, y) => { const p = new DOMPoint(x, y).matrixTransform(svg.getScreenCTM()); return [p.x, p.y]; };
    const texts = [...svg.querySelectorAll('text')].map((t) => ({
      text: t.textContent, box: box(t), px: parseFloat(getComputedStyle(t).fontSize) * scale,
    }));
    const frames = [...svg.querySelectorAll('rect.frame')].map(box).sort((a, b) => a.t - b.t);
    const panel = (kind) => {
      const curve = svg.querySelector(`path.${kind}`);
      const samples = [];
      if (curve) {
        const length = curve.getTotalLength();
        for (let i = 0; i <= 800; i++) {
          const p = curve.getPointAtLength((length * i) / 800);
          samples.push(toPage(p.x, p.y));
        }
      }
      return {
        segments: curve ? (curve.getAttribute('d').match(/L/g) || []).length : 0,
        samples,
        dots: [...svg.querySelectorAll(`circle.${kind}-dot`)].map((c) => toPage(c.cx.baseVal.value, c.cy.baseVal.value)),
      };
    };
    const cells = (row) => [...document.querySelectorAll(`#bands tr[data-row="${row}"] td`)].map((td) => td.textContent);
    return { svg: box(svg), texts, frames, perm: panel('perm'), cond: panel('cond'),
             bands: cells('band').map(Number), permCells: cells('permittivity'), condCells: cells('conductivity') };
  });
}

const centreX = (b) => (b.l + b.r) / 2;
const centreY = (b) => (b.t + b.b) / 2;
const numeric = (t) => /^-?\d/.test(t.text) && Number.isFinite(Number(t.text));

// Least squares v = a + b u over the pairs, and the largest misfit.
function lineThrough(pairs) {
  const n = pairs.length;
  const mu = pairs.reduce((s, [u]) => s + u, 0) / n;
  const mv = pairs.reduce((s, [, v]) => s + v, 0) / n;
  const b = pairs.reduce((s, [u, v]) => s + (u - mu) * (v - mv), 0) / pairs.reduce((s, [u]) => s + (u - mu) ** 2, 0);
  const a = mv - b * mu;
  return { at: (u) => a + b * u, misfit: Math.max(...pairs.map(([u, v]) => Math.abs(a + b * u - v))) };
}

function isRoundStep(step) {
  const mantissa = step / 10 ** Math.floor(Math.log10(step) + 1e-9);
  return [1, 2, 2.5, 5].some((m) => Math.abs(mantissa - m) < 1e-6);
}

// The value axis of one panel from its labels: evenly spaced round values.
function valueAxis(chart, frame, what) {
  const labels = chart.texts.filter((t) => numeric(t) && t.box.r <= frame.l + 1 &&
    centreY(t.box) >= frame.t - 8 && centreY(t.box) <= frame.b + 8);
  expect(labels.length >= 3, `${what}: ${labels.length} value labels`);
  const values = labels.map((t) => Number(t.text)).sort((a, b) => a - b);
  const step = values[1] - values[0];
  expect(isRoundStep(step), `${what}: tick step ${step} is not 1, 2, 2.5 or 5 times a power of ten`);
  values.forEach((v, i) => expect(Math.abs(v - values[0] - i * step) < step * 1e-6, `${what}: ticks ${values} not evenly stepped`));
  const axis = lineThrough(labels.map((t) => [centreY(t.box), Number(t.text)]));
  const span = values[values.length - 1] - values[0];
  expect(axis.misfit < span * 0.01, `${what}: labels not evenly placed (misfit ${axis.misfit})`);
  return { ...axis, span };
}

// The frequency axis from the labels under the lower panel, logarithmic.
function frequencyAxis(chart) {
  const bottom = chart.frames[1].b;
  const labels = chart.texts.filter((t) => numeric(t) && t.box.t >= bottom);
  const values = labels.map((t) => Number(t.text));
  expect(values.includes(1) && values.includes(30), `frequency labels ${values} miss 1 or 30 MHz`);
  expect(values.every((v) => [1, 2, 3, 5, 10, 20, 30].includes(v)), `frequency labels ${values} are not round`);
  const axis = lineThrough(labels.map((t) => [centreX(t.box), Math.log(Number(t.text))]));
  expect(axis.misfit < 0.02, `frequency labels not on a log scale (misfit ${axis.misfit})`);
  const xOf = (mhz) => centreX(labels.find((t) => Number(t.text) === mhz).box);
  return { mhzAt: (x) => Math.exp(axis.at(x)), x1: xOf(1), x30: xOf(30) };
}

// Dots read off the axes equal the table's printed values; the curve runs
// from 1 to 30 MHz in many steps and through every dot.
function checkReadsAsTable(chart, what) {
  const freq = frequencyAxis(chart);
  for (const [kind, frame, printed] of [['perm', chart.frames[0], chart.permCells], ['cond', chart.frames[1], chart.condCells]]) {
    const panel = chart[kind];
    const axis = valueAxis(chart, frame, `${what} ${kind}`);
    expect(panel.dots.length === 10, `${what} ${kind}: ${panel.dots.length} band dots`);
    panel.dots.forEach(([x, y], i) => {
      const mhz = freq.mhzAt(x);
      expect(Math.abs(mhz / chart.bands[i] - 1) < 0.02, `${what} ${kind}: dot ${i} at ${mhz} MHz, band ${chart.bands[i]}`);
      const want = Number(printed[i]);
      if (!Number.isFinite(want)) return; // a field written in full with '%'
      const decimals = (printed[i].split('.')[1] || '').length;
      const read = axis.at(y);
      expect(Math.abs(read - want) <= axis.span * 0.02 + 0.5 * 10 ** -decimals, `${what} ${kind}: band ${chart.bands[i]} reads ${read}, table ${want}`);
    });
    expect(panel.segments >= 50, `${what} ${kind}: curve of ${panel.segments} segments`);
    const xs = panel.samples.map(([x]) => x);
    expect(Math.abs(Math.min(...xs) - freq.x1) < 2 && Math.abs(Math.max(...xs) - freq.x30) < 2,
           `${what} ${kind}: curve from ${Math.min(...xs)} to ${Math.max(...xs)} px, 1 and 30 MHz at ${freq.x1} and ${freq.x30}`);
    for (const [x, y] of panel.dots) {
      const near = panel.samples.reduce((best, p) => (Math.abs(p[0] - x) < Math.abs(best[0] - x) ? p : best));
      expect(Math.abs(near[0] - x) < 1 && Math.abs(near[1] - y) < 1.5, `${what} ${kind}: curve misses the dot at ${x},${y} (${near})`);
    }
  }
}

function checkNoOverlap(chart, what) {
  const boxes = chart.texts.map((t) => t.box);
  for (const [i, t] of chart.texts.entries()) {
    const b = t.box;
    expect(b.l >= chart.svg.l - 0.5 && b.r <= chart.svg.r + 0.5 && b.t >= chart.svg.t - 0.5 && b.b <= chart.svg.b + 0.5,
           `${what}: "${t.text}" sticks out of the chart`);
    for (let j = i + 1; j < boxes.length; j++) {
      const o = boxes[j];
      const overlap = Math.min(b.r, o.r) - Math.max(b.l, o.l) > 0.5 && Math.min(b.b, o.b) - Math.max(b.t, o.t) > 0.5;
      expect(!overlap, `${what}: "${t.text}" overlaps "${chart.texts[j].text}"`);
    }
  }
}

// The chart read back at desktop and phone widths.
for (const width of [1000, 375]) {
  const page = await openPage(browser, `${server.origin}/`, { width, height: 900 });
  await check(`${width} px: the chart reads as the table, curve through the bands`, page, async () => {
    for (const values of realistic) {
      await fitInPage(page, values);
      checkReadsAsTable(await readChart(page), `${width} px, ${values.join(' ')}`);
    }
  });
  await check(`${width} px: no two chart labels overlap`, page, async () => {
    for (const values of realistic.concat(extreme)) {
      await fitInPage(page, values);
      checkNoOverlap(await readChart(page), `${width} px, ${values.join(' ')}`);
    }
  });
  await page.context().close();
}

// On a phone: text at least 12 px, also after the window narrows; the table
// one band a row, none overflowing; at desktop width the bands stay columns.
{
  const page = await openPage(browser, `${server.origin}/?f=7.1&er=13&s=5`, { width: 1000, height: 800 });
  const tableLayout = () => page.evaluate(() => {
    const top = (row, i) => document.querySelectorAll(`#bands tr[data-row="${row}"] td`)[i].getBoundingClientRect().top;
    const rows = ['band', 'permittivity', 'conductivity', 'depth'];
    const boxEl = document.querySelector('.table-box');
    return {
      bandTops: [...Array(10).keys()].map((i) => rows.map((r) => top(r, i))),
      overflow: boxEl.scrollWidth - boxEl.clientWidth,
    };
  });
  await check('desktop: one row per quantity, the bands across', page, async () => {
    const { bandTops } = await tableLayout();
    expect(bandTops.every((tops) => tops[0] === bandTops[0][0]), 'the band cells are not on one line');
  });
  await check('375 px: chart text at least 12 px, the table one row per band without overflow', page, async () => {
    await page.setViewportSize({ width: 375, height: 667 });
    await page.waitForTimeout(100); // the chart redraws at its new width
    for (const values of [['7.1', '13', '5']].concat(extreme)) {
      if (values[0] !== '7.1') await fitInPage(page, values);
      const chart = await readChart(page);
      const small = chart.texts.filter((t) => t.px < 12);
      expect(small.length === 0, `${values}: text below 12 px: ${small.map((t) => `"${t.text}" ${t.px.toFixed(1)} px`)}`);
      checkNoOverlap(chart, `375 px, ${values.join(' ')}`);
      const { bandTops, overflow } = await tableLayout();
      expect(overflow <= 0, `${values}: the table overflows its box by ${overflow} px`);
      bandTops.forEach((tops, i) => {
        expect(tops.every((t) => Math.abs(t - tops[0]) < 1), `${values}: band ${i + 1}'s cells are not on one row`);
        expect(i === 0 || tops[0] > bandTops[i - 1][0], `${values}: band ${i + 1} is not below band ${i}`);
      });
    }
  });
  await page.context().close();
}

// The text alternative says what the curves do, with the model's values at
// the chart's ends from the closed form written out here once more.
{
  const page = await openPage(browser, `${server.origin}/?f=7.1&er=13&s=5`);
  await check('the chart has a text alternative with the curves\' ends', page, async () => {
    const { summary, fit } = await page.evaluate(() => {
      const id = document.getElementById('chart').getAttribute('aria-describedby');
      return { summary: document.getElementById(id).textContent, fit: window.gndfitFit('7.1 13 5') };
    });
    const eps0 = 8.8541878128e-12;
    const x = fit.model.base_conductivity_s_per_m;
    const e = fit.model.base_permittivity; // relative
    const permittivity = (mhz) => e * (1 + Math.sqrt(x / (Math.PI * mhz * 1e6 * eps0 * e)));
    const conductivity = (mhz) => 1000 * x * (1 + Math.sqrt((4 * Math.PI * mhz * 1e6 * eps0 * e) / x));
    for (const v of [permittivity(1), permittivity(30), conductivity(1), conductivity(30)]) {
      const text = String(Number(v.toPrecision(4)));
      expect(summary.includes(text), `the summary lacks ${text}: ${summary}`);
    }
    expect(summary.includes('7.1 MHz'), `the summary does not place the measurement: ${summary}`);
  });
  await page.context().close();
}

await browser.close();
await server.close();
process.exit(finish());
