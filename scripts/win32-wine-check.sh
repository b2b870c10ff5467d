#!/usr/bin/env bash
# Can this host run the 32-bit Windows tests under Wine? Exit status 0 when
# it can; otherwise one line on standard output says why not, and the status
# is 1. Some kernels have 32-bit emulation switched off: there every i386
# program, Wine's 32-bit loader included, fails with "Exec format error".
#
#   scripts/win32-wine-check.sh           the kernel and, when installed, the loader
#   scripts/win32-wine-check.sh --kernel  only whether the kernel runs i386 programs
#
# BASIC_SKIP_WIN32_WINE=1 answers "no" on any host, to try the path that
# hosts without 32-bit support take.
set -u

if [[ -n ${BASIC_SKIP_WIN32_WINE:-} && ${BASIC_SKIP_WIN32_WINE} != 0 ]]; then
  echo "BASIC_SKIP_WIN32_WINE is set"
  exit 1
fi

# The smallest i386 Linux program: one ELF header, one program header, and
# the exit system call with status 0 (mov eax,1; xor ebx,ebx; int 0x80).
probe=$(mktemp)
trap 'rm -f "$probe"' EXIT
base64 -d >"$probe" <<'ELF'
f0VMRgEBAQAAAAAAAAAAAAIAAwABAAAAVIAECDQAAAAAAAAAAAAAADQAIAABAAAAAAAAAAEAAAAAAAAAAIAECACABAhdAAAAXQAAAAUAAAAAEAAAuAEAAAAx282A
ELF
chmod +x "$probe"
if ! "$probe" 2>/dev/null; then
  echo "this kernel cannot run 32-bit programs"
  exit 1
fi
[[ ${1:-} == --kernel ]] && exit 0

if [[ ! -x /usr/lib/wine/wine ]] || ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo "Wine's 32-bit loader (wine32:i386) is not installed or does not start"
  exit 1
fi
exit 0
