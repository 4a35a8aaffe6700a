#!/usr/bin/env bash
# Makes sure the local CUPS scheduler runs with a cups-pdf queue "PDF" as the default destination,
# and prints the folder where that queue's PDFs land. Idempotent; quiet but for the folder.
set -euo pipefail

queue=PDF
out=/var/spool/cups-pdf/struktur
conf=/etc/cups/cups-pdf.conf
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

fail() { echo "ensure-printer: $*" >&2; exit 1; }
[ -x /usr/sbin/cupsd ] || fail "cupsd is missing (scripts/install-deps.sh installs it)"
[ -f "$conf" ] && [ -f "$ppd" ] || fail "cups-pdf is missing (printer-driver-cups-pdf)"

# One setting of cups-pdf.conf: replaces an active or commented-out line, or appends one.
set_option() {
  local key=$1 value=$2
  grep -qx "$key $value" "$conf" && return 0
  if grep -qE "^#?$key[[:space:]]" "$conf"; then
    $SUDO sed -i -E "0,/^#?$key[[:space:]].*/s||$key $value|" "$conf"
  else
    echo "$key $value" | $SUDO tee -a "$conf" >/dev/null
  fi
}
# A fixed folder for every user, and the job number in each name so that copies never overwrite.
set_option Out "$out"
set_option Label 2
$SUDO mkdir -p "$out"
$SUDO chmod 1777 "$out"

# lpstat -r exits 0 either way; its text tells.
scheduler_runs() { [ "$(lpstat -r 2>/dev/null)" = "scheduler is running" ]; }
# No service manager here: start the scheduler directly and wait until it answers.
if ! scheduler_runs; then
  $SUDO /usr/sbin/cupsd
  for _ in $(seq 50); do
    scheduler_runs && break
    sleep 0.2
  done
  scheduler_runs || fail "cupsd did not start"
fi

if ! lpstat -v "$queue" >/dev/null 2>&1; then
  # lpadmin warns that PPD drivers are deprecated; only a failure is worth showing.
  message=$($SUDO lpadmin -p "$queue" -E -v cups-pdf:/ -P "$ppd" 2>&1) || fail "lpadmin: $message"
fi
$SUDO cupsenable "$queue"
$SUDO cupsaccept "$queue"
if [ "$(lpstat -d 2>/dev/null)" != "system default destination: $queue" ]; then
  $SUDO lpadmin -d "$queue"
fi

echo "$out"
