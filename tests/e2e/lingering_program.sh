#!/bin/sh
# Stands in for a window that starts a helper of its own and ends before it shows anything.
sleep 300 &
