// SPDX-License-Identifier: MIT
// The page's joint fit (several measurements, one model) in Debian's
// Chromium, against the native program's `gndfit --joint --json` on the
// same lines: the WebAssembly module and the page's JavaScript on one side,
// the console program on the other.
//   node joint_test.mjs WEB_DIR NATIVE_GNDFIT ARTIFACT_DIR
// Each shown value's data-value is the page's full number and must equal
// the program's to rounding; its text must read as that number rounded.
import { AxeBuilder } from '@axe-core/playwright';
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { expect, launchBrowser, makeChecks, startServer } from './harness.mjs';
import { readView, sameAsProgram } from './joint_view.mjs';

const [webDir, program, artifacts] = process.argv.slice(2).map((p) => path.resolve(p));
const { check, finish } = makeChecks(artifacts);
const server = await startServer(webDir);
const browser = await launchBrowser();

const sweep = ['1.8 47.2 8.32', '3.6 36.1 10.1', '7.1 29.7 11.98', '14.2 24.1 14.49', '21.2 22.3 17.05'];
const cases = {
  weighted: '# probe measurements, f MHz, er, mS/m, u_er, u_s\n' + sweep.map((l) => l + ' 0.5 0.2').join('\n') + '\n',
  unweighted: sweep.join('\n') + '\n',
  'poor fit': sweep.map((l) => l + ' 0.05 0.02').join('\n') + '\n',
  'below vacuum': '1.8 5 10\n',
  'input errors': '1.8 47.2 8.32\n3.6 36.1 10.1\n7.1 29.7\n14.2 24.1 14.49 0.5 0.2\n',
  // The uncertainties in the console's other number forms, read as the
  // program reads them.
  'weighted, d exponents': sweep.map((l) => l + ' 5d-1 2D-1').join('\n') + '\n',
};

// The model the page fits until the user chooses one: the comparison of
// all three with 3 or more lines with uncertainties (five fields), the
// two-parameter model otherwise.
function defaultModelOf(text) {
  const lines = text.split(/\r?\n/).map((l) => l.trim()).filter((l) => l !== '' && !l.startsWith('#'));
  return lines.filter((l) => l.split(/[\s,]+/).length >= 5).length >= 3 ? 'compare' : 'messier';
}

// The native program on the lines: its JSON, or its error lines (a usage
// error without its pointer to --help).
function native(text, model = defaultModelOf(text)) {
  const run = spawnSync(program, ['--joint', '--model', model, '--json'], { input: text, cwd: artifacts });
  if (run.status === 0) return { json: JSON.parse(run.stdout.toString()) };
  const errors = run.stderr.toString().split('\n').filter((l) => l.startsWith('gndfit: '))
    .map((l) => l.replace(/^gndfit: /, '').replace(/^line (\d+): /, 'Line $1: ').replace(/ \(try 'gndfit --help'\)$/, ''));
  return { errors };
}

async function openJoint(url, viewport = { width: 1100, height: 900 }) {
  const context = await browser.newContext({ viewport });
  const page = await context.newPage();
  page.problems = [];
  page.on('pageerror', (error) => page.problems.push(`exception: ${error.message}`));
  page.on('console', (m) => { if (m.type() === 'error') page.problems.push(m.text()); });
  await page.goto(url);
  await page.waitForSelector('body[data-ready="true"][data-joint-ready="true"]', { timeout: 30000 });
  return page;
}

async function fitLines(page, text) {
  await page.click('#show-joint');
  await page.fill('#joint-text', text);
  await page.click('#joint-fit');
}

// The program's answers must be the cases they are named for (in the
// two-parameter model).
await check('the cases are what they are named for (the program\'s own answers)', null, async () => {
  const codes = (name) => native(cases[name], 'messier').json.warnings.map((w) => w.code);
  expect(native(cases.weighted, 'messier').json.weighted && codes('weighted').length === 0, 'weighted: not a clean weighted fit');
  expect(!native(cases.unweighted).json.weighted, 'unweighted: weighted');
  expect(codes('poor fit').includes('poor-fit'), `poor fit: ${codes('poor fit')}`);
  expect(codes('below vacuum').includes('permittivity-below-vacuum'), `below vacuum: ${codes('below vacuum')}`);
  expect(native(cases['input errors']).errors.length === 2, 'input errors: not two faulty lines');
});

