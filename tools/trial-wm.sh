# Sourced by the trial scripts: starts the window manager a trial asks for
# on the current (virtual) display.
#   start_window_manager none|twm|openbox FOLDER
# twm gets a configuration in FOLDER that keeps programs' own placement.
start_window_manager() {
  case $1 in
    none) ;;
    twm)
      printf 'RandomPlacement\nUsePPosition "on"\n' > "$2/twmrc"
      twm -f "$2/twmrc" > /dev/null 2>&1 &
      sleep 1 ;;
    openbox) openbox > /dev/null 2>&1 & sleep 1 ;;
    *) echo "unknown window manager $1" >&2; exit 2 ;;
  esac
}
