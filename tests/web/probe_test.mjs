// SPDX-License-Identifier: MIT
// The page's probe view in Debian's Chromium, against the native program
// on the same sweep files: `gndfit --probe SETTING FILE` for the points'
// CSV and its notes, `gndfit --probe SETTING --joint --json FILE` for the
// fit, and its error messages for sweeps that do not convert; and against
// the truth of sweeps made here with the forward model (probe_sweeps.py):
// a line probe with a left-out range, a short probe behind its fixture
// calibrated with sweeps in air and in water.
//   node probe_test.mjs WEB_DIR NATIVE_GNDFIT SWEEPS_DIR ARTIFACT_DIR
import { AxeBuilder } from '@axe-core/playwright';
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { expect, launchBrowser, makeChecks, openPage, startServer } from './harness.mjs';
import { readView, sameAsProgram } from './joint_view.mjs';

const [webDir, program, sweeps, artifacts] = process.argv.slice(2).map((p) => path.resolve(p));
const { check, finish } = makeChecks(artifacts);
const server = await startServer(webDir);
const browser = await launchBrowser();

// The native program in the sweeps' folder, so that its messages name the
// files as the page does, by their names alone.
function native(args, input, cwd = sweeps) {
  const run = spawnSync(program, args, { cwd, input: input || '' });
  const stderr = run.stderr.toString().split('\n').filter((l) => l.startsWith('gndfit: ')).map((l) => l.slice(8));
  return { status: run.status, stdout: run.stdout.toString(), stderr };
}

// The model the view fits until the user chooses: the three compared where
// u_gamma gives the points uncertainties, messier otherwise.
function nativeFit(setting, file, input, cwd = sweeps, model = /u_gamma=/.test(setting) ? 'compare' : 'messier') {
  const run = native(['--probe', setting, '--joint', '--model', model, '--json', file], input, cwd);
  return run.status === 0 ? { json: JSON.parse(run.stdout) } : { errors: run.stderr };
}

async function openProbe(viewport) {
  const page = await openPage(browser, `${server.origin}/`, viewport);
  await page.waitForSelector('body[data-probe-ready="true"]', { timeout: 30000 });
  await page.click('#show-probe');
  return page;
}

const fileOf = (name, text, dir = sweeps) => ({ name, mimeType: 'text/plain',
  buffer: text === undefined ? fs.readFileSync(path.join(dir, name)) : Buffer.from(text) });

// The probe's settings typed into the view's fields.
async function setProbe(page, settings) {
  await page.check(settings.line ? '#probe-line' : '#probe-short');
  for (const [id, value] of Object.entries(settings.fields || {})) await page.fill(id, value);
}

// Opens the sweep (with the air sweep first where there is one, and the
// liquid's) and waits for the view to answer.
async function openSweep(page, name, text, air, { liquid, dir } = {}) {
  for (const [id, name] of [['#probe-air', air], ['#probe-liquid', liquid]]) {
    if (!name) continue;
    await page.setInputFiles(id, fileOf(name, undefined, dir));
    await page.waitForFunction(([id, name]) => document.querySelector(id).dataset.read === name, [id, name]);
  }
  await page.evaluate(() => { // what the last sweep left
    document.getElementById('probe-errors').textContent = '';
    document.getElementById('probe-result').hidden = true;
  });
  await page.setInputFiles('#probe-file', fileOf(name, text, dir));
  await page.waitForFunction(() => !document.getElementById('probe-result').hidden ||
    document.querySelectorAll('#probe-errors li').length > 0);
}

function readPoints(page) {
  return page.evaluate(() => ({
    shown: !document.getElementById('probe-points').hidden,
    csv: document.getElementById('probe-download').dataset.csv,
    download: document.getElementById('probe-download').getAttribute('download'),
    notes: [...document.querySelectorAll('#probe-notes li')].map((li) => li.textContent),
  }));
}

