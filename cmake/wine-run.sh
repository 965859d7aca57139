# The cross-compiling emulator: runs a Windows program under Wine in the
# project's own prefix (made by scripts/setup.sh), without Wine's chatter.
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"
gs_wine_env
exec wine "$@"
