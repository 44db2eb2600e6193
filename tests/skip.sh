# Sourced by the test scripts that need a tool or package the machine may not have.
# skip REASON: says why the test cannot run and ends it as skipped (exit 77 under CTest), except
# when CI=true: there ./test has installed every package, so a test that cannot run means that
# the installation broke, and it fails.
skip() {
    echo "SKIPPED: $*"
    if [ "${CI:-}" = true ]; then
        echo "FAIL: CI=true, where a test may not be skipped"
        exit 1
    fi
    exit 77
}
