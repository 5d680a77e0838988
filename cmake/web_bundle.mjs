// SPDX-License-Identifier: MIT
// Bundles the page's ES modules into the one classic script the page loads
//   node web_bundle.mjs ENTRY EMSCRIPTEN_JS EXPORT_NAME WRAPPER_OUT BUNDLE_OUT
// A page opened from disk (file://) cannot load module scripts (browsers
// refuse them without an origin), so the page asks for one script: every
// module reached from ENTRY, each in a function of its own, in an order
// where a module comes after those it imports.  EMSCRIPTEN_JS, the
// module Emscripten writes (a classic script defining EXPORT_NAME), is
// first written as WRAPPER_OUT, an ES module whose default export is
// EXPORT_NAME; './emscripten_module.js' is that module.
// The sources keep to the forms this reads: `import { a, b as c } from
// './x.js';`, `import d from './x.js';`, `export function|const|let|class
// NAME` and `export default NAME;`; anything else is refused, so that the
// bundle never differs from what the modules say.
import fs from 'node:fs';
import path from 'node:path';

const [entry, emscriptenJs, exportName, wrapperOut, bundleOut] = process.argv.slice(2);
if (!bundleOut) {
  console.error('usage: node web_bundle.mjs ENTRY EMSCRIPTEN_JS EXPORT_NAME WRAPPER_OUT BUNDLE_OUT');
  process.exit(2);
}

const kIdentifier = '[A-Za-z_$][\\w$]*';
const kNamedImport = /^import\s*\{([^}]*)\}\s*from\s*'([^']+)';[ \t]*$/gm;
const kDefaultImport = new RegExp(`^import\\s+(${kIdentifier})\\s+from\\s*'([^']+)';[ \\t]*$`, 'gm');
const kDeclaration = new RegExp(`^export\\s+((?:async\\s+)?(?:function\\*?|const|let|class)\\s+(${kIdentifier}))`, 'gm');
const kDefaultExport = new RegExp(`^export\\s+default\\s+(${kIdentifier});[ \\t]*$`, 'gm');

fs.mkdirSync(path.dirname(wrapperOut), { recursive: true });
fs.writeFileSync(wrapperOut, fs.readFileSync(emscriptenJs, 'utf8') + `\nexport default ${exportName};\n`);
const aliases = new Map([['./emscripten_module.js', path.resolve(wrapperOut)]]);

function fail(file, message) {
  console.error(`web_bundle: ${file}: ${message}`);
  process.exit(1);
}

function resolve(from, specifier) {
  if (aliases.has(specifier)) return aliases.get(specifier);
  if (!specifier.startsWith('./')) fail(from, `import from '${specifier}': only the page's own './' modules`);
  return path.resolve(path.dirname(from), specifier);
}

// One module's body as a function's, with its imports as constants read
// from the modules before it and its exports returned.
const modules = new Map(); // file -> { name, code }, in dependency order
const visiting = new Set();

function bundle(file) {
  if (modules.has(file)) return modules.get(file).name;
  if (visiting.has(file)) fail(file, 'imports itself through others: the modules must not import in a cycle');
  visiting.add(file);
  let code = fs.readFileSync(file, 'utf8');
  code = code.replace(kNamedImport, (all, names, specifier) => {
    const from = bundle(resolve(file, specifier));
    const bindings = names.split(',').map((n) => n.trim()).filter((n) => n !== '')
      .map((n) => n.replace(/\s+as\s+/, ': '));
    return `const { ${bindings.join(', ')} } = ${from};`;
  });
  code = code.replace(kDefaultImport, (all, name, specifier) => `const ${name} = ${bundle(resolve(file, specifier))}.default;`);
  if (/^import\b/m.test(code)) fail(file, 'an import this bundler does not read');
  const exported = [];
  code = code.replace(kDeclaration, (all, declaration, name) => {
    exported.push(name);
    return declaration;
  });
  code = code.replace(kDefaultExport, (all, name) => {
    exported.push(`default: ${name}`);
    return '';
  });
  if (/^export\b/m.test(code)) fail(file, 'an export this bundler does not read');
  visiting.delete(file);
  const name = `module${modules.size}`;
  const label = path.basename(file);
  modules.set(file, {
    name,
    code: `// ${label}\nconst ${name} = (function () {\n'use strict';\n${code}\nreturn { ${exported.join(', ')} };\n})();\n`,
  });
  return name;
}

bundle(path.resolve(entry));
const header = '// gndfit\'s page: its ES modules bundled by cmake/web_bundle.mjs into one script.\n';
fs.writeFileSync(bundleOut, header + '(function () {\n' + [...modules.values()].map((m) => m.code).join('\n') + '})();\n');
