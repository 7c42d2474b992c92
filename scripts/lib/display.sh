# A display of our own for the tests and the demo: an Xvfb that this script
# starts, on a display number it chooses, and stops again by its process id.

# Starts Xvfb and exports DISPLAY. Usage: display_start STATE_DIR
display_start() {
  local state=$1 number
  mkdir -p "$state"
  rm -f "$state/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$state/display" >/dev/null 2>&1 &
  DISPLAY_PID=$!
  for _ in $(seq 1 100); do
    number=$(cat "$state/display" 2>/dev/null)
    [ -n "$number" ] && break
    sleep 0.1
  done
  if [ -z "$number" ]; then
    echo "display: Xvfb did not start" >&2
    kill "$DISPLAY_PID" 2>/dev/null
    return 1
  fi
  export DISPLAY=":$number" DISPLAY_PID
}

display_stop() {
  [ -n "${DISPLAY_PID:-}" ] && kill "$DISPLAY_PID" 2>/dev/null
  DISPLAY_PID=
}
