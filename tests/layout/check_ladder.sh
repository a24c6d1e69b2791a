#!/usr/bin/env bash
# The folders of src/ form a ladder: a folder includes only itself and the
# folders on the rungs below it; folders on the same rung do not include each
# other, and nothing includes app/. Prints every include against the ladder.
set -u
src=${1:-$(dirname "$0")/../../src}
declare -A rung=([platform]=0 [store]=1 [i18n]=2 [ui]=3 [notebook]=4
                 [editing]=5 [navigation]=5 [search]=5 [settings]=5 [transfer]=6 [app]=7)
bad=0
while IFS= read -r -d '' file; do
    from=$(basename "$(dirname "$file")")
    if [ -z "${rung[$from]+x}" ]; then
        echo "$file: folder $from is not on the ladder"
        bad=1
        continue
    fi
    while IFS= read -r to; do
        [ "$to" = "$from" ] && continue
        if [ -z "${rung[$to]+x}" ]; then
            echo "$file: includes $to/, which is not on the ladder"
            bad=1
        elif [ "${rung[$to]}" -ge "${rung[$from]}" ]; then
            echo "$file: $from/ includes $to/ (rung ${rung[$to]} is not below ${rung[$from]})"
            bad=1
        fi
    done < <(sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]+"([A-Za-z0-9_]+)\/.*/\1/p' "$file")
done < <(find "$src" -mindepth 2 -name '*.h' -print0 -o -mindepth 2 -name '*.cpp' -print0)
# The struct of every control is for the window's construction only: app/ and
# the builders in ui/. A subsystem gets the few controls it uses.
builders='app/|ui/(maincontrols|mainmenus|layout|captions|commandactions)_w\.cpp$'
while IFS= read -r file; do
    rel=${file#"$src"/}
    if ! [[ $rel =~ ^($builders) ]]; then
        echo "$file: includes the struct of every control (ui/mainwidgets_w.h)"
        bad=1
    fi
done < <(grep -rlE '#[[:space:]]*include[[:space:]]+"ui/mainwidgets_w\.h"' "$src" --include='*.h' --include='*.cpp')
[ $bad = 0 ] && echo "the folders form a ladder"
exit $bad