// Typed lines: every value, warning and error as the program has them.
{
  const page = await openJoint(`${server.origin}/`);
  await check('typed lines: the view shows the program\'s fit, warnings and errors', page, async () => {
    for (const [name, text] of Object.entries(cases)) {
      await fitLines(page, text);
      sameAsProgram(await readView(page, 'joint'), native(text), name);
    }
    await fitLines(page, '\n# nothing\n');
    const view = await readView(page, 'joint');
    expect(!view.shown && view.errors.length === 1, `no measurement: ${JSON.stringify(view.errors)}`);
    expect(page.problems.length === 0, `page problems: ${page.problems}`);
  });
  await check('the NEC-2 cards offered for saving are the program\'s --joint --nec for the bands', page, async () => {
    await fitLines(page, cases.weighted);
    const link = await page.evaluate(() => {
      const a = document.getElementById('joint-nec');
      return { cards: a.dataset.cards, href: a.getAttribute('href'), name: a.getAttribute('download') };
    });
    const run = spawnSync(program, ['--joint', '--model', defaultModelOf(cases.weighted), '--nec', '1.8,3.7,5.3,7.1,10.1,14.2,18.1,21.2,24.9,28.5'],
      { input: cases.weighted, cwd: artifacts });
    expect(run.status === 0 && link.cards === run.stdout.toString(), `cards ${JSON.stringify(link.cards)}`);
    expect(link.href.startsWith('blob:') && link.name === 'ground.nec', `link ${link.href} ${link.name}`);
  });
  await check('the views switch, and the single measurement\'s form is back as it was', page, async () => {
    const state = () => page.evaluate(() => ({
      single: !document.getElementById('single-view').hidden, joint: !document.getElementById('joint-view').hidden,
      pressed: document.getElementById('show-joint').getAttribute('aria-pressed'),
    }));
    let s = await state();
    expect(!s.single && s.joint && s.pressed === 'true', `joint view: ${JSON.stringify(s)}`);
    await page.click('#show-single');
    s = await state();
    expect(s.single && !s.joint && s.pressed === 'false', `single view: ${JSON.stringify(s)}`);
    await page.fill('#freq', '7.1'); await page.fill('#perm', '13'); await page.fill('#cond', '5');
    await page.click('#fit');
    expect(new URL(page.url()).search === '?f=7.1&er=13&s=5', `single fit's URL ${page.url()}`);
  });
  await page.context().close();
}

// Lines added from the fields one at a time and the last one removed:
// the fit is that of the lines left; a half-filled line is refused.
{
  const page = await openJoint(`${server.origin}/`);
  await check('lines added and removed from the fields: the program\'s fit of what is left', page, async () => {
    await page.click('#show-joint');
    const add = async (f, er, s, uEr = '', uS = '') => {
      for (const [id, v] of [['#add-f', f], ['#add-er', er], ['#add-s', s], ['#add-uer', uEr], ['#add-us', uS]]) await page.fill(id, v);
      await page.click('#add-line');
    };
    for (const line of sweep) await add(...line.split(' '), '0.5', '0.2');
    await add('28.5', '20', '19', '0.5', '0.2');
    await page.click('#remove-line');
    await add('3.6', '36.1', '10.1', '0.5', ''); // one uncertainty only: refused
    const message = await page.textContent('#add-message');
    expect(message.includes('both uncertainties'), `half-filled line: "${message}"`);
    await add('3.6 36.1', '10.1', '5'); // two numbers in one field: refused
    expect((await page.textContent('#add-message')).includes('one number'), 'a field with two numbers was taken');
    await page.click('#joint-fit');
    const lines = sweep.map((l) => l + ' 0.5 0.2').join('\n') + '\n';
    expect(await page.inputValue('#joint-text') === lines, `the box holds ${JSON.stringify(await page.inputValue('#joint-text'))}`);
    sameAsProgram(await readView(page, 'joint'), native(lines), 'added lines');
  });
  await page.context().close();
}

