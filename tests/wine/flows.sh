# The user flows of the Windows program under Wine, sourced by scripts/test-windows.sh,
# which sets: WINE (the loader), WINESERVER, WINEPREFIX, DISPLAY, OUT (a folder for
# screenshots and logs), HERE (this folder), CHART (the Linux vapora-chart, or empty).
# Every wait is bounded; each flow prints one PASS or FAIL line.

passed=0
failed=0
pass() { passed=$((passed + 1)); echo "PASS: $*"; }
fail() { failed=$((failed + 1)); echo "FAIL: $*"; }

# The id of the visible window whose whole title is $1, waiting at most $2 seconds.
wait_window() {
  local i id
  for i in $(seq 1 $(( $2 * 4 ))); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.25
  done
  return 1
}

# Waits at most $2 seconds until no visible window has the title $1.
wait_gone() {
  local i
  for i in $(seq 1 $(( $2 * 4 ))); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.25
  done
  return 1
}

# The title of the first visible window whose title starts with $1, waiting at most $2 s.
wait_title_prefix() {
  local i id
  for i in $(seq 1 $(( $2 * 4 ))); do
    id=$(xdotool search --onlyvisible --name "^$1" 2>/dev/null | head -1)
    [ -n "$id" ] && { xdotool getwindowname "$id"; return 0; }
    sleep 0.25
  done
  return 1
}

# Absolute screen position of the top-left pixel of window $1: "X Y".
window_origin() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print x, y}'
}

# Window $1's size: "W H".
window_size() {
  xwininfo -id "$1" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}'
}

shot() { timeout 20 import -window "$1" "$2" 2>/dev/null; }

# Moves the pointer to client point ($2, $3) of window $1.
move_to() {
  local ox oy
  read -r ox oy < <(window_origin "$1")
  xdotool mousemove $((ox + $2)) $((oy + $3))
}

# Clicks at dialog-unit point ($2, $3) of the dialog window $1, whose template is $4 x $5
# dialog units: the window Wine shows is the dialog's client area, so the scale is its
# size over the template's.
click_dlu() {
  local w h
  read -r w h < <(window_size "$1")
  move_to "$1" $(( $2 * w / $4 )) $(( $3 * h / $5 ))
  xdotool click 1
}

focus() {
  timeout 5 xdotool windowfocus --sync "$1" 2>/dev/null || timeout 5 xdotool windowfocus "$1" 2>/dev/null
  sleep 0.3
}

# Starts the Windows program $1 under Wine in the background; sets app_pid.
start_program() {
  xdotool mousemove 1270 1010   # away from where the window will be
  "$WINE" "$1" >"$OUT/$(basename "$1" .exe).log" 2>&1 &
  app_pid=$!
}

# Waits at most $1 seconds for the program started last to end; sets program_status to
# its exit status, or to "none within $1 s". (Not for $(...): wait needs this shell.)
wait_program() {
  local i
  program_status="none within $1 s"
  for i in $(seq 1 $(( $1 * 4 ))); do
    if ! kill -0 "$app_pid" 2>/dev/null; then
      wait "$app_pid"
      program_status=$?
      return 0
    fi
    sleep 0.25
  done
  return 1
}

stop_program() {
  kill "$app_pid" 2>/dev/null || true
  timeout 20 "$WINESERVER" -k >/dev/null 2>&1 || true
  wait "$app_pid" 2>/dev/null || true
}

# --- The test program: can Wine run a window of Vapora's kind at all? ----------------

hello_flows() {
  local exe=$1 title wid
  start_program "$exe"
  if ! title=$(wait_title_prefix "hello_window client" 60); then
    echo "Wine cannot start a window: $exe showed none within 60 s (log: $OUT/hello_window.log)"
    fail "test window appears"
    stop_program
    return 1
  fi
  pass "test window appears: $title"
  # The client the Linux layer gives the 1000 x 700 window, so the charts compare 1:1.
  if [[ "$title" == *"client 994x671 at 3,26" ]]; then
    pass "Wine's frame leaves the 994 x 671 client at (3, 26)"
  else
    fail "Wine's frame metrics: ${title#hello_window } (wanted client 994x671 at 3,26)"
  fi
  wid=$(wait_window "$title" 5)
  shot "$wid" "$OUT/hello-paint.png"
  if [ "$(python3 "$HERE/pixels.py" count "$OUT/hello-paint.png" 255,255,0)" -gt 3000 ]; then
    pass "test window paints its yellow frame"
  else
    fail "test window paints its yellow frame"
  fi
  move_to "$wid" 300 500
  sleep 0.5
  shot "$wid" "$OUT/hello-move.png"
  local at
  at=$(python3 "$HERE/pixels.py" pixel "$OUT/hello-move.png" 310 510)
  if [ "$at" = "0,128,0" ]; then
    pass "a mouse move reaches the test window at the cursor's position"
  else
    fail "a mouse move reaches the test window at the cursor's position (pixel $at)"
  fi
  focus "$wid"
  xdotool key a
  local box
  if box=$(wait_window "hello_window box" 10); then
    pass "a key opens the test window's message box"
    focus "$box"
    xdotool key Escape
    if wait_gone "hello_window box" 10; then pass "Escape closes the message box"
    else fail "Escape closes the message box"; fi
  else
    fail "a key opens the test window's message box"
  fi
  focus "$wid"
  xdotool key alt+F4
  if wait_program 20 && [ "$program_status" = 0 ]; then
    pass "Alt+F4 ends the test program with status 0"
  else
    fail "Alt+F4 ends the test program with status 0 (status $program_status)"
    stop_program
  fi
  timeout 30 "$WINESERVER" -w >/dev/null 2>&1 || true
}

