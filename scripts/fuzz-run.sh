#!/usr/bin/env bash
# Runs every fuzz target for a while, each on a corpus seeded from the real files in
# tests/fixtures and small files the program writes. Stops at the first finding (a
# crash, a leak, or an input that takes over a second); the input is left in the
# build folder as crash-*/leak-*/timeout-* for a regression test.
#   scripts/fuzz-run.sh BUILD_DIR SECONDS_PER_TARGET
set -euo pipefail
build=${1:-build-fuzz}
seconds=${2:-60}
top=$(cd "$(dirname "$0")/.." && pwd)
seeds="$build/seeds"
rm -rf "$seeds"
mkdir -p "$seeds"/{fuzz_table,fuzz_index,fuzz_expression,fuzz_layout,fuzz_settings,fuzz_rtf,fuzz_csv,fuzz_csv_rfc4180,fuzz_vcard,fuzz_psl}

python3 - "$top" "$seeds" <<'PY'
import glob, os, struct, sys
top, seeds = sys.argv[1], sys.argv[2]
def put(target, name, data):
    with open(os.path.join(seeds, target, name), 'wb') as f:
        f.write(data)
# fuzz_table: two length bytes, the table, then its memo file.
n = 0
for dbf in glob.glob(top + '/tests/fixtures/**/*.[dD][bB][fF]', recursive=True):
    table = open(dbf, 'rb').read()
    if len(table) > 60000:
        continue
    memo = b''
    for ext in ('.fpt', '.FPT', '.dbt', '.DBT'):
        if os.path.exists(dbf[:-4] + ext):
            memo = open(dbf[:-4] + ext, 'rb').read()[:60000]
    put('fuzz_table', 'seed%d' % n, struct.pack('<H', len(table)) + table + memo)
    n += 1
for i, cdx in enumerate(glob.glob(top + '/tests/fixtures/**/*.[cC][dD][xX]', recursive=True)):
    put('fuzz_index', 'seed%d' % i, open(cdx, 'rb').read()[:200000])
for i, e in enumerate(['UPPER(LNAME)="SM" .AND. !ISDEL', 'LEFT(ZIP,5)+STR(N,8,2)', 'DTOS(DATE)>"2020"',
                       'IIF(ISDEL,"Y",SUBSTR(LNAME,2,3))', '"ab"$LNAME .OR. VAL(ZIP)>6E4', 'RECNO()%2=0']):
    put('fuzz_expression', 'seed%d' % i, e.encode())
for i, s in enumerate(glob.glob(top + '/tests/layout/fixtures/streams/*.dfm')):
    data = open(s, 'rb').read()
    for kind in range(3):
        put('fuzz_layout', 'seed%d_%d' % (i, kind), bytes([kind]) + data)
put('fuzz_settings', 'ini', b'\x01[Misc]\r\nGlobalTagId=ID1\r\n[MRU]\r\nItem1=/home/a/DATA/ADD0001.DBF\r\n')
put('fuzz_settings', 'flt', b'\x00' + b'Smith\r\n\r\n\r\n60601\r\n' * 3)
for i, text in enumerate([b'\xef\xbb\xbfName,City\r\n"Smith, John","Z\xc3\xbcrich"\r\n',
                          b'a,"b ""c"" d",e,\r\n\r\nf\n"g,h\rM\xfcller,\xe9t\xe9']):
    put('fuzz_csv', 'seed%d' % i, bytes([0]) + text)
for i, text in enumerate([b'First Name,Notes\r\n"Zo\xc3\xab","line one\r\nline ""two"", end"\r\n',
                          b'a,"\'=1+2",\'+44 20\n"open\nstill""open']):
    put('fuzz_csv_rfc4180', 'seed%d' % i, bytes([i]) + text)
put('fuzz_vcard', 'v21', b'BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=ISO-8859-1:M\xfcller;J\r\n'
                       b'ADR;HOME;ENCODING=QUOTED-PRINTABLE:;;Stra=C3=9Fe=0D=0A=\r\n5;K=C3=B6ln\r\nEND:VCARD\r\n')
put('fuzz_vcard', 'v30', b'BEGIN:VCARD\nVERSION:3.0\nN:Lee;Ann;;;\nORG:Acme\\, Inc.;Sales\nNOTE:a long no\n te\\nx\n'
                       b'TEL;TYPE=FAX:1\nEMAIL:a@b\nEND:VCARD\nBEGIN:VCARD\nbroken\n')
# fuzz_psl: lists as the presort writes them, and one with a header only.
put('fuzz_psl', 'list', b'** 5-digit 60601\r\n60601\r\n** 3-digit 606\r\n60612\r\n60699\r\n'
                        b'** ADC CHICAGO IL 606\r\n606\r\n** Unknown\r\n00501\r\n12345\r\n99999\r\n')
put('fuzz_psl', 'header', b'** Unknown\r\n')
for i, rtf in enumerate(glob.glob(top + '/tests/**/*.rtf', recursive=True)):
    put('fuzz_rtf', 'seed%d' % i, open(rtf, 'rb').read()[:100000])
PY

export LSAN_OPTIONS="suppressions=$top/fuzz/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
for target in fuzz_table fuzz_index fuzz_expression fuzz_layout fuzz_settings fuzz_rtf fuzz_csv fuzz_csv_rfc4180 \
    fuzz_vcard fuzz_psl; do
    corpus="$build/corpus/$target"
    mkdir -p "$corpus"
    echo "== $target ($seconds s)"
    (cd "$build" && "./fuzz/$target" -max_total_time="$seconds" -timeout=1 -rss_limit_mb=2048 \
        -print_final_stats=1 "corpus/$target" "seeds/$target")
done
