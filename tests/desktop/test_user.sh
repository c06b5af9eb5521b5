# For what refuses to run as root (sway, KWin): a user of the tests' own,
# made when missing, and as_user CMD... to run CMD as that user (as it is,
# when the test does not run as root). A private runtime folder of that
# user's is in run (removed by the caller). Sourced by a bash script.
user=quendax-test
if [ "$(id -u)" = 0 ]; then
  id "$user" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$user" \
    || { echo "FAILED: could not create the user $user"; exit 1; }
  as_user() { runuser -u "$user" -- "$@"; }
else
  as_user() { "$@"; }
fi
run=$(mktemp -d); chmod 700 "$run"
[ "$(id -u)" = 0 ] && chown "$user" "$run"
