#!/usr/bin/env bash
# The USB cable's udev rule, parsed the way udev reads a rules file: every line a comma-separated
# list of KEY[{attribute}]<operator>"value" items. It must match the adapter's hidraw node by its USB
# product string, hand the node to the user at the seat, and never open it to everyone.
set -euo pipefail
rules=$1
item='[A-Z_]+(\{[^}]+\})?(==|!=|\+=|-=|:=|=)"[^"]*"'
status=0
rule_lines=0
while IFS= read -r line; do
  [[ -z "$line" || "$line" == \#* ]] && continue
  rule_lines=$((rule_lines + 1))
  if ! [[ "$line" =~ ^$item(,[[:space:]]*$item)*$ ]]; then
    echo "not a udev rule line: $line"; status=1
  fi
  for needed in 'SUBSYSTEM=="hidraw"' 'ATTRS{product}=="USB to Serial"' 'TAG+="uaccess"'; do
    [[ "$line" == *"$needed"* ]] || { echo "missing $needed: $line"; status=1; }
  done
  if [[ "$line" == *MODE* || "$line" == *GROUP* ]]; then
    echo "the node must not be opened to a mode or group: $line"; status=1
  fi
done < "$rules"
[ "$rule_lines" -eq 1 ] || { echo "expected one rule, found $rule_lines"; status=1; }
# udev takes the uaccess tag into account only in rules files that sort before 73-seat-late.rules.
[[ "$(basename "$rules")" < "73" ]] || { echo "rule file sorts after 73-seat-late.rules"; status=1; }
exit $status
