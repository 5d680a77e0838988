// SPDX-License-Identifier: MIT
// The page installable and working offline, in Debian's Chromium:
//   node offline_test.mjs WEB_DIR NATIVE_GNDFIT ARTIFACT_DIR
// Served from 127.0.0.1: Chromium finds it installable, the service worker
// keeps every file the page loads, and with the network off and the server
// gone the page reloads and fits, its cells the console's rows.  A later
// release (a changed version in the worker) replaces the cache and the
// files.  Opened from disk: no worker, no error.
import { chromium } from 'playwright-core';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {
  chromiumArgs, chromiumPath, consoleRows, expect, fitInPage, launchBrowser, makeChecks, openPage, pageRows, startServer, waitReady,
} from './harness.mjs';

const [webDir, program, artifacts] = process.argv.slice(2).map((p) => path.resolve(p));
const { check, finish } = makeChecks(artifacts);
const server = await startServer(webDir);
const browser = await launchBrowser();
const version = fs.readFileSync(new URL('../../CMakeLists.txt', import.meta.url), 'utf8')
  .match(/project\(gndfit VERSION ([0-9.]+)/)[1];
const rowsOf = (line) => consoleRows(program, artifacts, line);

function sameRows(got, want, what) {
  for (let r = 0; r < 3; r++) {
    expect(got[r] === want[r], `${what}: row ${r + 1}\n    page:    ${JSON.stringify(got[r])}\n    console: ${JSON.stringify(want[r])}`);
  }
}

async function waitControlled(page) {
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null, null, { timeout: 15000 });
}

// Each cache of the origin with the paths it holds.
function cachesOf(page) {
  return page.evaluate(async () => {
    const all = {};
    for (const name of await caches.keys()) {
      const cache = await caches.open(name);
      all[name] = (await cache.keys()).map((r) => new URL(r.url).pathname);
    }
    return all;
  });
}

async function until(what, condition, ms = 10000) {
  const end = Date.now() + ms;
  while (Date.now() < end) {
    if (await condition()) return;
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
  throw new Error(`timed out waiting for ${what}`);
}

// Installable: Chromium's own checks through the DevTools protocol, in a
// profile of its own (Chromium installs nothing from an incognito window,
// which every other context here is).
{
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'gndfit-profile-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: chromiumPath, headless: true, args: chromiumArgs, viewport: { width: 1100, height: 900 },
  });
  const page = context.pages()[0] || await context.newPage();
  await page.goto(`${server.origin}/`);
  await waitReady(page);
  await check('Chromium finds the page installable, the icons as the manifest says', page, async () => {
    await waitControlled(page);
    const cdp = await context.newCDPSession(page);
    const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
    expect(installabilityErrors.length === 0, `installability: ${JSON.stringify(installabilityErrors)}`);
    const manifest = await cdp.send('Page.getAppManifest');
    expect(manifest.errors.length === 0, `manifest: ${JSON.stringify(manifest.errors)}`);
    for (const icon of JSON.parse(manifest.data).icons) {
      const bytes = fs.readFileSync(path.join(webDir, icon.src));
      if (icon.type !== 'image/png') continue;
      // A PNG's width and height are the big-endian words at 16 and 20.
      const size = `${bytes.readUInt32BE(16)}x${bytes.readUInt32BE(20)}`;
      expect(size === icon.sizes, `${icon.src} is ${size}, the manifest says ${icon.sizes}`);
    }
    const icon = await page.getAttribute('link[rel="icon"]', 'href');
    expect(icon === 'icon.svg' && (await page.request.get(`${server.origin}/icon.svg`)).ok(), `favicon ${icon}`);
  });
  await context.close();
  fs.rmSync(profile, { recursive: true, force: true });
}

