#!/usr/bin/env bash
# Builds the packages and checks what they hold. The Debian package is
# unpacked into a scratch root, where the installed `basic` must bind a
# program with the installed stub, and the bound program must run. The
# Windows .zip is built from build-win32/ and its contents checked.
#
#   scripts/package-check.sh            both (the Windows part when build-win32/ exists)
#   scripts/package-check.sh --native   the Debian package only
#
# Expects the presets built (cmake --build --preset native / win32).
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

windows=auto
case "${1:-}" in
  "") ;;
  --native) windows=no ;;
  *) echo "usage: package-check.sh [--native]" >&2; exit 2 ;;
esac

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "package-check: $*" >&2; exit 1; }

# --- Debian package -----------------------------------------------------------
[[ -f build/CPackConfig.cmake ]] || fail "build/ is not configured (cmake --preset native)"
# Quiet when it works; its whole output when it does not.
run_cpack() {
  if ! cpack "$@" >"$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log" >&2
    fail "cpack $* failed"
  fi
}

run_cpack --config build/CPackConfig.cmake -G DEB -B "$scratch/deb"
debs=("$scratch"/deb/*.deb)
[[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || fail "cpack made no single .deb"
deb=${debs[0]}
echo "package-check: $(basename "$deb")"
dpkg-deb --field "$deb" Package Version Architecture Depends

depends=$(dpkg-deb --field "$deb" Depends)
[[ $depends == *libc6* ]] || fail "Depends lacks libc6: $depends"
if ldd build/basic | grep -q libedit; then
  [[ $depends == *libedit* ]] || fail "basic uses libedit but Depends lacks it: $depends"
fi

root=$scratch/root
dpkg-deb -x "$deb" "$root"
for file in usr/bin/basic usr/libexec/basic-stub/basstub usr/share/man/man1/basic.1.gz \
            usr/share/doc/basic-stub/README.md; do
  [[ -f $root/$file ]] || fail "the package lacks /$file"
done
[[ -x $root/usr/bin/basic && -x $root/usr/libexec/basic-stub/basstub ]] ||
  fail "the programs are not executable"
zcat "$root/usr/share/man/man1/basic.1.gz" | grep -q '^\.TH BASIC 1' || fail "basic.1 is no man page"
if ldd "$root/usr/libexec/basic-stub/basstub" | grep -q libedit; then
  fail "the stub links libedit"
fi

# The installed front end finds the installed stub, and what it binds runs.
"$root/usr/bin/basic" --version | grep -q '^basic [0-9]' || fail "basic --version"
printf '#!/usr/bin/env basic\n10 FOR I = 1 TO 3\n20 PRINT "PACKAGED"; I\n30 NEXT I\n' \
  >"$scratch/check.bas"
(cd "$scratch" && "$root/usr/bin/basic" --bind check.bas -o check) ||
  fail "the installed basic --bind failed"
expected=$'PACKAGED1 \r\nPACKAGED2 \r\nPACKAGED3 \r\n'
[[ $("$scratch/check"; echo .) == "$expected." ]] || fail "the bound program printed something else"
[[ $("$root/usr/bin/basic" "$scratch/check.bas"; echo .) == "$expected." ]] ||
  fail "the installed basic ran the file differently"
echo "package-check: .deb installed into a scratch root; basic --bind and the bound program work"

# --- Windows .zip -------------------------------------------------------------
if [[ $windows == no ]]; then exit 0; fi
if [[ ! -f build-win32/CPackConfig.cmake ]]; then
  if [[ $windows == auto ]]; then
    echo "package-check: no build-win32/, the Windows .zip is left out"
    exit 0
  fi
fi
run_cpack --config build-win32/CPackConfig.cmake -G ZIP -B "$scratch/zip"
zips=("$scratch"/zip/*.zip)
[[ ${#zips[@]} -eq 1 && -f ${zips[0]} ]] || fail "cpack made no single .zip"
echo "package-check: $(basename "${zips[0]}")"
listing=$(python3 -m zipfile -l "${zips[0]}")
echo "$listing"
for file in basic.exe basstub.exe doc/README.md; do
  grep -Eq "/$file[[:space:]]" <<<"$listing" || fail "the .zip lacks $file"
done
echo "package-check: the Windows .zip holds basic.exe, basstub.exe and the documents"

# Unpacked, its basic.exe binds with the basstub.exe beside it, and the result
# runs: under Wine, in the prefix the win32 tests made.
prefix=$repo/build-win32/wineprefix
if ! command -v wine >/dev/null || [[ ! -d $prefix ]]; then
  echo "package-check: no Wine prefix in build-win32/, the unpacked .zip is not run"
  exit 0
fi
python3 -m zipfile -e "${zips[0]}" "$scratch/unzipped"
windows_basic=$(echo "$scratch"/unzipped/*/basic.exe)
(cd "$scratch" && WINEPREFIX=$prefix bash "$repo/tests/wine_run.sh" "$windows_basic" \
   --bind check.bas -o check.exe) || fail "the unpacked basic.exe --bind failed"
[[ $(cd "$scratch" && WINEPREFIX=$prefix bash "$repo/tests/wine_run.sh" ./check.exe; echo .) == \
   "$expected." ]] || fail "the program bound by the unpacked basic.exe printed something else"
echo "package-check: the unpacked basic.exe binds with its basstub.exe, and the program runs"