// The link: written from the lines (comments and blank lines left out,
// fields by commas, lines by semicolons), and opened again.
{
  const page = await openJoint(`${server.origin}/`);
  const want = '?m=1.8,47.2,8.32,0.5,0.2;3.6,36.1,10.1,0.5,0.2;7.1,29.7,11.98,0.5,0.2;14.2,24.1,14.49,0.5,0.2;21.2,22.3,17.05,0.5,0.2';
  await check('?m= out: the URL and the share link hold the measurements', page, async () => {
    await fitLines(page, cases.weighted.replace('3.6 36.1', '3.6,  36.1').replace('\n7.1', '\n\n7.1'));
    expect(new URL(page.url()).search === want, `URL ${page.url()}`);
    const href = await page.getAttribute('#joint-link', 'href');
    expect(href === want, `share link ${href}`);
  });
  await page.context().close();
  for (const [url, lines] of [[want, cases.weighted.split('\n').slice(1).join('\n')], ['?m=' + sweep.map((l) => l.replace(/ /g, ',')).join(';'), cases.unweighted],
    ['?m=1.8,47.2,8.32;3.6,36.1,10.1;7.1,29.7', '1.8 47.2 8.32\n3.6 36.1 10.1\n7.1 29.7\n']]) {
    const opened = await openJoint(`${server.origin}/${url}`);
    await check(`?m= in: ${url.slice(0, 40)}... opens the joint view with the program's fit`, opened, async () => {
      const joint = await opened.evaluate(() => !document.getElementById('joint-view').hidden);
      expect(joint, 'the joint view is not shown');
      sameAsProgram(await readView(opened, 'joint'), native(lines), url);
    });
    await opened.context().close();
  }
  // Opened from disk, too.
  const disk = await openJoint(`file://${webDir}/index.html${want}`);
  await check('?m= in from a file:// page', disk, async () => {
    sameAsProgram(await readView(disk, 'joint'), native(cases.weighted.split('\n').slice(1).join('\n')), 'file://');
  });
  await disk.context().close();
}

// A file opened with the file input: its lines (comment and CRLF ends
// included) in the box, fitted at once; line numbers are the file's.
{
  const page = await openJoint(`${server.origin}/`);
  await check('a file opened: its lines fitted as the program fits them', page, async () => {
    await page.click('#show-joint');
    const text = cases.weighted.replace(/\n/g, '\r\n');
    await page.setInputFiles('#joint-file', { name: 'sweep.txt', mimeType: 'text/plain', buffer: Buffer.from(text) });
    await page.waitForFunction(() => !document.getElementById('joint-result').hidden);
    sameAsProgram(await readView(page, 'joint'), native(text), 'sweep.txt');
    const firstLine = (await readView(page, 'joint')).measurements[0][0].value;
    expect(firstLine === '2', `the first measurement is on line ${firstLine} of the file, not 2`);
    await page.setInputFiles('#joint-file', { name: 'bad.txt', mimeType: 'text/plain', buffer: Buffer.from(cases['input errors']) });
    await page.waitForFunction(() => document.getElementById('joint-result').hidden);
    sameAsProgram(await readView(page, 'joint'), native(cases['input errors']), 'bad.txt');
  });
  await page.context().close();
}

