# SPDX-License-Identifier: GPL-2.0-or-later
# The sandbox of every test, the demo and the benchmarks that run the tool (sourced by bash):
# a private mount namespace with an overlay on /etc and a fresh tmpfs on /run/lock, the fake
# systemctl first on PATH, the simulated snapshot library with its state in the sandbox, and a
# system log socket on /dev/log whose lines land in $KIT/syslog. Nothing of this machine's
# /etc, timers, volumes or log is touched.
#
#   . tests/kit/sandbox.sh
#   kit_enter "$@"          re-runs the calling script in a private mount namespace (as root)
#   kit_sandbox BUILD_DIR   makes the sandbox and exports what a run of the tool needs
#   kit_reset               forgets the configuration, the timer, the state and the log
#   kit_log_flush           waits until what was logged so far is in $KIT/syslog
kit_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

kit_enter() {
    [ "${NORVA_KIT_NAMESPACE:-}" != private ] || return 0
    [ "$(id -u)" = 0 ] || { echo "run as root: the sandbox mounts over /etc" >&2 && exit 1; }
    NORVA_KIT_NAMESPACE=private exec unshare --mount --propagation private -- "$BASH" "$0" "$@"
}

kit_sandbox() {
    # Never mount over the real /etc: this namespace must not be the machine's.
    [ "$(readlink /proc/self/ns/mnt)" != "$(readlink /proc/1/ns/mnt)" ] ||
        { echo "kit_sandbox: not in a private mount namespace" >&2 && exit 1; }
    KIT=$(mktemp -d /tmp/norva-kit.XXXXXX)
    mkdir -p "$KIT/upper" "$KIT/work" "$KIT/bin" "$KIT/systemctl" "$KIT/dev/upper" "$KIT/dev/work"
    mount -t overlay overlay -o "lowerdir=/etc,upperdir=$KIT/upper,workdir=$KIT/work" /etc &&
        mount -t tmpfs -o mode=1777 tmpfs /run/lock || exit 1
    ln -s "$kit_dir/systemctl" "$KIT/bin/systemctl"
    ln -s "$1/lib/sim/norva-sim" "$KIT/bin/norva-sim"
    kit_syslog
    trap 'set +e; pkill -f "$KIT/syslog" 2>/dev/null; umount /dev /run/lock /etc 2>/dev/null; rm -rf "$KIT"' EXIT
    export KIT PATH="$KIT/bin:/usr/sbin:/usr/bin:/sbin:/bin" LC_ALL=C LANGUAGE= \
        LD_LIBRARY_PATH="$1/lib/sim" NORVASNAPSHOTS_SIM_STATE="$KIT/sim" FAKE_SYSTEMCTL_DIR="$KIT/systemctl"
    kit_reset
}

# The system log: a datagram socket on /dev/log, in an overlay on /dev that only this namespace
# sees; each message syslog(3) sends there becomes a line of $KIT/syslog.
kit_syslog() {
    mount -t overlay overlay -o "lowerdir=/dev,upperdir=$KIT/dev/upper,workdir=$KIT/dev/work" /dev &&
        rm -f /dev/log || exit 1
    /usr/bin/python3 -c 'import socket, sys
s = socket.socket(socket.AF_UNIX, socket.SOCK_DGRAM)
s.bind("/dev/log")
while True:
    with open(sys.argv[1], "ab") as log:
        log.write(s.recv(65536).rstrip(b"\n") + b"\n")' "$KIT/syslog" &
    until [ -S /dev/log ]; do sleep 0.01; done
}

# Waits until every line sent to the log so far is in $KIT/syslog: a mark sent after them
# arrives after them.
kit_log_flush() {
    local mark=kit-mark-$RANDOM$RANDOM
    logger -u /dev/log "$mark"
    until grep -q "$mark" "$KIT/syslog"; do sleep 0.01; done
}

kit_reset() {
    rm -rf /etc/norva-snapshots-manager.conf "$KIT/systemctl/"* "$KIT/sim"
    : >"$KIT/syslog"
    norva-sim init >/dev/null
}
