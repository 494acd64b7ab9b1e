# Shared by the install tests: sourced, not run.

fail() { echo "FAIL: $*" >&2; exit 1; }

# Polls `condition` every 0.1 s until it holds or `seconds` pass.
wait_for() {
    local seconds=$1; shift
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}
