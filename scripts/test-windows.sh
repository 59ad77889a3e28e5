#!/usr/bin/env bash
# Builds the Windows programs and their tests on Linux and runs them under
# Wine: the unit and widget tests; the demo under a virtual X server (a
# screenshot is kept); travenor-cli.exe against travenor-sim through a Wine
# COM port, its table compared byte for byte with the Linux program's; the
# installer and the zip, their DLLs checked, installed and uninstalled.
# Needs the Linux build (build/travenor-sim, build/travenor-cli) first.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
dir=${TRAVENOR_WINDOWS_BUILD:-build-windows}

echo "== Windows build"
./scripts/build-windows.sh "$dir" -DTRAVENOR_TESTS=ON -DTRAVENOR_WERROR=ON
for tool in build/travenor-sim build/travenor-cli; do
  [ -x "$tool" ] || { echo "test-windows.sh: $tool is missing: build for Linux first" >&2; exit 1; }
done
missing=()
for p in xvfb xauth imagemagick x11-utils xdotool unzip; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# A Wine prefix of the tests' own: the fonts the Linux tests use, COM3 led
# to the simulator's link and every other COM port to nothing (Wine would
# make COM1 of the machine's /dev/ttyS0, where its serial wait never ends).
work=$root/$dir/wine-test
rm -rf "$work"
mkdir -p "$work"
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEARCH=win64
qt=/opt/qt6-mingw
mingw_gcc=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
export WINEPATH="Z:${qt//\//\\}\\bin;Z:${mingw_gcc//\//\\};Z:\\usr\\x86_64-w64-mingw32\\lib"
export QT_PLUGIN_PATH="Z:${qt//\//\\}\\plugins"
wineboot -i >/dev/null 2>&1
sim_link=$work/ttySIM
for n in $(seq 1 16); do
  device=/nonexistent/ttyNONE$n
  [ "$n" = 3 ] && device=$sim_link
  wine reg add 'HKLM\Software\Wine\Ports' /v "COM$n" /t REG_SZ /d "$device" /f >/dev/null 2>&1
