"""MD5, SHA-1, SHA-256, HMAC-MD5 and HMAC-SHA-256 as hexadecimal text (``libkarpa_crypto``).

Data and keys are bytes-like (NUL bytes included, every byte counts) or
``str``, which is encoded as UTF-8. Each function returns the library's exact
hexadecimal text: upper-case letters for every computed digest, and the
stored lower-case digest for empty input to the three digest functions::

    md5_hash(b"abc") == "900150983CD24FB0D6963F7D28E17F72"
    md5_hash(b"") == "d41d8cd98f00b204e9800998ecf8427e"

Compare without regard to case (``.lower()``) or turn it into bytes with
``bytes.fromhex()``. Inputs longer than 2**31 - 1 bytes raise ``OverflowError``
(the length travels as a C int); an HMAC message longer than 2147483583 bytes
raises ``karpa.KarpaError``.
"""

from __future__ import annotations

from . import _codec as _c
from . import KarpaError, _accelerate, _library

__all__ = ["md5_hash", "sha1_hash", "sha256_hash", "hmac_md5", "hmac_sha256"]

# Each export of the library is the module global _<export name> (see karpa._Library).
_lib = _library("crypto", globals())


# The five wrappers are written out: a shared helper or a closure costs a
# quarter of a short digest's time. Every wrapper hands the export bytes and a
# length in the C int range, so it calls _<export>_raw (see karpa._Library).


def md5_hash(data: _c.Text) -> str:
    """The MD5 digest of ``data`` (RFC 1321) as 32 hexadecimal characters."""
    if type(data) is not bytes or len(data) > 0x7FFFFFFF:
        data = _c.byte_buffer(data, "data")
    result = _md5_hash_raw(data, len(data))
    if result is None:
        raise KarpaError("md5_hash", (data, len(data)))
    return result.decode()  # hexadecimal text is ASCII


def sha1_hash(data: _c.Text) -> str:
    """The SHA-1 digest of ``data`` (FIPS 180-4) as 40 hexadecimal characters."""
    if type(data) is not bytes or len(data) > 0x7FFFFFFF:
        data = _c.byte_buffer(data, "data")
    result = _sha1_hash_raw(data, len(data))
    if result is None:
        raise KarpaError("sha1_hash", (data, len(data)))
    return result.decode()  # hexadecimal text is ASCII


def sha256_hash(data: _c.Text) -> str:
    """The SHA-256 digest of ``data`` (FIPS 180-4) as 64 hexadecimal characters."""
    if type(data) is not bytes or len(data) > 0x7FFFFFFF:
        data = _c.byte_buffer(data, "data")
    result = _sha256_hash_raw(data, len(data))
    if result is None:
        raise KarpaError("sha256_hash", (data, len(data)))
    return result.decode()  # hexadecimal text is ASCII


def hmac_md5(message: _c.Text, key: _c.Text) -> str:
    """HMAC-MD5 (RFC 2104) of ``message`` under ``key`` as 32 upper-case hexadecimal characters.

    Note the order: message first, key second.
    """
    if type(message) is not bytes or len(message) > 0x7FFFFFFF:
        message = _c.byte_buffer(message, "message")
    if type(key) is not bytes or len(key) > 0x7FFFFFFF:
        key = _c.byte_buffer(key, "key")
    result = _hmac_md5_raw(message, len(message), key, len(key))
    if result is None:
        raise KarpaError("hmac_md5", (message, len(message), key, len(key)))
    return result.decode()  # hexadecimal text is ASCII


def hmac_sha256(message: _c.Text, key: _c.Text) -> str:
    """HMAC-SHA-256 (RFC 2104) of ``message`` under ``key`` as 64 upper-case hexadecimal characters.

    Note the order: message first, key second.
    """
    if type(message) is not bytes or len(message) > 0x7FFFFFFF:
        message = _c.byte_buffer(message, "message")
    if type(key) is not bytes or len(key) > 0x7FFFFFFF:
        key = _c.byte_buffer(key, "key")
    result = _hmac_sha256_raw(message, len(message), key, len(key))
    if result is None:
        raise KarpaError("hmac_sha256", (message, len(message), key, len(key)))
    return result.decode()  # hexadecimal text is ASCII


_accelerate(globals(), _lib, "", {
    "md5_hash": ("y", "s"), "sha1_hash": ("y", "s"), "sha256_hash": ("y", "s"),
    "hmac_md5": ("yy", "s"), "hmac_sha256": ("yy", "s"),
})
