#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test; builds the Debian package and
# checks what it installs and how the installed program starts; then builds the tests again, the
# window tests included, with the address and undefined-behaviour sanitizers and runs them.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh

export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2
ctest --test-dir build --output-on-failure

# ---- The Debian package ----

fail() {
  echo "package check failed: $*" >&2
  if [ -s "${work:-}/program.log" ]; then
    tail -n 40 "$work/program.log" | sed 's/^/  program: /' >&2
  fi
  exit 1
}

bash scripts/package.sh
packages=(build/package/*.deb)
if [ ${#packages[@]} -ne 1 ] || [ ! -f "${packages[0]}" ]; then
  fail "expected one package in build/package/"
fi
package="${packages[0]}"

app_id=example.kalmir.Kalmir
desktop_entry="usr/share/applications/$app_id.desktop"
metainfo="usr/share/metainfo/$app_id.metainfo.xml"
icon="usr/share/icons/hicolor/scalable/apps/kalmir.svg"
program="usr/bin/kalmir"

echo "== The package holds the program, the desktop entry, the icon and the metainfo"
contents="$(dpkg-deb -c "$package" | awk '{ print $NF }')"
for path in "$program" "$desktop_entry" "$icon" "$metainfo"; do
  grep -qxF "./$path" <<<"$contents" || fail "$path is not in the package"
done
dpkg-deb -f "$package" Depends | grep -qw libqt6widgets6 || fail "the dependencies miss the Qt libraries the program links"

work="$(mktemp -d)"
cleanup() {
  chmod -R u+w "$work"
  rm -rf "$work"
}
trap cleanup EXIT
root="$work/root"
dpkg-deb -x "$package" "$root"

echo "== The desktop entry and the metainfo are valid and name what the package installs"
desktop-file-validate "$root/$desktop_entry"
appstreamcli validate --no-net "$root/$metainfo"
grep -qx "Exec=$(basename "$program")" "$root/$desktop_entry" || fail "the desktop entry starts another program"
grep -qx "Icon=$(basename "$icon" .svg)" "$root/$desktop_entry" || fail "the desktop entry names another icon"
grep -qF "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$root/$metainfo" \
  || fail "the metainfo launches another desktop entry"

# The program runs as a user who cannot write its folder: as root that is nobody, since root may
# write anywhere. Its home and data folders are fresh ones of that user.
runner=()
if [ "$(id -u)" -eq 0 ]; then
  runner=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
# give_to_runner FOLDER: the program's user owns FOLDER and what it holds.
give_to_runner() {
  if [ ${#runner[@]} -gt 0 ]; then
    chown -R nobody:nogroup "$1"
  fi
}
chmod 755 "$work"
user_home="$work/home"
mkdir -p "$user_home/data" "$user_home/config" "$user_home/cache" "$user_home/runtime"
chmod 700 "$user_home/runtime"
give_to_runner "$user_home"
# The plugin that closes each window once shown, so that the program saves and ends by itself.
mkdir -p "$work/plugins/generic"
cp build/tests/plugins/generic/libcloseonshow.so "$work/plugins/generic/"

# run_program EXECUTABLE SECONDS [closed]: starts it offscreen for at most SECONDS; with "closed"
# its windows close as soon as they show. Prints the exit status (124: stopped by the timeout).
run_program() {
  local environment=(PATH=/usr/bin:/bin HOME="$user_home" LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen
    XDG_DATA_HOME="$user_home/data" XDG_CONFIG_HOME="$user_home/config" XDG_CACHE_HOME="$user_home/cache"
    XDG_RUNTIME_DIR="$user_home/runtime")
  if [ "${3:-}" = closed ]; then
    environment+=(QT_PLUGIN_PATH="$work/plugins" QT_QPA_GENERIC_PLUGINS=closeonshow)
  fi
  local status=0
  timeout "$2" "${runner[@]}" env -i "${environment[@]}" "$1" >>"$work/program.log" 2>&1 || status=$?
  echo "$status"
}

# run_closed EXECUTABLE: runs it with its windows closed as soon as they show; it must then end by itself.
run_closed() {
  local status
  status="$(run_program "$1" 20 closed)"
  [ "$status" -eq 0 ] || fail "the program did not end by itself after its window closed (status $status)"
}

# listing FOLDER: every file and folder under FOLDER with its size and time of change.
listing() {
  find "$1" -printf '%p %s %T@\n' | sort
}

# Two records in the data file's own format (Windows-1251, CR LF), out of name order: the close
# writes them back in order, which shows that they were both read and written.
records_file() {
  printf '%s\r\n' "$@" | iconv -f UTF-8 -t CP1251
}
unordered_records=("Петров|Склад,01.02.2003,04.05.2006&" "Иванов|Завод,01.09.1995,31.08.2001&")
ordered_records=("Иванов|Завод,01.09.1995,31.08.2001&" "Петров|Склад,01.02.2003,04.05.2006&")
records_file "${ordered_records[@]}" >"$work/ordered.ini"

echo "== Closed by itself, the unpacked program keeps its records beside it in a folder it can write"
writable="$work/writable"
mkdir "$writable"
cp "$root/$program" "$writable/"
records_file "${unordered_records[@]}" >"$writable/u.ini"
give_to_runner "$writable"
run_closed "$writable/kalmir"
cmp -s "$work/ordered.ini" "$writable/u.ini" || fail "the close did not write the records back in order"

echo "== The unpacked program starts offscreen from a folder it cannot write"
chmod -R a-w "$root"
"${runner[@]}" test ! -w "$root/usr/bin" || fail "the program's folder is writable: the check would show nothing"
before="$(listing "$root")"
status="$(run_program "$root/$program" 3)"
[ "$status" -eq 124 ] || fail "the program ended with status $status instead of running until stopped"
[ "$(listing "$root")" = "$before" ] || fail "the program wrote into its folder"

# With its own folder read-only, the program keeps its records in the per-user data folder: at the
# first start those it finds beside itself, from then on those of the per-user data file.
check_records_in_user_data_folder() {
  echo "== With its folder read-only, the program keeps its records in the per-user data folder"
  # The run until stopped above ended by its close, which wrote an empty per-user file: start afresh.
  find "$user_home/data" -mindepth 1 -delete
  chmod u+w "$root/usr/bin"
  records_file "${unordered_records[@]}" >"$root/usr/bin/u.ini"
  chmod -R a-w "$root"
  local before
  before="$(listing "$root")"

  run_closed "$root/$program"
  [ "$(listing "$root")" = "$before" ] || fail "the program wrote into its folder"
  local saved
  mapfile -t saved < <(find "$user_home/data" -name u.ini)
  [ ${#saved[@]} -eq 1 ] || fail "expected one u.ini in the per-user data folder, found ${#saved[@]}"
  cmp -s "$work/ordered.ini" "${saved[0]}" || fail "the per-user data file does not hold the records found at start"

  # Once it exists, the per-user file is the one read at start.
  records_file "Сидоров|Школа,01.09.2010,31.05.2015&" >"$work/own.ini"
  cp "$work/own.ini" "${saved[0]}"
  run_closed "$root/$program"
  cmp -s "$work/own.ini" "${saved[0]}" || fail "the program did not start from the per-user data file"
}
check_records_in_user_data_folder

# ---- The sanitizer build ----

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKALMIR_SANITIZE=ON -DKALMIR_BENCH=OFF -DKALMIR_APP=ON
cmake --build build-sanitize -j2
ctest --test-dir build-sanitize --output-on-failure
