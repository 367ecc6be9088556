# Steps the end-to-end tests share; sourced by their scripts under Xvfb.

# In the main window $1: a log of 32 cm, then Ctrl+S and the name $2 in the
# name box (its title is entry 51 in Russian, the first run's language).
# Prints the base window's id once it shows; says what did not come and
# fails otherwise.
save_calculation() {
  local win=$1 name=$2 box base
  xdotool windowfocus --sync "$win"
  sleep 0.5
  xdotool type --delay 60 "32"
  xdotool key Return
  sleep 0.3
  xdotool key ctrl+s
  box=$(timeout 10 xdotool search --sync --onlyvisible --name 'Введите значение переменной' | head -n 1) || true
  [ -n "$box" ] || { echo "no name box" >&2; return 1; }
  xdotool windowfocus --sync "$box"
  xdotool type --delay 60 "$name"
  xdotool key Return
  base=$(timeout 10 xdotool search --sync --onlyvisible --name '^Список$' | head -n 1) || true
  [ -n "$base" ] || { echo "no base window" >&2; return 1; }
  echo "$base"
}
