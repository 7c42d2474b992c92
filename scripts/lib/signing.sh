# Authenticode signing with osslsigncode, from a PKCS#12 (.pfx) file holding
# the code-signing certificate and its private key.
#
# The password never appears on a command line, where every user of the
# machine can read it: it is read from QVN_SIGN_PASSWORD_FILE (its first line)
# or QVN_SIGN_PASSWORD into a variable of this shell, and handed to openssl and
# osslsigncode as a file descriptor (/dev/fd/N).
#
# Source this file, then: signing_read_password; signing_check_certificate PFX
# DIR; signing_sign PFX IN OUT [TIMESTAMP_URL]; signing_verify FILE.
# Each prints what went wrong to stderr and returns non-zero.

signing_fail() {
  echo "signing: $*" >&2
  return 1
}

# Sets SIGNING_PASSWORD from QVN_SIGN_PASSWORD_FILE or QVN_SIGN_PASSWORD.
signing_read_password() {
  if [ -n "${QVN_SIGN_PASSWORD_FILE:-}" ]; then
    [ -r "$QVN_SIGN_PASSWORD_FILE" ] ||
      { signing_fail "cannot read the password file $QVN_SIGN_PASSWORD_FILE (QVN_SIGN_PASSWORD_FILE)"; return 1; }
    IFS= read -r SIGNING_PASSWORD <"$QVN_SIGN_PASSWORD_FILE"
    SIGNING_PASSWORD=${SIGNING_PASSWORD%$'\r'}
  elif [ -n "${QVN_SIGN_PASSWORD+set}" ]; then
    SIGNING_PASSWORD=$QVN_SIGN_PASSWORD
  else
    signing_fail "no password for the certificate: set QVN_SIGN_PASSWORD_FILE (a file whose first line is the password) or QVN_SIGN_PASSWORD"
    return 1
  fi
}

# openssl pkcs12 on PFX with the password, further arguments after it; its
# error text is left in SIGNING_ERROR. A PFX made by older Windows or OpenSSL
# versions is encrypted with RC2 or 3DES, which OpenSSL 3 reads only with its
# legacy provider: tried once more with it.
signing_pkcs12() {
  local pfx=$1
  shift
  SIGNING_ERROR=$(openssl pkcs12 -in "$pfx" -passin file:<(printf '%s\n' "$SIGNING_PASSWORD") "$@" 2>&1 >/dev/null) && return 0
  grep -qi unsupported <<<"$SIGNING_ERROR" || return 1
  SIGNING_ERROR=$(openssl pkcs12 -legacy -in "$pfx" -passin file:<(printf '%s\n' "$SIGNING_PASSWORD") "$@" 2>&1 >/dev/null)
}

# Checks PFX before anything is built: it exists, opens with the password,
# holds a certificate with its private key, that certificate is valid now and
# made for code signing. Writes DIR/signer.pem (that certificate) and
# DIR/chain.pem (every certificate in the file); sets SIGNING_SUBJECT.
signing_check_certificate() {
  local pfx=$1 dir=$2 usage
  [ -e "$pfx" ] || { signing_fail "certificate file $pfx does not exist (QVN_SIGN_PFX)"; return 1; }
  [ -f "$pfx" ] && [ -r "$pfx" ] || { signing_fail "cannot read the certificate file $pfx (QVN_SIGN_PFX)"; return 1; }
  if ! signing_pkcs12 "$pfx" -nokeys -clcerts -out "$dir/signer.pem"; then
    if grep -qi 'mac verify' <<<"$SIGNING_ERROR"; then
      signing_fail "wrong password for $pfx"
    else
      signing_fail "$pfx is not a PKCS#12 (.pfx) file, or it is damaged"
    fi
    return 1
  fi
  signing_pkcs12 "$pfx" -nokeys -out "$dir/chain.pem" || { signing_fail "cannot read the certificates in $pfx"; return 1; }
  grep -q 'BEGIN CERTIFICATE' "$dir/signer.pem" ||
    { signing_fail "$pfx holds no certificate together with its private key"; return 1; }
  SIGNING_SUBJECT=$(openssl x509 -in "$dir/signer.pem" -noout -subject -nameopt oneline,-esc_msb | sed 's/^subject= *//')
  openssl x509 -in "$dir/signer.pem" -noout -checkend 0 >/dev/null ||
    { signing_fail "the certificate of $SIGNING_SUBJECT has expired ($(openssl x509 -in "$dir/signer.pem" -noout -enddate))"; return 1; }
  usage=$(openssl x509 -in "$dir/signer.pem" -noout -ext extendedKeyUsage 2>/dev/null)
  grep -q 'Code Signing' <<<"$usage" ||
    { signing_fail "the certificate of $SIGNING_SUBJECT is not for code signing (its extended key usage: $(tail -n +2 <<<"$usage" | xargs | sed 's/^$/none/')); Windows would not accept its signature"; return 1; }
}

# Signs IN into OUT with a SHA-256 digest; time-stamped (RFC 3161) only when
# TIMESTAMP_URL is given.
signing_sign() {
  local pfx=$1 in=$2 out=$3 url=${4:-} stamp=() log
  [ -n "$url" ] && stamp=(-ts "$url")
  if ! log=$(osslsigncode sign -pkcs12 "$pfx" -readpass <(printf '%s' "$SIGNING_PASSWORD") -h sha256 \
      -n QvnRemove "${stamp[@]}" -in "$in" -out "$out" 2>&1); then
    rm -f "$out"
    signing_fail "osslsigncode could not sign $in$([ -n "$url" ] && echo " (time stamp from $url)"):"
    sed 's/^/  /' <<<"$log" >&2
    return 1
  fi
}

# Verifies FILE's signature: its digest, and its certificate chain up to a
# root in CA_FILE. Revocation is Windows' to check when the program runs: the
# certificate's revocation list is not fetched here, where no network may be.
signing_verify() {
  local file=$1 ca_file=$2 offline=() log
  grep -q -- '-ignore-cdp' <<<"$(osslsigncode verify --help 2>&1)" && offline=(-ignore-cdp)
  if ! log=$(osslsigncode verify "${offline[@]}" -CAfile "$ca_file" -in "$file" 2>&1); then
    signing_fail "osslsigncode verify does not accept the signature of $file:"
    sed 's/^/  /' <<<"$log" >&2
    return 1
  fi
}