// The chart: error bars centred on the points where the lines give
// uncertainties, none where they do not; the 1-sd band around the curve,
// its half-width at 1 MHz the program's sd there read off the tick labels.
function readChart(page) {
  return page.evaluate(() => {
    const svg = document.getElementById('joint-chart');
    const num = (el, a) => Number(el.getAttribute(a));
    const frames = [...svg.querySelectorAll('rect.frame')].map((r) => ({ top: num(r, 'y'), bottom: num(r, 'y') + num(r, 'height'), left: num(r, 'x') }));
    const panel = (kind, frame) => {
      const inside = (y) => y >= frame.top - 0.5 && y <= frame.bottom + 0.5;
      const ticks = [...svg.querySelectorAll('text')].filter((t) => num(t, 'x') < frame.left && inside(num(t, 'y') - 13 * 0.35))
        .map((t) => [Number(t.textContent), num(t, 'y')]);
      const coords = (d) => (d ? d.match(/-?[\d.]+ -?[\d.]+/g).map((p) => p.split(' ').map(Number)) : []);
      const band = svg.querySelector(`path.${kind}-band`);
      return {
        ticks, curve: coords(svg.querySelector(`path.${kind}`)?.getAttribute('d')), band: coords(band?.getAttribute('d')),
        points: [...svg.querySelectorAll('circle.point')].filter((c) => inside(num(c, 'cy'))).map((c) => [num(c, 'cx'), num(c, 'cy')]),
        bars: [...svg.querySelectorAll('line.error-bar')].filter((l) => inside((num(l, 'y1') + num(l, 'y2')) / 2))
          .map((l) => [num(l, 'x1'), num(l, 'y1'), num(l, 'x2'), num(l, 'y2')]),
        caps: [...svg.querySelectorAll('line.error-cap')].filter((l) => inside(num(l, 'y1')))
          .map((l) => [num(l, 'x1'), num(l, 'y1'), num(l, 'x2'), num(l, 'y2')]),
        radius: Number(svg.querySelector('circle.point')?.getAttribute('r')),
      };
    };
    return { perm: panel('perm', frames[0]), cond: panel('cond', frames[1]) };
  });
}

function checkPanel(panel, u, sdAt1, what) {
  const [a, b] = [panel.ticks[0], panel.ticks[panel.ticks.length - 1]];
  const pxPerUnit = Math.abs(a[1] - b[1]) / Math.abs(a[0] - b[0]);
  expect(panel.points.length === 5, `${what}: ${panel.points.length} points`);
  if (u === null) {
    expect(panel.bars.length === 0, `${what}: ${panel.bars.length} error bars without uncertainties`);
  } else {
    expect(panel.bars.length === 5, `${what}: ${panel.bars.length} error bars`);
    panel.bars.forEach(([x1, y1, x2, y2], i) => {
      const [cx, cy] = panel.points[i];
      expect(x1 === cx && x2 === cx && Math.abs((y1 + y2) / 2 - cy) < 0.01, `${what}: bar ${i} not centred on its point`);
      expect(Math.abs(Math.abs(y1 - y2) - 2 * u * pxPerUnit) < 0.1, `${what}: bar ${i} ${Math.abs(y1 - y2)} px, 2u is ${2 * u * pxPerUnit} px`);
      // A cap at each end, centred on the bar and wider than the ring, so
      // that a bar shorter than the ring still shows.
      for (const end of [y1, y2]) {
        const cap = panel.caps.find(([a, b, c, d]) => b === end && d === end && Math.abs((a + c) / 2 - cx) < 0.01);
        expect(cap && cap[2] - cap[0] > 2 * panel.radius + 2, `${what}: bar ${i} has no cap wider than its ring at ${end}`);
      }
    });
    expect(panel.caps.length === 2 * panel.bars.length, `${what}: ${panel.caps.length} caps for ${panel.bars.length} bars`);
  }
  expect(panel.curve.length >= 50, `${what}: curve of ${panel.curve.length} points`);
  expect(panel.band.length === 2 * panel.curve.length, `${what}: band of ${panel.band.length} points, curve ${panel.curve.length}`);
  const [upper, lower, centre] = [panel.band[0], panel.band[panel.band.length - 1], panel.curve[0]];
  expect(upper[0] === centre[0] && lower[0] === centre[0], `${what}: the band does not start at the curve's frequency`);
  const half = (lower[1] - upper[1]) / 2;
  expect(upper[1] < centre[1] && centre[1] < lower[1], `${what}: the band does not enclose the curve at 1 MHz`);
  expect(Math.abs(half - sdAt1 * pxPerUnit) < 0.1 + 0.02 * half, `${what}: band half-width ${half} px, the sd at 1 MHz ${sdAt1 * pxPerUnit} px`);
}

function nativeSdAt1(text) {
  const run = spawnSync(program, ['--joint', '--model', defaultModelOf(text), '--csv', '--freq', '1'], { input: text, cwd: artifacts });
  const fields = run.stdout.toString().trim().split('\n')[1].split(',').map(Number);
  return { perm: fields[2], cond: fields[4] };
}

