#!/bin/sh
# varnel --version and --help answer on stdout with exit 0 and never need a
# display: run with none at all.
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
version=$("$1" --version) || exit 1
help=$("$1" --help) || exit 1
case "$version" in "varnel $2") ;; *) echo "version: '$version'"; exit 1 ;; esac
case "$help" in "usage: varnel"*"varnel --version"*) ;; *) echo "help: '$help'"; exit 1 ;; esac
