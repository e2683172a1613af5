#!/usr/bin/env bash
# Checks that the C++ sources are formatted by clang-format (Debian's, with the repository's
# .clang-format); lists every file that is not and fails. Without arguments it checks every tracked
# .cpp and .h file; with arguments, those files. Changes nothing: `clang-format -i FILE` formats one.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
format=$(command -v clang-format || command -v clang-format-14 || true)
if [ -z "$format" ]; then
    echo "check-format: clang-format is not installed (tools/install-deps.sh installs it)" >&2
    exit 2
fi

if [ $# -gt 0 ]; then
    files=("$@")
else
    mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
fi

unformatted=()
for f in "${files[@]}"; do
    if ! "$format" --style=file --dry-run --Werror "$f" > /dev/null 2>&1; then
        unformatted+=("$f")
    fi
done

if [ ${#unformatted[@]} -gt 0 ]; then
    echo "check-format: ${#unformatted[@]} of ${#files[@]} files are not formatted (clang-format -i FILE):" >&2
    printf '  %s\n' "${unformatted[@]}" >&2
    exit 1
fi
echo "check-format: ${#files[@]} files formatted"
