// SPDX-License-Identifier: MIT
// The web page in a real browser: Debian's Chromium, headless, driven by
// playwright-core with the system browser (nothing downloaded).
//   node page_test.mjs WEB_DIR NATIVE_GNDFIT GOLDEN_DIR ARTIFACT_DIR
// The console program (NATIVE_GNDFIT) gives the expected rows: every cell
// of the page must be the console's field for that band, by position.
// A failing check saves a screenshot in ARTIFACT_DIR.
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { consoleRows as programRows, expect, fitInPage, launchBrowser, makeChecks, startServer } from './harness.mjs';

const [webDir, program, goldenDir, artifacts] = process.argv.slice(2).map((p) => path.resolve(p));
const { check, finish } = makeChecks(artifacts);

// The console's band, value and depth rows for one measurement run alone.
const consoleRows = (line) => programRows(program, artifacts, line);

// The page's rows laid out as the console lays them out, from each cell's
// untrimmed field; and a check that each cell shows that field trimmed.
async function pageRows(page) {
  return page.evaluate(() => {
    const cells = (row) => [...document.querySelectorAll(`#bands tr[data-row="${row}"] td`)];
    const trimmedOk = ['band', 'permittivity', 'conductivity', 'depth']
      .every((row) => cells(row).every((td) => td.textContent === td.dataset.text.trim()));
    const texts = (row) => cells(row).map((td) => td.dataset.text);
    const perm = texts('permittivity'), cond = texts('conductivity');
    return {
      trimmedOk,
      rows: [
        texts('band').join('    '),
        perm.map((p, i) => p + ' ' + cond[i]).join('  '),
        texts('depth').join('    '),
      ],
      cellCounts: ['band', 'permittivity', 'conductivity', 'depth'].map((row) => cells(row).length),
    };
  });
}

function sameRows(got, want, what) {
  expect(got.trimmedOk, `${what}: a cell does not show its field trimmed`);
  expect(JSON.stringify(got.cellCounts) === '[10,10,10,10]', `${what}: cells per row ${got.cellCounts}`);
  for (let r = 0; r < 3; r++) {
    expect(got.rows[r] === want[r], `${what}: row ${r + 1}\n    page:    ${JSON.stringify(got.rows[r])}\n    console: ${JSON.stringify(want[r])}`);
  }
}

const server = await startServer(webDir);
const origin = server.origin;
const browser = await launchBrowser();

async function openPage(url, viewport = { width: 1100, height: 900 }) {
  const context = await browser.newContext({ viewport });
  const page = await context.newPage();
  const foreign = [];
  page.on('request', (request) => {
    const u = request.url();
    if (!u.startsWith('file://') && !u.startsWith(origin) && !u.startsWith('data:')) foreign.push(u);
  });
  page.foreign = foreign;
  await page.goto(url);
  await page.waitForSelector('body[data-ready="true"]', { timeout: 30000 });
  return page;
}

const worked = ['7.1', '13', '5'];
const workedRows = consoleRows(worked.join(' '));

// Opened from disk, a measurement in the URL shows at once.
{
  const page = await openPage(`file://${webDir}/index.html?f=7.1&er=13&s=5`);
  await check('file URL shows the measurement of its parameters', page, async () => {
    sameRows(await pageRows(page), workedRows, '7.1 13 5 from file://');
    expect(page.foreign.length === 0, `network requests: ${page.foreign}`);
    const svgPaths = await page.locator('#chart path').count();
    expect(svgPaths === 2, `chart has ${svgPaths} curves`);
    expect(await page.locator('#chart circle.measured').count() === 2, 'the measured point is not marked');
  });
  await page.context().close();
}