done
for font in /usr/share/fonts/truetype/*/*; do ln -sf "$font" "$WINEPREFIX/drive_c/windows/Fonts/"; done
wineserver -k || true

echo "== unit and widget tests under Wine"
# Left out under Wine, and why: the PDF test reads the PDF back with
# poppler's pdftotext, a Linux program a Windows program cannot start; the
# caption and font tests measure the faces of the machine, and the prefix has
# neither SimSun nor MS Sans Serif (Wine draws the Linux stand-ins wider).
wine_only_filter='-PrintOutput.APdfHoldsTheTableLineByLineOnAsManyPagesAsItTakes:MainWindow.FontsOfTheReadings:MainWindow.FixedCaptionsFitTheirLabels:PrintingTest.Form2ControlsAsLaidOut'
ran=0
for suite in unit_tests widget_tests; do
  log=$work/$suite.log
  QT_QPA_PLATFORM=offscreen wine "$dir/tests/$suite.exe" --gtest_filter="$wine_only_filter" \
    >"$log" 2>&1 || { tail -40 "$log"; echo "$suite failed under Wine" >&2; exit 1; }
  count=$(tr -d '\r' <"$log" | sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?\.$/\1/p')
  [ -n "$count" ] && [ "$count" -gt 0 ] || { tail -20 "$log"; echo "$suite ran no test" >&2; exit 1; }
  echo "$suite.exe under Wine: $count passed"
  ran=$((ran + count))
done

echo "== travenor-cli.exe through COM3 under Wine"
# The way round Wine 8's serial wait, for the tests only (tests/wine/): a
# preloaded library that lets a pseudo-terminal answer as a serial line, and
# a stand-in setupapi.dll beside a copy of the program that gives Qt's
# serial wait an event and posts its end to the completion port.
gcc -shared -fPIC -O2 -Wall -o "$work/pty-serial-shim.so" tests/wine/pty-serial-shim.c -ldl
mkdir -p "$work/cli"
x86_64-w64-mingw32-gcc-posix -shared -O2 -Wall -Wno-cast-function-type -Wl,--kill-at \
  -o "$work/cli/setupapi.dll" tests/wine/comm-completion-hook.c
cp "$dir/travenor-cli.exe" "$work/cli/"
# Now and then (one cold start of Wine in five, measured) a program that
# opens COM3 gets not one byte onto the line: its writes stay inside Wine, the
# simulator hears nothing, and the program waits for answers that cannot
# come. That run says nothing about the program, so a run on COM3 that the
# simulator has not heard from within 10 s (or at all) is stopped and made
# again against a fresh simulator, three times at most, and counted.
wine_cli() {
  local on_com3="" attempt rc waited
  case " $* " in *" --port 3 "*) on_com3=yes ;; esac
  for attempt in 1 2 3; do
    [ "$attempt" -gt 1 ] && start_sim "${sim_args[@]}"
    WINEDLLOVERRIDES=setupapi=n LD_PRELOAD=$work/pty-serial-shim.so \
      timeout 120 wine "$work/cli/travenor-cli.exe" "$@" >"$work/attempt.out" 2>"$work/attempt.err" &
    local pid=$!
    waited=0
    while kill -0 "$pid" 2>/dev/null; do
      if [ -n "$on_com3" ] && [ "$waited" -ge 100 ] && ! heard_from_program; then
        kill "$pid" 2>/dev/null || true
        wineserver -k 2>/dev/null || true
      fi
      sleep 0.1
      waited=$((waited + 1))
    done
    rc=0
    wait "$pid" || rc=$?
    if [ -z "$on_com3" ] || heard_from_program || [ "$attempt" = 3 ]; then break; fi
    echo "$*: attempt $attempt (exit $rc) never reached COM3" >>"$work/unheard.log"
  done
  cat "$work/attempt.out"
  cat "$work/attempt.err" >&2
  return "$rc"
}
heard_from_program() { grep -q '^ *[0-9.]* in ' "$work/sim.log" 2>/dev/null; }
sim_pid=""
sim_args=()
start_sim() {
  stop_sim
  sim_args=("$@")
  rm -f "$sim_link" "$work/sim.log"
  build/travenor-sim --link "$sim_link" --log "$work/sim.log" "$@" >/dev/null 2>&1 &
  sim_pid=$!
  for _ in $(seq 100); do [ -L "$sim_link" ] && return 0; sleep 0.05; done
  echo "travenor-sim did not start" >&2; exit 1
}
stop_sim() {
  if [ -n "$sim_pid" ]; then kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; fi
  sim_pid=""
}
trap stop_sim EXIT
cli_checks=0
expect_exit() {  # expect_exit CODE WHAT COMMAND...
  local want=$1 what=$2; shift 2
  local got=0
  "$@" >"$work/out" 2>"$work/err" || got=$?
  if [ "$got" != "$want" ]; then
    echo "$what: exit $got, wanted $want"; cat "$work/err"; exit 1
  fi
  cli_checks=$((cli_checks + 1))
}
start_sim --records 200 --seed 7
expect_exit 0 "Linux download" build/travenor-cli download --device "$sim_link" --quiet
cp "$work/out" "$work/linux-table.txt"
start_sim --records 200 --seed 7
expect_exit 0 "Windows download on COM3" wine_cli download --port 3 --quiet
cmp "$work/linux-table.txt" "$work/out" || { echo "the tables differ"; exit 1; }
echo "200 records on COM3: the table is the Linux program's, byte for byte"
# A PDF report of that table on Windows: the verdicts and rows of the Linux
# program's report. The fonts differ, so may the page breaks; the words do not.
linux_report=0
build/travenor-cli report "$work/linux-table.txt" --class 0.5 --rated-primary 600 \
  -o "$work/linux-report.pdf" 2>/dev/null || linux_report=$?
expect_exit "$linux_report" "a PDF report on Windows" wine_cli report "$work/linux-table.txt" \
  --class 0.5 --rated-primary 600 -o "$work/windows-report.pdf"
for side in linux windows; do
  pdftotext -layout "$work/$side-report.pdf" "$work/$side-report-all.txt"
  tr -s ' ' <"$work/$side-report-all.txt" |
    grep -E '^ ?([0-9]+ [RST-] |Verdict|all )' >"$work/$side-report.txt"
done
[ "$(wc -l <"$work/windows-report.txt")" -gt 200 ] || { echo "the Windows report holds no records"; exit 1; }
pages=$(pdfinfo "$work/windows-report.pdf" | awk '/^Pages:/ {print $2}')
grep -q "page $pages of $pages *\$" "$work/windows-report-all.txt" || { echo "the Windows report's last page is not page $pages of $pages"; exit 1; }
diff "$work/linux-report.txt" "$work/windows-report.txt" \
  || { echo "the Windows report differs from the Linux one"; exit 1; }
echo "the PDF report from Windows: $(grep -c . "$work/windows-report.txt") lines as the Linux one's"
start_sim --records 40 --silent-after-record 17 --no-line-delay
expect_exit 3 "a download stopped short" wine_cli download --port 3 --quiet
grep -q "Read stopped after record 17 of 40" "$work/err" || { cat "$work/err"; exit 1; }
stop_sim
expect_exit 1 "a port with no device" wine_cli download --port 5 --quiet
grep -q "cannot open COM5" "$work/err" || { cat "$work/err"; exit 1; }
echo "travenor-cli.exe: $cli_checks exit codes as they should be"
if [ -s "$work/unheard.log" ]; then
  echo "runs made again since Wine put none of their bytes on COM3:"; cat "$work/unheard.log"
fi

echo "== the demo under Xvfb"
export DISPLAY=:97
Xvfb "$DISPLAY" -screen 0 1280x900x24 >/dev/null 2>&1 &
xvfb_pid=$!
trap 'stop_sim; kill $xvfb_pid 2>/dev/null || true' EXIT
sleep 1
wine "$dir/travenor-demo.exe" >/dev/null 2>&1 &
demo_pid=$!
shown=""
for _ in $(seq 60); do
  if xwininfo -root -tree 2>/dev/null | grep -q '"Travenor '; then shown=yes; break; fi
  sleep 0.5
done
[ -n "$shown" ] || { echo "the demo's window did not appear" >&2; exit 1; }
sleep 4
window=$(xdotool search --name '^Travenor ' | head -n 1)
import -window "$window" "$work/demo-linked.png"
# Read: a click on the Read button (Command2, 480+120 by 1200+240 twips into
# the window's Operation frame), as a user would.
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove --window "$window" 791 207 click 1
sleep 6
import -window "$window" "$work/demo-read.png"
# The table box before and after: the records darken it.
table_ink() { convert "$1" -crop 680x340+10+240 -colorspace Gray -format '%[fx:1-mean]' info:; }
before=$(table_ink "$work/demo-linked.png")
after=$(table_ink "$work/demo-read.png")
echo "table box ink: $before before Read, $after after"
awk -v b="$before" -v a="$after" 'BEGIN { exit !(a > b + 0.02) }' \
  || { echo "Read did not fill the table of the demo under Wine"; exit 1; }
kill "$demo_pid" 2>/dev/null || true
wineserver -k || true
echo "screenshots: $work/demo-linked.png $work/demo-read.png"

echo "== installer and zip"
(cd "$dir" && cpack -G NSIS >/dev/null && cpack -G ZIP >/dev/null)
setup=$(ls "$dir"/travenor-*-win64-setup.exe)
zip=$(ls "$dir"/travenor-*-win64.zip)
rm -rf "$work/unzipped" && mkdir -p "$work/unzipped" && (cd "$work/unzipped" && unzip -q "$root/$zip")
folder=$(ls -d "$work"/unzipped/*/)
# Every DLL a program or library of the folder imports is in the folder or
# is Windows' own.
system32=$WINEPREFIX/drive_c/windows/system32
missing_dll=0
while IFS= read -r binary; do
  for dll in $(x86_64-w64-mingw32-objdump -p "$binary" | sed -n 's/^\s*DLL Name: //p'); do
    lower=$(tr 'A-Z' 'a-z' <<<"$dll")
    case "$lower" in api-ms-win-* | ext-ms-win-*) continue ;; esac  # Windows' API sets
    if ! find "$folder" -maxdepth 2 -iname "$dll" | grep -q . && [ ! -e "$system32/$lower" ]; then
      echo "$(basename "$binary") imports $dll, which the package lacks"; missing_dll=1
    fi
  done
