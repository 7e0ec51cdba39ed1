#!/bin/bash
# The engine's figures at a million records: bench_xbase (the count side by side with
# a C read() loop and Python's dbf package, pack, the 26 tags, bulk changes), then the
# command line as whole processes, each the best of a few runs with its peak memory.
#
#   bench/run-engine-bench.sh [BUILD_DIR]      (default: build)
#   RECORDS=100000 RUNS=5 DIR=/tmp/x KEEP=1 bench/run-engine-bench.sh
#
# Uses a Release or RelWithDebInfo build (the project's default). The generated table
# is some 600 MB per million records: it goes to DIR (default /tmp/quillory-bench)
# and is deleted at the end unless KEEP=1; a run finds one kept before and takes it.
# Not part of `make test`.
set -euo pipefail

BUILD=${1:-build}
RECORDS=${RECORDS:-1000000}
RUNS=${RUNS:-3}
DIR=${DIR:-/tmp/quillory-bench}
BENCH=$BUILD/bench/bench_xbase
QUILLORY=$BUILD/src/app/quillory
TABLE=$DIR/addr_$RECORDS.dbf
QUERY='UPPER(LNAME)="SM" .AND. !ISDEL'

for program in "$BENCH" "$QUILLORY"; do
    [ -x "$program" ] || { echo "$program is missing: build first" >&2; exit 1; }
done
mkdir -p "$DIR"
HOME_DIR=$(mktemp -d)
TIMES=$(mktemp)
trap 'rm -rf "$HOME_DIR" "$TIMES" "$DIR"/copy_*' EXIT

# ENGINE_BENCH=0 leaves out bench_xbase's own figures (the table must be there).
if [ "${ENGINE_BENCH:-1}" != 0 ]; then
    "$BENCH" --sizes "$RECORDS" --dir "$DIR" --keep
fi

# best-of NAME COMMAND...: runs the command RUNS times with its output thrown away and
# prints the fastest wall time with that run's user and system time and peak memory.
best_of() {
    local name=$1
    shift
    local best="" line
    for _ in $(seq "$RUNS"); do
        /usr/bin/time -o "$TIMES" -f '%e %U %S %M' "$@" >/dev/null 2>&1
        line=$(tail -1 "$TIMES")
        if [ -z "$best" ] || awk -v a="${line%% *}" -v b="${best%% *}" 'BEGIN { exit !(a < b) }'; then
            best=$line
        fi
    done
    read -r wall user sys peak <<<"$best"
    printf '  %-34s %7.3f s wall  %7.3f s user  %6.3f s sys  %7.1f MB peak\n' \
        "$name" "$wall" "$user" "$sys" "$(awk -v k="$peak" 'BEGIN { print k / 1024 }')"
}

echo "Whole processes, best of $RUNS (machine $(uptime | sed 's/.*load/load/'))"
# reindex changes the file: each run gets a fresh copy of the generated table.
best=""
for _ in $(seq "$RUNS"); do
    cp "$TABLE" "$DIR/copy_$RECORDS.dbf"
    cp "${TABLE%.dbf}.fpt" "$DIR/copy_$RECORDS.fpt"
    rm -f "$DIR/copy_$RECORDS.cdx"
    /usr/bin/time -o "$TIMES" -f '%e %U %S %M' "$QUILLORY" --home "$HOME_DIR" reindex "$DIR/copy_$RECORDS.dbf" \
        >/dev/null 2>&1
    line=$(tail -1 "$TIMES")
    if [ -z "$best" ] || awk -v a="${line%% *}" -v b="${best%% *}" 'BEGIN { exit !(a < b) }'; then best=$line; fi
done
read -r wall user sys peak <<<"$best"
printf '  %-34s %7.3f s wall  %7.3f s user  %6.3f s sys  %7.1f MB peak\n' "quillory reindex (pack + 26 tags)" \
    "$wall" "$user" "$sys" "$(awk -v k="$peak" 'BEGIN { print k / 1024 }')"


# The reindexed copy, with its 26 tags as the program keeps them, for the readers.
COPY=$DIR/copy_$RECORDS.dbf
best_of "quillory help (start-up)" "$QUILLORY" --home "$HOME_DIR" help
best_of "C read() loop as a process" "$BENCH" --scan "$COPY"
best_of "quillory count" "$QUILLORY" --home "$HOME_DIR" count "$COPY" "$QUERY"
best_of "quillory dump (all fields, CSV)" "$QUILLORY" --home "$HOME_DIR" dump "$COPY"
echo "  count: $("$QUILLORY" --home "$HOME_DIR" count "$COPY" "$QUERY") records, the C loop's: $("$BENCH" --scan "$COPY")"

if [ "${KEEP:-0}" != 1 ]; then
    rm -f "$TABLE" "${TABLE%.dbf}.fpt" "${TABLE%.dbf}.cdx"
fi