{
  const page = await openJoint(`${server.origin}/`);
  for (const [name, u] of [['weighted', { perm: 0.5, cond: 0.2 }], ['unweighted', null],
                           ['weighted, d exponents', { perm: 0.5, cond: 0.2 }]]) {
    await check(`chart, ${name}: points${u ? ' with error bars' : ''} and the 1-sd band`, page, async () => {
      await fitLines(page, cases[name]);
      const chart = await readChart(page);
      const sd = nativeSdAt1(cases[name]);
      checkPanel(chart.perm, u && u.perm, sd.perm, `${name} permittivity`);
      checkPanel(chart.cond, u && u.cond, sd.cond, `${name} conductivity`);
    });
  }
  await check('chart, one measurement: no band where the fit has no sd', page, async () => {
    await fitLines(page, cases['below vacuum']);
    const chart = await readChart(page);
    expect(chart.perm.curve.length >= 50 && chart.perm.band.length === 0 && chart.cond.band.length === 0,
           `curve ${chart.perm.curve.length} points, band ${chart.perm.band.length}`);
  });
  await page.context().close();
}

// The ground models on wet clay (examples/wet-clay.txt, 15 lines with
// uncertainties, which the program finds closest to alipio-visacro):
// compared by default, as the program's --model compare has it; each
// model's curve on the chart where the program puts it; each model chosen
// alone as the program's --model NAME.
const examples = path.resolve(path.dirname(new URL(import.meta.url).pathname), '../../examples');
const wetClay = fs.readFileSync(path.join(examples, 'wet-clay.txt'), 'utf8');
// Flat ground: the power law's best fit has no dispersive part (at its
// bound, 0), so that its exponent is undetermined.
const flat = ['1.8', '3.6', '7.1', '14'].map((f) => f + ' 20 10 0.5 0.2').join('\n') + '\n';

// Every model's curve in a panel: [{model, chosen, dash, width, first: [x, y]}],
// and the panel's ticks.
function readCurves(page) {
  return page.evaluate(() => {
    const svg = document.getElementById('joint-chart');
    const num = (el, a) => Number(el.getAttribute(a));
    const frames = [...svg.querySelectorAll('rect.frame')].map((r) => ({ top: num(r, 'y'), bottom: num(r, 'y') + num(r, 'height'), left: num(r, 'x') }));
    const panel = (kind, frame) => {
      const inside = (y) => y >= frame.top - 0.5 && y <= frame.bottom + 0.5;
      const ticks = [...svg.querySelectorAll('text')].filter((t) => num(t, 'x') < frame.left && inside(num(t, 'y') - 13 * 0.35))
        .map((t) => [Number(t.textContent), num(t, 'y')]);
      const curves = [...svg.querySelectorAll(`path.${kind}, path.${kind}-other`)].map((p) => ({
        model: p.dataset.model, chosen: p.classList.contains(kind), dash: getComputedStyle(p).strokeDasharray,
        width: parseFloat(getComputedStyle(p).strokeWidth), first: p.getAttribute('d').match(/-?[\d.]+ -?[\d.]+/)[0].split(' ').map(Number),
      }));
      return { ticks, curves };
    };
    const legend = [...document.querySelectorAll('#joint-legend li')].map((li) => ({ mark: li.dataset.mark, text: li.textContent.trim() }));
    return { perm: panel('perm', frames[0]), cond: panel('cond', frames[1]), legend };
  });
}

