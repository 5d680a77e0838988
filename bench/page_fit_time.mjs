// SPDX-License-Identifier: MIT
// One fit (7.1 MHz, 13, 5 mS/m) through two builds of the page's module in
// headless Chromium, alternately: rounds of 200 fits in a row on each page
// in turn, the mean of each round, and the median of the rounds for each
// build with their ratio.  The page's module runs the software extended
// type, so this is that type's speed where its users run it.
// Usage: node bench/page_fit_time.mjs WEB_DIR_A WEB_DIR_B [rounds]
import path from 'node:path';
import { launchBrowser, openPage, startServer } from '../tests/web/harness.mjs';

const [dirA, dirB] = process.argv.slice(2, 4).map((d) => path.resolve(d));
const rounds = Number(process.argv[4] ?? 15);
const browser = await launchBrowser();
const servers = [await startServer(dirA), await startServer(dirB)];
const pages = [];
for (const server of servers) {
  const page = await openPage(browser, `${server.origin}/`);
  pages.push(page);
}
const means = [[], []];
for (let round = 0; round < rounds; round++) {
  for (let which = 0; which < 2; which++) {
    means[which].push(await pages[which].evaluate(() => {
      const start = performance.now();
      for (let i = 0; i < 200; i++) window.gndfitFit('7.1 13 5');
      return (performance.now() - start) / 200;
    }));
  }
}
const median = (v) => [...v].sort((a, b) => a - b)[Math.floor(v.length / 2)];
const [a, b] = means.map(median);
console.log(`A ${dirA}: median of ${rounds} rounds ${a.toFixed(3)} ms per fit; ` +
            `B ${dirB}: ${b.toFixed(3)} ms; B/A ${(b / a).toFixed(2)}`);
await browser.close();
for (const server of servers) await server.close();
