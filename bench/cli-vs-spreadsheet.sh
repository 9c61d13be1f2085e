#!/usr/bin/env bash
# What a user would otherwise do to turn a CSV book into a printable PDF,
# against our command line: LibreOffice Calc's headless conversion and
# `yuzaribo --print list --pdf` of the same 32767-entry CP932 book, whole
# processes, alternating the two, in one run. Also 32767 postcards with
# the sender. Installs nothing: without LibreOffice it says so and times
# ours alone.
#
#   bench/cli-vs-spreadsheet.sh [RUNS]      (default 3; build in ./build)
#
# Prints "name value" lines: seconds (the median of the runs), peak resident
# memory in megabytes, and spreadsheet_over_cli (how many times longer the
# spreadsheet takes) with peak_memory_cli_over_spreadsheet.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD:-$root/build}"
runs="${1:-3}"

if [ ! -x /usr/bin/time ]; then
  echo "cli-vs-spreadsheet: /usr/bin/time (package time) is missing" >&2
  exit 1
fi
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
"$build/bench/yuzaribo-write-bench-book" "$tmp/book.csv"

# Runs a command; prints "seconds peak_megabytes".
measure() {
  /usr/bin/time -f "%e %M" -o "$tmp/time" "$@" >/dev/null 2>"$tmp/err" || {
    echo "cli-vs-spreadsheet: failed: $*" >&2
    cat "$tmp/err" >&2
    exit 1
  }
  awk '{ printf "%s %.1f\n", $1, $2 / 1024 }' "$tmp/time"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

soffice="$(command -v soffice || command -v libreoffice || true)"
[ -n "$soffice" ] || echo "cli-vs-spreadsheet: LibreOffice is not installed; timing yuzaribo alone" >&2

: >"$tmp/cli" ; : >"$tmp/sheet" ; : >"$tmp/cards"
for _ in $(seq "$runs"); do
  measure "$build/yuzaribo" --print list --pdf "$tmp/list.pdf" "$tmp/book.csv" >>"$tmp/cli"
  if [ -n "$soffice" ]; then
    # Its own profile, so a user's running office is neither used nor disturbed.
    measure "$soffice" -env:UserInstallation="file://$tmp/profile" --headless \
      --infilter="CSV:44,34,60,1" --convert-to pdf --outdir "$tmp/sheet-out" "$tmp/book.csv" >>"$tmp/sheet"
  fi
  measure "$build/yuzaribo" --print postcards --sender --pdf "$tmp/cards.pdf" "$tmp/book.csv" >>"$tmp/cards"
done

cli_s=$(cut -d' ' -f1 "$tmp/cli" | median)
cli_mb=$(cut -d' ' -f2 "$tmp/cli" | median)
echo "cli_list_pdf_s $cli_s"
echo "cli_list_peak_mb $cli_mb"
if [ -n "$soffice" ]; then
  sheet_s=$(cut -d' ' -f1 "$tmp/sheet" | median)
  sheet_mb=$(cut -d' ' -f2 "$tmp/sheet" | median)
  echo "spreadsheet_pdf_s $sheet_s"
  echo "spreadsheet_peak_mb $sheet_mb"
  awk -v a="$sheet_s" -v b="$cli_s" 'BEGIN { printf "spreadsheet_over_cli %.1f\n", a / b }'
  awk -v a="$cli_mb" -v b="$sheet_mb" 'BEGIN { printf "peak_memory_cli_over_spreadsheet %.2f\n", a / b }'
fi
echo "cli_postcards_pdf_s $(cut -d' ' -f1 "$tmp/cards" | median)"
echo "cli_postcards_peak_mb $(cut -d' ' -f2 "$tmp/cards" | median)"
