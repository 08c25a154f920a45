#!/usr/bin/env bash
# The Windows package under Wine, as a user and an administrator meet it, in a fresh Wine
# prefix of its own (build/wineprefix-package): builds the package a second time (same
# identity), installs build/windows/OrvoPM-<version>-x64.msi silently, compares the
# installed files with the portable zip, checks the Start menu shortcut and the "Apps and
# features" entry, starts the installed program and takes a screenshot of its window
# (build/orvopm-installed.png), upgrades to a package of a higher version made from the
# same build, removes it, and checks that only the user's own settings and caches remain.
# Every step is one test case in a JUnit-style report that ./test.sh counts.
#   scripts/test-package.sh REPORT.xml
# Uses $DISPLAY when set (./test.sh's Xvfb), else starts an Xvfb of its own. Needs the
# Windows build and scripts/package.sh's output.
set -uo pipefail
cd "$(dirname "$0")/.."
top=$PWD
report=${1:?usage: scripts/test-package.sh REPORT.xml}
tools=scripts/packaging

export WINEPREFIX=$top/build/wineprefix-package WINEARCH=win64 WINEDEBUG=-all
# No Mono or Gecko installers (they cannot download here) and no menu entries on the host
# for the shortcuts the package makes.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

mkdir -p build
work=$(mktemp -d "$top/build/package-test.XXXXXX")  # beside the build, so hard links work
own_xvfb=""
cleanup() {
  wineserver -k 2>/dev/null
  [ -z "$own_xvfb" ] || kill "$own_xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
  own_xvfb=$!
  for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
  export DISPLAY=:$(cat "$work/display")
fi

# ---- the report -----------------------------------------------------------------------
cases=""
failures=0
total=0
xml_text() { sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g' -e 's/"/\&quot;/g' <<<"$1" | tr '\n' ' '; }
# step NAME FUNCTION: runs one check; what it prints on failure becomes the case's message.
step() {
  local name=$1 started=$SECONDS message rc
  message=$("$2" 2>&1)
  rc=$?
  total=$((total + 1))
  if [ $rc -eq 0 ]; then
    echo "package: ok   $name ($((SECONDS - started)) s)"
    cases+="    <testcase classname=\"package\" name=\"$name\" time=\"$((SECONDS - started))\"/>"$'\n'
  else
    failures=$((failures + 1))
    echo "package: FAIL $name ($((SECONDS - started)) s): $message" >&2
    cases+="    <testcase classname=\"package\" name=\"$name\" time=\"$((SECONDS - started))\">"
    cases+="<failure message=\"$(xml_text "$message")\"/></testcase>"$'\n'
  fi
}
write_report() {
  mkdir -p "$(dirname "$report")"
  {
    echo '<?xml version="1.0" encoding="UTF-8"?>'
    echo "<testsuites name=\"package\" tests=\"$total\" failures=\"$failures\" errors=\"0\" skipped=\"0\">"
    echo "  <testsuite name=\"package\" tests=\"$total\" failures=\"$failures\" errors=\"0\" skipped=\"0\">"
    printf '%s' "$cases"
    echo "  </testsuite>"
    echo "</testsuites>"
  } >"$report"
}

# ---- facts every step uses ------------------------------------------------------------
version=$(python3 $tools/pe_version.py build/windows/bin/OrvoPM.exe) || { write_report; exit 1; }
product=$(python3 $tools/pe_version.py build/windows/bin/OrvoPM.exe --string ProductName)
maker=$(python3 $tools/pe_version.py build/windows/bin/OrvoPM.exe --string CompanyName)
msi=build/windows/OrvoPM-$version-x64.msi
zip=build/windows/OrvoPM-$version-x64.zip
# The next release as the build would make it: the same files, a fourth version part one
# higher (the hardest case: Windows Installer compares only three), and one language file
# fewer, which the upgrade must take away.
IFS=. read -r v1 v2 v3 v4 <<<"$version"
dropped=$(cd build/windows/bin && ls Languages/*.ini | grep -v -x -F Languages/English.ini | head -n 1)
next_version=$v1.$v2.$v3.$((v4 + 1))
next_msi=$work/next/OrvoPM-$next_version-x64.msi
drive_c=$WINEPREFIX/drive_c
install_dir=$drive_c/Program\ Files/$product
install_win="C:\\Program Files\\$product"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
products_key='HKLM\Software\Classes\Installer\Products'

property() { msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' -v k="$2" '$1 == k {print $2}'; }
components() { msiinfo export "$1" Component | tail -n +4 | cut -f1,2 | sort; }
msiexec() { timeout 300 wine msiexec "$@" >>"$work/msiexec.log" 2>&1; }
# The values under a registry key's subkeys as "subkey<TAB>value name<TAB>data" lines.
registry_values() {
  wine reg query "$1" /s 2>/dev/null | tr -d '\r' | awk '
    /^HKEY_/ { key = $0; sub(/.*\\/, "", key); next }
    /^    [^ ]/ { line = substr($0, 5); n = index(line, "    "); name = substr(line, 1, n - 1)
                  rest = substr(line, n + 4); m = index(rest, "    ")
                  print key "\t" name "\t" (m ? substr(rest, m + 4) : "") }'
}
entries_named() { registry_values "$uninstall_key" | awk -F'\t' -v p="$product" '$2 == "DisplayName" && $3 == p {print $1}'; }
entry_value() { registry_values "$uninstall_key" | awk -F'\t' -v k="$1" -v n="$2" '$1 == k && $2 == n {print $3}'; }
# The Start menu entry: Windows puts a per-machine package's into the common Programs
# folder; Wine 8 puts it into the installing user's.
start_menu_shortcut_file() {
  ls -d "$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/$product.lnk" \
        "$drive_c"/users/*/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs/"$product.lnk" 2>/dev/null
}
# Everything in the prefix's drive C: and registry, to see what the package leaves behind.
snapshot() {
  wineserver -w
  (cd "$drive_c" && find . -mindepth 1 | LC_ALL=C sort) >"$work/$1.files"
  cat "$WINEPREFIX"/*.reg | grep -o '^\[[^]]*\]' | LC_ALL=C sort -u >"$work/$1.keys"
}
packed_guid() {
  python3 -c 'import sys; g = sys.argv[1].strip("{}").replace("-", "").upper()
print(g[7::-1] + g[11:7:-1] + g[15:11:-1] + "".join(g[i + 1] + g[i] for i in range(16, 32, 2)))' "$1"
}

# ---- the steps ------------------------------------------------------------------------
same_identity_when_rebuilt() {
  [ -f "$msi" ] && [ -f "$zip" ] || { echo "no $msi or $zip: run scripts/package.sh"; return 1; }
  scripts/package.sh --out "$work/again" >/dev/null || return 1
  local again=$work/again/OrvoPM-$version-x64.msi
  [ "$(property "$again" ProductCode)" = "$(property "$msi" ProductCode)" ] || { echo "the product code changed"; return 1; }
  [ "$(property "$again" UpgradeCode)" = "$(property "$msi" UpgradeCode)" ] || { echo "the upgrade code changed"; return 1; }
  [ "$(components "$again")" = "$(components "$msi")" ] || { echo "component GUIDs changed"; return 1; }
}

next_release_package() {
  # A copy of the bin folder made of hard links, with its own copies of the programs.
  cp -al build/windows/bin "$work/next-bin" || return 1
  for exe in OrvoPM.exe orvopm-cli.exe; do
    rm "$work/next-bin/$exe" && cp build/windows/bin/$exe "$work/next-bin/$exe" &&
      python3 $tools/pe_version.py "$work/next-bin/$exe" --set "$next_version" || return 1
  done
  [ -n "$dropped" ] || { echo "no language file besides English.ini to leave out"; return 1; }
  rm "$work/next-bin/$dropped" || return 1
  scripts/package.sh --bin "$work/next-bin" --out "$work/next" >/dev/null || return 1
  [ "$(property "$next_msi" ProductVersion)" = "$next_version" ] || { echo "the next package is not $next_version"; return 1; }
  [ "$(property "$next_msi" UpgradeCode)" = "$(property "$msi" UpgradeCode)" ] || { echo "the upgrade code differs"; return 1; }
  [ "$(property "$next_msi" ProductCode)" != "$(property "$msi" ProductCode)" ] || { echo "both versions have one product code"; return 1; }
  # Files in both releases keep their component GUIDs.
  local changed
  changed=$(join -t $'\t' <(components "$msi") <(components "$next_msi") | awk -F'\t' '$2 != $3')
  [ -z "$changed" ] || { echo "component GUIDs changed between versions: $changed"; return 1; }
}

silent_install() {
  rm -rf "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 && wineserver -w || { echo "wineboot failed"; return 1; }
  snapshot before
  msiexec /i "$(winepath -w "$msi")" /qn || { echo "msiexec /i failed: $(tail -n 5 "$work/msiexec.log")"; return 1; }
}

installed_files_are_the_zip() {
  python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "$zip" "$work/zip" &&
    diff -r "$work/zip/OrvoPM-$version" "$install_dir"
}

start_menu_shortcut() {
  local shortcut
  shortcut=$(start_menu_shortcut_file)
  [ -n "$shortcut" ] && [ "$(wc -l <<<"$shortcut")" -eq 1 ] || { echo "no single Start menu entry: [$shortcut]"; return 1; }
  # A plain shortcut holds the program's path (an advertised one names the package instead).
  python3 - "$shortcut" "$install_win\\OrvoPM.exe" <<'EOF'
import sys
data, target = open(sys.argv[1], "rb").read(), sys.argv[2]
if target.encode("latin-1") not in data and target.encode("utf-16-le") not in data:
    sys.exit(f"the shortcut does not lead to {target}")
EOF
}

# Debian's Wine puts MinGW library DLLs (zlib1.dll, for one) into every prefix; Windows has
# none of them. So the programs may only import DLLs that the prefix has and that are not
# the build of a Debian MinGW package.
imports_only_windows_dlls() {
  local exe dll missing="" lent patterns=()
  local -A users=()
  for exe in "$install_dir"/*.exe; do
    for dll in $(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ {print $3}'); do
      users[$dll]+=" $(basename "$exe")"
    done
  done
  [ ${#users[@]} -gt 0 ] || { echo "no imports found"; return 1; }
  for dll in "${!users[@]}"; do patterns+=("*-w64-mingw32/*/$dll"); done
  lent=$(dpkg-query -S "${patterns[@]}" 2>/dev/null)
  for dll in "${!users[@]}"; do
    if grep -q -F "/$dll" <<<"$lent"; then
      missing+=" $dll (from Debian's $(grep -F "/$dll" <<<"$lent" | head -n 1 | cut -d: -f1)) for${users[$dll]};"
    elif [ -z "$(find "$drive_c/windows/system32" -maxdepth 1 -iname "$dll" -print -quit)" ]; then
      missing+=" $dll for${users[$dll]};"
    fi
  done
  [ -z "$missing" ] || { echo "the programs need DLLs Windows does not have:$missing"; return 1; }
}

apps_and_features_entry() {
  local keys code
  keys=$(entries_named)
  code=$(property "$msi" ProductCode)
  [ "$keys" = "$code" ] || { echo "uninstall entries named $product: [${keys//$'\n'/ }], expected $code"; return 1; }
  [ "$(entry_value "$code" DisplayVersion)" = "$version" ] || { echo "DisplayVersion $(entry_value "$code" DisplayVersion)"; return 1; }
  [ "$(entry_value "$code" Publisher)" = "$maker" ] || { echo "Publisher $(entry_value "$code" Publisher)"; return 1; }
  local location size icon
  location=$(entry_value "$code" InstallLocation)
  [ "${location%\\}" = "$install_win" ] || { echo "InstallLocation [$location]"; return 1; }
  # Windows computes EstimatedSize from the files; Wine writes 0 there, and shows the
  # package's own estimate (ARPSIZE) as Size.
  size=$(entry_value "$code" Size)
  [ -n "$size" ] && [ "$size" = "$(property "$msi" ARPSIZE)" ] && [ "$size" -gt 0 ] ||
    { echo "Size [$size], the package says [$(property "$msi" ARPSIZE)]"; return 1; }
  # "Apps and features" takes the icon of an installer package's entry from its product
  # registration.
  icon=$(registry_values "$products_key" | awk -F'\t' -v p="$product" '
    $2 == "ProductName" && $3 == p {key = $1} $2 == "ProductIcon" {icon[$1] = $3} END {print icon[key]}')
  [ -n "$icon" ] && [ -s "$(winepath -u "$icon" 2>/dev/null)" ] || { echo "ProductIcon [$icon] is no file"; return 1; }
}

installed_program_starts() {
  local trace=$work/trace.txt
  rm -f build/orvopm-installed.png
  timeout 300 wine "$install_win\\OrvoPM.exe" --trace "$(winepath -w "$trace")" >"$work/orvopm.log" 2>&1 &
  local pid=$!
  for _ in $(seq 300); do
    grep -q shown "$trace" 2>/dev/null && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
  done
  sleep 1
  import -window root build/orvopm-installed.png 2>/dev/null
  grep -q shown "$trace" 2>/dev/null || { echo "no window: trace [$(tr '\n' ' ' <"$trace" 2>/dev/null)]"; kill "$pid"; return 1; }
  # Close it as a user would, so it ends normally and writes its settings.
  wine taskkill /im OrvoPM.exe >/dev/null 2>&1
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
  if kill -0 "$pid" 2>/dev/null; then kill "$pid"; echo "the program did not end when asked to close"; return 1; fi
  local colours
  colours=$(convert build/orvopm-installed.png -format '%k' info: 2>/dev/null)
  [ "${colours:-0}" -gt 16 ] || { echo "the screenshot is blank ($colours colours)"; return 1; }
}

upgrade_in_place() {
  [ -f "$next_msi" ] || { echo "no next package"; return 1; }
  msiexec /i "$(winepath -w "$next_msi")" /qn || { echo "msiexec /i failed: $(tail -n 5 "$work/msiexec.log")"; return 1; }
  local keys code
  keys=$(entries_named)
  code=$(property "$next_msi" ProductCode)
  [ "$keys" = "$code" ] || { echo "uninstall entries named $product: [${keys//$'\n'/ }], expected $code"; return 1; }
  [ "$(entry_value "$code" DisplayVersion)" = "$next_version" ] || { echo "DisplayVersion $(entry_value "$code" DisplayVersion)"; return 1; }
  [ "$(python3 $tools/pe_version.py "$install_dir/OrvoPM.exe")" = "$next_version" ] || { echo "OrvoPM.exe was not replaced"; return 1; }
  [ ! -e "$install_dir/$dropped" ] || { echo "$dropped, gone from the new release, is still installed"; return 1; }
  [ -f "$install_dir/Languages/English.ini" ] || { echo "English.ini is missing"; return 1; }
}

silent_removal_leaves_only_user_data() {
  msiexec /x "$(winepath -w "$next_msi")" /qn || { echo "msiexec /x failed: $(tail -n 5 "$work/msiexec.log")"; return 1; }
  snapshot after
  [ -z "$(entries_named)" ] || { echo "the uninstall entry is still there"; return 1; }
  # New files may only be the user's own: the settings folder and the advert cache in the
  # roaming application data, what Wine itself keeps per user, and what the system's HTTP
  # stack (WinInet: the update, news and advert downloads) keeps per user.
  local left
  left=$(LC_ALL=C comm -13 "$work/before.files" "$work/after.files" |
         grep -v -E '^\./users/[^/]+/AppData/Roaming/(Orvo Plugin Manager|UpdateInfo)(/|$)' |
         grep -v -E '^\./users/[^/]+/AppData/Local/Microsoft/Windows/(INetCookies|INetCache|History)(/|$)' |
         grep -v -E '^\./users/[^/]+/(Temp|AppData/Local/Temp)(/|$)|^\./windows/temp(/|$)' |
         grep -v -x -F './windows/Installer')
  [ -z "$left" ] || { echo "left behind: ${left//$'\n'/, }"; return 1; }
  left=$(LC_ALL=C comm -13 "$work/before.keys" "$work/after.keys" | grep -i -E 'orvo|plug-in manager' || true)
  [ -z "$left" ] || { echo "registry keys left behind: ${left//$'\n'/, }"; return 1; }
  # Windows Installer keeps codes as written and "packed" (each part's digits reversed).
  local code named=""
  for code in "$(property "$msi" ProductCode)" "$(property "$next_msi" ProductCode)" "$(property "$msi" UpgradeCode)"; do
    grep -q -i -F -e "${code//[\{\}]/}" -e "$(packed_guid "$code")" "$WINEPREFIX"/*.reg && named+=" $code"
  done
  [ -z "$named" ] || { echo "the registry still names$named"; return 1; }
  ls "$drive_c"/users/*/AppData/Roaming/"Orvo Plugin Manager"/OrvoPM.ini >/dev/null 2>&1 ||
    { echo "the user's settings did not survive the removal"; return 1; }
}

step same_identity_when_rebuilt same_identity_when_rebuilt
step next_release_package next_release_package
step silent_install silent_install
step installed_files_are_the_zip installed_files_are_the_zip
step start_menu_shortcut start_menu_shortcut
step imports_only_windows_dlls imports_only_windows_dlls
step apps_and_features_entry apps_and_features_entry
step installed_program_starts installed_program_starts
step upgrade_in_place upgrade_in_place
step silent_removal_leaves_only_user_data silent_removal_leaves_only_user_data
write_report
[ "$failures" -eq 0 ]
