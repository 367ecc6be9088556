#!/usr/bin/env bash
# Runs a command in a network namespace of its own, with no network at all:
# the real program under test must not reach out to its service (not even to
# ask a name server). Where namespaces cannot be made, the command runs as is.
if unshare -n true 2>/dev/null; then
  exec unshare -n "$@"
fi
exec "$@"
