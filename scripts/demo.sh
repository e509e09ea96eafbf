#!/usr/bin/env bash
# A guided tour of Orvanel's main job against a local site and a temporary store:
# install, open a file, uninstall. Nothing is written outside the temporary folder.
# Usage: scripts/demo.sh [build folder]   (default build/native)
set -euo pipefail
cd "$(dirname "$0")/.."
bin=$(cd "${1:-build/native}" && pwd)

if [ "$(id -u)" -ne 0 ]; then
  # Writing the machine-wide registry needs administrator rights (effective user 0).
  if command -v sudo >/dev/null; then exec sudo -E "$0" "$bin"; fi
  echo "The demo installs machine-wide and must run as root." >&2
  exit 1
fi

tmp=$(mktemp -d /tmp/orvanel-demo-XXXXXX)
site_pid=
cleanup() {
  [ -n "$site_pid" ] && kill "$site_pid" 2>/dev/null && wait "$site_pid" 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT

step() { printf '\n\033[1m== %s\033[0m\n' "$*"; }
reg() { "$bin/orvanel-reg" "$@"; }

step "Starting the local download and info site on 127.0.0.1"
python3 scripts/site/site.py --root scripts/site/download --analytics-log "$tmp/analytics.log" \
  --port-file "$tmp/port" &
site_pid=$!
for _ in $(seq 100); do [ -s "$tmp/port" ] && break; sleep 0.05; done
site="http://127.0.0.1:$(cat "$tmp/port")"
echo "site: $site (catalogue of $(grep -vc '^extensions' scripts/site/download/extensions.txt) extensions, data version $(cat scripts/site/download/data_version.txt))"

export ORVANEL_REGISTRY="$tmp/registry.db" XDG_DATA_HOME="$tmp/data"
export ORVANEL_INFO_SITE="$site" ORVANEL_DOWNLOAD_SITE="$site"
# With a display Orvanel shows its real windows; in a plain terminal it asks here.
export ORVANEL_FRONTEND="${ORVANEL_FRONTEND:-}"
# Pages the prompt opens are shown here instead of in a browser. Orvanel starts the
# browser detached, with its output going nowhere, so the stand-in writes a log
# that the tour prints once the prompt is over.
browser_log="$tmp/browser.log"
mkdir -p "$tmp/bin"
cat > "$tmp/bin/xdg-open" <<SHIM
#!/bin/sh
{ echo "[browser] opened \$1"
  curl -s --max-time 5 "\$1" | sed 's/<[^>]*>//g; s/^/[browser]   /'
} > "$browser_log.part"
mv "$browser_log.part" "$browser_log"
SHIM
chmod +x "$tmp/bin/xdg-open"
export PATH="$tmp/bin:$PATH"

step "Preparing a temporary store where .txt is already handled by another program"
reg add 'HKCR\.txt' /ve /d txtfile /f >/dev/null
reg query 'HKCR\.txt' /ve

step "orvanel -i: download the catalogue, save its data version, register, report the install"
"$bin/orvanel" -i
echo "exit code $?; data folder now holds: $(ls "$XDG_DATA_HOME/Orvanel" | tr '\n' ' ')"
echo "local data version: $(cat "$XDG_DATA_HOME/Orvanel/data_version.txt")"

step "What the store holds now"
export_file="$tmp/after-install.reg"
reg export HKCR "$export_file"
handled=$(grep -A1 '^\[HKEY_CLASSES_ROOT\\\.[^\\]*\]$' "$export_file" | grep -c '^@="Orvanel"' || true)
echo "extensions that now open with Orvanel: $handled"
echo "--- the class and the all-files verb:"
reg export 'HKCR\Orvanel' | tail -n +3
reg export 'HKCR\*' | tail -n +3
echo "--- .exe is never taken over, .txt keeps its handler, .xyz is Orvanel's:"
reg query 'HKCR\.exe' /ve 2>&1 || true
reg export 'HKCR\.txt' | tail -n +3
reg export 'HKCR\.xyz' | tail -n +3

step "Opening report.xyz: the prompt (its window, or here: answer it; at the end of input it closes)"
echo "sample" > "$tmp/report.xyz"
"$bin/orvanel" "$tmp/report.xyz"
echo "exit code $?"
# The browser stand-in runs detached: give it a moment to fetch the page.
for _ in $(seq 100); do [ -e "$browser_log" ] && break; sleep 0.05; done
if [ -e "$browser_log" ]; then cat "$browser_log"; else echo "(no page was opened)"; fi

step "orvanel -r: remove the registration, report the uninstall"
"$bin/orvanel" -r
echo "exit code $?"
echo "--- what remains of .xyz (an emptied default, an empty OpenWithProgids key):"
reg export 'HKCR\.xyz' | tail -n +3
reg query 'HKCR\Orvanel' 2>&1 || true

step "Analytics requests the site received"
cat "$tmp/analytics.log"
installs=$(grep -c '&install=true' "$tmp/analytics.log" || true)
uninstalls=$(grep -c '&uninstall=true' "$tmp/analytics.log" || true)

step "Summary"
echo "install: $handled extensions handled; prompt for report.xyz done; uninstall done"
echo "analytics: $installs install report(s), $uninstalls uninstall report(s)"
echo "stopping the site and removing $tmp"
[ "$handled" -gt 0 ] && [ "$installs" -eq 1 ] && [ "$uninstalls" -eq 1 ]