// Offline: every file of the first visit cached, then no network at all.
{
  const context = await browser.newContext({ viewport: { width: 1100, height: 900 } });
  const page = await context.newPage();
  const loaded = new Set();
  page.on('request', (r) => {
    const url = new URL(r.url());
    if (url.origin === server.origin && !url.pathname.endsWith('/service-worker.js')) loaded.add(url.pathname);
  });
  page.problems = [];
  page.on('pageerror', (error) => page.problems.push(error.message));
  await page.goto(`${server.origin}/?f=7.1&er=13&s=5`);
  await waitReady(page);
  await check('the worker keeps every file the page loaded, in a cache named by the release', page, async () => {
    await waitControlled(page);
    const all = await cachesOf(page);
    const names = Object.keys(all);
    expect(names.length === 1 && names[0].startsWith(`gndfit-${version}-`), `caches ${names}, release ${version}`);
    const missing = [...loaded].filter((p) => !all[names[0]].includes(p === '/' ? '/' : p));
    expect(loaded.size >= 4 && missing.length === 0, `not cached: ${missing} (loaded ${[...loaded]})`);
    for (const p of ['/', '/index.html', '/gndfit.js', '/style.css', '/manifest.webmanifest', '/icon-192.png', '/icon-512.png']) {
      expect(all[names[0]].includes(p), `${p} is not cached`);
    }
  });
  await check('offline and with the server gone: reload, fit, open another measurement', page, async () => {
    server.down = true;
    await context.setOffline(true);
    try {
      await page.reload();
      await waitReady(page);
      sameRows(await pageRows(page), rowsOf('7.1 13 5'), 'offline reload of 7.1 13 5');
      await fitInPage(page, ['28.5', '13', '10']);
      sameRows(await pageRows(page), rowsOf('28.5 13 10'), 'offline fit of 28.5 13 10');
      await page.goto(`${server.origin}/index.html?f=3.6&er=20&s=10`);
      await waitReady(page);
      sameRows(await pageRows(page), rowsOf('3.6 20 10'), 'offline index.html?f=3.6&er=20&s=10');
      expect(page.problems.length === 0, `errors: ${page.problems}`);
    } finally {
      server.down = false;
      await context.setOffline(false);
    }
  });
  await context.close();
}

// A later release: the worker with another version replaces the cache and
// the files; another page's cache on the origin stays.
{
  const page = await openPage(browser, `${server.origin}/`);
  await check('a new release replaces the cache and the page, and deletes the old cache', page, async () => {
    await waitControlled(page);
    const [first] = Object.keys(await cachesOf(page));
    await page.evaluate(() => caches.open('another-page').then((c) => c.put('/other', new Response('x'))));
    server.rewrite = (name, bytes) => {
      if (name === 'service-worker.js') return Buffer.from(bytes.toString().replace(`'${version}-`, "'99.0.0-"));
      if (name === 'index.html') return Buffer.from(bytes.toString().replace('<title>gndfit:', '<title>gndfit next:'));
      return bytes;
    };
    try {
      await page.evaluate(() => navigator.serviceWorker.getRegistration().then((r) => r.update()));
      await until('the new cache alone', async () => {
        const names = Object.keys(await cachesOf(page)).filter((n) => n.startsWith('gndfit-'));
        return names.length === 1 && names[0].startsWith('gndfit-99.0.0-');
      });
      const names = Object.keys(await cachesOf(page));
      expect(!names.includes(first) && names.includes('another-page'), `caches after the update: ${names}`);
      server.down = true; // what follows comes from the new cache
      await page.reload();
      await waitReady(page);
      expect((await page.title()).startsWith('gndfit next:'), `the page after the update: ${await page.title()}`);
    } finally {
      server.rewrite = null;
      server.down = false;
    }
  });
  await page.context().close();
}

// Opened from disk: no worker asked for, no error or warning, fits as ever.
{
  const page = await openPage(browser, `file://${webDir}/index.html?f=7.1&er=13&s=5`);
  await check('file URL: no service worker, no error, the table as the console\'s', page, async () => {
    await page.waitForTimeout(300);
    sameRows(await pageRows(page), rowsOf('7.1 13 5'), 'file:// 7.1 13 5');
    const controlled = await page.evaluate(() => Boolean(navigator.serviceWorker && navigator.serviceWorker.controller));
    expect(!controlled, 'a service worker controls the page from disk');
    expect(page.problems.length === 0, `console: ${page.problems}`);
  });
  await page.context().close();
}

await browser.close();
await server.close();
process.exit(finish());
