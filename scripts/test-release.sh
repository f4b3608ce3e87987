#!/usr/bin/env bash
# Tests that the release files of `make dist` can be trusted:
#   - their sums and their bill of materials;
#   - a second `make dist`, from a copy of the source in another folder, later, in another time zone
#     and with another umask, gives the same program, zip and installer, byte for byte;
#   - with a throw-away self-signed certificate, the program and the installer come out signed,
#     osslsigncode finds both signatures intact (and the chain untrusted, as it is), and the signed
#     program still starts under Wine.
# Expects build/dist/ made (scripts/dist.sh).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
source "$ROOT_DIR/scripts/wine-session.sh"
cd "$ROOT_DIR"

DIST="$ROOT_DIR/build/dist"
WORK="$ROOT_DIR/build/release-test"
version=$(<build/win64/release-version.txt)
published=("Corvalend-$version-x64.msi" "Corvalend-$version-x64-portable.zip" Corvalend.exe)

fail() { echo "FAILED: $*" >&2; exit 1; }
step() { echo "-- $*"; }

step "sums and bill of materials"
(cd "$DIST" && sha256sum --quiet --strict -c SHA256SUMS) || fail "SHA256SUMS does not match the files"
[[ $(awk '{ print $2 }' "$DIST/SHA256SUMS" | LC_ALL=C sort) == $(printf '%s\n' "${published[@]}" | LC_ALL=C sort) ]] ||
    fail "SHA256SUMS does not list the installer, the zip and the program"
cmp -s "$DIST/Corvalend.exe" build/win64/Corvalend.exe || fail "the published program is not the one built"
python3 - "$DIST/Corvalend-$version.spdx.json" "$DIST/Corvalend.exe" "Corvalend=$version" \
    "libjpeg-turbo=$(sed -n 's/^version=//p' "$CORVALEND_JPEG_PREFIX/.corvalend-stamp")" \
    {"MinGW-w64 runtime",winpthreads}="$(dpkg-query -W -f='${Version}' mingw-w64-x86-64-dev)" \
    libstdc++="$(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix)" \
    libgcc="$(dpkg-query -W -f='${Version}' gcc-mingw-w64-x86-64-posix)" <<'PY' || fail "the bill of materials"
import hashlib, json, sys
doc = json.load(open(sys.argv[1], encoding="utf-8"))
assert (doc["spdxVersion"], doc["dataLicense"], doc["SPDXID"]) == ("SPDX-2.3", "CC0-1.0", "SPDXRef-DOCUMENT")
assert doc["documentNamespace"] and doc["creationInfo"]["created"] and doc["creationInfo"]["creators"]
expected = dict(arg.split("=", 1) for arg in sys.argv[3:])  # name: the version linked
packages = {p["name"]: p for p in doc["packages"]}
assert {name: p["versionInfo"] for name, p in packages.items()} == expected, sorted(packages.items())
assert all(p["licenseDeclared"] not in ("", "NOASSERTION", "NONE") for p in packages.values()), "a licence missing"
assert "GCC-exception-3.1" in packages["libstdc++"]["licenseDeclared"], "libstdc++ without the runtime exception"
sha256 = hashlib.sha256(open(sys.argv[2], "rb").read()).hexdigest()
assert packages["Corvalend"]["checksums"] == [{"algorithm": "SHA256", "checksumValue": sha256}], "another program"
links = {(r["spdxElementId"], r["relationshipType"], r["relatedSpdxElement"]) for r in doc["relationships"]}
program = packages.pop("Corvalend")["SPDXID"]
assert links == {("SPDXRef-DOCUMENT", "DESCRIBES", program)} | {(program, "STATIC_LINK", p["SPDXID"]) for p in packages.values()}
PY

# A copy of the source as it stands (committed or not), in a folder of its own.
copy="$WORK/another-place/Corvalend"
rm -rf "$WORK" && mkdir -p "$copy"
git ls-files -z --cached --others --exclude-standard | tar --null --ignore-failed-read -T - -cf - | tar -xf - -C "$copy"
epoch=$(git log -1 --format=%ct)
dist_in_copy() {  # the copy's `make dist`, with the given environment
    (cd "$copy" && env SOURCE_DATE_EPOCH="$epoch" "$@" bash scripts/dist.sh) >"$WORK/dist.log" 2>&1 ||
        fail "make dist in the copy ($(tail -n 5 "$WORK/dist.log"))"
}

step "a second build elsewhere gives the same bytes"
(umask 077 && dist_in_copy TZ=Pacific/Chatham)
grep -qx "dist: no certificate given (CORVALEND_SIGN_PFX): the program and the installer are unsigned" "$WORK/dist.log" ||
    fail "an unsigned make dist does not say so"
for file in "${published[@]}" SHA256SUMS "Corvalend-$version.spdx.json"; do
    cmp "$DIST/$file" "$copy/build/dist/$file" || fail "$file differs between the two builds"
done
diff -r "$DIST/winget" "$copy/build/dist/winget" || fail "the winget manifests differ"

step "signed with a certificate"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Corvalend test signing" -addext extendedKeyUsage=codeSigning \
    -keyout "$WORK/key.pem" -out "$WORK/cert.pem" 2>/dev/null || fail "no test certificate"
openssl pkcs12 -export -inkey "$WORK/key.pem" -in "$WORK/cert.pem" -passout pass:throw-away -out "$WORK/cert.pfx" ||
    fail "no test certificate file"
dist_in_copy CORVALEND_SIGN_PFX="$WORK/cert.pfx" CORVALEND_SIGN_PASSWORD=throw-away
if grep -q "unsigned" "$WORK/dist.log"; then fail "a signed make dist says the files are unsigned"; fi
signed="$copy/build/dist"
(cd "$signed" && sha256sum --quiet --strict -c SHA256SUMS) || fail "SHA256SUMS does not match the signed files"
mkdir -p "$WORK/zip" && unzip -q "$signed/Corvalend-$version-x64-portable.zip" -d "$WORK/zip"
cmp -s "$WORK/zip/Corvalend.exe" "$signed/Corvalend.exe" || fail "the zip does not hold the signed program"
for file in "$signed/Corvalend.exe" "$signed/Corvalend-$version-x64.msi"; do
    # Intact against its own certificate; untrusted against the system's roots alone.
    osslsigncode verify -CAfile "$WORK/cert.pem" -in "$file" >"$WORK/verify.log" 2>&1 ||
        fail "$(basename "$file"): the signature is not intact ($(grep -i 'fail\|error' "$WORK/verify.log" | head -n 3))"
    if osslsigncode verify -CAfile /etc/ssl/certs/ca-certificates.crt -in "$file" >"$WORK/verify.log" 2>&1; then
        fail "$(basename "$file"): a self-signed certificate was trusted"
    fi
done
cmp -s "$WORK/zip/Corvalend.exe" build/win64/Corvalend.exe && fail "the zip's program was not signed"

step "the signed program starts under Wine"
wine_session_start "$ROOT_DIR/build/wineprefix-release" --own-x || fail "no Wine session"
trap wine_session_stop EXIT
# The zip's copy is portable: it keeps its data in the folder it was unpacked to.
wine "$WORK/zip/Corvalend.exe" </dev/null >"$WORK/program.log" 2>&1 &
program=$!
wait_for_tray "$program" || fail "the signed program did not come up (its output: $(tail -n 5 "$WORK/program.log"))"
wine "$WORK/zip/Corvalend.exe" /end </dev/null >"$WORK/end.log" 2>&1 || fail "Corvalend.exe /end failed"
wait "$program" || fail "the signed program did not end cleanly (exit code $?)"
echo "all passed"
