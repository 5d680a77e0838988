// SPDX-License-Identifier: MIT
// Accessibility and quality audits of the page served from 127.0.0.1:
//   node audit_test.mjs WEB_DIR ARTIFACT_DIR
// axe-core (WCAG 2.2 AA and best practice) at desktop and phone widths, on
// the empty page and on a result with the history and help open; then
// Lighthouse in Debian's Chromium on the page as a first visit opens it, as
// a phone (its default: the median of LIGHTHOUSE_RUNS runs, 5 unless set,
// since its timings vary with the machine's load) and as a desktop, each
// category at 0.95 or more.
import { AxeBuilder } from '@axe-core/playwright';
import { execFile } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { promisify } from 'node:util';
import { chromiumPath, expect, launchBrowser, makeChecks, openPage, startServer } from './harness.mjs';

const [webDir, artifacts] = process.argv.slice(2).map((p) => path.resolve(p));
const { check, finish } = makeChecks(artifacts);
const server = await startServer(webDir);
const axeTags = ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22aa', 'best-practice'];
const categories = ['performance', 'accessibility', 'best-practices', 'seo'];
const minimumScore = 0.95;
const lighthouseRuns = Number(process.env.LIGHTHOUSE_RUNS || 5);
const worked = `${server.origin}/?f=7.1&er=13&s=5`;

// axe: no violation in either state at either width.
{
  const browser = await launchBrowser();
  for (const viewport of [{ width: 1100, height: 900 }, { width: 375, height: 667 }]) {
    for (const [state, url] of [['empty', `${server.origin}/`], ['a result', worked]]) {
      const page = await openPage(browser, url, viewport);
      await check(`axe at ${viewport.width} px, ${state}: no violation`, page, async () => {
        if (state === 'a result') {
          await page.click('#fit'); // a second fit: the history holds an entry
          await page.evaluate(() => { document.querySelector('details.help').open = true; });
        }
        const results = await new AxeBuilder({ page }).withTags(axeTags).analyze();
        const found = results.violations.map((v) => `${v.id} (${v.nodes.map((n) => n.target.join(' ')).join(', ')})`);
        expect(found.length === 0, `violations: ${found.join('; ')}`);
        console.log(`axe at ${viewport.width} px, ${state}: ${results.passes.length} rules passed, no violation`);
      });
      await page.context().close();
    }
  }
  await browser.close();
}

// Lighthouse's command line, as a person would run it, in its own Chromium.
const run = promisify(execFile);
const lighthouseCli = fileURLToPath(new URL('./node_modules/lighthouse/cli/index.js', import.meta.url));
async function lighthouse(name, extra) {
  const report = path.join(artifacts, `lighthouse-${name}.json`);
  await run(process.execPath, [lighthouseCli, `${server.origin}/`, `--only-categories=${categories.join(',')}`,
    '--chrome-flags=--headless=new --no-sandbox --disable-gpu', '--output=json', `--output-path=${report}`,
    '--quiet', ...extra], { env: { ...process.env, CHROME_PATH: chromiumPath }, timeout: 120000 });
  const result = JSON.parse(fs.readFileSync(report, 'utf8'));
  expect(!result.runtimeError, `${name}: ${JSON.stringify(result.runtimeError)}`);
  return Object.fromEntries(categories.map((c) => [c, result.categories[c].score]));
}

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

for (const [form, extra, runs] of [['phone', [], lighthouseRuns], ['desktop', ['--preset=desktop'], 1]]) {
  await check(`Lighthouse as a ${form}: every category at ${minimumScore} or more`, null, async () => {
    const scores = [];
    for (let i = 1; i <= runs; i++) scores.push(await lighthouse(`${form}-${i}`, extra));
    const got = Object.fromEntries(categories.map((c) => [c, median(scores.map((s) => s[c]))]));
    const each = runs > 1 ? ` (median of ${runs}; performance ${scores.map((s) => s.performance).join(', ')})` : '';
    console.log(`lighthouse ${form}: ${categories.map((c) => `${c} ${got[c]}`).join(', ')}${each}`);
    const low = categories.filter((c) => !(got[c] >= minimumScore));
    expect(low.length === 0, `below ${minimumScore}: ${low.map((c) => `${c} ${got[c]}`).join(', ')}`);
  });
}

await server.close();
process.exit(finish());