// From a local server: typed, Enter, URL out, history, message.
{
  const page = await openPage(`${origin}/`);
  await check('typed measurement, Enter, URL and history', page, async () => {
    await page.fill('#freq', '7.1');
    await page.fill('#perm', '13');
    await page.fill('#cond', '5');
    await page.press('#cond', 'Enter');
    sameRows(await pageRows(page), workedRows, 'typed 7.1 13 5');
    expect(page.url().endsWith('?f=7.1&er=13&s=5'), `URL is ${page.url()}`);
    await page.fill('#freq', '28.5');
    await page.fill('#cond', '10');
    await page.click('#fit');
    sameRows(await pageRows(page), consoleRows('28.5 13 10'), 'typed 28.5 13 10');
    expect(page.url().endsWith('?f=28.5&er=13&s=10'), `URL is ${page.url()}`);
    const entries = await page.locator('#history button').allTextContents();
    expect(entries.length === 2 && entries[0].startsWith('28.5'), `history: ${entries}`);
    await page.locator('#history button').nth(1).click();
    sameRows(await pageRows(page), workedRows, 'restored from the history');
    expect(await page.inputValue('#freq') === '7.1', 'history did not restore the fields');
    const base = await page.textContent('#base');
    expect(/Base conductivity \d\.\d{3} mS\/m|Base conductivity \d+(\.\d+)? mS\/m/.test(base), `base: ${base}`);
  });
  await check('no table and a message where the console prints none', page, async () => {
    for (const [values, what] of [[['0', '13', '5'], 'zero'], [['7.1', 'abc', '5'], 'not a number'],
                                  [['7,1', '13', '5'], 'a comma'], [['7.1', '', '5'], 'empty']]) {
      await fitInPage(page, values);
      const message = await page.textContent('#message');
      expect(message.length > 10, `${what}: no message`);
      expect(await page.locator('#result').isHidden(), `${what}: a table is shown`);
    }
    await fitInPage(page, worked);
    expect(await page.textContent('#message') === '', 'the message stays after a good fit');
  });
  await check('a base permittivity below vacuum: the warning gndfit --csv gives, and none for a physical one', page, async () => {
    const run = spawnSync(program, ['--csv'], { input: '1.8 5 10\n', cwd: artifacts });
    const line = run.stderr.toString().trim();
    const [, code, text] = line.match(/^gndfit: line 1: warning: ([a-z-]+): (.*)$/) || [];
    expect(run.status === 0 && code === 'permittivity-below-vacuum', `the program warns: "${line}"`);
    await fitInPage(page, ['1.8', '5', '10']);
    await page.waitForSelector('#warnings li');
    const shown = await page.$$eval('#warnings li', (items) => items.map((li) => [li.dataset.code, li.textContent]));
    expect(JSON.stringify(shown) === JSON.stringify([[code, `Warning (${code}): ${text}`]]), `page: ${JSON.stringify(shown)}`);
    await fitInPage(page, worked);
    await page.waitForFunction(() => document.querySelectorAll('#warnings li').length === 0);
  });
  await check('Tab reaches the three fields and the button in order', page, async () => {
    await page.focus('#freq');
    const order = ['freq'];
    for (let i = 0; i < 3; i++) {
      await page.keyboard.press('Tab');
      order.push(await page.evaluate(() => document.activeElement.id));
    }
    expect(order.join(',') === 'freq,perm,cond,fit', `focus order ${order}`);
    const headers = await page.locator('#bands th[scope="row"]').count();
    expect(headers === 4, `${headers} row headers`);
  });
  await page.context().close();
}

// Golden measurements, each fitted fresh, against the console run alone.
for (const [name, count] of [['golden_01', 100], ['golden_05', 50]]) {
  const page = await openPage(`${origin}/index.html`);
  await check(`${name}: first ${count} measurements cell by cell`, page, async () => {
    const lines = fs.readFileSync(path.join(goldenDir, name + '.in'), 'latin1').split(/\r?\n/).slice(0, count);
    for (const [i, line] of lines.entries()) {
      const values = line.trim().split(/[\s,]+/);
      expect(values.length === 3, `${name} line ${i + 1} does not hold three fields`);
      await fitInPage(page, values);
      sameRows(await pageRows(page), consoleRows(line), `${name} line ${i + 1} (${line.trim()})`);
    }
  });
  await page.context().close();
}

// A phone-sized viewport: nothing but the table's box scrolls sideways.
{
  const page = await openPage(`${origin}/?f=0.000001&er=1e30&s=1e-20`, { width: 375, height: 667 });
  await check('375 x 667: no sideways scrolling outside the table box', page, async () => {
    const widths = await page.evaluate(() => ({
      page: document.documentElement.scrollWidth,
      box: document.querySelector('.table-box').clientWidth,
      table: document.querySelector('#bands').scrollWidth,
    }));
    expect(widths.page <= 375, `the page is ${widths.page} px wide`);
    expect(widths.box <= 375, `the table box is ${widths.box} px wide`);
  });
  await page.context().close();
}

// Speed: one fit through the module, median of 200, in Chromium.
{
  const page = await openPage(`${origin}/`);
  const timing = await page.evaluate(() => {
    const times = [];
    for (let i = 0; i < 200; i++) {
      const start = performance.now();
      window.gndfitFit('7.1 13 5');
      times.push(performance.now() - start);
    }
    const start = performance.now();
    for (let i = 0; i < 200; i++) window.gndfitFit('7.1 13 5');
    const mean = (performance.now() - start) / 200;
    times.sort((a, b) => a - b);
    return { median: times[100], mean };
  });
  console.log(`timing: one fit (7.1 MHz, 13, 5 mS/m) in Chromium: median of 200 ${timing.median.toFixed(3)} ms, mean of 200 in a row ${timing.mean.toFixed(3)} ms`);
  await page.context().close();
}

await browser.close();
await server.close();
process.exit(finish());
