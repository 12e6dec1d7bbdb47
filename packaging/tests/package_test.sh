#!/usr/bin/env bash
# The Debian package, made and used as an administrator would:
#   package_test.sh deb BUILD_DIR OUT_DIR CPACK  makes OUT_DIR/*.deb with cpack
#   package_test.sh lintian OUT_DIR              lintian finds no error in it
#   package_test.sh install OUT_DIR EXAMPLES     dpkg -i, the installed programs at work, then
#                                                dpkg --purge leaves no file of it behind
# The install step needs root and changes this machine for its duration; it is skipped
# (status 77) without root, or when the package is already installed by someone else.
set -u
package=casl2-workbench

fail() {
    echo "FAIL $*"
    exit 1
}

the_deb() {
    local debs=("$1"/${package}_*.deb)
    [[ -f ${debs[0]} ]] || fail "no ${package}_*.deb in $1"
    echo "${debs[0]}"
}

make_deb() {
    local build=$1 out=$2 cpack=$3
    rm -rf "$out"
    mkdir -p "$out"
    "$cpack" --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 ||
        { cat "$out/cpack.log"; fail "cpack could not make the package"; }
    echo "made $(the_deb "$out")"
    dpkg-deb --info "$(the_deb "$out")" | sed -n '/Package:/,$p'
}

run_lintian() {
    local deb
    deb=$(the_deb "$1")
    local report status
    report=$(lintian --fail-on error --display-level '>=info' "$deb" 2>&1)
    status=$?
    echo "$report"
    echo "lintian: $(grep -c '^E: ' <<<"$report") errors, $(grep -c '^W: ' <<<"$report")" \
        "warnings, $(grep -c '^I: ' <<<"$report") notes"
    ((status == 0)) || fail "lintian found errors in $deb"
}

# dpkg with its lock: another installation on this machine may hold it for a while.
dpkg_waiting() {
    local deadline=$((SECONDS + 300)) output
    while :; do
        output=$(dpkg "$@" 2>&1) && return 0
        if grep -q 'lock' <<<"$output" && ((SECONDS < deadline)); then
            sleep 5
            continue
        fi
        echo "$output"
        return 1
    done
}

installed() {
    dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null | grep -qv '^not-installed$'
}

