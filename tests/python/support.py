"""Shared set-up for the Python package tests: make `karpa` importable from the source tree."""

import os
import sys

REPO = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, os.pardir))
PACKAGE_ROOT = os.path.join(REPO, "python")
if PACKAGE_ROOT not in sys.path:
    sys.path.insert(0, PACKAGE_ROOT)

import karpa  # noqa: E402,F401

INT64_MIN, INT64_MAX = -(1 << 63), (1 << 63) - 1
WHITESPACE = " \t\n\x0b\x0c\r"


def g(x):
    """The six-significant-digit form the libraries print ("%g")."""
    return "%g" % x
