#!/usr/bin/env bash
# The desktop entry, the AppStream metainfo and the MIME package validate and
# agree on the module type, and a MIME database built with the package tells
# modules by name and by content.
# Usage: desktop_files_test.sh DESKTOP_ENTRY METAINFO MIME_PACKAGE VERSION
set -uo pipefail
desktop=$1 metainfo=$2 mime=$3 version=$4
type=application/x-psp-prx
theme=application/x-psp-ctf
failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Desktop entry: not an error, warning or hint; opens files, lists the type.
report=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $report"
[[ -z $report ]] || fail "desktop-file-validate says: $report"
grep -qx "MimeType=$type;$theme;" "$desktop" || fail "the desktop entry doesn't list only $type and $theme"
grep -qE '^Exec=quillmark %F$' "$desktop" || fail "the desktop entry doesn't open files with %F"

# Metainfo: valid offline, of this version, for this entry, this type and both programs.
report=$(appstreamcli validate --no-net --no-color "$metainfo" 2>&1) || fail "appstreamcli: $report"
xpath() { xmllint --xpath "$1" "$metainfo" 2>/dev/null; }
[[ $(xpath 'string(/component/releases/release[1]/@version)') == "$version" ]] ||
    fail "the metainfo's release is not $version"
[[ $(xpath 'string(/component/launchable)') == "$(basename "$desktop")" ]] ||
    fail "the metainfo launches another desktop entry"
[[ $(xpath 'string(/component/provides/mediatype)') == "$type" ]] || fail "the metainfo doesn't provide $type"
[[ $(xpath 'count(/component/provides/binary)') == 2 ]] || fail "the metainfo doesn't provide both programs"
[[ $(xpath 'string(/component/project_license)') == MIT ]] || fail "the metainfo's licence is not MIT"

# MIME package: parses and declares the type; a database of it and the
# freedesktop.org types tells these files (names and first bytes below).
xmllint --noout "$mime" || fail "the MIME package doesn't parse"
mkdir -p "$scratch/data/mime/packages" "$scratch/home" "$scratch/files"
cp /usr/share/mime/packages/freedesktop.org.xml "$mime" "$scratch/data/mime/packages/"
# A scratch database needs no fsync, which takes seconds.
report=$(PKGSYSTEM_ENABLE_FSYNC=0 XDG_DATA_HOME="$scratch/home" XDG_DATA_DIRS="$scratch/data" update-mime-database "$scratch/data/mime" 2>&1) || fail "update-mime-database: $report"
[[ -z $report ]] || fail "update-mime-database says: $report"
grep -qx "$type" "$scratch/data/mime/types" || fail "the database has no $type"
grep -qx "$theme" "$scratch/data/mime/types" || fail "the database has no $theme"

cd "$scratch/files" || exit 1
# A packed module: "~PSP" at 0.
{ printf '~PSP'; head -c 400 /dev/zero; } > packed.bin
# A packed module in a "~SCE" wrapper: "~SCE" at 0, "~PSP" at 64.
{ printf '~SCE'; head -c 60 /dev/zero; printf '~PSP'; head -c 400 /dev/zero; } > wrapped.bin
# A plain module: ELF, e_type 0xFFA0 (little-endian) at 16, 201704 bytes.
{ printf '\177ELF\001\001\001'; head -c 9 /dev/zero; printf '\240\377\010\000'; head -c 201684 /dev/zero; } > module.bin
# Not modules: an ordinary ELF executable (e_type 2), "~SCE" without "~PSP", zeros.
{ printf '\177ELF\001\001\001'; head -c 9 /dev/zero; printf '\002\000\010\000'; head -c 1000 /dev/zero; } > program.bin
{ printf '~SCE'; head -c 400 /dev/zero; } > sce-only.bin
head -c 201704 /dev/zero > zeros.bin
# A theme: "\0PTF" at 0, the magic 0xDEAD0371 at 16; a PTF theme file without one.
{ printf '\000PTF\001\000\000\000'; head -c 8 /dev/zero; printf '\161\003\255\336'; head -c 400 /dev/zero; } > theme.bin
{ printf '\000PTF\001\000\000\000'; head -c 420 /dev/zero; } > base.bin
# By name alone.
head -c 100 /dev/zero > anything.prx
head -c 100 /dev/zero > anything.ctf

while read -r file expected; do
    got=$(XDG_DATA_HOME="$scratch/home" XDG_DATA_DIRS="$scratch/data" \
        gio info -a standard::content-type "$file" 2>&1 | sed -n 's/^ *standard::content-type: //p')
    [[ $got == "$expected" ]] || fail "$file is \"$got\", not $expected"
done <<EOT
packed.bin $type
wrapped.bin $type
module.bin $type
anything.prx $type
theme.bin $theme
anything.ctf $theme
base.bin application/octet-stream
program.bin application/x-executable
sce-only.bin application/octet-stream
zeros.bin application/octet-stream
EOT

if [[ $failures -ne 0 ]]; then
    echo "$failures problem(s)"
    exit 1
fi
echo "desktop entry, metainfo and MIME type are valid and agree"
