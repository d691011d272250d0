#!/usr/bin/env bash
# Builds the distributions signed with a throwaway certificate made here, then checks that every Lumivex.exe in
# the zips and the installer carry a signature that osslsigncode verifies against that certificate, and that the
# installer's own makensis run signed the uninstaller before packing it.
#   tests/dist/signed_dist_test.sh <out folder>
# The installer test then installs this signed installer.
set -euo pipefail
out=${1:?usage: signed_dist_test.sh <out folder>}
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A self-signed code-signing certificate in a password-protected PKCS#12 file, as a real one would come.
openssl req -x509 -newkey rsa:2048 -sha256 -days 2 -nodes -subj "/CN=Lumivex Test Signing" \
    -addext "extendedKeyUsage=codeSigning" -addext "keyUsage=digitalSignature" \
    -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
head -c 24 /dev/urandom | base64 >"$work/password"
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -out "$work/sign.pfx" \
    -passout "file:$work/password"

# Every file makensis hands to the signer is listed, so the uninstaller's signing shows.
cat >"$work/sign.sh" <<SIGN
#!/usr/bin/env bash
echo "\$@" >>"$work/signed.txt"
exec bash "$root/tools/sign.sh" "\$@"
SIGN
LUMIVEX_SIGN_PFX=$work/sign.pfx LUMIVEX_SIGN_PASSWORD_FILE=$work/password LUMIVEX_SIGN_TOOL=$work/sign.sh \
    bash "$root/tools/dist.sh" --no-build --out "$out" >"$work/dist.log" 2>&1 || { cat "$work/dist.log" >&2; exit 1; }
grep -q '(signed)' "$work/dist.log" || { echo "dist.sh did not report a signed build" >&2; exit 1; }

failed=0
verify() {  # file what
    if osslsigncode verify -CAfile "$work/cert.pem" -in "$1" >"$work/verify.log" 2>&1; then
        echo "signed and verified: $2"
    else
        echo "FAILED: $2 is not signed by the test certificate" >&2
        cat "$work/verify.log" >&2
        failed=1
    fi
}
for zip in "$out"/Lumivex-*-portable.zip; do
    mkdir -p "$work/unzip"
    unzip -q -o "$zip" Lumivex/Lumivex.exe -d "$work/unzip"
    verify "$work/unzip/Lumivex/Lumivex.exe" "Lumivex.exe in $(basename "$zip")"
    rm -rf "$work/unzip"
done
setup=$(ls "$out"/Lumivex-*-setup.exe)
verify "$setup" "$(basename "$setup")"
# makensis signs the uninstaller under a temporary name before packing it, then the installer itself.
signed=$(cat "$work/signed.txt")
[ "$(wc -l <<<"$signed")" -ge 2 ] && [ "$(tail -n 1 <<<"$signed")" = "$setup" ] ||
    { echo "FAILED: makensis did not sign the uninstaller and then the installer: $signed" >&2; failed=1; }
# The manifests name the signed files.
(cd "$out" && sha256sum --quiet -c SHA256SUMS) || failed=1
exit $failed