done < <(find "$folder" -iname '*.exe' -o -iname '*.dll')
[ "$missing_dll" = 0 ] || exit 1
for needed in travenor.exe travenor-demo.exe travenor-cli.exe qt.conf LICENSE.txt \
  platforms/qwindows.dll styles/qwindowsvistastyle.dll imageformats/qsvg.dll \
  imageformats/qico.dll iconengines/qsvgicon.dll libstdc++-6.dll libwinpthread-1.dll; do
  [ -e "$folder/$needed" ] || { echo "the package lacks $needed"; exit 1; }
done
echo "package: every imported DLL is in it; $(find "$folder" -type f | wc -l) files"
# Installed silently, run with nothing of the build on the path, uninstalled.
unset WINEPATH QT_PLUGIN_PATH
wine "$setup" /S
installed="$WINEPREFIX/drive_c/Program Files/Travenor"
[ -x "$installed/travenor-cli.exe" ] || { echo "the installer put nothing in Program Files"; exit 1; }
version=$(wine "$installed/travenor-cli.exe" --version | tr -d '\r')
[ "$version" = "travenor-cli $(sed -n 's/^project(travenor VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)" ] \
  || { echo "installed travenor-cli.exe --version said: $version"; exit 1; }
ls "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Travenor/" | grep -q "Travenor.lnk" \
  || { echo "no Start-menu entry"; exit 1; }
wine "$installed/Uninstall.exe" /S
for _ in $(seq 40); do [ -e "$installed/travenor-cli.exe" ] || break; sleep 0.5; done
[ ! -e "$installed/travenor-cli.exe" ] || { echo "the uninstaller left the programs"; exit 1; }
wineserver -k || true
echo "installer: installed, ran ($version), uninstalled"
echo "Windows: $ran passed, 0 failed"
