# Sourced by the tests that need a file system that never answers: mounts one at $work/mnt
# (with an empty $work/local beside it) through the HUNG_MOUNT program in $hung, unmounts it and
# removes $work when the test ends, and skips the test where no FUSE mount can be made.
[ "$(id -u)" = 0 ] && [ -c /dev/fuse ] || { echo "SKIP: needs root and /dev/fuse"; exit 77; }
work=$(mktemp -d)
mkdir "$work/mnt" "$work/local"
"$hung" "$work/mnt" >"$work/ready" 2>&1 &
server=$!
cleanup() {
    kill -9 "$server" 2>/dev/null
    wait "$server" 2>/dev/null
    umount -l "$work/mnt" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 100); do
    grep -q ready "$work/ready" && break
    kill -0 "$server" 2>/dev/null || break
    sleep 0.05
done
grep -q ready "$work/ready" || { cat "$work/ready"; echo "SKIP: no FUSE mount here"; exit 77; }
