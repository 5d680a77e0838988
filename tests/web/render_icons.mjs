// SPDX-License-Identifier: MIT
// Renders web/icon.svg to the PNG icons the manifest lists (192 and 512 px,
// transparent corners) with Debian's Chromium; run after changing the SVG:
//   node tests/web/render_icons.mjs web
import { chromium } from 'playwright-core';
import fs from 'node:fs';
import path from 'node:path';

const webDir = path.resolve(process.argv[2] || 'web');
const svg = fs.readFileSync(path.join(webDir, 'icon.svg'), 'utf8');
const browser = await chromium.launch({ executablePath: process.env.CHROMIUM || '/usr/bin/chromium', args: ['--no-sandbox'] });
for (const size of [192, 512]) {
  const page = await browser.newPage({ viewport: { width: size, height: size } });
  const data = 'data:image/svg+xml;base64,' + Buffer.from(svg).toString('base64');
  await page.setContent(`<style>html,body{margin:0;background:transparent}</style><img src="${data}" width="${size}" height="${size}">`);
  await page.locator('img').evaluate((img) => img.decode());
  await page.screenshot({ path: path.join(webDir, `icon-${size}.png`), omitBackground: true });
  await page.close();
}
await browser.close();