const runs = [
  { name: 'short-s-ma.s1p', setting: 'short,c0=5', settings: { fields: { '#probe-c0': '5' } } },
  { name: 'short-rx-semicolon.csv', setting: 'short,air=short-air.s1p', air: 'short-air.s1p',
    settings: { fields: { '#probe-c0': '' } } },
  { name: 'line-v2-z-ri.ts', setting: 'line,length=0.5,z0=300',
    settings: { line: true, fields: { '#probe-length': '0.5', '#probe-z0': '300' } } },
  { name: 'line-2m-s-ri.s1p', setting: 'line,length=2,z0=300',
    settings: { line: true, fields: { '#probe-length': '2', '#probe-z0': '300' } } },
];

for (const run of runs) {
  const page = await openProbe();
  await check(`${run.name} (${run.setting}): the program's points, notes and joint fit`, page, async () => {
    await setProbe(page, run.settings);
    await openSweep(page, run.name, undefined, run.air);
    const points = await readPoints(page);
    const csv = native(['--probe', run.setting, run.name]);
    expect(csv.status === 0, `the program refused ${run.name}: ${csv.stderr}`);
    expect(points.shown && points.csv === csv.stdout, `CSV\n    page:    ${points.csv?.slice(0, 120)}\n    program: ${csv.stdout.slice(0, 120)}`);
    expect(JSON.stringify(points.notes) === JSON.stringify(csv.stderr),
           `notes\n    page:    ${JSON.stringify(points.notes)}\n    program: ${JSON.stringify(csv.stderr)}`);
    expect(points.download === run.name.replace(/\.[^.]*$/, '') + '-ground.csv', `download name ${points.download}`);
    sameAsProgram(await readView(page, 'probe'), nativeFit(run.setting, run.name), run.name);
    const drawn = await page.evaluate(() => document.querySelectorAll('#probe-chart circle.point').length);
    const count = csv.stdout.trim().split('\n').length - 1;
    expect(drawn === 2 * count, `${drawn} points drawn for ${count} points in two panels`);
    expect(page.problems.length === 0, `page problems: ${page.problems}`);
  });
  await page.context().close();
}

// A file dropped on the view: the same as opened.
{
  const page = await openProbe();
  await check('a sweep dropped on the view is converted and fitted', page, async () => {
    await setProbe(page, runs[0].settings);
    const text = fs.readFileSync(path.join(sweeps, runs[0].name), 'latin1');
    await page.evaluate(([name, content]) => {
      const data = new DataTransfer();
      data.items.add(new File([content], name, { type: 'text/plain' }));
      const zone = document.getElementById('probe-drop');
      zone.dispatchEvent(new DragEvent('dragover', { dataTransfer: data, bubbles: true, cancelable: true }));
      zone.dispatchEvent(new DragEvent('drop', { dataTransfer: data, bubbles: true, cancelable: true }));
    }, [runs[0].name, text]);
    await page.waitForFunction(() => !document.getElementById('probe-result').hidden);
    sameAsProgram(await readView(page, 'probe'), nativeFit(runs[0].setting, runs[0].name), 'dropped');
    const name = await page.textContent('#probe-file-name');
    expect(name.includes(runs[0].name), `the view names "${name}"`);
  });
  await page.context().close();
}

