#!/bin/sh
# Installs the VELK package into a fresh Debian 12 and starts it there:
#   scripts/test-deb-debian12.sh build/release/velk_4.1.0_amd64.deb [ROOT]
# The system is made with debootstrap (minbase) in ROOT (a new temporary
# folder by default, removed at the end), using the package mirror this
# machine's apt uses. Inside, `apt install ./velk_*.deb` must pull in every
# dependency; then velk-calc computes an example project and velk runs under
# Xvfb for a few seconds without a platform-plugin failure. Needs root.
set -eu

deb=$(readlink -f "$1")
[ -f "$deb" ] || { echo "no package: $1" >&2; exit 2; }
root=${2:-}
keep=1
if [ -z "$root" ]; then
    root=$(mktemp -d /var/tmp/velk-debian12.XXXXXX)
    keep=0
fi

# The first Debian 12 main mirror of this machine's apt sources.
mirror=$(sed -n 's/^URIs: *\([^ ]*\).*/\1/p' /etc/apt/sources.list.d/*.sources 2>/dev/null | grep -v security | head -n1)
[ -n "$mirror" ] || mirror=$(awk '$1 == "deb" && $3 ~ /^bookworm$/ {print $2; exit}' /etc/apt/sources.list 2>/dev/null)
[ -n "$mirror" ] || { echo "no Debian mirror in the apt sources" >&2; exit 2; }

mounted=""
cleanup() {
    for m in $mounted; do umount "$m" 2>/dev/null || true; done
    if [ "$keep" -eq 0 ]; then rm -rf "$root"; fi
}
trap cleanup EXIT

# A ROOT given from an earlier run keeps its base system (a retry without
# fetching it again); the package is always installed afresh.
if [ ! -f "$root/etc/debian_version" ]; then
    echo "== debootstrap bookworm into $root"
    debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.debootstrap.log" 2>&1 ||
        { tail -n 20 "$root.debootstrap.log"; exit 1; }
fi
chroot "$root" sh -c 'dpkg -s velk >/dev/null 2>&1 && apt-get purge -y -qq velk >/dev/null' || true
mount -t proc proc "$root/proc" && mounted="$root/proc"

echo "== apt install ./$(basename "$deb")"
cp "$deb" "$root/tmp/"
chroot "$root" sh -c "apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq ./tmp/$(basename "$deb") xvfb xauth >/tmp/apt.log 2>&1" ||
    { tail -n 30 "$root/tmp/apt.log"; exit 1; }
chroot "$root" dpkg -s velk | sed -n 's/^\(Version\|Depends\): /  \1: /p'

echo "== velk-calc"
chroot "$root" sh -c 'cd /tmp && velk-calc --project /usr/share/velk/examples/atmospheric.vel' >"$root/tmp/calc.json"
grep -q '"completed": true' "$root/tmp/calc.json"
grep -o '"HETPD": {[^}]*}' "$root/tmp/calc.json"
chroot "$root" sh -c 'LANG=C.UTF-8 velk-calc LD=1 VD=x DlD=800 DvD=2.5 >/dev/null' 2>"$root/tmp/calc.err" || true
echo "  message: $(head -n1 "$root/tmp/calc.err")"

echo "== velk under Xvfb"
status=0
chroot "$root" sh -c 'export HOME=/root; timeout 8 xvfb-run -a -s "-screen 0 1280x800x24" velk /usr/share/velk/examples/vacuum.vel' \
    >"$root/tmp/velk.log" 2>&1 || status=$?
cat "$root/tmp/velk.log"
# Still running when the time ran out: it started (124 is timeout's status).
if [ "$status" -ne 124 ] || grep -q "could not load the Qt platform plugin" "$root/tmp/velk.log"; then
    echo "velk did not stay up (status $status)" >&2
    exit 1
fi
echo "== the package installs and both programs run on a fresh Debian 12"
