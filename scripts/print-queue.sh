#!/usr/bin/env bash
# The print queue the printing test prints through: a running CUPS
# scheduler and the PDF queue YuzariboPDF (cups-pdf, output in ~/PDF of the
# printing user). Does only what is missing, so it is safe to run each time.
set -euo pipefail

queue=YuzariboPDF
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

if ! lpstat -p "$queue" >/dev/null 2>&1; then
  echo "print-queue: adding the PDF queue $queue" >&2
  if [ ! -f "$ppd" ]; then
    echo "print-queue: $ppd is missing (package printer-driver-cups-pdf)" >&2
    exit 1
  fi
  # pdftocairo keeps the Japanese text readable through cups-pdf's
  # PostScript round trip; abort-job keeps the queue open after a bad job.
  # lpadmin warns that PPD drivers are deprecated; the queue works all the same.
  $sudo lpadmin -p "$queue" -v cups-pdf:/ -P "$ppd" \
    -o pdftops-renderer-default=pdftocairo -o printer-error-policy=abort-job -E \
    2> >(grep -v "deprecated" >&2)
fi

# A queue stopped by an earlier failure takes jobs but never prints them.
if lpstat -p "$queue" | grep -q disabled; then
  $sudo cupsenable "$queue"
fi
if lpstat -a "$queue" | grep -q "not accepting"; then
  $sudo cupsaccept "$queue"
fi
