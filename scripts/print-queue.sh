#!/usr/bin/env bash
# The print queues the printing tests print through: a running CUPS
# scheduler and two PDF queues (cups-pdf, output in ~/PDF of the printing
# user): YuzariboPDF with the driver's own PPD (the whole sheet printable,
# 300 dpi), and YuzariboPDF5mm, whose copy of that PPD reports a printable
# area 5 mm inside every edge and 600 dpi, as many office printers do.
# Does only what is missing, so it is safe to run each time.
set -euo pipefail

queue=YuzariboPDF
margin_queue=YuzariboPDF5mm
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
export LC_ALL=C   # the lpstat answers below are matched in English

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

scheduler_running() { [ "$(lpstat -r 2>/dev/null)" = "scheduler is running" ]; }

if ! scheduler_running; then
  echo "print-queue: starting the CUPS scheduler" >&2
  if [ -d /run/systemd/system ] && command -v systemctl >/dev/null; then
    $sudo systemctl start cups
  else
    # No service manager (containers, CI): cupsd puts itself in the background.
    $sudo cupsd
  fi
  for _ in $(seq 50); do
    scheduler_running && break
    sleep 0.2
  done
  if ! scheduler_running; then
    echo "print-queue: the CUPS scheduler did not start" >&2
    exit 1
  fi
fi

# pdftocairo writes each 256-glyph subset of a face as its own Type 42 font,
# all under the face's one FontName (Latin glyphs in one, Japanese in
# others). Ghostscript, which cups-pdf runs on that PostScript, takes fonts
# of one name for the same font: glyphs that clash with the first subset come
# out as bitmaps without a Unicode map, so the PDF reads back as dots and
# slashes. The queue's PPD therefore carries a job patch that gives a font
# defined under a name already taken a name of its own (Face_1, Face_2, ...).
marker=yuzariboDefinefont
patch=$(cat <<'PS'
/yuzariboFontNames 64 dict def /yuzariboFontCount 0 def
/yuzariboDefinefont /definefont load def
/definefont {
  dup type /dicttype eq { dup /FontName known { dup wcheck {
    dup /FontName get dup type /nametype eq {
      yuzariboFontNames 1 index known {
        /yuzariboFontCount yuzariboFontCount 1 add store
        128 string cvs dup length /yuzariboL exch def
        yuzariboL 12 add string dup 0 4 -1 roll putinterval
        dup yuzariboL (_) putinterval
        yuzariboFontCount 10 string cvs dup length /yuzariboM exch def
        1 index yuzariboL 1 add 3 -1 roll putinterval
        0 yuzariboL 1 add yuzariboM add getinterval cvn
        1 index exch /FontName exch put
      } { yuzariboFontNames exch true put } ifelse
    } { pop } ifelse
  } if } if } if
  yuzariboDefinefont
} bind def
PS
)

# 5 mm in PostScript points, and the mark of the margin queue's PPD.
margin=14.17
margin_marker="HWMargins: $margin $margin $margin $margin"

# A queue is (re)configured with the driver's PPD plus the patch; the
# margin queue's copy also gets its printable areas and resolution.
configure_queue() {
  local name=$1 margins=$2
  if [ ! -f "$ppd" ]; then
    echo "print-queue: $ppd is missing (package printer-driver-cups-pdf)" >&2
    exit 1
  fi
  local patched
  patched=$(mktemp --suffix=.ppd)
  PATCH="$patch" M="$margins" awk '
    /^\*LanguageLevel/ && !done {
      print "*JobPatchFile 1: \"" ENVIRON["PATCH"] "\""; print "*End"; done = 1 }
    ENVIRON["M"] != "" && /^\*HWMargins:/ { m = ENVIRON["M"]; print "*HWMargins: " m " " m " " m " " m; next }
    ENVIRON["M"] != "" && /^\*DefaultResolution:/ { print "*DefaultResolution: 600dpi"; next }
    ENVIRON["M"] != "" && /^\*ImageableArea / {
      # "*ImageableArea A4/A4: "0 0 595 842"": the box moves in by the margin.
      split($0, q, "\""); split(q[2], b, " ")
      m = ENVIRON["M"]
      printf "%s\"%.2f %.2f %.2f %.2f\"\n", q[1], b[1] + m, b[2] + m, b[3] - m, b[4] - m; next }
    { print }' "$ppd" >"$patched"
  chmod 644 "$patched"
  # pdftocairo keeps the Japanese text readable through cups-pdf's
  # PostScript round trip; abort-job keeps the queue open after a bad job.
  # lpadmin warns that PPD drivers are deprecated; the queue works all the same.
  $sudo lpadmin -p "$name" -v cups-pdf:/ -P "$patched" \
    -o pdftops-renderer-default=pdftocairo -o printer-error-policy=abort-job -E \
    2> >(grep -v "deprecated" >&2)
  rm -f "$patched"
}

# Adds a queue, or configures it again when its PPD lacks what it must carry.
ensure_queue() {
  local name=$1 margins=$2 mark=$3
  if ! lpstat -p "$name" >/dev/null 2>&1; then
    echo "print-queue: adding the PDF queue $name" >&2
    configure_queue "$name" "$margins"
  elif ! $sudo grep -qs "$marker" "/etc/cups/ppd/$name.ppd" \
       || { [ -n "$mark" ] && ! $sudo grep -qs "$mark" "/etc/cups/ppd/$name.ppd"; }; then
    echo "print-queue: configuring the PDF queue $name again" >&2
    configure_queue "$name" "$margins"
  fi
  # A queue stopped by an earlier failure takes jobs but never prints them.
  if lpstat -p "$name" | grep -q disabled; then
    $sudo cupsenable "$name"
  fi
  if lpstat -a "$name" | grep -q "not accepting"; then
    $sudo cupsaccept "$name"
  fi
}

ensure_queue "$queue" "" ""
ensure_queue "$margin_queue" "$margin" "$margin_marker"