// Sweeps that do not convert: the program's message, and no result; a
// file's name in its own letters, not its UTF-8 bytes one by one.
{
  const faults = {
    'décroissante.s1p': '# MHz Y RI R 50\n10 0.5 0.6\n5 0.5 0.6\n',
    'two-port.s1p': '# MHz S RI R 50\n1 0 0 0 0 0 0 0 0\n',
    'empty.s1p': '! nothing here\n# MHz S MA R 50\n',
    'wrong-c0.csv': 'MHz,R,X\n1,100,50\n2,100,50\n',
  };
  const page = await openProbe();
  await check('sweeps that do not convert: the program\'s message and no result', page, async () => {
    await setProbe(page, runs[0].settings);
    for (const [name, text] of Object.entries(faults)) {
      await openSweep(page, name, text);
      const want = native(['--probe', runs[0].setting, '-'], text);
      expect(want.status === 1 && want.stderr.length === 1, `${name}: the program did not refuse it: ${want.stderr}`);
      const view = await readView(page, 'probe');
      const message = want.stderr[0].replace(/^standard input:/, name + ':');
      expect(!view.shown && JSON.stringify(view.errors) === JSON.stringify([message]),
             `${name}\n    page:    ${JSON.stringify(view.errors)}\n    program: ${message}`);
      expect(!(await readPoints(page)).shown, `${name}: points shown`);
    }
  });
  await check('settings the view refuses before converting, and Z0 from the rods', page, async () => {
    const errorsAfter = async (fields, line = false) => {
      await setProbe(page, { line, fields });
      await page.click('#probe-fit');
      return (await readView(page, 'probe')).errors;
    };
    let errors = await errorsAfter({ '#probe-c0': '' });
    expect(errors.length === 1 && errors[0].includes('C0'), `no C0: ${errors}`);
    errors = await errorsAfter({ '#probe-c0': '5 pF' });
    expect(errors.length === 1 && errors[0].includes('one positive number'), `C0 with its unit: ${errors}`);
    errors = await errorsAfter({ '#probe-length': '-1', '#probe-z0': '' }, true);
    expect(errors.length === 2, `a negative length and no Z0: ${errors}`);
    await page.fill('#rod-diameter', '0.01');
    await page.fill('#rod-spacing', '0.1');
    await page.click('#rods-z0');
    const z0 = Number(await page.inputValue('#probe-z0'));
    const want = 120 * Math.log(10 + Math.sqrt(99)); // acosh(10), written out
    expect(Math.abs(z0 - want) < 1e-3, `Z0 from the rods ${z0}, want ${want}`);
  });
  await page.context().close();
}

// The points handed to the several-measurements view: the same model.
{
  const page = await openProbe();
  await check('the points as measurements: the several-measurements view fits the same model', page, async () => {
    await setProbe(page, runs[2].settings);
    await openSweep(page, runs[2].name);
    const probe = await readView(page, 'probe');
    await page.click('#probe-to-joint');
    await page.waitForFunction(() => !document.getElementById('joint-view').hidden &&
      !document.getElementById('joint-result').hidden);
    const joint = await readView(page, 'joint');
    for (const name of ['base_conductivity_s_per_m', 'base_permittivity', 'chi_square']) {
      expect(joint.fields[name].value === probe.fields[name].value,
             `${name}: joint view ${joint.fields[name].value}, probe view ${probe.fields[name].value}`);
    }
    expect(joint.measurements.length === probe.measurements.length, 'not every point was handed over');
    // With u_gamma the points go over with their uncertainties: the same
    // weighted fit.
    await page.click('#show-probe');
    await page.fill('#probe-u-gamma', '0.01');
    await page.click('#probe-fit');
    await page.waitForFunction(() => document.getElementById('probe-summary').textContent.includes('weighted by'));
    const weighted = await readView(page, 'probe');
    await page.click('#probe-to-joint');
    await page.waitForFunction(() => document.getElementById('joint-summary').textContent.includes('weighted by'));
    const jointWeighted = await readView(page, 'joint');
    // Both compare the models by default, and choose the same one.
    expect(JSON.stringify(jointWeighted.comparison) === JSON.stringify(weighted.comparison),
           `comparison: joint view ${JSON.stringify(jointWeighted.comparison)}, probe view ${JSON.stringify(weighted.comparison)}`);
    for (const name of Object.keys(weighted.fields)) {
      expect(jointWeighted.fields[name].value === weighted.fields[name].value,
             `weighted ${name}: joint view ${jointWeighted.fields[name].value}, probe view ${weighted.fields[name].value}`);
    }
  });
  await page.context().close();
}

