#!/usr/bin/env bash
# The demo tour runs to its end without a user (the prompt closes at the end of input),
# shows the install, the prompt, the uninstall and one analytics report of each, and
# leaves nothing behind: no temporary folder, no site still running.
set -uo pipefail
source_dir=$1 build_dir=$2
before=$(ls -d /tmp/orvanel-demo-* 2>/dev/null | sort)
output=$("$source_dir/scripts/demo.sh" "$build_dir" </dev/null 2>&1)
status=$?
echo "$output"
fail() { echo "FAILED: $*"; exit 1; }
[ $status -eq 0 ] || fail "the demo ended with $status"
grep -q '^exit code 0; data folder now holds: data_version.txt extensions.txt' <<<"$output" || fail "no install"
grep -q '^File: report.xyz$' <<<"$output" || fail "no prompt"
grep -q '^analytics: 1 install report(s), 1 uninstall report(s)$' <<<"$output" || fail "reports"
grep -Eq '^extensions that now open with Orvanel: [1-9][0-9]+$' <<<"$output" || fail "no extensions"
after=$(ls -d /tmp/orvanel-demo-* 2>/dev/null | sort)
[ "$before" = "$after" ] || fail "a temporary folder was left behind"
! pgrep -f "scripts/site/site.py --root .* --analytics-log /tmp/orvanel-demo-" >/dev/null || fail "the site is still running"
echo "demo tour passed"
