# Sourced by the scripts that drive Lorvik's window on an X display (make demo, the soak run,
# the installer test). tests/e2e/program_cases.py keeps the same places for Python.

# "btn_newtoken" in the 800 x 600 window: 200 x 50, centred, at the top of the body's last
# 80-pixel row (225 header + 270 body above it).
button_x=400
button_y=520

# lorvik_x_window SECONDS: waits up to SECONDS for the main window to show on the display and
# sets X, Y, WIDTH and HEIGHT to its place; false when it does not show.
lorvik_x_window() {
    local window
    window=$(timeout "$1" xdotool search --sync --onlyvisible --name '^Lorvik' | head -n1)
    [ -n "$window" ] || return 1
    eval "$(xdotool getwindowgeometry --shell "$window")"
}

# click_new_token: clicks "btn_newtoken" of the window lorvik_x_window found.
click_new_token() { xdotool mousemove $((X + button_x)) $((Y + button_y)) click 1; }

# lorvik_window: the main window's handle as Windows sees it (empty when there is none);
# needs PROCSAMPLE, the path of bench/soak/procsample.exe.
lorvik_window() { wine "$PROCSAMPLE" --window LorvikMainWnd 2>/dev/null | tr -d '\r'; }