// Sweeps made here with the forward model, and the truth they were made
// from: every point the page prints is the truth, to 1e-6 relative.
const made = path.join(artifacts, 'probe-sweeps');
{
  const script = fileURLToPath(new URL('./probe_sweeps.py', import.meta.url));
  const run = spawnSync('python3', [script, path.dirname(sweeps), made]);
  if (run.status !== 0) throw new Error(`probe_sweeps.py: ${run.stderr}`);
}
const truth = JSON.parse(fs.readFileSync(path.join(made, 'truth.json'), 'utf8'));
const relative = (got, want) => Math.abs(got - want) / Math.abs(want);

// The frequencies of the CSV's rows, each checked against the truth.
function rowsAtTruth(csv, points, what) {
  const printed = [];
  for (const row of csv.trim().split('\n').slice(1)) {
    const [f, er, s] = row.split(',').map(Number);
    const want = points.find((p) => p.frequency_mhz === f);
    expect(want, `${what}: a row at ${f} MHz, which the sweep does not have`);
    expect(relative(er, want.permittivity) < 1e-6 && relative(s, want.conductivity_ms_per_m) < 1e-6,
           `${what}: at ${f} MHz ${er}, ${s}; the truth ${want.permittivity}, ${want.conductivity_ms_per_m}`);
    printed.push(f);
  }
  return printed;
}

function readProbeExtras(page) {
  return page.evaluate(() => ({
    leftOut: [...document.querySelectorAll('#probe-left-out tbody tr')].map((tr) => [...tr.children].map((td) => td.dataset.value)),
    leftOutShown: !document.getElementById('probe-left-out-box').hidden,
    caption: document.getElementById('probe-left-out-caption').textContent,
    crosses: document.querySelectorAll('#probe-chart path.left-out').length,
    circles: document.querySelectorAll('#probe-chart circle.point').length,
    bars: document.querySelectorAll('#probe-chart line.error-bar').length,
    caps: document.querySelectorAll('#probe-chart line.error-cap').length,
    legend: [...document.querySelectorAll('#probe-legend li')].map((li) => li.dataset.mark),
    folded: !document.getElementById('probe-residuals').open,
    residualRows: document.querySelectorAll('#probe-measurements tbody tr').length,
    errors: [...document.querySelectorAll('#probe-errors li')].map((li) => li.textContent),
    shown: !document.getElementById('probe-result').hidden,
  }));
}

// Each note and the left-out caption name a file at most once.
function namesEachFileOnce(texts, names, what) {
  for (const text of texts) {
    for (const name of names) {
      expect(text.split(name).length <= 2, `${what}: "${text}" names ${name} more than once`);
    }
  }
}

const lineRun = { name: 'line-left-out.s1p', setting: truth.line.setting,
  settings: { line: true, fields: { '#probe-length': '2', '#probe-z0': '300', '#probe-u-gamma': '' } } };
{
  const page = await openProbe();
  await check('a line probe with a left-out range: the truth printed, the rest listed and marked', page, async () => {
    await setProbe(page, lineRun.settings);
    await openSweep(page, lineRun.name, undefined, null, { dir: made });
    const points = await readPoints(page);
    const csv = native(['--probe', lineRun.setting, lineRun.name], undefined, made);
    expect(csv.status === 0 && points.csv === csv.stdout, `CSV\n    page:    ${points.csv}\n    program: ${csv.stdout}`);
    expect(JSON.stringify(points.notes) === JSON.stringify(csv.stderr), `notes: ${points.notes} / ${csv.stderr}`);
    sameAsProgram(await readView(page, 'probe'), nativeFit(lineRun.setting, lineRun.name, undefined, made), lineRun.name);
    const printed = rowsAtTruth(points.csv, truth.line.points, lineRun.name);
    const extras = await readProbeExtras(page);
    // The file's own lines: the frequency of each, as written.
    const fileLines = fs.readFileSync(path.join(made, lineRun.name), 'utf8').split('\n');
    const lineOf = (f) => 1 + fileLines.findIndex((l) => /^[\d.]/.test(l) && Number(l.split(' ')[0]) === f);
    const all = truth.line.points.map((p) => p.frequency_mhz);
    const leftOut = all.filter((f) => !printed.includes(f));
    expect(leftOut.length > 0 && printed.length > 0, `the sweep is meant to have both: ${printed.length} printed`);
    expect(JSON.stringify(extras.leftOut.map(([line, f]) => [Number(line), Number(f)])) ===
           JSON.stringify(leftOut.map((f) => [lineOf(f), f])),
           `left out listed ${JSON.stringify(extras.leftOut)}, want the frequencies ${leftOut}`);
    expect(extras.leftOut.every(([, , reason]) => reason.length > 0), 'a left-out point without its reason');
    expect(extras.leftOutShown && extras.caption.includes(lineRun.name), `caption "${extras.caption}"`);
    namesEachFileOnce([...points.notes, extras.caption], [lineRun.name], lineRun.name);
    expect(extras.crosses === 2 * leftOut.length, `${extras.crosses} crosses for ${leftOut.length} points in two panels`);
    expect(extras.legend.includes('left-out') && extras.legend.includes('point'), `legend ${extras.legend}`);
    expect(extras.bars === 0, `${extras.bars} error bars without u_gamma`);
    expect(!extras.folded && extras.residualRows === printed.length, `residuals folded with ${extras.residualRows} rows`);
  });
  await page.context().close();
}