{
  const page = await openJoint(`${server.origin}/`);
  await check('models: wet clay is compared by default, the table and the choice the program\'s --model compare', page, async () => {
    const want = native(wetClay, 'compare');
    expect(want.json.chosen === 'alipio-visacro', `the program chose ${want.json.chosen} for wet clay`);
    await fitLines(page, wetClay);
    expect(await page.inputValue('#joint-model') === 'compare', `the model chosen is ${await page.inputValue('#joint-model')}`);
    sameAsProgram(await readView(page, 'joint'), want, 'wet clay compared');
    expect(page.problems.length === 0, `page problems: ${page.problems}`);
  });
  await check('models: each model\'s curve where the program has it at 1 MHz, the chosen one strongest, the legend naming them', page, async () => {
    const run = spawnSync(program, ['--joint', '--model', 'compare', '--json', '--freq', '1'], { input: wetClay, cwd: artifacts });
    const at1 = JSON.parse(run.stdout.toString()).models;
    const got = await readCurves(page);
    for (const [kind, key] of [['perm', 'permittivity'], ['cond', 'conductivity_ms_per_m']]) {
      const { ticks, curves } = got[kind];
      const [a, b] = [ticks[0], ticks[ticks.length - 1]];
      // A tick's label stands 0.35 em below its value's y.
      const yOf = (v) => a[1] - 13 * 0.35 + (v - a[0]) * (b[1] - a[1]) / (b[0] - a[0]);
      expect(curves.length === 3, `${kind}: ${curves.length} curves`);
      for (const m of at1) {
        const c = curves.find((k) => k.model === m.model_name);
        expect(c, `${kind}: no curve of ${m.model_name}`);
        expect(Math.abs(c.first[1] - yOf(m.bands[0][key])) < 0.15, `${kind} ${m.model_name}: at 1 MHz y ${c.first[1]}, the program's ${yOf(m.bands[0][key])}`);
        expect(c.chosen === (m.model_name === 'alipio-visacro'), `${kind} ${m.model_name}: chosen ${c.chosen}`);
      }
      const chosen = curves.find((c) => c.chosen);
      for (const c of curves.filter((k) => !k.chosen)) {
        expect(c.width < chosen.width && c.dash !== 'none', `${kind} ${c.model}: width ${c.width} dashes ${c.dash}, the chosen ${chosen.width}`);
      }
      expect(new Set(curves.map((c) => c.dash)).size === 3, `${kind}: the curves' dashes ${curves.map((c) => c.dash)}`);
    }
    const texts = got.legend.map((l) => l.mark + ':' + l.text);
    expect(texts.includes('curve:alipio-visacro (chosen)') && texts.includes('other:messier') && texts.includes('other:power-law'),
           `legend ${texts}`);
  });
  await check('models: each model chosen alone is the program\'s --model NAME; a parameter without sd says why', page, async () => {
    for (const name of ['messier', 'alipio-visacro', 'power-law']) {
      await page.selectOption('#joint-model', name);
      sameAsProgram(await readView(page, 'joint'), native(wetClay, name), `wet clay, ${name}`);
      const curves = (await readCurves(page)).perm.curves;
      expect(curves.length === 1 && curves[0].model === name, `${name}: curves ${JSON.stringify(curves.map((c) => c.model))}`);
      expect(new URL(page.url()).search.endsWith('&model=' + name), `${name}: URL ${page.url()}`);
    }
    await fitLines(page, flat);
    const view = await readView(page, 'joint');
    sameAsProgram(view, native(flat, 'power-law'), 'flat ground, power-law');
    expect(view.fields.dispersive_conductivity_ms_per_m.text.includes('(at its bound)') &&
           view.fields.exponent.text.includes('(undetermined)'), `flat ground: "${view.fields.dispersive_conductivity_ms_per_m.text}", "${view.fields.exponent.text}"`);
    await page.selectOption('#joint-model', 'compare');
    await fitLines(page, cases.unweighted);
    sameAsProgram(await readView(page, 'joint'), native(cases.unweighted, 'compare'), 'compare without uncertainties');
  });
  await page.context().close();
}

