// SPDX-License-Identifier: MIT
// What the browser tests of the page share: a static server on 127.0.0.1,
// Debian's Chromium through playwright-core, the console program's rows
// for a measurement, and named checks that count passes and failures and
// leave a screenshot for a failure.
import { chromium } from 'playwright-core';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';

export const chromiumPath = process.env.CHROMIUM || '/usr/bin/chromium';
export const chromiumArgs = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];

const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css',
  '.webmanifest': 'application/manifest+json', '.svg': 'image/svg+xml', '.png': 'image/png',
};

// GET only, files of webDir only.  `down` makes it drop every connection,
// as a server that has gone away; `rewrite(name, bytes)` may change what a
// file serves (a later release of the page, say).
export async function startServer(webDir) {
  const state = { down: false, rewrite: null };
  const server = http.createServer((request, response) => {
    if (state.down) {
      request.socket.destroy();
      return;
    }
    const url = new URL(request.url, 'http://127.0.0.1');
    const name = url.pathname === '/' ? 'index.html' : path.normalize(url.pathname).replace(/^\/+/, '');
    const file = path.join(webDir, name);
    if (!file.startsWith(webDir + path.sep) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404).end();
      return;
    }
    let bytes = fs.readFileSync(file);
    if (state.rewrite) bytes = state.rewrite(name, bytes);
    response.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
    response.end(bytes);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  state.origin = `http://127.0.0.1:${server.address().port}`;
  state.close = () => {
    server.closeAllConnections();
    return new Promise((resolve) => server.close(resolve));
  };
  return state;
}

export function launchBrowser() {
  return chromium.launch({ executablePath: chromiumPath, headless: true, args: chromiumArgs });
}

// Opens url in a new context and waits for the module; console errors,
// warnings and uncaught exceptions are kept in page.problems.
export async function openPage(browser, url, viewport = { width: 1100, height: 900 }) {
  const context = await browser.newContext({ viewport });
  const page = await context.newPage();
  page.problems = [];
  page.on('console', (m) => {
    if (m.type() === 'error' || m.type() === 'warning') page.problems.push(`${m.type()}: ${m.text()}`);
  });
  page.on('pageerror', (error) => page.problems.push(`exception: ${error.message}`));
  await page.goto(url);
  await waitReady(page);
  return page;
}

export function waitReady(page) {
  return page.waitForSelector('body[data-ready="true"]', { timeout: 30000 });
}

export async function fitInPage(page, values) {
  await page.evaluate(([f, er, s]) => {
    document.getElementById('freq').value = f;
    document.getElementById('perm').value = er;
    document.getElementById('cond').value = s;
    document.getElementById('measurement').requestSubmit();
  }, values);
}

// The console program's band, value and depth rows for one measurement run
// alone, and the page's rows laid out the same way from each cell's field.
export function consoleRows(program, cwd, line) {
  const out = execFileSync(program, { input: line + '\r\n', cwd }).toString('latin1');
  const lines = out.split('\r\n');
  const at = lines.findIndex((l) => l.startsWith('    1.8        3.7'));
  return at < 0 ? [] : lines.slice(at, at + 3);
}

export function pageRows(page) {
  return page.evaluate(() => {
    const texts = (row) => [...document.querySelectorAll(`#bands tr[data-row="${row}"] td`)].map((td) => td.dataset.text);
    const perm = texts('permittivity'), cond = texts('conductivity');
    return [texts('band').join('    '), perm.map((p, i) => p + ' ' + cond[i]).join('  '), texts('depth').join('    ')];
  });
}

export function expect(condition, message) {
  if (!condition) throw new Error(message);
}

export function makeChecks(artifacts) {
  fs.mkdirSync(artifacts, { recursive: true });
  const counts = { passed: 0, failed: 0 };
  async function check(name, page, body) {
    try {
      await body();
      counts.passed++;
    } catch (error) {
      counts.failed++;
      console.log(`FAILED: ${name}: ${error.message}`);
      if (page) {
        const file = path.join(artifacts, name.replace(/[^A-Za-z0-9]+/g, '_') + '.png');
        await page.screenshot({ path: file, fullPage: true }).catch(() => {});
        console.log(`  screenshot: ${file}`);
      }
    }
  }
  function finish() {
    console.log(`${counts.passed} passed, ${counts.failed} failed`);
    return counts.failed === 0 ? 0 : 1;
  }
  return { check, finish };
}
