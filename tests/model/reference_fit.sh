#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The model's fits against reference_fit.py's, bit for bit: the first COUNT
# measurements of INPUT, fitted one after another by both.
#   reference_fit.sh INPUT COUNT [TRACE_TOOL]
# Skipped (status 77) without a trace tool that runs here (a cross build),
# without a Python that has numpy, and where numpy's longdouble is not the
# x87 extended format (the script says so itself).
set -euo pipefail
input=$1
count=$2
if [[ $# -lt 3 ]]; then
  echo "skipped: a cross build's model does not run on this machine beside the reference script"
  exit 77
fi
script_dir=$(cd "$(dirname "$0")" && pwd)
# The first python3 on the path may be one without numpy (a version
# manager's); the system's own interpreter is tried after it.
for python in python3 /usr/bin/python3; do
  if command -v "$python" >/dev/null && "$python" -c 'import numpy' 2>/dev/null; then
    exec "$python" "$script_dir/reference_fit.py" compare "$3" "$input" "$count"
  fi
done
echo "skipped: no python3 with numpy here (Debian: python3-numpy) to run the reference fit"
exit 77