# --- Vapora -----------------------------------------------------------------------------

# Client pixel of diagram point (s in J/(kg K), t in °C) for the 994 x 671 client: the
# window's own mapping, origin (20, 655), plot 972 x 653.
diagram_x() { echo $(( 20 + $1 * 972 / 10000 )); }
diagram_y() { echo $(( 655 - 653 * $1 / 700 )); }

vapora_flows() {
  local exe=$1 wid
  start_program "$exe"
  if ! wid=$(wait_window "Vapora 2.0" 60); then
    fail "main window \"Vapora 2.0\" appears within 60 s (log: $OUT/$(basename "$exe" .exe).log)"
    stop_program
    return 1
  fi
  pass "main window \"Vapora 2.0\" appears"
  local size
  size=$(window_size "$wid")
  [ "$size" = "994 671" ] && pass "main window's client is 994 x 671" ||
    fail "main window's client is 994 x 671 (it is ${size/ / x })"

  # First paint: the isolines take a moment; poll until the dome's pixels are all there.
  local i ok=""
  for i in $(seq 1 40); do
    shot "$wid" "$OUT/vapora-paint.png"
    if python3 "$HERE/pixels.py" first-paint "$OUT/vapora-paint.png" >"$OUT/first-paint.txt"; then
      ok=1; break
    fi
    sleep 0.5
  done
  if [ -n "$ok" ]; then pass "$(cat "$OUT/first-paint.txt")"
  else fail "$(cat "$OUT/first-paint.txt")"; fi

  if [ -n "$CHART" ]; then
    if "$CHART" "$OUT/linux-chart.png" &&
        python3 "$HERE/pixels.py" compare "$OUT/vapora-paint.png" "$OUT/linux-chart.png" \
          >"$OUT/compare.txt"; then
      pass "curve pixels agree with the Linux vapora-chart"
    else
      fail "curve pixels agree with the Linux vapora-chart"
    fi
    sed 's/^/    /' "$OUT/compare.txt"
  fi

  # Readout: two diagram points, two different panels.
  local a b
  move_to "$wid" "$(diagram_x 6000)" "$(diagram_y 300)"
  sleep 0.7
  shot "$wid" "$OUT/vapora-readout-1.png"
  move_to "$wid" "$(diagram_x 2000)" "$(diagram_y 100)"
  sleep 0.7
  shot "$wid" "$OUT/vapora-readout-2.png"
  a=$(python3 "$HERE/pixels.py" readout "$OUT/vapora-readout-1.png") || a=""
  b=$(python3 "$HERE/pixels.py" readout "$OUT/vapora-readout-2.png") || b=""
  if [ -n "$a" ] && [ -n "$b" ] && [ "${a#* }" != "${b#* }" ]; then
    pass "mouse moves show the green readout, and it follows the cursor"
  else
    fail "mouse moves show the green readout, and it follows the cursor (${a:-no panel} / ${b:-no panel})"
  fi
  # The panel stands where the Linux chart puts it for a point.
  if [ -n "$CHART" ] && [ -n "$a" ]; then
    local linux_box
    if "$CHART" "$OUT/linux-readout.png" --point 6.0 300 &&
        linux_box=$(python3 "$HERE/pixels.py" readout "$OUT/linux-readout.png") &&
        [ "${linux_box%% *}" = "${a%% *}" ]; then
      pass "the readout panel's box (${a%% *}) is the Linux chart's"
    else
      fail "the readout panel's box: ${a%% *} under Wine, ${linux_box%% *} on Linux"
    fi
  fi

  # A key opens the data-input dialog; Esc leaves it open (it has no cancel); two typed
  # points and Calculate give the results dialog, whose Close button ends it.
  local input results
  focus "$wid"
  xdotool key a
  if input=$(wait_window "Data input window" 10); then
    pass "a key opens the data-input dialog"
    focus "$input"
    xdotool key Escape
    sleep 1
    if wait_window "Data input window" 1 >/dev/null; then
      pass "Esc leaves the data-input dialog open"
    else
      fail "Esc leaves the data-input dialog open"
    fi
    click_dlu "$input" 62 76 180 166;  xdotool type --delay 50 300
    click_dlu "$input" 62 91 180 166;  xdotool type --delay 50 10
    click_dlu "$input" 152 76 180 166; xdotool type --delay 50 200
    click_dlu "$input" 152 91 180 166; xdotool type --delay 50 5
    click_dlu "$input" 135 138 180 166
    if results=$(wait_window "Results" 20); then
      pass "two typed points (300 C, 10 bar; 200 C, 5 bar) and Calculate open the results"
      wait_gone "Data input window" 5 && pass "Calculate closes the data-input dialog" ||
        fail "Calculate closes the data-input dialog"
      shot "$wid" "$OUT/vapora-process.png"
      if [ "$(python3 "$HERE/pixels.py" count "$OUT/vapora-process.png" 255,0,0)" -ge 30 ]; then
        pass "the two points are marked and joined in red"
      else
        fail "the two points are marked and joined in red"
      fi
      click_dlu "$results" 100 157 200 170
      wait_gone "Results" 10 && pass "the results dialog's Close button ends it" ||
        fail "the results dialog's Close button ends it"
      # What the dialogs covered is repainted (while they are open a screenshot of the
      # main window shows black there: X keeps no copy of a covered part).
      if [ -n "$CHART" ]; then
        ok=""
        for i in $(seq 1 20); do
          shot "$wid" "$OUT/vapora-after-dialogs.png"
          if python3 "$HERE/pixels.py" compare "$OUT/vapora-after-dialogs.png" \
              "$OUT/linux-chart.png" >"$OUT/compare-after-dialogs.txt"; then
            ok=1; break
          fi
          sleep 0.5
        done
        [ -n "$ok" ] && pass "the main window repaints what the dialogs covered" ||
          { fail "the main window repaints what the dialogs covered"
            sed 's/^/    /' "$OUT/compare-after-dialogs.txt"; }
      fi
    else
      fail "two typed points and Calculate open the results"
    fi
  else
    fail "a key opens the data-input dialog"
  fi

  # Two clicks in the diagram fix the start and end points and open the results.
  local clicks_before clicks_after
  clicks_before=$(python3 "$HERE/pixels.py" count "$OUT/vapora-after-dialogs.png" 255,0,0 2>/dev/null || echo 0)
  move_to "$wid" "$(diagram_x 6500)" "$(diagram_y 450)"; sleep 0.3; xdotool click 1; sleep 0.5
  move_to "$wid" "$(diagram_x 8000)" "$(diagram_y 150)"; sleep 0.3; xdotool click 1
  if results=$(wait_window "Results" 20); then
    pass "two clicks in the diagram open the results"
    # The dialog opens near the top left, away from the two clicked points.
    shot "$wid" "$OUT/vapora-clicks.png"
    clicks_after=$(python3 "$HERE/pixels.py" count "$OUT/vapora-clicks.png" 255,0,0)
    if [ "$clicks_after" -ge $((clicks_before + 30)) ]; then
      pass "the clicked points are marked and joined in red"
    else
      fail "the clicked points are marked and joined in red ($clicks_before red pixels before, $clicks_after after)"
    fi
    click_dlu "$results" 100 157 200 170
    wait_gone "Results" 10 || fail "the results dialog's Close button ends it (after the clicks)"
  else
    fail "two clicks in the diagram open the results"
  fi

  # Alt with "/" opens the About box; Esc closes it.
  local about
  focus "$wid"
  xdotool key alt+slash
  if about=$(wait_window "Informazioni su Vapora 2.0" 10); then
    pass "Alt+/ opens the About box"
    focus "$about"
    xdotool key Escape
    wait_gone "Informazioni su Vapora 2.0" 10 && pass "Esc closes the About box" ||
      fail "Esc closes the About box"
  else
    fail "Alt+/ opens the About box"
  fi

  # Closing the main window ends the program with status 0.
  wait_gone "Results" 1; wait_gone "Data input window" 1
  focus "$wid"
  xdotool key alt+F4
  if wait_program 20 && [ "$program_status" = 0 ]; then
    pass "closing the main window ends the program with status 0"
  else
    fail "closing the main window ends the program with status 0 (status $program_status)"
    stop_program
  fi
}
