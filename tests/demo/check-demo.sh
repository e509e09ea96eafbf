#!/usr/bin/env bash
# The demo tour runs to its end without a user (choice 1 is typed ahead; any later
# question ends at the end of input), shows the install, the prompt, the search page
# that choice 1 opens, the uninstall and one analytics report of each, and leaves
# nothing behind: no temporary folder, no site still running.
set -uo pipefail
source_dir=$1 build_dir=$2
before=$(ls -d /tmp/orvanel-demo-* 2>/dev/null | sort)
# In a plain terminal, even when the tests run inside a desktop session.
output=$(printf '1\n' | env -u DISPLAY -u WAYLAND_DISPLAY "$source_dir/scripts/demo.sh" "$build_dir" 2>&1)
status=$?
echo "$output"
fail() { echo "FAILED: $*"; exit 1; }
[ $status -eq 0 ] || fail "the demo ended with $status"
grep -q '^exit code 0; data folder now holds: data_version.txt extensions.txt' <<<"$output" || fail "no install"
grep -q '^File: report.xyz$' <<<"$output" || fail "no prompt"
grep -Eq '^\[browser\] opened http://127\.0\.0\.1:[0-9]+/type/xyz/tovix\?_id=[0-9a-f]{32}$' <<<"$output" || fail "the search page is not shown"
grep -q '^analytics: 1 install report(s), 1 uninstall report(s)$' <<<"$output" || fail "reports"
grep -Eq '^extensions that now open with Orvanel: [1-9][0-9]+$' <<<"$output" || fail "no extensions"
after=$(ls -d /tmp/orvanel-demo-* 2>/dev/null | sort)
[ "$before" = "$after" ] || fail "a temporary folder was left behind"
! pgrep -f "scripts/site/site.py --root .* --analytics-log /tmp/orvanel-demo-" >/dev/null || fail "the site is still running"
echo "demo tour passed"
