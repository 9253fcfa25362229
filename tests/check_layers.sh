#!/bin/sh
# Fails when a file under src/ includes a folder that stands below its own
# folder in the README's layout table: includes point up the table only.
src=${1:?usage: check_layers.sh SRC_DIR README}
readme=${2:?usage: check_layers.sh SRC_DIR README}

# The src/ folders of the table, one line per row, from the top.
rows=$(sed -n '/^## Layout/,/^## /p' "$readme" | grep '^| `src/' | cut -d'|' -f2 |
    sed 's/`src\/\([^`]*\)`/\1/g; s/,//g')
[ -n "$rows" ] || { echo "no layout table in $readme"; exit 1; }

status=0
allowed=""
for folders in $(echo "$rows" | tr ' ' ':'); do
    folders=$(echo "$folders" | tr ':' ' ')
    allowed="$allowed $folders"
    for folder in $folders; do
        [ -d "$src/$folder" ] || { echo "$folder/: in the table, not in $src"; status=1; continue; }
        for file in $(find "$src/$folder" -name '*.h' -o -name '*.cpp'); do
            grep -Ho '^#include "[^/"]*/' "$file" | while IFS= read -r hit; do
                target=${hit#*\"}
                target=${target%/}
                case " $allowed " in
                *" $target "*) ;;
                *) echo "${hit%%:*} includes $target/"; exit 1 ;;
                esac
            done || status=1
        done
    done
done
for dir in "$src"/*/; do
    name=$(basename "$dir")
    case " $allowed " in
    *" $name "*) ;;
    *) echo "$name/: not in the layout table"; status=1 ;;
    esac
done
exit $status
