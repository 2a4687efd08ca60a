#!/usr/bin/env bash
# tools/wine-gtest.sh beside a stand-in for wine-run.sh that writes a report and
# ends as told: only a kill after a complete report without failures passes.
set -u
tools=$(cd "$(dirname "$0")/../../tools" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$tools/wine-gtest.sh" "$work/"
cat >"$work/wine-run.sh" <<'FAKE'
#!/usr/bin/env bash
for arg; do case $arg in --gtest_output=xml:Z:*) report=${arg#--gtest_output=xml:Z:} ;; esac; done
case $CASE_REPORT in
clean) printf '<testsuites tests="3" failures="0" disabled="0" errors="0">\n</testsuites>\n' >"$report" ;;
failed) printf '<testsuites tests="3" failures="1" disabled="0" errors="0">\n</testsuites>\n' >"$report" ;;
cut) printf '<testsuites tests="3" failures="0" disabled="0" errors="0">\n' >"$report" ;;
esac
[ "$CASE_END" = kill ] && kill -KILL $$
exit "$CASE_END"
FAKE
chmod +x "$work/wine-run.sh"
failures=0
# report, end, expected status
while read -r report end expected; do
    CASE_REPORT=$report CASE_END=$end "$work/wine-gtest.sh" tests.exe >/dev/null 2>&1
    status=$?
    [ "$status" -eq "$expected" ] || { echo "report $report, end $end: $status, expected $expected"; failures=$((failures + 1)); }
done <<'CASES'
clean kill 0
failed kill 137
cut kill 137
none kill 137
clean 0 0
clean 1 1
failed 1 1
CASES
[ "$failures" -eq 0 ] && echo "wine-gtest: every case as expected"
exit "$failures"
