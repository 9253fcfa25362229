#!/bin/sh
# Fails when a file in one of the bottom logic folders includes a folder
# above it: core and platform include only each other, diag and config only
# themselves and those two, history only those four and itself.
src=${1:?usage: check_layers.sh SRC_DIR}
status=0
check() {
    folder=$1
    allowed=$2
    for file in "$src/$folder"/*; do
        grep -Ho '^#include "[^/"]*/' "$file" | while IFS= read -r hit; do
            target=${hit#*\"}
            target=${target%/}
            case " $allowed " in
            *" $target "*) ;;
            *) echo "${hit%%:*} includes $target/"; exit 1 ;;
            esac
        done || status=1
    done
}
check core "core platform"
check platform "core platform"
check diag "diag core platform"
check config "config core platform"
check history "history diag config core platform"
exit $status
