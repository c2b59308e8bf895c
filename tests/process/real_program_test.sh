#!/usr/bin/env bash
# The real program in a child process, on an X server of its own with a window manager, played
# with the keyboard as a player would, on the folders a desktop can give it:
#   size-limited  a file-size limit (ulimit -f) lower than the settings file
#   read-only     a program folder the player cannot write, holding the player's settings and
#                 records, under a limit lower than the help document
#   fifo          FIFOs named Quorvin.inf and Quorvin.dat
# In each the program must start, say in Spanish what it could not do (and nothing when all
# went well), go on, close normally and leave only the files the player expects.
# Usage: real_program_test.sh <case> <program> <help document>
set -euo pipefail
[[ -n ${QUORVIN_TRACE:-} ]] && set -x
case=$1 program=$2 help=$3

work=$(mktemp -d)
chmod 755 "$work"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL ($case): $*" >&2
    [[ -n ${QUORVIN_SHOT:-} ]] && import -window root "$QUORVIN_SHOT" # a screenshot, on request
    echo "--- the program's messages:" >&2
    cat "$work/stderr" >&2 || true
    exit 1
}

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.05; done
export DISPLAY=:$(cat "$work/display")
# The window manager runs its start-up command once it manages windows; a window mapped before
# that may never be managed.
openbox --sm-disable --startup "touch $work/wm-ready" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 200); do [[ -e $work/wm-ready ]] && break; sleep 0.05; done

# The program's visible window whose title is exactly $1, other than $2; its id on stdout.
window() {
    local deadline=$((SECONDS + 15)) w
    while ((SECONDS < deadline)); do
        for w in $(xdotool search --onlyvisible --class quorvin 2>/dev/null); do
            [[ $w != "${2:-}" && "$(xdotool getwindowname "$w" 2>/dev/null)" == "$1" ]] && { echo "$w"; return; }
        done
        sleep 0.1
    done
    fail "no window \"$1\" (other than ${2:-none})"
}
# A key typed on a window, held as briefly as a player holds it.
type_on() {
    xdotool windowactivate --sync "$1" 2>/dev/null || true
    xdotool keydown "$2"; sleep 0.05; xdotool keyup "$2"
}

prog=$work/program home=$work/home
mkdir -p "$prog" "$home"
cp "$program" "$help" "$prog/"
run=(env HOME="$home" XDG_DATA_HOME="$home/data" XDG_CACHE_HOME="$home/cache"
     XDG_RUNTIME_DIR="$home/run" QT_QPA_PLATFORM=xcb)
limit=unlimited
case $case in
size-limited)
    limit=0 ;;
read-only)
    printf '"NIVEL (5-15):"\r\n5\r\n"COLORES (2-4):"\r\n3\r\n"INICIO (0-8):"\r\n8\r\n"CONTINUADO (0/1):"\r\n0\r\n' >"$prog/Quorvin.inf"
    printf '" 123  2024/03/07 Ana        3  5x5    Vac\xEDo"\r\n' >"$prog/Quorvin.dat"
    chmod 555 "$prog"
    limit=4 # KiB: the settings and records fit, the help document does not
    # The superuser writes anywhere: the player is an ordinary account.
    if ((EUID == 0)); then
        chown -R 65534:65534 "$home"
        run=(setpriv --reuid=65534 --regid=65534 --clear-groups "${run[@]}")
    fi ;;
fifo)
    mkfifo "$prog/Quorvin.inf" "$prog/Quorvin.dat" ;;
*) fail "unknown case" ;;
esac

# The program's messages go through a pipe, which the file-size limit does not touch.
# Every step execs the next, so the pid noted first is the program's.
( bash -c 'echo $$ >"$1/pid"; shift; exec "$@"' _ "$work" \
      "${run[@]}" bash -c 'ulimit -f "$1"; exec "$2"' _ "$limit" "$prog/quorvin" 2>&1 |
  cat >"$work/stderr"; echo "${PIPESTATUS[0]}" >"$work/status" ) &
for _ in $(seq 100); do [[ -s $work/pid ]] && break; sleep 0.05; done
pids+=("$(cat "$work/pid")")

about=$(window Quorvin)
type_on "$about" Return
case $case in
size-limited)
    type_on "$(window Quorvin "$about")" Return
    grep -q "No se pudo guardar la configuración" "$work/stderr" || fail "no word of the settings" ;;
fifo)
    settings=$(window Quorvin "$about")
    type_on "$settings" Return
    type_on "$(window Quorvin "$settings")" Return
    grep -q "No se pudo leer el archivo de configuración" "$work/stderr" || fail "no word of the settings"
    grep -q "No se pudo leer el archivo de records" "$work/stderr" || fail "no word of the records" ;;
esac
game=$(window "Quorvin 1.0")
if [[ $case == read-only ]]; then
    # The player's 5 x 5 board: a client area 1395 + 300 x 5 twips wide, 15 twips a pixel.
    width=$(xdotool getwindowgeometry "$game" | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
    ((width == 193)) || fail "a board of another size ($width pixels wide)"
fi
type_on "$game" alt+F4
for _ in $(seq 100); do [[ -s $work/status ]] && break; sleep 0.1; done
status=$(cat "$work/status" 2>/dev/null || echo "still running")
[[ $status == 0 ]] || fail "ended with $status"

# What the folders hold now.
expect() {
    local got
    got=$(cd "$1" && ls -A | tr '\n' ' ')
    [[ $got == "$2" ]] || fail "$1 holds: $got; expected: $2"
}
case $case in
size-limited)
    expect "$prog" "Quorvin.dat quorvin quorvin.hlp " ;;
read-only)
    data=$home/data/Quorvin
    expect "$prog" "Quorvin.dat Quorvin.inf quorvin quorvin.hlp "
    expect "$data" "Quorvin.dat Quorvin.inf "
    cmp -s "$prog/Quorvin.inf" "$data/Quorvin.inf" || fail "the settings were not copied whole"
    cmp -s "$prog/Quorvin.dat" "$data/Quorvin.dat" || fail "the records were not copied whole"
    [[ ! -s $work/stderr ]] || fail "a message where all went well" ;;
fifo)
    expect "$prog" "Quorvin.dat Quorvin.inf quorvin quorvin.hlp "
    [[ -p $prog/Quorvin.dat && -p $prog/Quorvin.inf ]] || fail "a FIFO was replaced" ;;
esac
echo "ok ($case)"
