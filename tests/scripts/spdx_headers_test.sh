#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# scripts/spdx-headers.sh on a small tree of every kind of file: each gets
# the line in its own comment syntax at the right place and is otherwise
# unchanged; data and files that already have the line are left alone; a
# second run changes nothing; --check lists what lacks the line without
# changing anything; a file no rule knows fails both modes.  In a git
# checkout, what git ignores is left alone.
#   spdx_headers_test.sh SCRIPT
set -uo pipefail
script=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0
check() {  # description, then a command that must succeed
  local what=$1; shift
  if "$@"; then passed=$((passed + 1)); else echo "FAILED: $what"; failed=$((failed + 1)); fi
}
is() { [[ $(cat "$1") == "$2" ]] || { echo "$1 is:"; cat "$1"; return 1; }; }
# The script's exit status must be exactly 1 (a failure of its own, not a
# missing script or a shell error).
fails() { local status=0; bash "$script" "$@" > out.txt || status=$?; [[ $status -eq 1 ]]; }

tree=$work/tree
mkdir -p "$tree"/{src,scripts,web,man,tests/golden,examples,debian/tests}
cd "$tree"
printf '#pragma once\nint f();\n' > src/f.hpp
printf '/* A C API. */\nint g(void);\n' > src/api.h
printf '#include <x>\n' > src/plain.h
printf '#!/usr/bin/env bash\necho hi\n' > scripts/run.sh
chmod 755 scripts/run.sh
printf '#!/bin/sh\necho ci\n' > scripts/ci
printf 'project(x)\n' > CMakeLists.txt
printf '<!DOCTYPE html>\n<html></html>\n' > web/index.html
printf '<?xml version="1.0"?>\n<svg/>\n' > web/icon.svg
printf 'body {}\n' > web/style.css
printf 'let a = 1;' > web/page.js  # no line end at the end
printf '# Title\n' > README.md
printf '.TH X 1\n' > man/x.1
printf 'int h();\r\n' > src/dos.cpp
printf '#!/usr/bin/env bash\n# SPDX-License-Identifier: MIT\necho\n' > scripts/done.sh
printf '10 15 5\n' > examples/m.txt
printf '! probe\n# MHz Z RI R 50\n' > examples/probe.s1p
printf 'golden\n' > tests/golden/g.out
printf '{"a": 1}\n' > package.json
printf 'x (1) unstable\n' > debian/changelog
printf '#!/usr/bin/make -f\n%%:\n\tdh $@\n' > debian/rules
printf 'Tests: t\n' > debian/tests/control
printf 'MIT text\n' > LICENSE
untouched=(examples/m.txt examples/probe.s1p tests/golden/g.out package.json debian/changelog debian/tests/control
           LICENSE scripts/done.sh)
sums_before=$(md5sum "${untouched[@]}")

check "--check fails before" fails --check .
check "--check lists a file lacking the line" grep -qx 'lacks the SPDX line: src/f.hpp' out.txt
check "--check lists no data file" eval '! grep -q "m.txt\|g.out\|package.json\|changelog\|LICENSE\|done.sh" out.txt'
check "--check changes nothing" is src/f.hpp $'#pragma once\nint f();'
rm out.txt

check "adding succeeds" eval 'bash "$script" . > /dev/null'
check "C++: // on the first line" is src/f.hpp $'// SPDX-License-Identifier: MIT\n#pragma once\nint f();'
check "C header in block comments: /* */" is src/api.h \
  $'/* SPDX-License-Identifier: MIT */\n/* A C API. */\nint g(void);'
check "other C header: //" is src/plain.h $'// SPDX-License-Identifier: MIT\n#include <x>'
check "shell: after the shebang" is scripts/run.sh \
  $'#!/usr/bin/env bash\n# SPDX-License-Identifier: MIT\necho hi'
check "shell: still executable" test -x scripts/run.sh
check "script without extension: after the shebang" is scripts/ci \
  $'#!/bin/sh\n# SPDX-License-Identifier: MIT\necho ci'
check "CMake: #" is CMakeLists.txt $'# SPDX-License-Identifier: MIT\nproject(x)'
check "HTML: after the doctype" is web/index.html \
  $'<!DOCTYPE html>\n<!-- SPDX-License-Identifier: MIT -->\n<html></html>'
check "SVG: after the XML declaration" is web/icon.svg \
  $'<?xml version="1.0"?>\n<!-- SPDX-License-Identifier: MIT -->\n<svg/>'
check "CSS: /* */" is web/style.css $'/* SPDX-License-Identifier: MIT */\nbody {}'
check "JS: //, the missing last line end kept" \
  eval '[[ $(od -An -c web/page.js | tr -d " \n") == "//SPDX-License-Identifier:MIT\\nleta=1;" ]]'
check "Markdown: HTML comment" is README.md $'<!-- SPDX-License-Identifier: MIT -->\n# Title'
check "man page: roff comment" is man/x.1 $'.\\" SPDX-License-Identifier: MIT\n.TH X 1'
check "CR LF file: the line ends in CR LF too" \
  eval '[[ $(od -An -c src/dos.cpp | tr -d " \n") == "//SPDX-License-Identifier:MIT\\r\\ninth();\\r\\n" ]]'
check "debian/rules: after the shebang" is debian/rules \
  $'#!/usr/bin/make -f\n# SPDX-License-Identifier: MIT\n%:\n\tdh $@'
check "data, JSON, debian data, LICENSE and done files untouched" \
  eval '[[ $(md5sum "${untouched[@]}") == "$sums_before" ]]'

sums_after=$(find . -type f -exec md5sum {} + | sort)
check "--check passes after" eval 'bash "$script" --check . > /dev/null'
check "a second run changes nothing" eval 'bash "$script" . > /dev/null'
check "... byte for byte" eval '[[ $(find . -type f -exec md5sum {} + | sort) == "$sums_after" ]]'

printf 'stuff\n' > notes.xyz
check "an unknown kind fails --check" fails --check .
check "... and is named" grep -q '^no rule for notes.xyz' out.txt
check "an unknown kind fails adding" fails .
rm notes.xyz out.txt

if command -v git > /dev/null; then
  git init -q . && printf '/build/\n' > .gitignore
  mkdir build && printf 'int ignored();\n' > build/gen.cpp
  printf 'int fresh();\n' > src/fresh.cpp
  check "git: an untracked new file fails --check" fails --check .
  check "git: ... listed with the new .gitignore, the ignored file not" \
    eval '[[ $(grep "^lacks" out.txt | sort) == \
             $'"'"'lacks the SPDX line: .gitignore\nlacks the SPDX line: src/fresh.cpp'"'"' ]]'
  rm out.txt
  bash "$script" . > /dev/null
  check "git: an ignored file is left alone" is build/gen.cpp 'int ignored();'
fi

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
