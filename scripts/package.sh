#!/usr/bin/env bash
# Builds the Windows release from the Windows build: OrvoPM-<version>-x64.msi, a Windows
# Installer package that installs per machine into Program Files, and OrvoPM-<version>-x64.zip,
# the same files for running from any folder. The version, product name and maker are read
# from OrvoPM.exe's version resource; the files follow packaging/payload.txt, plus the
# licence and the third-party notices of everything linked into the programs.
#   scripts/package.sh [--build DIR] [--bin DIR] [--out DIR]
#     --build DIR  the Windows build folder (default build/windows)
#     --bin DIR    the program files with their link maps (default: the build's bin)
#     --out DIR    where the package and the zip go (default: the build folder)
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/windows
bin=""
out=""
while [ $# -gt 0 ]; do
  case "$1" in
    --build) build=${2:?}; shift 2 ;;
    --bin) bin=${2:?}; shift 2 ;;
    --out) out=${2:?}; shift 2 ;;
    -h|--help) sed -n '2,10p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "package: unknown option $1" >&2; exit 2 ;;
  esac
done
bin=${bin:-$build/bin}
out=${out:-$build}
tools=scripts/packaging
fail() { echo "package: $*" >&2; exit 1; }
[ -f "$bin/OrvoPM.exe" ] ||
  fail "no $bin/OrvoPM.exe: build the Windows program first (cmake --build --preset windows)"

version=$(python3 $tools/pe_version.py "$bin/OrvoPM.exe")
product=$(python3 $tools/pe_version.py "$bin/OrvoPM.exe" --string ProductName)
maker=$(python3 $tools/pe_version.py "$bin/OrvoPM.exe" --string CompanyName)
upgrade_code=$(sed -n 's/^<?define UpgradeCode = "\(.*\)" ?>$/\1/p' packaging/OrvoPM.wxs)
[ -n "$upgrade_code" ] || fail "packaging/OrvoPM.wxs defines no UpgradeCode"
product_code=$(python3 $tools/package_ids.py product-code "$upgrade_code" "$version")
name=OrvoPM-$version-x64

# The staged folder is exactly what both the package and the zip hold.
work=$out/package
stage=$work/files
mkdir -p "$work"
python3 $tools/stage_payload.py "$bin" packaging/payload.txt "$stage" >/dev/null
while IFS= read -r -d '' exe; do
  exe_version=$(python3 $tools/pe_version.py "$exe")
  [ "$exe_version" = "$version" ] ||
    fail "${exe#"$stage"/} is version $exe_version but OrvoPM.exe is $version: rebuild the Windows program"
done < <(find "$stage" -name '*.exe' -print0)
python3 $tools/windows_text.py packaging/LICENSE.txt "$stage/LICENSE.txt"
maps=()
while IFS= read -r -d '' exe; do
  map=$bin/${exe#"$stage"/}.map
  [ -f "$map" ] || fail "no link map $map beside the program: rebuild the Windows program"
  maps+=("$map")
done < <(find "$stage" -name '*.exe' -print0 | sort -z)
python3 $tools/third_party_notices.py "$product $version" "$stage/THIRD-PARTY-NOTICES.txt" "$build" \
  "${maps[@]}"

python3 $tools/wxs_harvest.py "$stage" "$upgrade_code" "$product" "$work/files.wxs"
size_kb=$(find "$stage" -type f -printf '%s\n' | awk '{ total += $1 } END { print int((total + 1023) / 1024) }')
msi=$out/$name.msi
rm -f "$msi" "$msi.tmp"
wixl -a x64 -o "$msi.tmp" \
  -D Version="$version" -D ProductCode="$product_code" -D ProductName="$product" \
  -D Manufacturer="$maker" -D InstallFolder="$product" -D IconFile=resources/orvopm.ico -D SizeKB="$size_kb" \
  packaging/OrvoPM.wxs "$work/files.wxs"
# wixl advertises every shortcut (it targets the feature); point the Start menu entry at the
# program itself.
msibuild "$msi.tmp" -q "UPDATE Shortcut SET Target='[#OrvoPM.exe]' WHERE Shortcut='ProgramShortcut'"
# wixl drops IncludeMaximum: without VersionMaxInclusive (0x200) a package of the same
# three-part version would install beside the old one instead of replacing it. The flag is
# part of the row's key, so the row is replaced.
msibuild "$msi.tmp" -q "DELETE FROM \`Upgrade\` WHERE \`ActionProperty\`='OLDERVERSIONFOUND'"
msibuild "$msi.tmp" -q "INSERT INTO \`Upgrade\` (\`UpgradeCode\`, \`VersionMin\`, \`VersionMax\`, \`Attributes\`, \`ActionProperty\`) VALUES ('$upgrade_code', '0.0.0', '$version', 768, 'OLDERVERSIONFOUND')"
# The programs' versions go into the File table too (wixl leaves it empty), so a repair
# compares versions as it should for executables.
while IFS=$'\t' read -r file_key file_name; do
  case "$file_name" in
    *.exe) msibuild "$msi.tmp" -q "UPDATE File SET Version='$version', Language='1033' WHERE File='$file_key'" ;;
  esac
done < <(msiinfo export "$msi.tmp" File | tail -n +4 | tr -d '\r' | cut -f1,3)

# The package must read back as built: its tables, its identity, one file row per file.
tables=$(msiinfo tables "$msi.tmp") || fail "msiinfo cannot read $msi.tmp"
# (Exporting a table with streams writes them out as files: that happens in a scratch folder.)
rm -rf "$work/check" && mkdir "$work/check"
msi_path=$(realpath "$msi.tmp")
for table in $tables; do
  case "$table" in _*) continue ;; esac
  (cd "$work/check" && msiinfo export "$msi_path" "$table" >/dev/null) ||
    fail "msiinfo cannot read the $table table"
done
property() { msiinfo export "$msi.tmp" Property | tr -d '\r' | awk -F'\t' -v k="$1" '$1 == k {print $2}'; }
[ "$(property ProductVersion)" = "$version" ] || fail "ProductVersion reads '$(property ProductVersion)'"
[ "$(property ProductCode)" = "$product_code" ] || fail "ProductCode reads '$(property ProductCode)'"
[ "$(property UpgradeCode)" = "$upgrade_code" ] || fail "UpgradeCode reads '$(property UpgradeCode)'"
staged=$(find "$stage" -type f | wc -l)
rows=$(msiinfo export "$msi.tmp" File | tail -n +4 | wc -l)
[ "$rows" -eq "$staged" ] || fail "the File table has $rows rows for $staged staged files"
msiinfo export "$msi.tmp" Upgrade | tr -d '\r' |
  grep -q -x -F "$upgrade_code"$'\t0.0.0\t'"$version"$'\t\t768\t\tOLDERVERSIONFOUND' ||
  fail "the Upgrade table does not replace every version up to $version"
msiinfo export "$msi.tmp" Shortcut | grep -q $'\t\\[#OrvoPM.exe\\]\t' ||
  fail "the Start menu shortcut does not point at OrvoPM.exe"
mv "$msi.tmp" "$msi"

python3 $tools/portable_zip.py "$stage" "$out/$name.zip" "OrvoPM-$version"
echo "package: $msi"
echo "package: $out/$name.zip"