install_and_remove() {
    local deb examples=$2
    deb=$(the_deb "$1")
    if (($(id -u) != 0)); then
        echo "installing the package needs root; skipped"
        exit 77
    fi
    if installed; then
        echo "$package is installed on this machine already; left alone, test skipped"
        exit 77
    fi

    work=$(mktemp -d)
    trap 'installed && dpkg_waiting --purge "$package" >/dev/null; rm -rf "$work"' EXIT
    # The workbench's state and scratch files of this test stay in its own folder.
    export HOME=$work/home XDG_STATE_HOME=$work/state XDG_RUNTIME_DIR=$work/runtime
    export TMPDIR=$work/tmp
    mkdir -p "$HOME" "$XDG_STATE_HOME" "$TMPDIR" && mkdir -m 0700 "$XDG_RUNTIME_DIR"

    local -a files dirs
    mapfile -t files < <(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's:^\./:/:')
    mapfile -t dirs < <(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep '/$' | sed 's:^\./:/:;s:/$::')
    local -a new_dirs=()
    local dir
    for dir in "${dirs[@]}"; do
        [[ -n $dir && ! -d $dir ]] && new_dirs+=("$dir")
    done

    dpkg_waiting -i "$deb" || fail "dpkg -i $deb"
    echo "installed: ${#files[@]} files"

    [[ $(command -v casl2) == /usr/bin/casl2 ]] || fail "casl2 is not /usr/bin/casl2"
    local version
    version=$(casl2 --version) || fail "casl2 --version"
    [[ $version == "casl2 "* ]] || fail "casl2 --version says '$version'"
    echo "$version"
    casl2 run /usr/share/varnic/examples/hello.cas | grep -q 'Hello, CASL II!' ||
        fail "casl2 run of the installed hello.cas"
    casl2 check /usr/share/varnic/examples/exercises/reverse/tests.toml \
        /usr/share/varnic/examples/exercises/reverse/solution.cas >/dev/null ||
        fail "the installed exercise's solution does not pass its installed tests"
    MANWIDTH=80 MANPAGER=cat man casl2 2>/dev/null | grep -q 'casl2 check' || fail "man casl2"
    MANWIDTH=80 MANPAGER=cat man casl2 | grep -q '/usr/share/varnic/examples/exercises/' ||
        fail "man casl2 does not name the installed exercises"
    MANWIDTH=80 MANPAGER=cat man varnic 2>/dev/null | grep -q 'CASL II workbench' ||
        fail "man varnic"
    # The loader answers 124 ("try again") once it has loaded a completion.
    bash -c 'source /usr/share/bash-completion/bash_completion
             _completion_loader casl2; complete -p casl2' 2>/dev/null | grep -q _casl2 ||
        fail "bash does not load the completion of casl2"
    echo "casl2, man casl2, man varnic and the completion work"

    # The desktop knows .cas files and opens them with the workbench.
    cp "$examples/loop.cas" "$work/given.cas"
    local type
    type=$(gio info -a standard::content-type "$work/given.cas" | sed -n 's/.*content-type: //p')
    [[ $type == text/x-casl2 ]] || fail "a .cas file is '$type', not text/x-casl2"
    gio mime text/x-casl2 | grep -q 'Default application.*varnic.desktop' ||
        fail "varnic is not the application of text/x-casl2: $(gio mime text/x-casl2)"

    # The installed window starts on a display and opens the file it is given, as the menu
    # entry's Exec line does; F1 then shows the help pages that it finds under /usr/share.
    local exec_line
    exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/varnic.desktop)
    [[ $exec_line == 'varnic %f' ]] || fail "the menu entry starts '$exec_line'"
    local title="RuzidOV & OzerAR Orozaraz   $work/given.cas"
    xvfb-run -a -s '-screen 0 1280x1024x24' bash -c '
        appears() {
            for i in $(seq 60); do
                xwininfo -root -tree | grep -qF "\"$1\"" && return 0
                kill -0 $pid 2>/dev/null || exit 2
                sleep 0.5
            done
            return 1
        }
        varnic "$1" & pid=$!
        appears "$2" || { kill $pid; exit 3; }
        xdotool windowfocus --sync "$(xdotool search --name "^$2\$" | head -1)" key F1
        appears "Varnic ヘルプ" || { kill $pid; exit 4; }
        kill $pid' window "$work/given.cas" "$title" >"$work/window.log" 2>&1
    case $? in
        0) echo "varnic started from /usr/bin, opened the given file and showed its help" ;;
        2) cat "$work/window.log"; fail "varnic ended by itself" ;;
        3) cat "$work/window.log"; fail "no window titled '$title' within 30 s" ;;
        4) cat "$work/window.log"; fail "F1 did not show the installed help pages" ;;
        *) cat "$work/window.log"; fail "the window could not be checked" ;;
    esac

    local mime_file=/usr/share/mime/text/x-casl2.xml had_mime_file=
    [[ -f $mime_file ]] && had_mime_file=1
    dpkg_waiting --purge "$package" || fail "dpkg --purge $package"
    installed && fail "$package is still installed after dpkg --purge"
    local left=()
    local file
    for file in "${files[@]}"; do
        [[ -e $file || -L $file ]] && left+=("$file")
    done
    for dir in "${new_dirs[@]}"; do
        [[ -d $dir ]] && left+=("$dir/")
    done
    [[ -n $had_mime_file && -e $mime_file ]] && left+=("$mime_file")
    grep -qs varnic /usr/share/applications/mimeinfo.cache && left+=("varnic in mimeinfo.cache")
    ((${#left[@]} == 0)) || fail "left behind after dpkg --purge: ${left[*]}"
    echo "removed: nothing of the package is left"
}

case ${1-} in
    deb) make_deb "$2" "$3" "$4" ;;
    lintian) run_lintian "$2" ;;
    install) install_and_remove "$2" "$3" ;;
    *) fail "usage: $0 deb BUILD_DIR OUT_DIR CPACK | lintian OUT_DIR | install OUT_DIR EXAMPLES" ;;
esac
