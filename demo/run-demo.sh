#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Shows norva-snapshots-manager at work on the simulated snapshot library, without touching
# this machine's /etc, timers or volumes.
#
#   sudo demo/run-demo.sh [BUILD_DIR]      (BUILD_DIR defaults to "build")
#
# The script runs in the test kit's sandbox (tests/kit/sandbox.sh): a private mount namespace,
# an overlay over /etc whose changes land in a temporary directory, a fresh tmpfs over /run/lock,
# the fake systemctl first on PATH, and the simulated library seeded with a 10 GiB root volume
# and 40 GiB free in its volume group. Everything is gone when it ends.
set -euo pipefail

. "$(dirname "${BASH_SOURCE[0]}")/../tests/kit/sandbox.sh"
kit_enter "$@"

die() {
    echo "run-demo.sh: $*" >&2
    exit 1
}

build_dir=$(cd "${1:-build}" 2>/dev/null && pwd) || die "no build directory ${1:-build}"
tool=$build_dir/bin/norva-snapshots-manager
faketime_lib=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1
for file in "$tool" "$build_dir/lib/sim/norva-sim" "$build_dir/lib/sim/libnorvasnapshots.so.0"; do
    [ -e "$file" ] || die "missing $file: build the project first"
done
kit_sandbox "$build_dir"

step=0
heading() {
    step=$((step + 1))
    printf '\n=== %d. %s ===\n' "$step" "$*"
}

# Runs the tool and tells its exit status; never ends the demo on a failing run.
manager() {
    local status=0
    echo "\$ norva-snapshots-manager $*"
    "$tool" "$@" || status=$?
    echo "(exit status $status)"
}

# Answers the tool's questions through a pipe, one answer a line, and shows each answer after
# its question, as a terminal would.
manager_answering() {
    local answers=() status=0 output shown="" rest answer before
    while [ "$1" != "--" ]; do
        answers+=("$1")
        shift
    done
    shift
    echo "\$ norva-snapshots-manager $*      (answers: ${answers[*]})"
    output=$(printf '%s\n' "${answers[@]}" | "$tool" "$@") || status=$?
    rest=$output
    for answer in "${answers[@]}"; do
        before=${rest%%"cancel: "*}
        [ "$before" != "$rest" ] || break
        shown+="${before}cancel: $answer"$'\n'
        rest=${rest#*"cancel: "}
    done
    printf '%s\n' "$shown$rest"
    echo "(exit status $status)"
}

show_snapshots() {
    echo "\$ norva-sim show"
    norva-sim show
}

demo_launch_and_check() {
    heading "Seed the simulated volume: root 10 GiB, 40 GiB free in the volume group"
    norva-sim init --root-size 10G --vg-free 40G --boot-used 200M
    show_snapshots

    heading "Launch script 2 (one full-sized snapshot, rotated after its lifetime)"
    manager_answering 3 -- -s2
    echo "configuration file: $(cat /etc/norva-snapshots-manager.conf)"
    echo "systemctl was called as:"
    sed 's/^/  systemctl /' "$FAKE_SYSTEMCTL_DIR/log"

    heading "A scheduled check, as the timer runs it"
    manager -c

    heading "Automation status and current script"
    manager -i

    heading "The snapshots now"
    show_snapshots
}

# Script 5 over simulated days: the tool and the simulated library share one process, so one
# preloaded libfaketime moves both clocks. The clock is frozen at each check's moment, which
# keeps the creation times exactly one day apart.
demo_queue_days() {
    local days=5 day when
    heading "Queue script over $days simulated days: period 1 day, queue of 3 snapshots"
    norva-sim init --root-size 10G --vg-free 40G --boot-used 200M
    when="2026-12-01 03:00:00"
    echo "--- $when: launch"
    LD_PRELOAD=$faketime_lib FAKETIME="$when" manager_answering 1 3 -- -s5
    echo "configuration file: $(cat /etc/norva-snapshots-manager.conf)"
    show_snapshots
    for day in $(seq 1 "$days"); do
        when=$(date -u -d "2026-12-01 03:00:00 UTC + $day days" '+%Y-%m-%d %H:%M:%S')
        echo
        echo "--- $when: day $day, the timer's check"
        LD_PRELOAD=$faketime_lib FAKETIME="$when" manager -c
        show_snapshots
    done
    echo
    echo "The queue grew to 3 snapshots one day apart, then dropped its oldest each day."
}

demo_launch_and_check
demo_queue_days
heading "Clean up: the overlay, the tmpfs and the temporary directory go"
