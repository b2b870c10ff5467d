#!/usr/bin/env bash
# Builds the packages and checks what they hold. The Debian package is
# unpacked into a scratch root, where the installed `basic` must bind a
# program with the installed stub, and the bound program must run. Each
# Windows .zip is built from build-win32/ or build-win64/ and its contents
# checked; unpacked, its basic.exe must bind a program that runs under Wine
# (the 32-bit one only where scripts/win32-wine-check.sh says this host can).
#
#   scripts/package-check.sh            all (a Windows .zip for each build-win*/ there is)
#   scripts/package-check.sh --native   the Debian package only
#
# Expects the presets built (cmake --build --preset native / win32 / win64).
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
trap '[[ -n ${KEEP:-} ]] || rm -rf "$scratch"' EXIT
fail() { echo "package-check: $*" >&2; exit 1; }

# check_docs ROOT DOCDIR WHAT: the license, every file of examples/, and every
# relative link of the installed Markdown files, in an installed tree.
check_docs() {
  local root=$1 docs=$2 what=$3 file link
  while read -r file; do
    [[ -f $docs/examples/$file ]] || fail "$what lacks examples/${file#./}"
  done < <(cd examples && find . -type f)
  while read -r file; do
    # Links of the form [text](target) or [text](target#anchor); web
    # addresses and anchors of the page itself are not files.
    while read -r link; do
      [[ -z $link || $link == *://* || $link == mailto:* ]] && continue
      [[ -e $(dirname "$file")/$link ]] ||
        fail "$what: ${file#"$root"/} links to $link, which is not installed"
    done < <(grep -o '\]([^)]*)' "$file" | sed 's/^](//; s/)$//; s/#.*//')
  done < <(find "$docs" -name '*.md')
}

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
cmp -s LICENSE "$root/usr/share/doc/basic-stub/copyright" ||
  fail "the package's copyright file is not LICENSE"
check_docs "$root" "$root/usr/share/doc/basic-stub" "the .deb"
echo "package-check: the .deb holds the license, every example, and its documents' links resolve"
[[ $depends != *libstdc++* && $depends != *libgcc* ]] ||
  fail "Depends names the C++ or GCC run-time, which are linked in: $depends"

# The installed front end finds the installed stub, and what it binds runs.
"$root/usr/bin/basic" --version | grep -q '^basic [0-9]' || fail "basic --version"
printf '#!/usr/bin/env basic\n10 FOR I = 1 TO 3\n20 PRINT "PACKAGED"; I\n30 NEXT I\n' \
  >"$scratch/check.bas"
(cd "$scratch" && "$root/usr/bin/basic" --bind check.bas -o check) ||
  fail "the installed basic --bind failed"
expected=$'PACKAGED1 \nPACKAGED2 \nPACKAGED3 \n'
[[ $("$scratch/check"; echo .) == "$expected." ]] || fail "the bound program printed something else"
[[ $("$root/usr/bin/basic" "$scratch/check.bas"; echo .) == "$expected." ]] ||
  fail "the installed basic ran the file differently"
echo "package-check: .deb installed into a scratch root; basic --bind and the bound program work"

# A bound program needs the C library alone (libm is part of it): nothing
# else may have to be installed where it runs. `basic` may add libedit.
libraries() { ldd "$1" | awk '{print $1}' | sed 's|.*/||'; }
unexpected=$(libraries "$scratch/check" | grep -Ev '^(linux-vdso\.so\.1|libc\.so\.6|libm\.so\.6|ld-linux-x86-64\.so\.2)$' || true)
[[ -z $unexpected ]] || fail "the bound program needs more than the C library: $unexpected"
echo "package-check: a bound program links $(libraries "$scratch/check" | tr '\n' ' ')"
echo "package-check: basic links $(libraries "$root/usr/bin/basic" | tr '\n' ' ')"

# --- Windows .zip files --------------------------------------------------------
if [[ $windows == no ]]; then exit 0; fi

check_zip() {
  local arch=$1 build=build-$1
  if [[ ! -f $build/CPackConfig.cmake ]]; then
    echo "package-check: no $build/, the $arch .zip is left out"
    return 0
  fi
  run_cpack --config "$build/CPackConfig.cmake" -G ZIP -B "$scratch/zip-$arch"
  local zips=("$scratch/zip-$arch"/*.zip)
  [[ ${#zips[@]} -eq 1 && -f ${zips[0]} ]] || fail "cpack made no single .zip in $build"
  [[ $(basename "${zips[0]}") == *-$arch.zip ]] || fail "the $arch .zip is named $(basename "${zips[0]}")"
  echo "package-check: $(basename "${zips[0]}")"
  local listing
  listing=$(python3 -m zipfile -l "${zips[0]}")
  echo "$listing"
  for file in basic.exe basstub.exe LICENSE doc/README.md doc/docs/language.md; do
    grep -Eq "/$file[[:space:]]" <<<"$listing" || fail "the $arch .zip lacks $file"
  done
  local unpacked=$scratch/unzipped-$arch
  python3 -m zipfile -e "${zips[0]}" "$unpacked"
  local top
  top=$(echo "$unpacked"/*)
  cmp -s LICENSE "$top/LICENSE" || fail "the $arch .zip's LICENSE is not ours"
  check_docs "$top" "$top/doc" "the $arch .zip"
  echo "package-check: the $arch .zip holds basic.exe, basstub.exe, the license, every example and the documents, whose links resolve"

  # Unpacked, its basic.exe binds with the basstub.exe beside it, and the
  # result runs: under Wine, in the prefix the tests of that build made.
  local prefix=$repo/$build/wineprefix reason
  if [[ $arch == win32 ]] && ! reason=$(scripts/win32-wine-check.sh); then
    echo "package-check: the unpacked $arch .zip is not run: $reason"
    return 0
  fi
  if [[ ! -d $prefix ]]; then
    echo "package-check: no Wine prefix in $build/, the unpacked .zip is not run"
    return 0
  fi
  local windows_basic=$top/basic.exe
  wine_run() { (cd "$scratch" && WINEPREFIX=$prefix WINEARCH=$arch bash "$repo/tests/wine_run.sh" "$@"); }
  wine_run "$windows_basic" --bind check.bas -o "check-$arch.exe" ||
    fail "the unpacked $arch basic.exe --bind failed"
  [[ $(wine_run "./check-$arch.exe"; echo .) == "${expected//$'\n'/$'\r\n'}." ]] ||
    fail "the program bound by the unpacked $arch basic.exe printed something else"
  echo "package-check: the unpacked $arch basic.exe binds with its basstub.exe, and the program runs"

  # Either Windows stub can be bound by either basic.exe: each reads the
  # other's headers by their own rules.
  local other=build-win32/basstub.exe
  [[ $arch == win32 ]] && other=build-win64/basstub.exe
  if [[ -f $other ]]; then
    wine_run "$windows_basic" --bind check.bas -o "check-other-$arch.exe" --stub "$repo/$other" ||
      fail "the $arch basic.exe cannot bind $other"
    cmp -s <(cat "$repo/$other" "$scratch/check.crlf") "$scratch/check-other-$arch.exe" ||
      fail "the $arch basic.exe bound $other into something else than stub + program"
    echo "package-check: the $arch basic.exe binds $other as well"
  fi
}

# What a bound program holds: the program text with CR LF line ends, without
# its #! line.
sed '1d; s/$/\r/' "$scratch/check.bas" >"$scratch/check.crlf"
check_zip win64
check_zip win32
