// SPDX-License-Identifier: MIT
// What every view does with the document: elements by id, SVG elements,
// lists of errors and warnings, the address bar and files the user opens.

export const byId = (id) => document.getElementById(id);

const kSvgNs = 'http://www.w3.org/2000/svg';

export function svgElement(name, attributes, text) {
  const node = document.createElementNS(kSvgNs, name);
  for (const [key, value] of Object.entries(attributes)) node.setAttribute(key, value);
  if (text !== undefined) node.textContent = text;
  return node;
}

// Errors as list items, "Line N: reason" where they have a line.
export function showErrors(list, errors) {
  list.textContent = '';
  for (const e of errors) {
    const li = document.createElement('li');
    li.dataset.line = e.line === null ? 'null' : String(e.line);
    li.textContent = (e.line === null ? '' : 'Line ' + e.line + ': ') + e.reason;
    list.appendChild(li);
  }
}

// The fit's warnings ({code, text}) as list items.
export function showWarnings(list, warnings) {
  list.textContent = '';
  for (const w of warnings) {
    const li = document.createElement('li');
    li.dataset.code = w.code;
    const code = document.createElement('strong');
    code.textContent = 'Warning (' + w.code + '):';
    li.append(code, ' ' + w.text);
    list.appendChild(li);
  }
}

// The address's query becomes `search`, so that the result can be shared.
export function showSearch(search) {
  if (window.location.search === search) return; // a page opened from its link: nothing to change
  try {
    window.history.replaceState(null, '', search);
  } catch (e) {
    // Pages opened from disk may refuse a changed URL: the result stands.
  }
}

// The text of a file the user opened: then({name, text}), or failed(reasonText).
export function readFile(file, then, failed) {
  const reader = new FileReader();
  reader.onload = () => then({ name: file.name, text: String(reader.result) });
  reader.onerror = () => failed('The file could not be read: ' + file.name + '.');
  reader.readAsText(file);
}

// A form's submit event as a call of `action`, without leaving the page.
export function onSubmit(form, action) {
  form.addEventListener('submit', (event) => {
    event.preventDefault();
    action();
  });
}