// The default: compare from 3 lines with uncertainties, messier with
// fewer or without; the user's choice then stands, and a link keeps it.
{
  const page = await openJoint(`${server.origin}/`);
  const two = sweep.slice(0, 2).map((l) => l + ' 0.5 0.2').join('\n') + '\n';
  const three = sweep.slice(0, 3).map((l) => l + ' 0.5 0.2').join('\n') + '\n';
  await check('models: the default is compare from 3 lines with uncertainties, messier otherwise', page, async () => {
    for (const [text, want] of [[two, 'messier'], [three, 'compare'], [cases.unweighted, 'messier'], [cases.weighted, 'compare']]) {
      await fitLines(page, text);
      const model = await page.inputValue('#joint-model');
      expect(model === want, `${JSON.stringify(text)}: ${model}, not ${want}`);
      sameAsProgram(await readView(page, 'joint'), native(text, want), `default for ${JSON.stringify(text)}`);
      expect(!new URL(page.url()).search.includes('model='), `a default model in the link ${page.url()}`);
    }
  });
  let link = '';
  await check('models: a model chosen stays for the next lines, and its link opens it', page, async () => {
    await page.selectOption('#joint-model', 'power-law');
    await fitLines(page, three);
    expect(await page.inputValue('#joint-model') === 'power-law', 'the choice was replaced by the default');
    sameAsProgram(await readView(page, 'joint'), native(three, 'power-law'), 'power-law kept');
    link = await page.getAttribute('#joint-link', 'href');
    expect(link.endsWith('&model=power-law'), `link ${link}`);
  });
  await page.context().close();
  const opened = await openJoint(`${server.origin}/${link}`);
  await check('models: ?m=...&model=power-law opens with that model', opened, async () => {
    expect(await opened.inputValue('#joint-model') === 'power-law', 'the link\'s model is not chosen');
    sameAsProgram(await readView(opened, 'joint'), native(three, 'power-law'), 'the link\'s power-law');
  });
  await opened.context().close();
}

// On a phone the view reads without sideways scrolling: the page and
// each table within its box; "12.061 +- 0.52" breaks, if at all, before
// "+-"; each field named for its quantity; the legend names the points;
// removing a line is not drawn as the main action.
{
  const page = await openJoint(`${server.origin}/`, { width: 375, height: 667 });
  await check('375 px: the joint view without sideways scrolling, its fields and legend', page, async () => {
    await fitLines(page, cases['poor fit']);
    await page.waitForFunction(() => !document.getElementById('joint-result').hidden);
    const got = await page.evaluate(() => {
      const wide = (el) => el.scrollWidth > el.clientWidth + 0.5;
      const style = (id) => getComputedStyle(document.getElementById(id)).backgroundColor;
      return {
        page: document.documentElement.scrollWidth,
        boxes: [...document.querySelectorAll('#joint-view .table-box')].filter(wide).map((b) => b.getAttribute('aria-label')),
        split: [...document.querySelectorAll('#joint-parameters dd .nowrap')].filter((s) => s.getClientRects().length > 1).map((s) => s.textContent),
        sdPieces: [...document.querySelectorAll('#joint-parameters dd')].map((dd) => dd.textContent),
        labels: ['add-uer', 'add-us'].map((id) => document.querySelector(`label[for="${id}"]`).textContent),
        legend: [...document.querySelectorAll('#joint-legend li')].map((li) => li.dataset.mark),
        remove: style('remove-line'), add: style('add-line'),
      };
    });
    expect(got.page <= 375, `the page is ${got.page} px wide`);
    expect(got.boxes.length === 0, `tables scroll sideways: ${got.boxes}`);
    expect(got.split.length === 0, `split inside: ${got.split}`);
    expect(got.sdPieces.some((t) => t.includes(' +- ')), `no value with its sd: ${got.sdPieces}`);
    expect(got.labels[0] !== got.labels[1] && /permittivity/i.test(got.labels[0]) && /conductivity/i.test(got.labels[1]),
           `uncertainty fields: ${got.labels}`);
    expect(got.legend.includes('point') && got.legend.includes('curve'), `legend ${got.legend}`);
    expect(got.remove !== got.add, `'Remove the last line' looks like 'Add the line' (${got.remove})`);
  });
  await page.context().close();
}

// axe with the joint view and a weighted result with a warning shown.
const axeTags = ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22aa', 'best-practice'];
for (const viewport of [{ width: 1100, height: 900 }, { width: 375, height: 667 }]) {
  const page = await openJoint(`${server.origin}/`, viewport);
  await check(`axe at ${viewport.width} px, the joint view with a result: no violation`, page, async () => {
    await fitLines(page, cases['poor fit']);
    const results = await new AxeBuilder({ page }).withTags(axeTags).analyze();
    const found = results.violations.map((v) => `${v.id} (${v.nodes.map((n) => n.target.join(' ')).join(', ')})`);
    expect(found.length === 0, `violations: ${found.join('; ')}`);
  });
  await page.context().close();
}

await browser.close();
await server.close();
process.exit(finish());