const fixture = truth.fixture;
const calibrated = 'short,air=fixture-air.s1p,liquid=fixture-water.s1p,liquid_er=78.4';
{
  const page = await openProbe();
  await check('a short probe calibrated in air and water with u_gamma: the truth, the program\'s fit, error bars', page, async () => {
    await setProbe(page, { fields: { '#probe-c0': '', '#probe-liquid-er': '78.4', '#probe-u-gamma': '0.01' } });
    await openSweep(page, 'fixture-ground.s1p', undefined, 'fixture-air.s1p', { liquid: 'fixture-water.s1p', dir: made });
    const setting = calibrated + ',u_gamma=0.01';
    const points = await readPoints(page);
    const csv = native(['--probe', setting, 'fixture-ground.s1p'], undefined, made);
    expect(csv.status === 0 && points.csv === csv.stdout, `CSV\n    page:    ${points.csv?.slice(0, 200)}\n    program: ${csv.stdout.slice(0, 200)}`);
    expect(points.csv.startsWith('frequency_mhz,permittivity,conductivity_ms_per_m,permittivity_u,'), 'no uncertainties');
    expect(JSON.stringify(points.notes) === JSON.stringify(csv.stderr), `notes: ${points.notes} / ${csv.stderr}`);
    namesEachFileOnce(points.notes.slice(0, 1), ['fixture-air.s1p'], 'notes');
    sameAsProgram(await readView(page, 'probe'), nativeFit(setting, 'fixture-ground.s1p', undefined, made), setting);
    const printed = rowsAtTruth(points.csv, fixture.points, setting);
    expect(printed.length === fixture.points.length, `${printed.length} points of ${fixture.points.length}`);
    const extras = await readProbeExtras(page);
    expect(extras.bars === 2 * printed.length && extras.caps === 2 * extras.bars,
           `${extras.bars} error bars and ${extras.caps} caps for ${printed.length} points in two panels`);
    expect(extras.circles === 2 * printed.length && !extras.leftOutShown && extras.crosses === 0, 'points or crosses');
    expect(extras.folded && extras.residualRows === printed.length, `${extras.residualRows} residual rows, folded ${extras.folded}`);
  });
  await check('with u_gamma the models are compared by default; each model chosen is the program\'s --model', page, async () => {
    const setting = calibrated + ',u_gamma=0.01';
    expect(await page.inputValue('#probe-model') === 'compare', `default ${await page.inputValue('#probe-model')}`);
    for (const model of ['alipio-visacro', 'power-law', 'messier']) {
      await page.evaluate(() => { document.getElementById('probe-result').hidden = true; });
      await page.selectOption('#probe-model', model);
      await page.waitForFunction(() => !document.getElementById('probe-result').hidden);
      sameAsProgram(await readView(page, 'probe'), nativeFit(setting, 'fixture-ground.s1p', undefined, made, model), model);
    }
  });
  await check('the fixture typed, C0 with L in nH and Cs in pF: the truth and the program\'s fit', page, async () => {
    await page.click('#probe-forget');
    await setProbe(page, { fields: { '#probe-c0': String(fixture.c0_pf), '#probe-l': String(fixture.l_nh),
      '#probe-cs': String(fixture.cs_pf), '#probe-liquid-er': '', '#probe-u-gamma': '' } });
    await openSweep(page, 'fixture-ground.s1p', undefined, null, { dir: made });
    const setting = `short,c0=${fixture.c0_pf},l=${fixture.l_nh},cs=${fixture.cs_pf}`;
    const points = await readPoints(page);
    const csv = native(['--probe', setting, 'fixture-ground.s1p'], undefined, made);
    expect(csv.status === 0 && points.csv === csv.stdout, `CSV\n    page:    ${points.csv?.slice(0, 200)}\n    program: ${csv.stdout.slice(0, 200)}`);
    rowsAtTruth(points.csv, fixture.points, setting);
    sameAsProgram(await readView(page, 'probe'), nativeFit(setting, 'fixture-ground.s1p', undefined, made), setting);
  });
  await page.context().close();
}

