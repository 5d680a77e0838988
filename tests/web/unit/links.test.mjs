// SPDX-License-Identifier: MIT
// The page's shared links: what goes into the address comes back out as
// the same measurements.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { jointSearch, linkParameter, measurementLines, singleOfSearch, singleSearch, textOfParameter } from '../../../web/links.js';

const kText = '# f er s u_er u_s\r\n1.8 47.2 8.32 0.5 0.2\n\n  3.6, 36.1 ,10.1 0.5 0.2\n# done\n7.1\t2.5d1 &H1E 2.5e+1 1e-1\n';

test('measurement lines: blank and # lines left out, each trimmed', () => {
  assert.deepEqual(measurementLines(kText), ['1.8 47.2 8.32 0.5 0.2', '3.6, 36.1 ,10.1 0.5 0.2', '7.1\t2.5d1 &H1E 2.5e+1 1e-1']);
});

test('a joint link read back gives the lines with their fields, the number forms kept', () => {
  const search = jointSearch(kText);
  assert.ok(!/[\s#&+]/.test(search.slice(1).replace(/^m=/, '')), `unescaped in ${search}`);
  const back = textOfParameter(new URLSearchParams(search).get('m'));
  assert.equal(back, '1.8,47.2,8.32,0.5,0.2\n3.6,36.1,10.1,0.5,0.2\n7.1,2.5d1,&H1E,2.5e+1,1e-1');
  assert.equal(linkParameter(back), linkParameter(kText));
});

test('a single measurement\'s link holds its three fields as typed', () => {
  const fields = ['7.1', '2.5e+1', '&H1E'];
  assert.deepEqual(singleOfSearch(singleSearch(fields)), fields);
  assert.deepEqual(singleOfSearch('?f=7.1'), ['7.1', '', '']);
  assert.equal(singleOfSearch('?m=1,2,3'), null);
});
