#!/usr/bin/env bash
# Signs Windows executables in place (Authenticode, SHA-256) with osslsigncode:
#   LUMIVEX_SIGN_PFX            the code-signing certificate and its key, a PKCS#12 file
#   LUMIVEX_SIGN_PASSWORD_FILE  a file holding that file's password
#   LUMIVEX_SIGN_TIMESTAMP_URL  optional: an RFC 3161 time-stamping service, so the signature outlives the
#                               certificate
#   LUMIVEX_SIGN_URL            optional: the address shown with the signature
# tools/dist.sh calls it for Lumivex.exe of both architectures, and makensis for the uninstaller and the installer.
# A file is replaced only when its signature is complete.
set -euo pipefail

fail() { echo "sign.sh: $*" >&2; exit 1; }
[ -n "${LUMIVEX_SIGN_PFX:-}" ] || fail "LUMIVEX_SIGN_PFX is not set"
[ -f "$LUMIVEX_SIGN_PFX" ] || fail "LUMIVEX_SIGN_PFX names no file: $LUMIVEX_SIGN_PFX"
[ -n "${LUMIVEX_SIGN_PASSWORD_FILE:-}" ] || fail "LUMIVEX_SIGN_PASSWORD_FILE is not set (the PFX's password)"
[ -f "$LUMIVEX_SIGN_PASSWORD_FILE" ] || fail "LUMIVEX_SIGN_PASSWORD_FILE names no file: $LUMIVEX_SIGN_PASSWORD_FILE"
[ $# -gt 0 ] || fail "usage: tools/sign.sh file.exe..."

for file in "$@"; do
    [ -f "$file" ] || fail "no such file: $file"
    args=(sign -pkcs12 "$LUMIVEX_SIGN_PFX" -readpass "$LUMIVEX_SIGN_PASSWORD_FILE" -h sha256 -n Lumivex)
    [ -z "${LUMIVEX_SIGN_URL:-}" ] || args+=(-i "$LUMIVEX_SIGN_URL")
    [ -z "${LUMIVEX_SIGN_TIMESTAMP_URL:-}" ] || args+=(-ts "$LUMIVEX_SIGN_TIMESTAMP_URL")
    signed=$file.signed
    rm -f "$signed"
    if ! log=$(osslsigncode "${args[@]}" -in "$file" -out "$signed" 2>&1); then
        rm -f "$signed"
        fail "could not sign $file: $log"
    fi
    mv -f "$signed" "$file"
done
