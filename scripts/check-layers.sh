#!/usr/bin/env bash
# Fails when a source file includes a header of a higher layer, or of another folder of its own
# layer. The layers, bottom to top:
#   0 calendar platform res   1 framework   2 widgets web   3 notes   4 grid   5 app   6 cli tools
# Tests, benchmarks and fuzz targets sit above them all. The portable calendar never includes
# <windows.h>.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

declare -A rank=([calendar]=0 [platform]=0 [res]=0 [framework]=1 [widgets]=2 [web]=2 [notes]=3 [grid]=4
                 [app]=5 [cli]=6 [tools]=6)
bad=0
checked=0
while IFS= read -r file; do
    folder=${file%%/*}
    [[ -n "${rank[$folder]+x}" ]] || continue
    checked=$((checked + 1))
    while IFS= read -r line; do
        target=${line#*\"}
        target=${target%%/*}
        [[ -n "${rank[$target]+x}" ]] || continue
        if [[ "$target" != "$folder" && ${rank[$target]} -ge ${rank[$folder]} ]]; then
            echo "$file: includes \"${line#*\"} (layer ${rank[$target]} $target over layer ${rank[$folder]} $folder)"
            bad=$((bad + 1))
        fi
    done < <(grep -E '^\s*#\s*include\s+"[a-z]+/' "$file" || true)
    if [[ "$folder" == calendar ]] && grep -qE '^\s*#\s*include\s+<windows\.h>' "$file"; then
        echo "$file: the portable calendar includes <windows.h>"
        bad=$((bad + 1))
    fi
done < <(git ls-files '*.h' '*.cpp' '*.rc')
echo "layers: $checked files checked, $bad includes of a higher layer"
[[ $bad -eq 0 ]]