// A changed setting converts again, and what the earlier try said goes.
{
  const page = await openProbe();
  await check('a changed setting converts again; the earlier message goes; forgetting the sweeps', page, async () => {
    await setProbe(page, { fields: { '#probe-c0': '', '#probe-liquid-er': '', '#probe-u-gamma': '' } });
    await openSweep(page, 'fixture-ground.s1p', undefined, 'fixture-air.s1p', { liquid: 'fixture-water.s1p', dir: made });
    let extras = await readProbeExtras(page);
    expect(!extras.shown && extras.errors.length === 1 && extras.errors[0].includes('liquid'), `no liquid_er: ${extras.errors}`);
    const change = async (id, value) => {
      await page.fill(id, value);
      await page.$eval(id, (field) => field.blur());
    };
    await change('#probe-liquid-er', '78.4');
    await page.waitForFunction(() => !document.getElementById('probe-result').hidden);
    extras = await readProbeExtras(page);
    expect(extras.errors.length === 0, `the earlier message stays: ${extras.errors}`);
    let points = await readPoints(page);
    let want = native(['--probe', calibrated, 'fixture-ground.s1p'], undefined, made);
    expect(points.csv === want.stdout, `after li_er: CSV ${points.csv?.slice(0, 120)}`);
    await change('#probe-u-gamma', '0.02');
    await page.waitForFunction(() => document.getElementById('probe-download').dataset.csv.includes('permittivity_u'));
    points = await readPoints(page);
    want = native(['--probe', calibrated + ',u_gamma=0.02', 'fixture-ground.s1p'], undefined, made);
    expect(points.csv === want.stdout, `after u_gamma: CSV ${points.csv?.slice(0, 120)}`);
    await page.click('#probe-forget');
    extras = await readProbeExtras(page);
    expect(!extras.shown && extras.errors.length === 1 && extras.errors[0].includes('C0'), `after forgetting: ${extras.errors}`);
  });
  await page.context().close();
}

const axeTags = ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22aa', 'best-practice'];
for (const viewport of [{ width: 1100, height: 900 }, { width: 375, height: 667 }]) {
  const page = await openProbe(viewport);
  await check(`axe at ${viewport.width} px, the probe view with a result and warnings: no violation`, page, async () => {
    await setProbe(page, runs[3].settings);
    await openSweep(page, runs[3].name);
    const results = await new AxeBuilder({ page }).withTags(axeTags).analyze();
    const found = results.violations.map((v) => `${v.id} (${v.nodes.map((n) => n.target.join(' ')).join(', ')})`);
    expect(found.length === 0, `violations: ${found.join('; ')}`);
    const overflow = await page.evaluate(() => document.documentElement.scrollWidth > window.innerWidth);
    expect(!overflow, 'the page scrolls sideways');
  });
  await page.context().close();
}

await browser.close();
await server.close();
process.exit(finish());
