#!/usr/bin/env bash
# Tests what `make dist` writes: the portable zip's contents, and the installer under Wine in a
# prefix of its own: a silent install, an upgrade to a higher version that keeps the user's
# hotkeys, a refused downgrade and a silent removal that ends the running program and takes it, its
# shortcut, its Apps entry and its log-on entry away and keeps the hotkeys and settings. Expects
# build/dist/ made (scripts/dist.sh).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
source "$ROOT_DIR/scripts/wine-session.sh"
cd "$ROOT_DIR"

DIST="$ROOT_DIR/build/dist"
WORK="$ROOT_DIR/build/install-test"
version=$(<build/win64/release-version.txt)
msi="$DIST/Corvalend-$version-x64.msi"
zip="$DIST/Corvalend-$version-x64-portable.zip"

fail() { echo "FAILED: $*" >&2; exit 1; }
step() { echo "-- $*"; }

# ------------------------------------------------------------------- the zip --
step "portable zip"
rm -rf "$WORK" && mkdir -p "$WORK/zip"
unzip -q "$zip" -d "$WORK/zip"
expected=$'Corvalend.exe\nCorvalend.portable\nLICENSE.txt\nREADME.txt\nnotices/gcc-runtime/README.txt\nnotices/libjpeg-turbo/LICENSE.md\nnotices/libjpeg-turbo/README.ijg\nnotices/mingw-w64/copyright.txt'
actual=$(cd "$WORK/zip" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
[[ $actual == "$expected" ]] || fail "the zip holds:"$'\n'"$actual"
cmp -s "$WORK/zip/Corvalend.exe" build/win64/Corvalend.exe || fail "the zip's program is not the one built"
cmp -s "$WORK/zip/notices/libjpeg-turbo/README.ijg" dist/notices/libjpeg-turbo/README.ijg || fail "README.ijg differs"
cmp -s "$WORK/zip/notices/libjpeg-turbo/LICENSE.md" dist/notices/libjpeg-turbo/LICENSE.md || fail "LICENSE.md differs"
cmp -s "$WORK/zip/notices/mingw-w64/copyright.txt" /usr/share/doc/mingw-w64-x86-64-dev/copyright ||
    fail "the MinGW-w64 notice is not the Debian package's"
grep -q 'GCC Runtime Library Exception' "$WORK/zip/notices/gcc-runtime/README.txt" || fail "no note on the GCC runtime"
diff -q <(tr -d '\r' <"$WORK/zip/LICENSE.txt") LICENSE >/dev/null || fail "LICENSE.txt differs"
grep -q 'hotkeys.ini' "$WORK/zip/README.txt" || fail "README.txt does not say where the hotkeys are kept"
grep -q 'Corvalend.portable' "$WORK/zip/README.txt" || fail "README.txt does not say what the portable marker does"

step "winget manifests"
manifests="$DIST/winget/manifests/t/Tamberlo/Corvalend/$version"
sha256=$(sha256sum "$msi" | cut -d' ' -f1)
grep -qix "    InstallerSha256: $sha256" "$manifests/Tamberlo.Corvalend.installer.yaml" || fail "the manifest names another installer"
[[ $(grep -h '^PackageVersion:' "$manifests"/*.yaml | sort -u) == "PackageVersion: $version" ]] || fail "the manifests' versions differ"

# -------------------------------------------------------------- the installer --
# A second installer, one version higher, from the same source, with the program's file version
# raised as a new release's would be.
IFS=. read -r major minor patch <<<"$version"
newer="$major.$minor.$((patch + 1))"
newer_msi="$WORK/Corvalend-$newer-x64.msi"
cp -r "$DIST/msi-source" "$WORK/msi-newer"
python3 - "$WORK/msi-newer/Corvalend.exe" <<'PY'
import struct, sys
path = sys.argv[1]
data = bytearray(open(path, "rb").read())
at = data.find(struct.pack("<I", 0xFEEF04BD))  # the fixed part of the version resource
assert at > 0, "no version resource"
for offset in (12, 20):  # the low halves of the file and the product version: release, build
    low = struct.unpack_from("<I", data, at + offset)[0]
    struct.pack_into("<I", data, at + offset, low + 0x10000)
open(path, "wb").write(data)
PY
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct) bash scripts/build-msi.sh "$WORK/msi-newer" "$newer" https://test.invalid/ "$newer_msi"

wine_session_start "$ROOT_DIR/build/wineprefix-install" --own-x || fail "no Wine session"
trap wine_session_stop EXIT

# Runs a Wine command with its output in a file (never a pipe: Wine's servers would hold it open).
wine_out() {
    wine "$@" </dev/null >"$WORK/out.raw" 2>/dev/null
    local rc=$?
    tr -d '\r' <"$WORK/out.raw"
    return $rc
}
unix_path() { winepath -u "$1" 2>/dev/null </dev/null; }
msiexec_q() { timeout 120 wine msiexec "$@" /qn </dev/null >"$WORK/msiexec.log" 2>&1; }
reg_query() { wine_out reg query "$@" || true; }

local_appdata=$(unix_path "$(wine_out cmd /c echo %LOCALAPPDATA%)")
appdata=$(unix_path "$(wine_out cmd /c echo %APPDATA%)")
[[ -d $local_appdata && -d $appdata ]] || fail "no application-data folders in the prefix"
install_dir="$local_appdata/Programs/Corvalend"
shortcut="$appdata/Microsoft/Windows/Start Menu/Programs/Corvalend.lnk"
hotkeys="$appdata/Tamberlo/Corvalend/Data/hotkeys.ini"
# Wine's msiexec writes the Apps entry of a per-user product to the machine's Uninstall key (as
# Windows does to the user's part of the installer's data); the icon goes to the user's product key.
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
user_products_key='HKCU\Software\Microsoft\Installer\Products'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
program_key='HKCU\Software\Tamberlo\Corvalend'


# The user's hotkeys and a setting, prepared before anything is installed.
mkdir -p "$(dirname "$hotkeys")"
printf '[Hotkeys]\r\nCount=1\r\nKey0=\xc3\xa4 caf\xc3\xa9\t<?CR?>\r\n' >"$hotkeys"
cp "$hotkeys" "$WORK/hotkeys.ini.before"
wine_out reg add "$program_key" /v FirstUse /t REG_SZ /d 0 /f >/dev/null

# Our product's entry under the Apps key: its value lines (DisplayName, Publisher, ...).
apps_entry() {
    reg_query "$uninstall_key" /s | awk '
        /^HKEY_/ { if (block ~ /DisplayName[ \t]+REG_SZ[ \t]+Corvalend/) printf "%s", block; block = $0 "\n"; next }
        { block = block $0 "\n" }
        END { if (block ~ /DisplayName[ \t]+REG_SZ[ \t]+Corvalend/) printf "%s", block }'
}

# What an earlier, broken run may have left (each version of the installer is a product of its own).
for product in $(apps_entry | sed -n 's/^HKEY_.*\\\({[-0-9A-F]*}\)$/\1/p'); do
    msiexec_q /x "$product" || true
done
left=$(apps_entry)
[[ -z $left ]] || fail "an earlier installation could not be removed:"$'\n'"$left"

step "silent install of $version"
msiexec_q /i "$msi" || fail "msiexec /i exited with $? ($(cat "$WORK/msiexec.log"))"
cmp -s "$install_dir/Corvalend.exe" build/win64/Corvalend.exe || fail "no Corvalend.exe in $install_dir"
(cd "$WORK/zip" && find notices LICENSE.txt -type f \( -exec cmp -s {} "$install_dir/{}" \; -o -print \)) | grep . &&
    fail "the installer does not carry each notice the zip carries"
[[ ! -e $install_dir/Corvalend.portable ]] || fail "the installer put the portable marker beside the program"
[[ -s $shortcut ]] || fail "no Start-menu shortcut"
entry=$(apps_entry)
echo "$entry"
[[ $(grep -c '^HKEY_' <<<"$entry") -eq 1 ]] || fail "not one Apps entry"
grep -Eq "Publisher[[:space:]]+REG_SZ[[:space:]]+Tamberlo" <<<"$entry" || fail "no publisher in the Apps entry"
grep -Eq "DisplayVersion[[:space:]]+REG_SZ[[:space:]]+$version" <<<"$entry" || fail "no version in the Apps entry"
reg_query "$user_products_key" /s | grep -Eq 'ProductIcon[[:space:]]+REG_SZ[[:space:]]+.*Corvalend\.ico' ||
    fail "no per-user product with the program's icon"
# The program's log-on entry, as its settings window writes it.
exe_windows=$(wine_out winepath -w "$install_dir/Corvalend.exe")
wine_out reg add "$run_key" /v Corvalend /t REG_SZ /d "\"$exe_windows\"" /f >/dev/null

step "upgrade to $newer"
msiexec_q /i "$newer_msi" || fail "msiexec /i of the newer version exited with $? ($(cat "$WORK/msiexec.log"))"
[[ -f $install_dir/Corvalend.exe ]] || fail "the upgrade left no Corvalend.exe"
entry=$(apps_entry)
[[ $(grep -c '^HKEY_' <<<"$entry") -eq 1 ]] || fail "not one Apps entry after the upgrade:"$'\n'"$entry"
grep -Eq "DisplayVersion[[:space:]]+REG_SZ[[:space:]]+$newer" <<<"$entry" || fail "the Apps entry is not the newer version"
cmp -s "$hotkeys" "$WORK/hotkeys.ini.before" || fail "the upgrade changed the hotkey file"
cmp -s "$install_dir/Corvalend.exe" "$WORK/msi-newer/Corvalend.exe" || fail "the upgrade did not put the newer program in place"
# Wine's msiexec does not set UPGRADINGPRODUCTCODE when it removes the older version, so the log-on
# entry goes with it there (Windows keeps it); it is written again for the removal below.
wine_out reg add "$run_key" /v Corvalend /t REG_SZ /d "\"$exe_windows\"" /f >/dev/null

step "downgrade to $version is refused"
if msiexec_q /i "$msi"; then fail "the older installer was installed over the newer one"; fi
grep -Eq "DisplayVersion[[:space:]]+REG_SZ[[:space:]]+$newer" <<<"$(apps_entry)" || fail "the refused downgrade changed the Apps entry"

step "the program leaves another copy's log-on entry alone"
wine_out reg add "$run_key" /v Corvalend /t REG_SZ /d '"C:\Elsewhere\Corvalend.exe"' /f >/dev/null
wine_out "$exe_windows" /uninstall >/dev/null || fail "Corvalend.exe /uninstall failed"
reg_query "$run_key" /v Corvalend | grep -q 'Elsewhere' || fail "/uninstall removed another copy's log-on entry"
wine_out reg add "$run_key" /v Corvalend /t REG_SZ /d "\"$exe_windows\"" /f >/dev/null

step "silent removal, with the program running"
wine "$exe_windows" </dev/null >"$WORK/program.log" 2>&1 &
program=$!
wait_for_tray "$program" || fail "the program did not come up with its tray icon"
msiexec_q /x "$newer_msi" || fail "msiexec /x exited with $? ($(cat "$WORK/msiexec.log"))"
for ((i = 0; i < 100; i++)); do
    kill -0 "$program" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$program" 2>/dev/null && fail "the removal left the program running"
wait "$program" || fail "the program did not end cleanly (exit code $?)"
[[ ! -e $install_dir ]] || fail "the removal left $(find "$install_dir")"
[[ ! -e $shortcut ]] || fail "the removal left the shortcut"
[[ -z $(apps_entry) ]] || fail "the removal left the Apps entry"
if reg_query "$run_key" /v Corvalend | grep -q Corvalend.exe; then fail "the removal left the log-on entry"; fi
cmp -s "$hotkeys" "$WORK/hotkeys.ini.before" || fail "the removal changed the hotkey file"
reg_query "$program_key" /v FirstUse | grep -Eq "FirstUse[[:space:]]+REG_SZ[[:space:]]+0" || fail "the removal took the settings"
echo "all passed"
