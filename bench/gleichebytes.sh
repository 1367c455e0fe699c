#!/bin/sh
# Same bytes in and out: compares two builds of the file tool (e.g. the one of the main line and
# the one of a change to the reader or writer) on every file of the fuzz corpus ("json --geheim"
# and "pruefen": output, messages and exit code alike), and on the course-list file at the
# format's limits and the demo file: the JSON of both, and the files both write back from it,
# byte for byte against the original.
#   bench/gleichebytes.sh ALTES-WERKZEUG NEUES-WERKZEUG GROSSDATEI-PROGRAMM DEMO.zln
set -eu
alt=$1 neu=$2 grossdatei=$3 demo=$4
korpus=$(dirname "$0")/../tests/data/fuzz-korpus
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
abweichend=0
anzahl=0
for datei in "$korpus"/*; do
    for befehl in "json --geheim" pruefen; do
        # shellcheck disable=SC2086
        a=$("$alt" $befehl "$datei" 2>&1 && echo "Status 0" || echo "Status $?")
        # shellcheck disable=SC2086
        b=$("$neu" $befehl "$datei" 2>&1 && echo "Status 0" || echo "Status $?")
        anzahl=$((anzahl + 1))
        if [ "$a" != "$b" ]; then
            echo "ABWEICHUNG: $befehl $datei"
            abweichend=$((abweichend + 1))
        fi
    done
done
echo "Fuzz-Korpus: $anzahl Aufrufe, $abweichend abweichend"
"$grossdatei" "$tmp/gross.zln"
cp "$demo" "$tmp/demo.zln"
for name in gross demo; do
    "$alt" json --geheim "$tmp/$name.zln" > "$tmp/$name.alt.json"
    "$neu" json --geheim "$tmp/$name.zln" > "$tmp/$name.neu.json"
    "$alt" zln "$tmp/$name.alt.json" "$tmp/$name.alt.zln"
    "$neu" zln "$tmp/$name.alt.json" "$tmp/$name.neu.zln"
    if cmp -s "$tmp/$name.alt.json" "$tmp/$name.neu.json" \
        && cmp -s "$tmp/$name.zln" "$tmp/$name.alt.zln" \
        && cmp -s "$tmp/$name.zln" "$tmp/$name.neu.zln"; then
        echo "$name.zln: JSON gleich, beide schreiben dieselben $(wc -c < "$tmp/$name.zln") Bytes"
    else
        echo "ABWEICHUNG: $name.zln"
        abweichend=$((abweichend + 1))
    fi
done
[ "$abweichend" -eq 0 ]
