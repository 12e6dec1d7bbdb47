#!/usr/bin/env bash
# The desktop entry, the AppStream metainfo and the file type of .cas files, checked by the
# tools that desktops read them with.
#   metadata_test.sh PACKAGING_FOLDER
set -uo pipefail
folder=$1
failures=0

check() {
    local what=$1
    shift
    local output
    if ! output=$("$@" 2>&1); then
        echo "FAIL $what: $*"
        echo "$output"
        ((failures++))
    fi
}

check "desktop entry" desktop-file-validate "$folder/varnic.desktop"
check "AppStream metainfo" appstreamcli validate --no-net --strict "$folder/varnic.metainfo.xml"

# The desktop entry opens the file type that the MIME package defines.
grep -qx 'MimeType=text/x-casl2;' "$folder/varnic.desktop" ||
    { echo "FAIL the desktop entry does not open text/x-casl2"; ((failures++)); }
grep -q '<launchable type="desktop-id">varnic.desktop</launchable>' \
    "$folder/varnic.metainfo.xml" ||
    { echo "FAIL the metainfo does not launch varnic.desktop"; ((failures++)); }

# The MIME package builds a database in which *.cas is text/x-casl2, a kind of text/plain.
database=$(mktemp -d)
trap 'rm -rf "$database"' EXIT
mkdir "$database/packages"
cp "$folder/varnic-mime.xml" "$database/packages/varnic.xml"
check "MIME package" update-mime-database "$database"
grep -qx '50:text/x-casl2:\*\.cas' "$database/globs2" ||
    { echo "FAIL *.cas is not text/x-casl2 in the MIME database"; ((failures++)); }
grep -qx 'text/x-casl2 text/plain' "$database/subclasses" ||
    { echo "FAIL text/x-casl2 is not a kind of text/plain"; ((failures++)); }

((failures == 0)) || exit 1
echo "desktop entry, metainfo and MIME type valid"
