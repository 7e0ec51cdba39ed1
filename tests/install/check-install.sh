#!/usr/bin/env bash
# The program as a person installs it: the desktop entry and the AppStream metadata pass
# their validators, the manual page and the bash completion know every command, and the
# Debian package holds the program with its desktop files, installs into a root of its
# own and runs from there.
#   check-install.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() {  # check DESCRIPTION COMMAND...
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

check "desktop entry valid" desktop-file-validate "$source/desktop/quillory.desktop"
check "AppStream metadata valid" appstreamcli validate --no-net "$source/desktop/io.github.quillory.Quillory.metainfo.xml"

quillory="$build/src/app/quillory"
commands=$("$quillory" --home "$work/home" help | sed -n 's/^  \([a-z][a-z-]*\).*/\1/p')
[[ -n $commands ]] || { echo "FAILED: quillory help lists no command"; exit 1; }
man -l "$build/desktop/quillory.1" 2>/dev/null | col -b > "$work/man.txt"
missing=""
for c in $commands; do grep -Eq "quillory[[:space:]]+$c([[:space:]]|$)" "$work/man.txt" || missing+=" $c"; done
check "manual page lists every command${missing:+ (missing:$missing)}" test -z "$missing"

check "bash completion is valid bash" bash -n "$build/desktop/quillory.bash"
completes() {  # completes WORDS... : the completions of the last word
    # shellcheck disable=SC1090
    source "$build/desktop/quillory.bash"
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    _quillory
    printf '%s\n' "${COMPREPLY[@]}"
}
check "completion of a command name" bash -c "build='$build'; $(declare -f completes); completes quillory dum | grep -qx dump"
check "completion of a command's options" \
    bash -c "build='$build'; $(declare -f completes); completes quillory labels x.DBF --pre | grep -qx -- --presort"

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -D CPACK_OUTPUT_FILE_PREFIX="$work/package" > "$work/cpack.log") ||
    { cat "$work/cpack.log"; echo "FAILED: the package could not be made"; exit 1; }
deb=$(ls "$work"/package/*.deb)
dpkg-deb -c "$deb" | awk '{print $6}' > "$work/files.txt"
for f in ./usr/bin/quillory ./usr/share/applications/quillory.desktop \
         ./usr/share/icons/hicolor/scalable/apps/quillory.svg ./usr/share/icons/hicolor/48x48/apps/quillory.png \
         ./usr/share/metainfo/io.github.quillory.Quillory.metainfo.xml ./usr/share/man/man1/quillory.1 \
         ./usr/share/bash-completion/completions/quillory ./usr/share/doc/quillory/copyright; do
    check "package holds $f" grep -qx -- "$f" "$work/files.txt"
done
dpkg-deb -x "$deb" "$work/root"
installed="$work/root/usr/bin/quillory"
check "the packaged program lists its commands" bash -c "'$installed' --home '$work/h' help | grep -q reindex"
check "the packaged program makes and counts an address file" bash -c \
    "'$installed' --home '$work/h' new '$work/h/DATA/a.DBF' >/dev/null && [[ \$('$installed' --home '$work/h' count '$work/h/DATA/a.DBF' .T.) == 0 ]]"

[[ $failures -eq 0 ]]
